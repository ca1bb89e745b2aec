#!/usr/bin/env bash
# Private servers started at the same moment never disturb each other: each comes up,
# lets the test user in, keeps its temporary files in its own directory and stops
# cleanly. TMPDIR points at a fresh directory of this test's, so anything a server or
# its set-up left in the "shared" temporary directory would be found there.
set -uo pipefail
root=${KORVANE_SOURCE_DIR:?}
count=${KORVANE_CONCURRENT_SERVERS:-4}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/korvane-concurrent.XXXXXX")
logs=$(mktemp -d "${TMPDIR:-/tmp}/korvane-concurrent-logs.XXXXXX")
export TMPDIR=$scratch
stop_all() {
  for i in $(seq 1 "$count"); do
    "$root/scripts/testdb" stop "$logs/s$i" >/dev/null 2>&1 || true
  done
}
trap 'stop_all; rm -rf "$scratch" "$logs"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

pids=()
for i in $(seq 1 "$count"); do
  "$root/scripts/testdb" start "$logs/s$i" "$root/db/schema.sql" >"$logs/start$i.log" 2>&1 &
  pids+=($!)
done
for i in $(seq 1 "$count"); do
  if ! wait "${pids[$((i - 1))]}"; then
    fail "server $i did not start:"
    sed 's/^/    /' "$logs/start$i.log"
  fi
done

for i in $(seq 1 "$count"); do
  eval "$("$root/scripts/testdb" env "$logs/s$i")"
  ask() {
    mariadb --no-defaults --socket="$MYSQL_UNIX_PORT" -u"$KORVANE_DB_USER" \
      -p"$KORVANE_DB_PASSWORD" -N "$KORVANE_DB_NAME" -e "$1" 2>&1
  }
  tables=$(ask "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = DATABASE()")
  [ "$tables" = 6 ] || fail "server $i: the test user sees \"$tables\" tables instead of 6"
  own=$(readlink -f "$logs/s$i")
  tmpdir=$(readlink -f "$(ask 'SELECT @@tmpdir')")
  case $tmpdir/ in "$own"/*) ;; *) fail "server $i keeps its temporary files in $tmpdir" ;; esac
done

for i in $(seq 1 "$count"); do
  own=$(readlink -f "$logs/s$i")
  pid=$(cat "$own/mysqld.pid" 2>/dev/null)
  "$root/scripts/testdb" stop "$logs/s$i" || fail "server $i did not stop"
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && fail "server $i (process $pid) still runs"
  [ -e "$own" ] && fail "server $i left its directory $own"
done

left=$(ls -A "$scratch")
[ -z "$left" ] || fail "left in the shared temporary directory: $left"
[ "$failed" = 0 ] && echo "$count servers started at once: each came up, let the test user in and stopped"
exit "$failed"
