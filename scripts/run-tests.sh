#!/usr/bin/env bash
# Runs every test of a build folder. GUI and end-to-end tests start their own
# private X server, D-Bus session, notification recorder, sound server and
# tray (scripts/testenv.sh), so this needs no display.
set -euo pipefail
build=${1:-build}
cd "$build"
ctest --output-on-failure --timeout 600 ${CTEST_ARGS:-}
