#!/usr/bin/env bash
# Runs one libFuzzer target for a few seconds on a scratch corpus seeded from the given folders;
# fails when the fuzzer finds a crash, leak or hang.
set -euo pipefail
fuzzer=$1; seconds=$2; shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
for seeds in "$@"; do [ -d "$seeds" ] && cp -r "$seeds"/. "$work/corpus/" || true; done
cd "$work"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 corpus 2>&1 |
  tail -n 25
exit "${PIPESTATUS[0]}"
