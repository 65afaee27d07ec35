#!/usr/bin/env bash
# Runs every benchmark of bench/ against a build folder, one after the other.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
status=0
for bench in "$here"/*.sh; do
  [ "$(basename "$bench")" = run-all.sh ] && continue
  echo "=== $(basename "$bench" .sh)"
  bash "$bench" "$build" || { echo "(failed: $(basename "$bench"))"; status=1; }
  echo
done
exit $status
