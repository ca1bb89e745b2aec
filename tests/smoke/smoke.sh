#!/usr/bin/env bash
# Runs the real korvane-setup in the X server given by DISPLAY:
#  1. no settings file: the "Error" box, answered, and exit status 1;
#  2. a settings file naming the sample database: the main window opens, reads both
#     lists, shows no error, and quits with status 0.
set -euo pipefail
bin=$1
# Unset by xvfb-run's environment handling in some versions; the tests set it.
unset QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT

fail() { echo "FAIL: $*" >&2; [ -f "$work/err" ] && cat "$work/err" >&2; exit 1; }

wait_window() { # name-regex -> window id
  local id
  for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

wait_exit() { # pid -> exit status
  local n=0
  while kill -0 "$1" 2>/dev/null; do
    n=$((n + 1)); [ $n -gt 200 ] && fail "the program did not end"
    sleep 0.1
  done
  wait "$1"
}

for f in /usr/local/share/korvane/mysql.txt /usr/share/korvane/mysql.txt /etc/korvane/mysql.txt; do
  [ -e "$f" ] && fail "a system-wide settings file exists ($f); this test needs none"
done

# 1. No settings file anywhere.
mkdir -p "$work/empty"
HOME="$work/empty" "$bin" >"$work/out" 2>"$work/err" &
pid=$!
box=$(wait_window '^Error') || fail "no Error box appeared"
xdotool windowfocus --sync "$box" key Return
status=0; wait_exit $pid || status=$?
pid=
[ "$status" -eq 1 ] || fail "exit status $status after the start-up error, expected 1"
echo "ok: start-up error box, exit status 1"

# 2. A settings file naming a database filled with the sample line-up.
db=t_smoke # the test user may use the test databases only
mariadb --no-defaults -u"$KORVANE_DB_USER" -p"$KORVANE_DB_PASSWORD" \
  -e "DROP DATABASE IF EXISTS $db; CREATE DATABASE $db CHARACTER SET utf8mb4"
cat "$KORVANE_SOURCE_DIR/db/schema.sql" "$KORVANE_SOURCE_DIR/db/sample.sql" |
  mariadb --no-defaults -u"$KORVANE_DB_USER" -p"$KORVANE_DB_PASSWORD" "$db"
mkdir -p "$work/home/.korvane"
printf 'DBHostName=localhost\nDBName=%s\nDBUserName=%s\nDBPassword=%s\n' \
  "$db" "$KORVANE_DB_USER" "$KORVANE_DB_PASSWORD" >"$work/home/.korvane/mysql.txt"

HOME="$work/home" QT_LOGGING_RULES="korvane.sql.debug=true" "$bin" >"$work/out" 2>"$work/err" &
pid=$!
win=$(wait_window '^Korvane Setup$') || fail "the main window did not appear"
sleep 1
count=$(xdotool search --onlyvisible --name '^Korvane Setup$' | wc -l)
[ "$count" -eq 1 ] || fail "$count windows titled Korvane Setup: an exception box is showing"
grep -q 'select \* from `videosource`' "$work/err" || fail "the source list was not read"
grep -q 'select \* from `capturecard`' "$work/err" || fail "the card list was not read"
# The sample has three sources and two cards.
grep -q -- '-- 3 rows from videosource' "$work/err" || fail "the source list is not filled"
grep -q -- '-- 2 rows from capturecard' "$work/err" || fail "the card list is not filled"
grep -q "$KORVANE_DB_PASSWORD" "$work/err" "$work/out" && fail "the password was printed"
# The DVB-T source's editor, by the keyboard; Ctrl+E in its Name field opens the export's
# save dialog (a text field takes Ctrl+E for itself on X11), Escape closes it; Escape
# closes the editor, which has nothing to save.
xdotool windowfocus --sync "$win" key alt+s Down Return
editor=$(wait_window '^Channel') || fail "the source editor did not open"
xdotool windowfocus --sync "$editor" key alt+a ctrl+e
dialog=$(wait_window '^Export channels$') || fail "Ctrl+E in a text field opened no export dialog"
xdotool windowfocus --sync "$dialog" key Escape
xdotool windowfocus --sync "$editor" key Escape
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^Channel' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Channel' >/dev/null 2>&1 && fail "the editor did not close"
echo "ok: Ctrl+E in a text field of the source editor opens the export dialog"
xdotool windowfocus --sync "$win" key ctrl+q
status=0; wait_exit $pid || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit status $status after quitting, expected 0"
echo "ok: main window on the sample database, quit with status 0"
