#!/usr/bin/env bash
# Processor time and wake-ups while one 30-second MP3 plays into a PulseAudio
# null sink, interleaved over several rounds:
#   floor      bench/bare_xine, libxine alone polling every 20 ms
#   floor-m    the same, with libxine told (as the player tells it) to copy
#              memory with the C library's function instead of timing every
#              way it knows at its start, which is most of its start's cost
#   engine     bench/engine_play, the player's media engine alone, the same way
#   Orvo_M     the player itself (bin/Orvo_M file.mp3)
#   baseline   another Orvo_M to compare with, when ORVO_BENCH_BASELINE names one
#   audacious  a desktop player from Debian, as the peer
# For each: user+system seconds of the process over its whole run, the X
# server's seconds meanwhile, their sum and its ratios to both floors'; and the
# wake-ups per second (context switches) of the main thread and of all the
# process's threads between 5 s and 25 s into the song. Medians of the rounds,
# with the spread (lowest-highest) beside them. Then the instructions that
# the floors and Orvo_M execute for a 10-second song (callgrind, every
# thread), which the machine's load and the sound server's moods do not
# change; ORVO_BENCH_CALLGRIND=0 leaves them out.
# Usage: bench/playback_cpu.sh BUILD_FOLDER [ROUNDS]
set -uo pipefail

build=$(cd "${1:?usage: playback_cpu.sh BUILD_FOLDER [ROUNDS]}" && pwd)
rounds=${2:-${ORVO_BENCH_ROUNDS:-5}}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=30
window_from=5 window_to=25   # seconds into the song for the wake-up count

# Run inside a private X server, D-Bus session and sound server.
if [ "${ORVO_BENCH_INSIDE:-}" != 1 ]; then
  export ORVO_BENCH_INSIDE=1
  exec "$root/scripts/testenv.sh" --x --dbus --pulse -- bash "$0" "$build" "$rounds"
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
  echo "${12} ${13}" | awk -v hz="$clock_ticks" '{ printf "%.3f", ($1 + $2) / hz }'
}

# Context switches so far: "MAIN ALL", of the main thread and of every thread.
switches_of() {
  awk '/^(non)?voluntary_ctxt_switches/ { n += $2; if (FILENAME ~ "/task/" pid "/status$") m += $2 }
       END { print m + 0, n + 0 }' pid="$1" /proc/"$1"/task/*/status 2>/dev/null
}

# The X server of $DISPLAY: the process whose command line names the display.
xserver_pid() {
  local p cmd
  for p in /proc/[0-9]*; do
    cmd=$(tr '\0' ' ' <"$p/cmdline" 2>/dev/null) || continue
    case "$cmd" in
      *Xvfb\ $DISPLAY\ * | *Xorg\ $DISPLAY\ * | *Xvfb\ $DISPLAY) echo "${p#/proc/}"; return ;;
    esac
  done
}
xpid=$(xserver_pid)

now() { date +%s.%N; }

