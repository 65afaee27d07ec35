#!/usr/bin/env bash
# Start-up time: from the start of the process until the X server maps the
# player window, for Orvo_M and for a bare GTK+ 2 window showing the same skin
# image (the floor), interleaved in one run on a private X server; medians of
# many repetitions and their ratio. The window build alone (without playback,
# settings and notifications) is measured too.
#   bench/startup.sh BUILD_DIR [REPETITIONS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-25}
bin=$build/bin
tools=$build/bench-bin
here=$(cd "$(dirname "$0")" && pwd)

# A private X server (with an RGBA visual, as the player expects), unless this
# already runs inside the test environment.
if [ -z "${ORVO_BENCH_INSIDE:-}" ]; then
  export ORVO_BENCH_INSIDE=1
  if [ -x "$here/../scripts/testenv.sh" ]; then
    exec "$here/../scripts/testenv.sh" --x -- "$0" "$build" "$runs"
  fi
  tmp=$(mktemp -d)
  exec 3>"$tmp/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 +extension Composite -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
  for _ in $(seq 200); do [ -s "$tmp/display" ] && break; sleep 0.05; done
  export DISPLAY=:$(head -1 "$tmp/display")
  export HOME=$tmp
  "$0" "$build" "$runs"
  exit $?
fi
export JACK_NO_START_SERVER=1

for tool in map_watch bare_window; do
  [ -x "$tools/$tool" ] || { echo "missing $tools/$tool: build the bench targets first" >&2; exit 1; }
done
# The default skin when it is there, else the bundled vertical one.
if [ -f "$bin/orvo.ini" ] && [ -f "$bin/skin.png" ]; then
  ini=orvo.ini; png=$bin/skin.png
else
  ini=vertical.ini; png=$bin/vertical.png
fi
[ -f "$png" ] || { echo "no skin image in $bin" >&2; exit 1; }

# One measurement in milliseconds, or "none".
measure() { "$tools/map_watch" "$@" 2>/dev/null || true; }

# An Orvo_M whose start-up does not build the skinned window yet may still
# map some other window: then the first mapped window counts.
orvo_title="Orvo M "
if [ -x "$bin/Orvo_M" ]; then
  if [ "$(measure "$orvo_title" 15000 "$bin/Orvo_M" "$ini")" = none ]; then
    orvo_title="*"
    if [ "$(measure "*" 15000 "$bin/Orvo_M" "$ini")" = none ]; then
      echo "Orvo_M maps no window (start-up not wired?): measuring the others only" >&2
      orvo_title=""
    else
      echo "Orvo_M maps no window titled \"Orvo M \": timing its first window" >&2
    fi
  fi
else
  orvo_title=""
fi

bare=(); orvo=(); alone=()
for _ in $(seq "$runs"); do
  bare+=("$(measure "Orvo M " 15000 "$tools/bare_window" "$png")")
  if [ -n "$orvo_title" ]; then orvo+=("$(measure "$orvo_title" 15000 "$bin/Orvo_M" "$ini")"); fi
  if [ -x "$tools/player_window_start" ]; then
    alone+=("$(measure "Orvo M " 15000 "$tools/player_window_start" "$bin/" "$ini")")
  fi
done

median() { printf '%s\n' "$@" | grep -v none | sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "none"; else if (NR % 2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2]+a[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "none" || b == "none" || b == 0) print "n/a"; else printf "%.2f\n", a / b }'; }

floor=$(median "${bare[@]}")
echo "start-up to mapped window, median of $runs runs, skin $ini"
printf '  %-34s %8s ms\n' "bare GTK+ 2 window (floor)" "$floor"
if [ -n "$orvo_title" ]; then
  m=$(median "${orvo[@]}")
  printf '  %-34s %8s ms   ratio %s\n' "Orvo_M" "$m" "$(ratio "$m" "$floor")"
fi
if [ ${#alone[@]} -gt 0 ]; then
  m=$(median "${alone[@]}")
  printf '  %-34s %8s ms   ratio %s\n' "player window build alone" "$m" "$(ratio "$m" "$floor")"
fi
