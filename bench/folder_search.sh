#!/usr/bin/env bash
# Times the music folder search on a generated tree of 100,000 files against
# GNU find walking the same tree and printing the same kind of names.
# Usage: bench/folder_search.sh BUILD_DIR [FILES] [RUNS]
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [FILES] [RUNS]}
files=${2:-100000}
runs=${3:-7}
prog=$build/bench-bin/folder_search_bench
[ -x "$prog" ] || { echo "missing $prog (build the target folder_search_bench)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tree=$tmp/music
"$prog" generate "$tree" "$files"

ours() { "$prog" search "$tree/" >/dev/null; }
peer() {
  find "$tree/" \( -type d -o -iname '*.mp3' -o -iname '*.mpc' -o -iname '*.wav' -o -iname '*.ogg' \) \
    -print >/dev/null
}

# Milliseconds of one run of a function, wall clock.
time_ms() {
  local start end
  start=$(date +%s%N)
  "$1"
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

# Warm the cache for both.
ours; peer
found=$("$prog" search "$tree/" | wc -l)
ours_times=() peer_times=()
for ((i = 0; i < runs; i++)); do
  ours_times+=("$(time_ms ours)")
  peer_times+=("$(time_ms peer)")
done
ours_ms=$(printf '%s\n' "${ours_times[@]}" | median)
peer_ms=$(printf '%s\n' "${peer_times[@]}" | median)
echo "folder search: $files files, $found music files found, median of $runs runs (warm cache)"
echo "  orvo FindMusicFiles: ${ours_ms} ms   (runs: ${ours_times[*]})"
echo "  find:                ${peer_ms} ms   (runs: ${peer_times[*]})"
awk -v a="$ours_ms" -v b="$peer_ms" 'BEGIN { printf "  ratio orvo/find:     %.2f\n", (b > 0 ? a / b : 0) }'
