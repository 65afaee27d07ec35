#!/usr/bin/env bash
# Runs one command inside a private desktop made for tests:
#
#   testenv.sh [--x] [--no-composite] [--wm] [--compositor] [--dbus] [--pulse]
#              [--tray] [--all] -- COMMAND ARGS...
#
#   --x             Xvfb 1024x768x24 (with Composite, so an RGBA visual exists)
#   --no-composite  the X server without the Composite extension
#   --wm            openbox as window manager          (implies --x)
#   --compositor    xcompmgr as compositing manager    (implies --x)
#   --tray          trayer as notification area        (implies --x)
#   --dbus          a private session bus with a notification recorder (it
#                   starts the accessibility bus when a program asks for it)
#   --pulse         PulseAudio with a 44100 Hz stereo null sink "null"
#   --all           --x --dbus --pulse --tray
#
# Every part runs on free names inside a private temporary folder that also
# holds HOME and XDG_RUNTIME_DIR, so several instances can run side by side
# and nothing touches the user's desktop. Each part is waited for until it
# answers; all of them are ended by PID afterwards, also on errors and
# signals. The exit status is COMMAND's. A COMMAND asked for --gtest_list_tests
# runs directly, without any of this (test discovery needs no desktop).
#
# COMMAND sees DISPLAY, HOME, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS,
# PULSE_SERVER, ORVO_TEST_NOTIFY_LOG (JSON lines, one per Notify or
# CloseNotification call), ORVO_TEST_SINK=null, JACK_NO_START_SERVER=1, LANG=C.
# A part that does not come up within $ORVO_TESTENV_TIMEOUT seconds (20) ends
# the run with status 125 and the tail of the parts' logs on standard error.
set -uo pipefail

usage() {
  sed -n '2,15s/^# \{0,1\}//p' "$0" >&2
  exit 2
}

original_args=("$@")
want_x=0 composite=1 want_wm=0 want_cm=0 want_dbus=0 want_pulse=0 want_tray=0
while (($#)); do
  case $1 in
    --x) want_x=1 ;;
    --no-composite) composite=0 ;;
    --wm) want_wm=1 want_x=1 ;;
    --compositor) want_cm=1 want_x=1 ;;
    --dbus) want_dbus=1 ;;
    --pulse) want_pulse=1 ;;
    --tray) want_tray=1 want_x=1 ;;
    --all) want_x=1 want_dbus=1 want_pulse=1 want_tray=1 ;;
    --) shift; break ;;
    *) echo "testenv: unknown option $1" >&2; usage ;;
  esac
  shift