# measure NAME COMMAND...: runs the command for the song's length (plus a
# margin for start-up), ends it if it is still running, and appends to
# $work/NAME.rows: own cpu, X cpu, main and all wake-ups per second, played.
measure() {
  local name=$1; shift
  local timing=$work/$name.time
  local x_before=0 x_after=0 played=no
  [ -n "$xpid" ] && x_before=$(cpu_of "$xpid")
  local start
  start=$(now)
  /usr/bin/time -f "%U %S" -o "$timing" "$@" >"$work/$name.log" 2>&1 &
  local tpid=$! child="" first="" last="" t
  local deadline=$((SECONDS + seconds + 5))
  while kill -0 "$tpid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    [ -z "$child" ] && child=$(pgrep -P "$tpid" | head -n 1)
    if [ $played = no ] && pactl list sink-inputs short 2>/dev/null | grep -q .; then played=yes; fi
    t=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
    if [ -n "$child" ]; then
      if [ -z "$first" ] && awk -v t="$t" -v w="$window_from" 'BEGIN { exit !(t >= w) }'; then
        first="$t $(switches_of "$child")"
      elif [ -z "$last" ] && awk -v t="$t" -v w="$window_to" 'BEGIN { exit !(t >= w) }'; then
        last="$t $(switches_of "$child")"
      fi
    fi
    sleep 0.25
  done
  if kill -0 "$tpid" 2>/dev/null; then
    [ -n "$child" ] && kill -TERM "$child" 2>/dev/null
    sleep 2
    [ -n "$child" ] && kill -KILL "$child" 2>/dev/null
  fi
  wait "$tpid" 2>/dev/null
  [ -n "$xpid" ] && x_after=$(cpu_of "$xpid")
  local cpu xcpu rates
  cpu=$(tail -n 1 "$timing" 2>/dev/null | awk 'NF == 2 { printf "%.3f", $1 + $2 }')
  [ -z "$cpu" ] && cpu="?"
  xcpu=$(awk -v a="$x_before" -v b="$x_after" 'BEGIN { printf "%.3f", b - a }')
  rates=$(awk -v f="$first" -v l="$last" 'BEGIN {
    split(f, a, " "); split(l, b, " ")
    if (f == "" || l == "" || b[1] <= a[1]) { print "? ?"; exit }
    printf "%.1f %.1f\n", (b[2] - a[2]) / (b[1] - a[1]), (b[3] - a[3]) / (b[1] - a[1]) }')
  echo "$cpu $xcpu $rates $played" >>"$work/$name.rows"
}

players=(floor floor-m)
[ -x "$build/bench-bin/engine_play" ] && players+=(engine)
if [ -x "$build/bin/Orvo_M" ]; then players+=(Orvo_M); else echo "Orvo_M: not built in $build/bin"; fi
[ -n "${ORVO_BENCH_BASELINE:-}" ] && [ -x "$ORVO_BENCH_BASELINE" ] && players+=(baseline)
if ! command -v audacious >/dev/null 2>&1; then
  echo "audacious is missing; installing it for the comparison..."
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo -n"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends audacious \
    >/dev/null 2>&1 || echo "audacious: cannot be installed here; skipped"
fi
command -v audacious >/dev/null 2>&1 && players+=(audacious)

run() {
  case $1 in
    floor) measure floor "$build/bench-bin/bare_xine" "$song" ;;
    floor-m) measure floor-m "$build/bench-bin/bare_xine" -m "$song" ;;
    engine) measure engine "$build/bench-bin/engine_play" "$song" ;;
    Orvo_M) measure Orvo_M "$build/bin/Orvo_M" "$song" ;;
    baseline) measure baseline "$ORVO_BENCH_BASELINE" "$song" ;;
    audacious) measure audacious audacious --quit-after-play "$song" ;;
  esac
}

# libxine builds its plugin cache in the fresh HOME on its first start; that
# start is not measured.
sox -n -r 44100 -c 2 -b 16 "$work/warm.wav" synth 0.5 sine 440 vol 0.1 &&
  lame --quiet "$work/warm.wav" "$work/warm.mp3" && touch -d '1 hour ago' "$work/warm.mp3" &&
  "$build/bench-bin/bare_xine" "$work/warm.mp3" >/dev/null 2>&1

echo "Playing a ${seconds}-second MP3 into the null sink, $rounds interleaved rounds" \
  "(load average $(cut -d' ' -f1-3 /proc/loadavg))..."
