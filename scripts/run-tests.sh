#!/usr/bin/env bash
# Runs every test of a build folder, two at a time (GUI and end-to-end tests
# make a private desktop each, so no display is needed), then prints the size
# of the tests; the last line counts the tests passed and failed.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
ctest --test-dir "${1:-build}" --output-on-failure --timeout 600 -j "${CTEST_JOBS:-2}" \
  ${CTEST_ARGS:-} 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
bash "$(dirname "$0")/test-size.sh" || true
summary=$(grep -oE '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
if read -r failed _ _ _ _ total <<<"$summary" && [ -n "$summary" ]; then
  echo "$((total - failed)) passed, $failed failed"
else
  echo "0 passed, 1 failed"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
