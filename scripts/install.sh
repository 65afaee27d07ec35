#!/usr/bin/env bash
# Installs the runnable folder into PREFIX/lib/orvo-m (the program keeps its
# preferences, skins and playlists beside itself), a command PREFIX/bin/orvo-m,
# a desktop entry and icons. Every file and folder it creates is listed in
# PREFIX/lib/orvo-m/.installed so that uninstall.sh removes exactly those.
set -euo pipefail
bin=$(cd "${1:?usage: install.sh BUILD_BIN PREFIX}" && pwd)
prefix=${2:?usage: install.sh BUILD_BIN PREFIX}
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
app="$prefix/lib/orvo-m"
manifest_tmp=$(mktemp)
trap 'rm -f "$manifest_tmp"' EXIT

# Folders are recorded only when this install creates them.
make_dir() {
  local d=$1 missing=()
  while [ ! -d "$d" ]; do missing=("$d" "${missing[@]}"); d=$(dirname "$d"); done
  for d in "${missing[@]}"; do mkdir "$d"; echo "dir $d" >> "$manifest_tmp"; done
}
put() {  # put SOURCE TARGET MODE
  make_dir "$(dirname "$2")"
  install -m "$3" "$1" "$2"
  echo "file $2" >> "$manifest_tmp"
}

# Installing again over an earlier install keeps its record of what it made.
if [ -f "$app/.installed" ]; then
  cat "$app/.installed" > "$manifest_tmp"
fi

put "$bin/Orvo_M" "$app/Orvo_M" 755
for f in "$bin"/*.ini "$bin"/*.png; do
  [ -e "$f" ] || continue
  # A skin description already there may hold the user's window position.
  if [ -e "$app/$(basename "$f")" ] && [ "${f##*.}" = ini ]; then continue; fi
  put "$f" "$app/$(basename "$f")" 644
done
make_dir "$prefix/bin"
ln -sfn ../lib/orvo-m/Orvo_M "$prefix/bin/orvo-m"
echo "file $prefix/bin/orvo-m" >> "$manifest_tmp"

put "$here/assets/desktop/orvo-m.desktop" "$prefix/share/applications/orvo-m.desktop" 644
for size in 16 22 24 32 48 64 128 256; do
  target="$prefix/share/icons/hicolor/${size}x${size}/apps/orvo-m.png"
  make_dir "$(dirname "$target")"
  rsvg-convert -w "$size" -h "$size" "$here/assets/audio-x-generic.svg" -o "$target"
  echo "file $target" >> "$manifest_tmp"
done
put "$here/assets/audio-x-generic.svg" "$prefix/share/icons/hicolor/scalable/apps/orvo-m.svg" 644

# The desktop's caches of file types and icons. One this install creates is
# removed again by uninstall.sh; one that was there before is only brought
# up to date by it, so that it names nothing of this program afterwards.
note_cache() {
  if [ -e "$1" ]; then
    grep -qxF "file $1" "$manifest_tmp" || echo "cache $1" >> "$manifest_tmp"
  fi
}
mime_cache="$prefix/share/applications/mimeinfo.cache"
icon_cache="$prefix/share/icons/hicolor/icon-theme.cache"
[ -e "$mime_cache" ] && note_cache "$mime_cache" || mime_new=1
[ -e "$icon_cache" ] && note_cache "$icon_cache" || icon_new=1
if command -v update-desktop-database >/dev/null; then
  update-desktop-database -q "$prefix/share/applications" 2>/dev/null || true
fi
if command -v gtk-update-icon-cache >/dev/null && [ -f "$prefix/share/icons/hicolor/index.theme" ]; then
  gtk-update-icon-cache -q -f -t "$prefix/share/icons/hicolor" 2>/dev/null || true
fi
[ -n "${mime_new:-}" ] && [ -e "$mime_cache" ] && echo "file $mime_cache" >> "$manifest_tmp"
[ -n "${icon_new:-}" ] && [ -e "$icon_cache" ] && echo "file $icon_cache" >> "$manifest_tmp"

awk '!seen[$0]++' "$manifest_tmp" > "$app/.installed"
echo "Installed Orvo M into $app; start it with $prefix/bin/orvo-m"
case ":$PATH:" in *":$prefix/bin:"*) ;; *) echo "($prefix/bin is not on your PATH)";; esac
