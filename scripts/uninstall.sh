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
dirs=()
while read -r kind path; do
  case $kind in
    file) rm -f -- "$path" ;;
    dir) dirs+=("$path") ;;
  esac
done < "$manifest"
rm -f -- "$manifest"
# Created folders, deepest first, only when nothing else is left in them.
for ((i=${#dirs[@]}-1; i>=0; i--)); do rmdir -- "${dirs[$i]}" 2>/dev/null || true; done
for cache in "$prefix/share/applications/mimeinfo.cache" "$prefix/share/icons/hicolor/icon-theme.cache"; do
  [ -f "$cache" ] && [ -z "$(find "$(dirname "$cache")" -mindepth 1 -not -name "$(basename "$cache")" -print -quit)" ] && rm -f "$cache"
done
for ((i=${#dirs[@]}-1; i>=0; i--)); do rmdir -- "${dirs[$i]}" 2>/dev/null || true; done
echo "Removed Orvo M from $prefix"
