#!/usr/bin/env bash
# Starts Orvo M from the runnable folder with the bundled skin and the demo
# playlist. Without a usable X display it starts a private virtual X server
# (with a sound server, notification recorder and tray), lets the player run
# for a while, saves a screenshot and ends it.
set -euo pipefail
bin=$(cd "${1:-build/bin}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
cd "$bin"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec ./Orvo_M demo.m3u
fi

shot=$(realpath -m "$bin/../screenshot.png")
echo "No X display found: running Orvo M in a virtual X server (Xvfb) for 12 seconds."
echo "The screenshot will be saved as $shot."
ORVO_SHOT="$shot" "$here/testenv.sh" --all --wm --compositor -- bash -c '
  xsetroot -solid "#406080" 2>/dev/null || true
  ./Orvo_M demo.m3u &
  player=$!
  sleep 12
  import -window root "$ORVO_SHOT" && echo "Screenshot saved: $ORVO_SHOT"
  if [ -s "${ORVO_TEST_NOTIFY_LOG:-}" ]; then
    echo "Notifications the player sent:"
    sed "s/^/  /" "$ORVO_TEST_NOTIFY_LOG"
  fi
  '"$here"'/wm-close.py "$player" >/dev/null 2>&1 || kill "$player" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$player" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$player" 2>/dev/null || true
  wait "$player" 2>/dev/null || true
'