done
(($#)) || usage

for arg in "$@"; do
  if [[ $arg == --gtest_list_tests ]]; then
    exec "$@"
  fi
done

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
python=/usr/bin/python3

# Daemons that detach themselves (D-Bus activation daemonises the
# accessibility bus) would be adopted by init, which does not reap in every
# container. As a child subreaper this shell adopts them instead, can find
# them and reaps them. The attribute survives exec, so Python sets it and
# starts this script again.
if [[ -z ${ORVO_TESTENV_SUBREAPER:-} && -x $python ]]; then
  export ORVO_TESTENV_SUBREAPER=1
  exec "$python" -c 'import ctypes, os, sys
ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
os.execv("/bin/bash", ["bash"] + sys.argv[1:])' "$0" "${original_args[@]}"
fi
unset ORVO_TESTENV_SUBREAPER
wait_seconds=${ORVO_TESTENV_TIMEOUT:-20}

root=$(mktemp -d "${TMPDIR:-/tmp}/orvo-testenv.XXXXXXXX") || exit 1
chmod 700 "$root"
mkdir -m 700 "$root/home" "$root/run" "$root/logs"

pids=()         # every process started here, in start order
command_pid=
cleaned=0

alive() {
  local state
  [[ -r /proc/$1/stat ]] || return 1
  { state=$(<"/proc/$1/stat"); } 2>/dev/null || return 1
  state=${state##*) }
  [[ ${state%% *} != Z ]]
}

# Processes of this environment that were not started here directly: the
# accessibility bus that D-Bus activation starts (daemonised, so no longer a
# child of anything here) or a program COMMAND left behind. They carry the
# private XDG_RUNTIME_DIR in their environment; children of the parts are
# taken as well in case one cleared its environment.
strays() {
  local -A parent_of=() seen=()
  local stat pid rest fields
  for stat in /proc/[0-9]*/stat; do
    pid=${stat#/proc/}; pid=${pid%/stat}
    { rest=$(<"$stat"); } 2>/dev/null || continue
    rest=${rest##*) }
    read -r -a fields <<<"$rest"
    parent_of[$pid]=${fields[1]}
  done
  local -a queue=("${pids[@]}")
  for pid in "${pids[@]}" $$; do seen[$pid]=1; done
  local file
  # grep runs without the marker so that it does not find itself.
  while read -r file; do
    pid=${file#/proc/}; pid=${pid%/environ}
    queue+=("$pid")
  done < <(env -u XDG_RUNTIME_DIR grep -lszx -- "XDG_RUNTIME_DIR=$root/run" /proc/[0-9]*/environ)
  while ((${#queue[@]})); do
    local current=${queue[0]}
    queue=("${queue[@]:1}")
    if [[ -z ${seen[$current]:-} ]]; then
      seen[$current]=1
      echo "$current"
    fi
    for pid in "${!parent_of[@]}"; do
      [[ ${parent_of[$pid]} == "$current" && -z ${seen[$pid]:-} ]] && queue+=("$pid")
    done
  done
}

# parent_pid PID: prints the parent's PID (nothing once PID is gone).
parent_pid() {
  local rest fields
  { rest=$(<"/proc/$1/stat"); } 2>/dev/null || return 0
  rest=${rest##*) }
  read -r -a fields <<<"$rest"
  echo "${fields[1]}"
}

# Ends a set of processes leaves first: a process whose parent is gone is
# reparented to init, and where init does not reap, it would stay a zombie.
end_leaves_first() {
  local -a rest=("$@") leaves next
  local pid other
  while ((${#rest[@]})); do
    local -A is_parent=()
    for pid in "${rest[@]}"; do
      alive "$pid" && is_parent[$(parent_pid "$pid")]=1
    done
    leaves=() next=()
    for pid in "${rest[@]}"; do
      if [[ -n ${is_parent[$pid]:-} ]]; then next+=("$pid"); else leaves+=("$pid"); fi
    done
    ((${#leaves[@]})) || { leaves=("${next[@]}"); next=(); }
    end_processes "${leaves[@]}"
    rest=("${next[@]}")
    unset is_parent
  done
}

end_processes() {
  local -a targets=() survivors=()
  local pid
  for pid in "$@"; do alive "$pid" && targets+=("$pid"); done
  ((${#targets[@]})) || return 0
  kill -TERM "${targets[@]}" 2>/dev/null
  local tries=0
  while ((tries < 100)); do
    survivors=()
    for pid in "${targets[@]}"; do alive "$pid" && survivors+=("$pid"); done
    ((${#survivors[@]})) || break
    sleep 0.02
    ((tries++))
  done
  ((${#survivors[@]})) && kill -KILL "${survivors[@]}" 2>/dev/null
  return 0
}

cleanup() {
  ((cleaned)) && return
  cleaned=1
  trap '' INT TERM HUP
  if [[ -n $command_pid ]] && alive "$command_pid"; then
    end_processes "$command_pid"
  fi
  # The X server goes last so that its clients do not log lost-display errors.
  local -a others=()
  local pid
  while read -r pid; do others+=("$pid"); done < <(strays)
  for pid in "${pids[@]}"; do [[ $pid == "${xvfb_pid:-}" ]] || others+=("$pid"); done
  ((${#others[@]})) && end_leaves_first "${others[@]}"
  [[ -n ${xvfb_pid:-} ]] && end_processes "$xvfb_pid"
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$root"
}

on_signal() {
  cleanup
  trap - "$1"
  kill -"$1" $$
}
trap cleanup EXIT
trap 'on_signal INT' INT
trap 'on_signal TERM' TERM
trap 'on_signal HUP' HUP

fail() {
  echo "testenv: $1" >&2
  local log
  for log in "$root"/logs/*.log; do
    [[ -s $log ]] || continue
    echo "--- ${log##*/}" >&2
    tail -n 20 "$log" >&2
  done
  exit 125
}

# start NAME COMMAND...: starts a part in the background with its output in
# the log folder; the PID lands in `pids` and in `last_pid`.
start() {
  local name=$1
  shift
  "$@" </dev/null >>"$root/logs/$name.log" 2>&1 &
  last_pid=$!
  pids+=("$last_pid")
}

# wait_for NAME PID COMMAND...: polls COMMAND until it succeeds, failing when
# the part died or did not answer in time.
wait_for() {
  local name=$1 pid=$2
  shift 2
  local deadline=$((SECONDS + wait_seconds))
  until "$@" >/dev/null 2>&1; do
    alive "$pid" || return 1
    ((SECONDS <= deadline)) || fail "$name did not answer within $wait_seconds s"
    sleep 0.01
  done
}

export HOME="$root/home"
export XDG_RUNTIME_DIR="$root/run"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_STATE_HOME="$HOME/.local/state"
export JACK_NO_START_SERVER=1 LANG=C
unset LC_ALL LANGUAGE XAUTHORITY WAYLAND_DISPLAY SESSION_MANAGER DESKTOP_AUTOSTART_ID
export ORVO_TEST_NOTIFY_LOG="$root/notifications.jsonl"
: >"$ORVO_TEST_NOTIFY_LOG"
# Without the parts their addresses point at nothing, so clients fail fast
# instead of reaching a desktop outside or autostarting daemons.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$root/run/no-bus"
export PULSE_SERVER="unix:$root/run/no-pulse"
unset DISPLAY

# PulseAudio needs neither X nor D-Bus, so it starts first and comes up while
# the X server does.
if ((want_pulse)); then
  mkdir -m 700 "$root/pulse"
  pulse_socket="$root/pulse/native"
  start pulseaudio pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
    --disallow-exit --disable-shm=yes --log-target=stderr \
    --load="module-null-sink sink_name=null rate=44100 channels=2" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$pulse_socket"
  pulse_pid=$last_pid
fi

free_display() {
  local n=$1
  while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do ((n++)); done
  echo "$n"
}

if ((want_x)); then
  x_args=(-screen 0 1024x768x24 -nolisten tcp -noreset)
  ((composite)) && x_args+=(+extension Composite) || x_args+=(-extension Composite)
  # Start at a number that differs between instances so that parallel runs
  # rarely try the same one; a lost race only costs another attempt.
  display=$(free_display $((100 + RANDOM % 800)))
  for attempt in 1 2 3 4 5 6 7 8; do
    start xvfb Xvfb ":$display" "${x_args[@]}"
    xvfb_pid=$last_pid
    if wait_for Xvfb "$xvfb_pid" xdpyinfo -display ":$display"; then
      break
    fi
    wait "$xvfb_pid" 2>/dev/null
    unset 'pids[-1]'
    xvfb_pid=
    display=$(free_display $((display + 1)))
  done
  [[ -n ${xvfb_pid:-} ]] || fail "no X server could be started"
  export DISPLAY=":$display"
fi

# The session bus is started after DISPLAY is known so that services it
# activates (the accessibility bus) get the display in their environment.
if ((want_dbus)); then
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$root/run/bus"
  # The daemon prints its address once it accepts connections (the socket
  # file alone appears before that).
  dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" \
    --print-address=3 3>"$root/run/bus.address" </dev/null >>"$root/logs/dbus-daemon.log" 2>&1 &
  dbus_pid=$!
  pids+=("$dbus_pid")
  wait_for dbus-daemon "$dbus_pid" test -s "$root/run/bus.address" || fail "dbus-daemon ended"
  ready="$root/run/notify-recorder.ready"
  start notify-recorder "$python" "$here/notify-recorder.py" "$ORVO_TEST_NOTIFY_LOG" "$ready"
  recorder_pid=$last_pid
fi

selections=()
if ((want_tray)); then
  start trayer trayer --edge top --align right --widthtype pixel --width 100 --height 24
  selections+=("_NET_SYSTEM_TRAY_S0:$last_pid")
fi
if ((want_wm)); then
  start openbox openbox --sm-disable
  selections+=("WM_S0:$last_pid")
fi
if ((want_cm)); then
  start xcompmgr xcompmgr -n
  selections+=("_NET_WM_CM_S0:$last_pid")
fi

if ((want_dbus)); then
  wait_for notify-recorder "$recorder_pid" test -e "$ready" || fail "the notification recorder ended"
  gdbus call --session --dest org.freedesktop.Notifications \
    --object-path /org/freedesktop/Notifications \
    --method org.freedesktop.Notifications.GetServerInformation >/dev/null 2>&1 \
    || fail "the notification recorder does not answer"
fi
if ((want_pulse)); then
  export PULSE_SERVER="unix:$pulse_socket"
  export ORVO_TEST_SINK=null
  wait_for pulseaudio "$pulse_pid" pactl info || fail "pulseaudio ended"
  pactl list short sinks 2>/dev/null | grep -q "[[:space:]]null[[:space:]]" \
    || fail "pulseaudio has no null sink"
fi
if ((${#selections[@]})); then
  "$python" "$here/x-wait-selection.py" "$wait_seconds" "${selections[@]}" \
    2>>"$root/logs/x-wait-selection.log" || fail "no tray, window or compositing manager came up"
fi

# Job control gives COMMAND default signal handling (an asynchronous command
# of a plain script would ignore SIGINT, and so would every program it
# starts); running it in the background lets the traps above act at once.
set -m
"$@" <&0 &
command_pid=$!
set +m
wait "$command_pid"
status=$?
command_pid=
exit "$status"
