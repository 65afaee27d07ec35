#!/usr/bin/env bash
# Installs the runnable folder for a desktop user into a private PREFIX that
# already holds other programs' files, runs the installed command the way a
# desktop would (through its PREFIX/bin symbolic link, with a music file),
# saves the preferences through the real preferences window, uninstalls, and
# checks that PREFIX is as before apart from what the program wrote itself.
#
#   install_test.sh SOURCE_DIR BIN_DIR
#
# Runs inside scripts/testenv.sh --all (X, D-Bus with the notification
# recorder and the accessibility bus, sound). Prints one "not ok" line per
# failed check and exits non-zero when any failed.
set -uo pipefail
source_dir=$(cd "${1:?usage: install_test.sh SOURCE_DIR BIN_DIR}" && pwd)
bin_dir=$(cd "${2:?usage: install_test.sh SOURCE_DIR BIN_DIR}" && pwd)
driver=(/usr/bin/python3 "$source_dir/tests/support/a11y_driver.py")

work=$(mktemp -d "${TMPDIR:-/tmp}/orvo-install-test.XXXXXX") || exit 1
player=
cleanup() {
  if [[ -n $player ]] && kill -0 "$player" 2>/dev/null; then
    kill -KILL "$player" 2>/dev/null
    wait "$player" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() {  # check DESCRIPTION COMMAND...
  local description=$1
  shift
  if "$@"; then
    echo "ok - $description"
  else
    echo "not ok - $description"
    failures=$((failures + 1))
  fi
}
# wait_until SECONDS COMMAND...: polls until COMMAND succeeds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}
# Every entry below a folder with its type and its link target or content
# digest, one a line.
snapshot() {
  (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | while IFS= read -r path; do
    if [[ -L $path ]]; then
      echo "l $path -> $(readlink "$path")"
    elif [[ -d $path ]]; then
      echo "d $path"
    else
      echo "f $path $(md5sum <"$path" | cut -d' ' -f1)"
    fi
  done)
}

check "the desktop entry is valid" desktop-file-validate "$source_dir/assets/desktop/orvo-m.desktop"

# A user's prefix with other programs in it, including the two caches a
# desktop keeps there, and a blank in its path.
prefix="$work/home dir/.local"
mkdir -p "$prefix/bin" "$prefix/share/applications" "$prefix/share/icons/hicolor/48x48/apps"
printf '#!/bin/sh\necho other\n' >"$prefix/bin/other-tool"
chmod 755 "$prefix/bin/other-tool"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other-tool %%f\nMimeType=text/x-other;\n' \
  >"$prefix/share/applications/other.desktop"
update-desktop-database -q "$prefix/share/applications"
cp /usr/share/icons/hicolor/index.theme "$prefix/share/icons/hicolor/index.theme"
cp "$bin_dir/audio-x-generic.png" "$prefix/share/icons/hicolor/48x48/apps/other-tool.png"
gtk-update-icon-cache -q -t "$prefix/share/icons/hicolor"
before=$(snapshot "$prefix")

check "install.sh succeeds" bash "$source_dir/scripts/install.sh" "$bin_dir" "$prefix" >/dev/null
# Installing again (an upgrade) must not lose the record of what was made.
check "install.sh succeeds a second time" \
  bash "$source_dir/scripts/install.sh" "$bin_dir" "$prefix" >/dev/null
app="$prefix/lib/orvo-m"
check "the command links to the installed program" \
  test "$(readlink -f "$prefix/bin/orvo-m")" = "$app/Orvo_M"
check "the installed desktop entry is valid" \
  desktop-file-validate "$prefix/share/applications/orvo-m.desktop"
check "the installed icon is there" test -s "$prefix/share/icons/hicolor/48x48/apps/orvo-m.png"
check "the desktop's file type cache names the program" \
  grep -q "orvo-m.desktop" "$prefix/share/applications/mimeinfo.cache"
check "the default skin is installed" test -s "$app/orvo.ini" -a -s "$app/skin.png"

# Started from somewhere else through the link, with one song.
mkdir -p "$work/music" "$work/elsewhere"
song="$work/music/a tone.mp3"
sox -n -r 44100 -c 2 -b 16 "$work/music/tone.wav" synth 20 sine 523 vol 0.5 &&
  lame --quiet -b 128 --tt "Installed Tone" --ta "Tester" "$work/music/tone.wav" "$song"
(cd "$work/elsewhere" && exec env GTK_MODULES=gail:atk-bridge "$prefix/bin/orvo-m" "$song") \
  >"$work/player.log" 2>&1 &
player=$!
notified() { grep -qF '"summary": "Now playing song 1 of 1"' "$ORVO_TEST_NOTIFY_LOG"; }
check "the installed program announces the song it plays" wait_until 30 notified
check "the installed program reads its skin from its own folder" \
  grep -qxF "Inifile : $app/orvo.ini" "$work/player.log"

check "the preferences window opens" "${driver[@]}" --pid "$player" click "Orvo M " Preferences
check "its exit button answers" "${driver[@]}" --pid "$player" click Preferences exit
check "the preferences are saved in the installed program folder" \
  wait_until 15 test -s "$app/orvo.prefs"
check "nothing is written into the working folder" \
  test -z "$(ls -A "$work/elsewhere")"

/usr/bin/python3 "$source_dir/scripts/wm-close.py" "$player" "Orvo M " >/dev/null 2>&1
ended() { ! kill -0 "$player" 2>/dev/null; }
check "the program ends when its window is closed" wait_until 15 ended
if ended; then
  wait "$player"
  status=$?
  check "and ends with status 0" test "$status" -eq 0
  player=
fi

check "uninstall.sh succeeds" bash "$source_dir/scripts/uninstall.sh" "$prefix" >/dev/null
# The program's own file, and the folders that hold it, stay.
after=$(snapshot "$prefix" | grep -vxE 'd \./lib|d \./lib/orvo-m|f \./lib/orvo-m/orvo\.prefs [0-9a-f]+')
if [[ $after == "$before" ]]; then
  echo "ok - uninstall leaves the prefix as it was"
else
  echo "not ok - uninstall leaves the prefix as it was:"
  diff <(echo "$before") <(echo "$after") | sed 's/^/#   /'
  failures=$((failures + 1))
fi
check "the saved preferences are kept" test -s "$app/orvo.prefs"
check "uninstall.sh a second time finds nothing to do" \
  bash "$source_dir/scripts/uninstall.sh" "$prefix" >/dev/null

# A prefix that did not exist: everything made, caches included, goes again.
fresh="$work/fresh prefix"
check "install.sh into a new prefix succeeds" \
  bash "$source_dir/scripts/install.sh" "$bin_dir" "$fresh" >/dev/null
check "the new prefix gets a file type cache" test -s "$fresh/share/applications/mimeinfo.cache"
bash "$source_dir/scripts/install.sh" "$bin_dir" "$fresh" >/dev/null
check "uninstall.sh from the new prefix succeeds" \
  bash "$source_dir/scripts/uninstall.sh" "$fresh" >/dev/null
leftovers=$(snapshot "$fresh")
check "nothing is left in the new prefix" test -z "$leftovers"
[[ -z $leftovers ]] || sed 's/^/#   /' <<<"$leftovers"

if ((failures)); then
  echo "# $failures checks failed; program output:"
  sed 's/^/#   /' "$work/player.log"
  exit 1
fi
exit 0
