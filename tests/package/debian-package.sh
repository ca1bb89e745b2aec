#!/usr/bin/env bash
# Builds the Debian package and checks it as Debian would: lintian finds no error, its
# control data and dependencies are right, it holds exactly what `cmake --install`
# installs, and apt accepts it for installing on this machine. Then it unpacks it into
# a scratch root and runs the unpacked program's start-up error path in the X server of
# DISPLAY: with no settings file it must show the error box and end with status 1.
set -euo pipefail
build=$1
for tool in cpack lintian dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT
unset QT_QPA_PLATFORM
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/korvane-setup_*.deb)

# Lintian: no errors. Its warnings are shown; none are expected.
lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1 || true
grep -v 'running with root privileges' "$work/lintian" || true
grep -q '^E: ' "$work/lintian" && fail "lintian reports errors"

info=$(dpkg-deb --info "$deb")
for field in 'Package: korvane-setup' 'Section: video' 'Priority: optional' 'Architecture: '; do
  grep -q "$field" <<<"$info" || fail "the control data has no '$field'"
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6network6 libqt6sql6 libqt6sql6-mysql libqt6sql6-sqlite qt6-qpa-plugins; do
  echo "$depends" | grep -q "$p" || fail "the package does not depend on $p"
done

# The package holds what the build installs, nothing more and nothing less.
cmake --install "$build" --prefix "$work/tree/usr" >/dev/null
(cd "$work/tree" && find . -type f | sort) >"$work/installed"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$work/packaged"
diff -u "$work/installed" "$work/packaged" || fail "the package and the install tree differ"

# apt would install it here: its dependencies are all to be had.
if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  apt-get install --simulate -qq "$deb" >"$work/apt" 2>&1 || { cat "$work/apt"; fail "apt refuses the package"; }
fi

dpkg-deb -x "$deb" "$work/root"
mkdir -p "$work/home"
HOME="$work/home" "$work/root/usr/bin/korvane-setup" >/dev/null 2>&1 &
pid=$!
box=
for _ in $(seq 1 200); do
  box=$(xdotool search --onlyvisible --name '^Error' 2>/dev/null | head -n 1) && [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "the unpacked program showed no Error box"
xdotool windowfocus --sync "$box" key Return
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
echo "ok: $(basename "$deb") passes lintian and unpacks; its program stops with status 1 without settings"
echo "1 passed, 0 failed"
