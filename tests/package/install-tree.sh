#!/usr/bin/env bash
# cmake --install into a scratch prefix puts the program, menu entry, software-centre
# entry, icon, manual page, copyright and changelog where a desktop and Debian look for
# them, and Debian's own checkers accept the menu and software-centre entries.
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/korvane-setup share/applications/org.korvane.Setup.desktop \
         share/metainfo/org.korvane.Setup.metainfo.xml \
         share/icons/hicolor/scalable/apps/korvane-setup.svg share/man/man1/korvane-setup.1.gz \
         share/doc/korvane-setup/copyright share/doc/korvane-setup/changelog.gz \
         share/korvane-setup/translations/korvane-setup_de.qm; do
  [ -e "$prefix/$f" ] || { echo "FAIL: $f is not installed"; exit 1; }
done
[ -x "$prefix/bin/korvane-setup" ] || { echo "FAIL: the program is not executable"; exit 1; }
# Not a word from the validator: no warning, no hint (one main category only).
out=$(desktop-file-validate "$prefix/share/applications/org.korvane.Setup.desktop" 2>&1)
[ -z "$out" ] || { echo "FAIL: desktop-file-validate: $out"; exit 1; }
appstreamcli validate --no-net "$prefix/share/metainfo/org.korvane.Setup.metainfo.xml" ||
  { echo "FAIL: appstreamcli rejects the metainfo file"; exit 1; }
grep -qx 'Name=Korvane Setup' "$prefix/share/applications/org.korvane.Setup.desktop"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/korvane-setup.svg"
gzip -t "$prefix/share/man/man1/korvane-setup.1.gz"
echo "1 passed, 0 failed"
