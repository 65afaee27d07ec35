#!/usr/bin/env bash
# Removes what install.sh installed into PREFIX and nothing else: files the
# program wrote itself (orvo.prefs, playlists saved in its folder) stay, and
# so does their folder.
set -euo pipefail
prefix=$(cd "${1:?usage: uninstall.sh PREFIX}" && pwd)
app="$prefix/lib/orvo-m"
manifest="$app/.installed"
if [ ! -f "$manifest" ]; then
  echo "Orvo M is not installed in $prefix"
  exit 0
fi
dirs=() caches=()
while read -r kind path; do
  case $kind in
    file) rm -f -- "$path" ;;
    dir) dirs+=("$path") ;;
    cache) caches+=("$path") ;;
  esac
done < "$manifest"
rm -f -- "$manifest"
# Created folders, deepest first, only when nothing else is left in them.
for ((i=${#dirs[@]}-1; i>=0; i--)); do rmdir -- "${dirs[$i]}" 2>/dev/null || true; done
# Caches that were there before the install are rebuilt without this
# program's entries (the ones the install created went with its files).
for cache in "${caches[@]}"; do
  [ -e "$cache" ] || continue
  case $cache in
    */mimeinfo.cache)
      if command -v update-desktop-database >/dev/null; then
        update-desktop-database -q "$(dirname "$cache")" 2>/dev/null || true
      fi ;;
    */icon-theme.cache)
      if command -v gtk-update-icon-cache >/dev/null; then
        gtk-update-icon-cache -q -f -t "$(dirname "$cache")" 2>/dev/null || true
      fi ;;
  esac
done
echo "Removed Orvo M from $prefix"
