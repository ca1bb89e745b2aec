#!/usr/bin/env bash
# Nobody but its owner reaches the private test server: run as root, a client started
# as the user "nobody" can neither see its socket nor connect with the test user's
# password. The test user itself can use the test databases only and read no files.
# The server keeps its temporary files inside its own directory.
set -uo pipefail
sock=$MYSQL_UNIX_PORT
fail() { echo "FAIL: $*"; exit 1; }

own=$(readlink -f "$(dirname "$sock")")
tmpdir=$(mariadb --no-defaults --socket="$sock" -u"$KORVANE_DB_USER" -p"$KORVANE_DB_PASSWORD" \
  -N -e 'SELECT @@tmpdir') || fail "the test user cannot ask the server for its tmpdir"
tmpdir=$(readlink -f "$tmpdir")
case $tmpdir/ in "$own"/*) ;; *) fail "the server's temporary files go to $tmpdir, outside $own" ;; esac
[ "$(stat -c %a "$own")" = 700 ] || fail "$own is not of mode 0700"
echo "the server's temporary files stay in $tmpdir"

[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root to act as another user"; exit 77; }
command -v runuser >/dev/null || { echo "skipped: no runuser"; exit 77; }

mariadb --no-defaults --socket="$sock" -u"$KORVANE_DB_USER" -p"$KORVANE_DB_PASSWORD" \
  -e 'SELECT 1' >/dev/null || fail "the test user cannot connect at all"
if runuser -u nobody -- mariadb --no-defaults --socket="$sock" -u"$KORVANE_DB_USER" \
  -p"$KORVANE_DB_PASSWORD" -e 'SELECT 1' >/dev/null 2>&1; then
  fail "the user nobody connected to the test server"
fi
runuser -u nobody -- test -e "$sock" && fail "the user nobody can see the server's socket"
if mariadb --no-defaults --socket="$sock" -u"$KORVANE_DB_USER" -p"$KORVANE_DB_PASSWORD" \
  -e 'CREATE DATABASE other_project' >/dev/null 2>&1; then
  fail "the test user may create databases beyond the test databases"
fi
loaded=$(mariadb --no-defaults --socket="$sock" -u"$KORVANE_DB_USER" -p"$KORVANE_DB_PASSWORD" \
  -N -e "SELECT LOAD_FILE('/etc/passwd') IS NULL" 2>/dev/null)
[ "$loaded" = 1 ] || fail "the test user can read files of the machine"
echo "2 passed, 0 failed"
