#!/usr/bin/env bash
# Song information reading: files per second of ReadSongInfo against the
# peer `id3v2 -l` (id3lib) over the same 10,000 tagged MP3 files, both on a
# warm page cache.
#   bench/song_info.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bench=$build/bench-bin/song_info_bench
count=10000
[ -x "$bench" ] || { echo "missing $bench: build the target song_info_bench" >&2; exit 2; }
for tool in sox lame id3v2 eyeD3 python3; do
  command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# A few differently tagged songs, copied until there are $count files.
sox -n -r 44100 -c 2 -b 16 tone.wav synth 1 sine 440 vol 0.5
export LC_ALL=C.UTF-8
lame --quiet -b 128 tone.wav plain.mp3
cp plain.mp3 id3v2.mp3 && id3v2 -a "Caf$(printf '\xe9') Artist" -t "First title" -A "An album" id3v2.mp3
cp plain.mp3 eyed3.mp3 && eyeD3 -Q --to-v2.4 --encoding latin1 -a "Artist" -t "Second title" -A "Album" \
  eyed3.mp3 >/dev/null
lame --quiet -b 128 --id3v2-latin1 --tt "Third title" --ta "Artist" --tl "Album" tone.wav lame-latin1.mp3
lame --quiet -b 128 --tt "Fourth title" --ta "Artist" --tl "Album" tone.wav lame-utf16.mp3
mkdir songs
python3 - "$count" id3v2.mp3 eyed3.mp3 lame-latin1.mp3 lame-utf16.mp3 <<'PY'
import shutil, sys
count, sources = int(sys.argv[1]), sys.argv[2:]
for i in range(count):
    shutil.copyfile(sources[i % len(sources)], f"songs/song {i}.mp3")
PY
find "$PWD/songs" -name '*.mp3' | sort > list.txt
cat songs/* > /dev/null  # warm the page cache

peer_seconds() {
  local start end
  start=$(date +%s.%N)
  tr '\n' '\0' < list.txt | xargs -0 id3v2 -l > /dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

ours=$("$bench" list.txt 5)
peer_seconds > /dev/null  # warm id3lib's own start-up files
peer=$(awk -v n="$count" -v s="$(peer_seconds)" 'BEGIN { print n / s }')

printf 'ReadSongInfo:  %10.0f files/s  (%d files, 5 passes)\n' "$ours" "$count"
printf 'id3v2 -l:      %10.0f files/s  (one process per xargs batch)\n' "$peer"
printf 'ratio:         %10.1fx\n' "$(awk -v a="$ours" -v b="$peer" 'BEGIN { print a / b }')"
