#!/usr/bin/env bash
# Processor time of playing one 30-second MP3 into a PulseAudio null sink:
#   floor      bench/bare_xine, libxine alone polling every 20 ms
#   engine     bench/engine_play, the player's media engine alone
#   engine-1ms the same, polled every 1 ms as the player's wait for a song does
#   Orvo_M     the player itself (bin/Orvo_M file.mp3)
#   audacious  a desktop player from Debian, as the peer
# For each: user+system seconds of the process, the X server's time spent
# meanwhile, whether a stream reached the sink, and the ratio to the floor.
# Usage: bench/playback_cpu.sh BUILD_FOLDER
set -uo pipefail

build=$(cd "${1:?usage: playback_cpu.sh BUILD_FOLDER}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=30

# Run inside a private X server, D-Bus session and sound server.
if [ "${ORVO_BENCH_INSIDE:-}" != 1 ]; then
  export ORVO_BENCH_INSIDE=1
  if [ -x "$root/scripts/testenv.sh" ]; then
    exec "$root/scripts/testenv.sh" --x --dbus --pulse -- bash "$0" "$build"
  fi
  work=$(mktemp -d)
  pids=()
  cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
  }
  trap cleanup EXIT
  export HOME=$work/home XDG_RUNTIME_DIR=$work/run JACK_NO_START_SERVER=1
  mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
  n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1024x768x24 +extension Composite -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=:$n
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
  dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile >/dev/null 2>&1 &
  pids+=($!)
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
    --load="module-null-sink sink_name=null rate=44100 channels=2" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse.sock" \
    >/dev/null 2>&1 &
  pids+=($!)
  export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse.sock ORVO_TEST_SINK=null
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  bash "$0" "$build"
  exit $?
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
song=$work/song.mp3
sox -n -r 44100 -c 2 -b 16 "$work/song.wav" synth $seconds sine 440 vol 0.5 &&
  lame --quiet -b 192 "$work/song.wav" "$song" || { echo "cannot make the test song"; exit 1; }
touch -d '1 hour ago' "$song"   # libxine waits at the end of files changed seconds ago

clock_ticks=$(getconf CLK_TCK)

# CPU seconds (user+system) of a running process from /proc/PID/stat.
cpu_of() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
  stat=${stat##*) }   # fields after the command name, starting with field 3
  set -- $stat
  echo "${12} ${13}" | awk -v hz="$clock_ticks" '{ printf "%.2f", ($1 + $2) / hz }'
}

# The X server of $DISPLAY: the process whose command line names the display.
xserver_pid() {
  local p
  for p in /proc/[0-9]*; do
    local cmd
    cmd=$(tr '\0' ' ' <"$p/cmdline" 2>/dev/null) || continue
    case "$cmd" in
      *Xvfb\ $DISPLAY\ * | *Xorg\ $DISPLAY\ * | *Xvfb\ $DISPLAY) echo "${p#/proc/}"; return ;;
    esac
  done
}
xpid=$(xserver_pid)

results=()
floor=""

# measure NAME COMMAND...: runs the command for the song's length (plus a
# margin for start-up), ends it if it is still running, and records its
# processor time, the X server's, and whether the sink received a stream.
measure() {
  local name=$1; shift
  local timing=$work/$name.time
  local x_before=0 x_after=0 played=no
  [ -n "$xpid" ] && x_before=$(cpu_of "$xpid")
  /usr/bin/time -f "%U %S" -o "$timing" "$@" >"$work/$name.log" 2>&1 &
  local tpid=$! child=""
  local deadline=$((SECONDS + seconds + 5))
  while kill -0 "$tpid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    [ -z "$child" ] && child=$(pgrep -P "$tpid" | head -n 1)
    if [ $played = no ] && pactl list sink-inputs short 2>/dev/null | grep -q .; then played=yes; fi
    sleep 0.5
  done
  if kill -0 "$tpid" 2>/dev/null; then
    [ -n "$child" ] && kill -TERM "$child" 2>/dev/null
    sleep 2
    [ -n "$child" ] && kill -KILL "$child" 2>/dev/null
  fi
  wait "$tpid" 2>/dev/null
  [ -n "$xpid" ] && x_after=$(cpu_of "$xpid")
  local cpu
  cpu=$(tail -n 1 "$timing" 2>/dev/null | awk 'NF == 2 { printf "%.2f", $1 + $2 }')
  [ -z "$cpu" ] && cpu="?"
  local xcpu
  xcpu=$(awk -v a="$x_before" -v b="$x_after" 'BEGIN { printf "%.2f", b - a }')
  [ "$name" = floor ] && floor=$cpu
  results+=("$name|$cpu|$xcpu|$played")
}

echo "Playing a ${seconds}-second MP3 into the null sink (one run each; load average $(cut -d' ' -f1-3 /proc/loadavg))..."
measure floor "$build/bench-bin/bare_xine" "$song"
if [ -x "$build/bench-bin/engine_play" ]; then
  measure engine "$build/bench-bin/engine_play" "$song"
  measure engine-1ms "$build/bench-bin/engine_play" -p 1 "$song"
fi
if [ -x "$build/bin/Orvo_M" ]; then
  measure Orvo_M "$build/bin/Orvo_M" "$song"
else
  echo "Orvo_M: not built in $build/bin"
fi
if ! command -v audacious >/dev/null 2>&1; then
  echo "audacious is missing; installing it for the comparison..."
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo -n"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends audacious \
    >/dev/null 2>&1 || echo "audacious: cannot be installed here; skipped"
fi
if command -v audacious >/dev/null 2>&1; then
  measure audacious audacious --quit-after-play "$song"
fi

echo
printf "%-10s %12s %12s %8s %14s\n" player "cpu s" "X server s" played "ratio to floor"
for row in "${results[@]}"; do
  IFS='|' read -r name cpu xcpu played <<<"$row"
  ratio=$(awk -v c="$cpu" -v f="$floor" -v p="$played" \
    'BEGIN { if (f > 0 && c != "?" && p == "yes") printf "%.2f", c / f; else print "-" }')
  printf "%-10s %12s %12s %8s %14s\n" "$name" "$cpu" "$xcpu" "$played" "$ratio"
done
for row in "${results[@]}"; do
  IFS='|' read -r name _ _ played <<<"$row"
  if [ "$played" = no ]; then
    echo "note: $name sent no stream to the sink (it does not play files yet, or failed); its last output:"
    tail -n 3 "$work/$name.log" | sed 's/^/    /'
  fi
done
exit 0
