#!/usr/bin/env bash
# Runs every test of a build folder. GUI and end-to-end tests start their own
# private X server, D-Bus session, notification recorder, sound server and
# tray (scripts/testenv.sh), so this needs no display. The last line gives
# the number of tests passed and failed.
set -uo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
cd "$build"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Two at a time: every GUI test has its own X server, and the sound tests
# record their own sink, so they do not disturb each other.
ctest --output-on-failure --timeout 600 -j "${CTEST_JOBS:-2}" ${CTEST_ARGS:-} 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
bash "$here/test-size.sh" || true
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
if [ -n "$summary" ]; then
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  echo "$((total - failed)) passed, $failed failed"
else
  echo "0 passed, 1 failed"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
