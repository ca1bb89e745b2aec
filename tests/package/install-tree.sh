#!/usr/bin/env bash
# cmake --install into a scratch prefix puts the program, menu entry, icon and manual
# page where a desktop looks for them, and the menu entry is valid.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/korvane-setup share/applications/korvane-setup.desktop \
         share/icons/hicolor/scalable/apps/korvane-setup.svg share/man/man1/korvane-setup.1; do
  [ -e "$prefix/$f" ] || { echo "FAIL: $f is not installed"; exit 1; }
done
[ -x "$prefix/bin/korvane-setup" ] || { echo "FAIL: the program is not executable"; exit 1; }
desktop-file-validate "$prefix/share/applications/korvane-setup.desktop"
grep -qx 'Name=Korvane Setup' "$prefix/share/applications/korvane-setup.desktop"
grep -qx 'Categories=Settings;AudioVideo;' "$prefix/share/applications/korvane-setup.desktop"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/korvane-setup.svg"
echo "ok: installed tree"
