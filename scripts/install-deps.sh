#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvo M need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  # build
  cmake g++ make pkg-config libgtk2.0-dev libxine2-dev libxine2-plugins libxine2-misc-plugins
  libxine2-ffmpeg libnotify-dev libnotify4 libnotify-bin libcdio-dev libmpcdec-dev libgtest-dev
  clang libclang-rt-14-dev
  # assets and demo songs
  librsvg2-bin sox lame vorbis-tools musepack-tools id3v2 eyed3 python3-mutagen
  # test environment
  xvfb xdotool x11-utils x11-xserver-utils xauth dbus dbus-x11 pulseaudio pulseaudio-utils
  trayer openbox xcompmgr imagemagick python3 python3-gi gir1.2-glib-2.0 python3-xlib
  libatk-adaptor libgail-common python3-pyatspi gir1.2-atspi-2.0 at-spi2-core
  gnome-icon-theme desktop-file-utils procps psmisc playerctl
)

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing Debian packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
