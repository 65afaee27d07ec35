#!/usr/bin/env bash
# Takes the README's pictures: each bundled skin playing the demo playlist
# on a desktop with a compositing manager, cropped to the player with a
# margin of the background around it.
#
#   screenshots.sh BUILD_BIN OUTPUT_FOLDER    writes OUTPUT_FOLDER/<skin>.png
#
# Runs in private virtual desktops (scripts/testenv.sh), on a copy of the
# runnable folder so that the build keeps its skin files as they are.
set -euo pipefail
bin=$(cd "${1:?usage: screenshots.sh BUILD_BIN OUTPUT_FOLDER}" && pwd)
mkdir -p "${2:?usage: screenshots.sh BUILD_BIN OUTPUT_FOLDER}"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
margin=${ORVO_SHOT_MARGIN:-28}
# How long the demo plays before the picture, so the display has scrolled.
settle=${ORVO_SHOT_SETTLE:-4}

work=$(mktemp -d "${TMPDIR:-/tmp}/orvo-screenshots.XXXXXX")
trap 'rm -rf "$work"' EXIT

# An evening sky from deep blue to a warm rose, the size of the test screen.
/usr/bin/convert -size 1024x384 gradient:'#23395d'-'#5c4d7d' \
  -size 1024x384 gradient:'#5c4d7d'-'#b5838d' -append -depth 8 "rgb:$work/background.rgb"

for skin in orvo vertical; do
  folder="$work/$skin"
  cp -r "$bin" "$folder"
  ORVO_SHOT_SKIN="$skin.ini" ORVO_SHOT_FOLDER="$folder" ORVO_SHOT_OUT="$out/$skin.png" \
  ORVO_SHOT_MARGIN="$margin" ORVO_SHOT_SETTLE="$settle" ORVO_SHOT_WORK="$work" \
    "$here/testenv.sh" --x --compositor --dbus --pulse -- bash -c '
      set -euo pipefail
      here=$1
      /usr/bin/python3 "$here/x-background.py" "$ORVO_SHOT_WORK/background.rgb"
      cd "$ORVO_SHOT_FOLDER"
      ./Orvo_M demo.m3u "$ORVO_SHOT_SKIN" >"$ORVO_SHOT_WORK/player.log" 2>&1 &
      player=$!
      finish() {
        /usr/bin/python3 "$here/wm-close.py" "$player" >/dev/null 2>&1 || true
        for _ in $(seq 100); do kill -0 "$player" 2>/dev/null || break; sleep 0.05; done
        kill -KILL "$player" 2>/dev/null || true
        wait "$player" 2>/dev/null || true
      }
      trap finish EXIT
      for _ in $(seq 400); do
        grep -q " \*\*\* " "$ORVO_SHOT_WORK/player.log" && break
        kill -0 "$player" || { cat "$ORVO_SHOT_WORK/player.log" >&2; exit 1; }
        sleep 0.05
      done
      sleep "$ORVO_SHOT_SETTLE"
      window=$(xdotool search --all --pid "$player" --name "^Orvo M $" | head -n 1)
      [ -n "$window" ] || { echo "screenshots: no player window" >&2; exit 1; }
      eval "$(xdotool getwindowgeometry --shell "$window")"
      import -window root "$ORVO_SHOT_WORK/screen.png"
      m=$ORVO_SHOT_MARGIN
      /usr/bin/convert "$ORVO_SHOT_WORK/screen.png" \
        -crop "$((WIDTH + 2 * m))x$((HEIGHT + 2 * m))+$((X - m))+$((Y - m))" +repage \
        -strip "$ORVO_SHOT_OUT"
      echo "Saved $ORVO_SHOT_OUT (${WIDTH}x${HEIGHT} player)"
    ' screenshots "$here"
done
