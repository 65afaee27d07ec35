#!/usr/bin/env bash
# Start-up time: from the start of the process until the X server maps the
# player window, for Orvo_M beside two floors, interleaved in one run on a
# private X server:
#   floor 1  bench/bare_window, a bare GTK+ 2 window showing the same skin image
#   floor 2  bench/bare_player_window, the same widgets built straight with
#            GTK (skin image, ten stock-icon buttons, label, status icon)
#   Orvo_M   the player (bin/Orvo_M SKIN.ini), and its window build alone
#            (bench/player_window_start, without playback, settings or
#            notifications)
#   baseline another Orvo_M to compare with, when ORVO_BENCH_BASELINE names
#            one (it finds its skin beside itself)
# Medians of many repetitions with their spread (lowest-highest), and the
# ratios of the medians. Then the instructions each executes until its window
# is mapped (callgrind; every thread, and the GUI thread alone), which do not
# depend on the machine's load; ORVO_BENCH_CALLGRIND=0 leaves them out.
#   bench/startup.sh BUILD_DIR [REPETITIONS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-25}
bin=$build/bin
tools=$build/bench-bin
here=$(cd "$(dirname "$0")" && pwd)

# A private X server (with an RGBA visual, as the player expects).
if [ -z "${ORVO_BENCH_INSIDE:-}" ]; then
  export ORVO_BENCH_INSIDE=1
  exec "$here/../scripts/testenv.sh" --x -- "$0" "$build" "$runs"
fi
export JACK_NO_START_SERVER=1

for tool in map_watch bare_window bare_player_window; do
  [ -x "$tools/$tool" ] || { echo "missing $tools/$tool: build the bench targets first" >&2; exit 1; }
done
# The default skin when it is there, else the bundled vertical one.
if [ -f "$bin/orvo.ini" ] && [ -f "$bin/skin.png" ]; then
  ini=orvo.ini; png=$bin/skin.png
else
  ini=vertical.ini; png=$bin/vertical.png
fi
[ -f "$png" ] || { echo "no skin image in $bin" >&2; exit 1; }

# The skin's layout for the second floor, with the player's defaults. W and
# H come from the PNG header.
read -r W H < <(od -An -tu1 -j16 -N8 "$png" |
  awk '{ printf "%d %d\n", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }')
