#!/usr/bin/env bash
# Generates the demo playlist that `make run` plays: four short tunes made
# with sox, one per format, tagged with artist, title and album, and an M3U
# file whose paths are relative to the program's folder (the player is
# started from there, so the folder can be copied elsewhere).
set -euo pipefail
out=${1:?usage: make-demo-songs.sh OUTPUT_FOLDER}
mkdir -p "$out/demo"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# tune NAME NOTES...: plucked notes of 0.3 s each, repeated to about 8 s.
tune() {
  local name=$1; shift
  local chain=() first=1
  for round in 1 2 3 4 5; do
    for note in "$@"; do
      [ $first -eq 1 ] || chain+=(":")
      chain+=(synth 0.3 pluck "$note" vol 0.6)
      first=0
    done
  done
  sox -q -n -r 44100 -c 2 -b 16 "$work/$name.wav" "${chain[@]}"
}

tune one C4 E4 G4 C5 G4 E4
tune two A3 C4 E4 A4 E4 C4
tune three F3 A3 C4 F4 C4 A3
tune four G3 B3 D4 G4 D4 B3

album="Generated Tones"
artist="Orvo Demo Band"
lame --quiet -b 128 --id3v2-latin1 --add-id3v2 --tt "Morning Arpeggio" --ta "$artist" \
  --tl "$album" "$work/one.wav" "$out/demo/01 Morning Arpeggio.mp3"
lame --quiet -b 128 --id3v2-latin1 --add-id3v2 --tt "Minor Steps" --ta "$artist" \
  --tl "$album" "$work/two.wav" "$out/demo/02 Minor Steps.mp3"
oggenc -Q -t "Evening Chords" -a "$artist" -l "$album" -o "$out/demo/03 Evening Chords.ogg" \
  "$work/three.wav"
cp "$work/four.wav" "$out/demo/04 Plain Wave.wav"

{
  echo "demo/01 Morning Arpeggio.mp3"
  echo "demo/02 Minor Steps.mp3"
  echo "demo/03 Evening Chords.ogg"
  echo "demo/04 Plain Wave.wav"
} > "$out/demo.m3u"
