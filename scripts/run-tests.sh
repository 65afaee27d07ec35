#!/usr/bin/env bash
# Runs every test of a build folder, two at a time (GUI and end-to-end tests
# make a private desktop each, so no display is needed); with a second build
# folder made with the sanitizers, runs its unit and in-process tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer. Then prints the size
# of the tests; the last line counts the tests passed and failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
ctest --test-dir "${1:-build}" --output-on-failure --timeout 600 -j "${CTEST_JOBS:-2}" \
  ${CTEST_ARGS:-} 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if [ -n "${2:-}" ]; then
  echo "== under the sanitizers: $2"
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$here/../tests/lsan.supp \
    ctest --test-dir "$2" --output-on-failure --timeout 600 -j "${CTEST_JOBS:-2}" -LE 'e2e|fuzz' \
    ${CTEST_ARGS:-} 2>&1 | tee -a "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
fi
bash "$here/test-size.sh" || true
passed=0 failed=0 runs=0
while read -r f _ _ _ _ total; do
  passed=$((passed + total - f)) failed=$((failed + f)) runs=$((runs + 1))
done < <(grep -oE '[0-9]+ tests? failed out of [0-9]+' "$log")
if [ "$runs" -gt 0 ]; then
  echo "$passed passed, $failed failed"
else
  echo "0 passed, 1 failed"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