value() {  # GROUP KEY DEFAULT
  awk -v g="$1" -v k="$2" -v d="$3" '
    /^[ \t]*\[/ { gsub(/[][ \t\r]/, ""); group = $0; next }
    { split($0, kv, "="); key = kv[1]; gsub(/[ \t\r]/, "", key)
      if (group == g && key == k) { v = substr($0, index($0, "=") + 1); gsub(/^[ \t]+|[ \t\r]+$/, "", v); found = v } }
    END { print (found == "" ? d : found) }' "$bin/$ini"
}
layout=(
  "$(value player buttonsize 4)" "$(value player windowx 0)" "$(value player windowy 0)"
  "$(value display displayx $((W / 2 - 100)))" "$(value display displayy 10)" "$(value display color '#000000')"
  "$(value control controlx 40)" "$(value control controly $((H / 2 - 15)))"
  "$(value control direction 0)" "$(value control width 300)" "$(value control heigth 35)"
  "$(value playercontrol playercontrolx 280)" "$(value playercontrol playercontroly $((H / 2 - 15)))"
  "$(value playercontrol direction 0)" "$(value playercontrol width 100)"
  "$(value playercontrol heigth 35)" "$(value playercontrol visible 1)"
)
bare_player=("$tools/bare_player_window" "$png" "$bin/audio-x-generic.png" "${layout[@]}")

# One measurement in milliseconds, or "none".
measure() { "$tools/map_watch" "$@" 2>/dev/null || true; }

bare=(); widgets=(); orvo=(); alone=(); baseline=()
have_orvo=0; [ -x "$bin/Orvo_M" ] && have_orvo=1
have_alone=0; [ -x "$tools/player_window_start" ] && have_alone=1
have_baseline=0; [ -n "${ORVO_BENCH_BASELINE:-}" ] && [ -x "$ORVO_BENCH_BASELINE" ] && have_baseline=1
for _ in $(seq "$runs"); do
  bare+=("$(measure "Orvo M " 15000 "$tools/bare_window" "$png")")
  widgets+=("$(measure "Orvo M " 15000 "${bare_player[@]}")")
  ((have_orvo)) && orvo+=("$(measure "Orvo M " 15000 "$bin/Orvo_M" "$ini")")
  ((have_alone)) && alone+=("$(measure "Orvo M " 15000 "$tools/player_window_start" "$bin/" "$ini")")
  ((have_baseline)) && baseline+=("$(measure "Orvo M " 15000 "$ORVO_BENCH_BASELINE" "$ini")")
done

# "median lowest-highest" of the numbers given, "none" left out.
stats() {
  printf '%s\n' "$@" | grep -v none | sort -g | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "none -"; exit }
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%.1f %s-%s\n", m, v[1], v[NR] }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "none" || b == "none" || b == 0) print "n/a"; else printf "%.2f", a / b }'; }

read -r floor1 floor1_r < <(stats "${bare[@]}")
read -r floor2 floor2_r < <(stats "${widgets[@]}")
echo "start-up to mapped window, median (lowest-highest) of $runs interleaved runs, skin $ini"
printf '  %-30s %8s ms  %-13s\n' "bare GTK+ 2 window (floor 1)" "$floor1" "($floor1_r)"
printf '  %-30s %8s ms  %-13s  %5s x floor 1\n' "bare player widgets (floor 2)" "$floor2" \
  "($floor2_r)" "$(ratio "$floor2" "$floor1")"
if ((have_orvo)); then
  read -r m m_r < <(stats "${orvo[@]}")
  printf '  %-30s %8s ms  %-13s  %5s x floor 1  %5s x floor 2\n' "Orvo_M" "$m" "($m_r)" \
    "$(ratio "$m" "$floor1")" "$(ratio "$m" "$floor2")"
fi
if ((have_alone)); then
  read -r m m_r < <(stats "${alone[@]}")
  printf '  %-30s %8s ms  %-13s  %5s x floor 1  %5s x floor 2\n' "player window build alone" "$m" \
    "($m_r)" "$(ratio "$m" "$floor1")" "$(ratio "$m" "$floor2")"
fi
if ((have_baseline)); then
  read -r m m_r < <(stats "${baseline[@]}")
  printf '  %-30s %8s ms  %-13s  %5s x floor 1  %5s x floor 2\n' "baseline Orvo_M" "$m" \
    "($m_r)" "$(ratio "$m" "$floor1")" "$(ratio "$m" "$floor2")"
fi

[ "${ORVO_BENCH_CALLGRIND:-1}" = 0 ] && exit 0
command -v valgrind >/dev/null 2>&1 || { echo "(valgrind missing: no instruction counts)"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Millions of instructions until the window is mapped: "ALL GUI".
instructions() {
  rm -f "$work"/cg*
  "$tools/map_watch" "Orvo M " 120000 valgrind --tool=callgrind --separate-threads=yes \
    --callgrind-out-file="$work/cg" "$@" >/dev/null 2>&1 || { echo "? ?"; return; }
  for _ in $(seq 50); do [ -s "$work/cg-01" ] && break; sleep 0.1; done
  sleep 0.5
  local total=0 gui=0 n f
  for f in "$work"/cg-*; do
    n=$(awk '/^(summary|totals):/ { print $2; exit }' "$f")
    total=$((total + ${n:-0}))
    [ "$f" = "$work/cg-01" ] && gui=${n:-0}
  done
  awk -v t="$total" -v g="$gui" 'BEGIN { printf "%.1f %.1f\n", t / 1e6, g / 1e6 }'
}
echo "instructions until the window is mapped (callgrind, millions): all threads / GUI thread"
read -r t1 g1 < <(instructions "$tools/bare_window" "$png")
printf '  %-30s %8s / %-8s\n' "bare GTK+ 2 window (floor 1)" "$t1" "$g1"
read -r t2 g2 < <(instructions "${bare_player[@]}")
printf '  %-30s %8s / %-8s  %5s x floor 1\n' "bare player widgets (floor 2)" "$t2" "$g2" "$(ratio "$t2" "$t1")"
if ((have_orvo)); then
  read -r t g < <(instructions "$bin/Orvo_M" "$ini")
  printf '  %-30s %8s / %-8s  %5s x floor 1  %5s x floor 2\n' "Orvo_M" "$t" "$g" \
    "$(ratio "$t" "$t1")" "$(ratio "$t" "$t2")"
fi
if ((have_baseline)); then
  read -r t g < <(instructions "$ORVO_BENCH_BASELINE" "$ini")
  printf '  %-30s %8s / %-8s  %5s x floor 1  %5s x floor 2\n' "baseline Orvo_M" "$t" "$g" \
    "$(ratio "$t" "$t1")" "$(ratio "$t" "$t2")"
fi