# Each round starts one player further on, so that no player always follows
# the same one (the sound server's state after a stream varies).
for ((r = 0; r < rounds; r++)); do
  for ((i = 0; i < ${#players[@]}; i++)); do run "${players[(r + i) % ${#players[@]}]}"; done
done

# stats COLUMN FILE: "median lowest-highest" of a column, skipping unknowns.
stats() {
  awk -v c="$1" '$c != "?" { print $c }' "$2" | sort -g | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "? ?"; exit }
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%s %s-%s\n", m, v[1], v[NR] }'
}

for p in "${players[@]}"; do
  awk '{ t = ($1 == "?") ? "?" : $1 + $2; print $0, t }' "$work/$p.rows" >"$work/$p.all"
done
read -r floor_total _ < <(stats 6 "$work/floor.all")
read -r floorm_total _ < <(stats 6 "$work/floor-m.all")

echo
echo "CPU seconds per run (median, lowest-highest of $rounds) and wake-ups per second"
printf "%-10s %-19s %-19s %-19s %7s %7s %-17s %-17s %s\n" player "own cpu s" "X server s" "total s" \
  "x floor" "x fl-m" "wake/s main" "wake/s all" played
for p in "${players[@]}"; do
  read -r own own_r < <(stats 1 "$work/$p.all")
  read -r x x_r < <(stats 2 "$work/$p.all")
  read -r total total_r < <(stats 6 "$work/$p.all")
  read -r wm wm_r < <(stats 3 "$work/$p.all")
  read -r wa wa_r < <(stats 4 "$work/$p.all")
  played=$(awk '{ n += ($5 == "yes") } END { printf "%d/%d", n, NR }' "$work/$p.all")
  ratio=$(awk -v t="$total" -v f="$floor_total" 'BEGIN {
    if (t != "?" && f > 0) printf "%.2f", t / f; else print "-" }')
  ratiom=$(awk -v t="$total" -v f="$floorm_total" 'BEGIN {
    if (t != "?" && f > 0) printf "%.2f", t / f; else print "-" }')
  printf "%-10s %-19s %-19s %-19s %7s %7s %-17s %-17s %s\n" "$p" "$own ($own_r)" "$x ($x_r)" \
    "$total ($total_r)" "$ratio" "$ratiom" "$wm ($wm_r)" "$wa ($wa_r)" "$played"
done
for p in "${players[@]}"; do
  if grep -q ' no ' "$work/$p.all"; then
    echo "note: $p sent no stream to the sink in some run; its last output:"
    tail -n 3 "$work/$p.log" | sed 's/^/    /'
  fi
done

[ "${ORVO_BENCH_CALLGRIND:-1}" = 0 ] && exit 0
command -v valgrind >/dev/null 2>&1 || { echo "(valgrind missing: no instruction counts)"; exit 0; }
short=$work/short.mp3
sox -n -r 44100 -c 2 -b 16 "$work/short.wav" synth 10 sine 440 vol 0.5 &&
  lame --quiet -b 192 "$work/short.wav" "$short" && touch -d '1 hour ago' "$short" || exit 0
# Millions of instructions of every thread while COMMAND plays the short
# song; a player that stays after its song is ended a second after its
# stream has left the sink.
instructions() {
  rm -f "$work"/cg*
  valgrind --tool=callgrind --callgrind-out-file="$work/cg" "$@" >/dev/null 2>&1 &
  local pid=$! seen=no gone=0
  for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    if pactl list sink-inputs short 2>/dev/null | grep -q .; then seen=yes; gone=0
    elif [ $seen = yes ]; then gone=$((gone + 1)); [ $gone -ge 4 ] && break; fi
    sleep 0.25
  done
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  awk '/^totals:/ { printf "%.0f\n", $2 / 1e6 }' "$work/cg" 2>/dev/null || echo "?"
}
echo
echo "instructions for a 10-second song (callgrind, every thread, millions)"
f=$(instructions "$build/bench-bin/bare_xine" "$short")
fm=$(instructions "$build/bench-bin/bare_xine" -m "$short")
printf "  %-10s %8s\n" floor "$f"
printf "  %-10s %8s\n" floor-m "$fm"
if [ -x "$build/bin/Orvo_M" ]; then
  o=$(instructions "$build/bin/Orvo_M" "$short")
  printf "  %-10s %8s   %s x floor   %s x floor-m\n" Orvo_M "$o" \
    "$(awk -v a="$o" -v b="$f" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')" \
    "$(awk -v a="$o" -v b="$fm" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')"
fi
exit 0
