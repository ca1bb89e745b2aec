#!/usr/bin/env bash
# Builds the Debian package, checks its dependencies and contents, unpacks it into a
# scratch root and runs the unpacked program's start-up error path in the X server of
# DISPLAY: with no settings file it must show the error box and end with status 1.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT
unset QT_QPA_PLATFORM

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/korvane-setup_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6sql6 libqt6sql6-mysql qt6-qpa-plugins; do
  echo "$depends" | grep -q "$p" || { echo "FAIL: the package does not depend on $p"; exit 1; }
done
contents=$(dpkg-deb -c "$deb")
grep -q './usr/bin/korvane-setup' <<<"$contents" || { echo "FAIL: no program in the package"; exit 1; }
grep -q './usr/share/man/man1/korvane-setup.1' <<<"$contents" || { echo "FAIL: no manual page"; exit 1; }

dpkg-deb -x "$deb" "$work/root"
mkdir -p "$work/home"
HOME="$work/home" "$work/root/usr/bin/korvane-setup" >/dev/null 2>&1 &
pid=$!
box=
for _ in $(seq 1 200); do
  box=$(xdotool search --onlyvisible --name '^Error' 2>/dev/null | head -n 1) && [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || { echo "FAIL: the unpacked program showed no Error box"; exit 1; }
xdotool windowfocus --sync "$box" key Return
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status, expected 1"; exit 1; }
echo "ok: $(basename "$deb") unpacks and its program stops with status 1 without settings"
