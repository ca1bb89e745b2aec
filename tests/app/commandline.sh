#!/usr/bin/env bash
# The real korvane-setup on the command line, with nothing of the caller's environment
# (env -i: no DISPLAY, no X server, no locale): --check on the sample line-up for each
# exit status, --json read back by jq, the usage and its mistakes. The check must only
# read: the tables are the same afterwards.
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=t_commandline
fail() { echo "FAIL: $*" >&2; for f in out err; do [ -s "$work/$f" ] && { echo "--- $f"; cat "$work/$f"; } >&2; done; exit 1; }
sql() { mariadb --no-defaults -u"$KORVANE_DB_USER" -p"$KORVANE_DB_PASSWORD" "$@"; }
settings() { # name password
  printf 'DBHostName=localhost\nDBName=%s\nDBUserName=%s\nDBPassword=%s\n' \
    "$1" "$KORVANE_DB_USER" "$2" >"$work/home/.korvane/mysql.txt"
}
run() { # expected-status args... (output in $work/out and $work/err)
  local expected=$1 status=0
  shift
  env -i HOME="$work/home" MYSQL_UNIX_PORT="$MYSQL_UNIX_PORT" "$bin" "$@" \
    >"$work/out" 2>"$work/err" </dev/null || status=$?
  [ "$status" -eq "$expected" ] || fail "korvane-setup $* ended with $status, expected $expected"
}
checksum() { sql -N -e "CHECKSUM TABLE videosource, channel, channel_dvb, capturecard, cardinput" "$db"; }

sql -e "DROP DATABASE IF EXISTS $db; CREATE DATABASE $db CHARACTER SET utf8mb4"
cat "$KORVANE_SOURCE_DIR/db/schema.sql" "$KORVANE_SOURCE_DIR/db/sample.sql" | sql "$db"
mkdir -p "$work/home/.korvane"
settings "$db" "$KORVANE_DB_PASSWORD"

# An error in the sample (a DVB-T channel without tuning values): status 2, the report
# alone on standard output, errors first, the summary last; nothing written.
before=$(checksum)
run 2 --check
[ -s "$work/err" ] && fail "--check wrote to standard error"
grep -qvE '^(Error|Warning): .+ - .+: .+$' <(head -n -1 "$work/out") && fail "a line that is no problem"
[ "$(head -n 1 "$work/out" | cut -c1-28)" = "Error: No DVB tuning values " ] || fail "the error does not come first"
[ "$(tail -n 1 "$work/out")" = "1 error, 1 warning" ] || fail "summary: $(tail -n 1 "$work/out")"
[ "$(checksum)" = "$before" ] || fail "--check changed the tables"
echo "ok: status 2 with an error, the report on standard output, nothing written"

run 2 --check --json
jq -e 'length == 2 and .[0].severity == "error" and .[0].rule == "missing-tuning"
       and .[0].sourceid == 3 and .[0].chanid == 1110 and (.[0] | has("cardid") | not)
       and .[1].severity == "warning" and .[1].rule == "unused-source" and .[1].sourceid == 7
       and (.[1].what | length > 0) and (.[1].where | length > 0) and (.[1].why | length > 0)' \
  "$work/out" >/dev/null || fail "--json is not the array expected"
echo "ok: --json read back by jq"

# Mended, a warning is left: status 0.
sql -e "INSERT INTO channel_dvb (chanid, freq, pids) VALUES (1110, '578000000', '601,602')" "$db"
run 0 --check
[ "$(tail -n 1 "$work/out")" = "0 errors, 1 warning" ] || fail "summary: $(tail -n 1 "$work/out")"
echo "ok: status 0 with warnings only"

# The check cannot run: status 1, the reason on standard error, nothing on standard output.
cannot() { # what-the-reason-says args...
  local says=$1
  shift
  run 1 "$@"
  grep -q -- "$says" "$work/err" || fail "the reason does not say \"$says\""
  [ -s "$work/out" ] && fail "standard output is not empty"
  return 0
}
settings "$db" wrong-password
cannot "Access denied" --check
settings "$db" "$KORVANE_DB_PASSWORD"
sql -e "ALTER TABLE channel DROP COLUMN xmltvid" "$db"
cannot "xmltvid" --check --json
rm "$work/home/.korvane/mysql.txt"
cannot "mysql.txt cound not be found" --check
echo "ok: status 1 without settings, with a login refused, with a column missing"

# The options themselves.
cannot "Unknown option 'bogus'" --bogus
grep -q "Usage:" "$work/err" || fail "no usage after an unknown option"
cannot "goes with --check" --json
cannot "Unexpected argument: extra" --check extra
run 0 --help
grep -q -- "--check" "$work/out" || fail "--help does not tell of --check"
run 0 --version
grep -qE '^korvane-setup [0-9]+\.[0-9]+\.[0-9]+$' "$work/out" || fail "--version: $(cat "$work/out")"
# Qt's window options are no command line of ours: with them alone the window starts
# (and, without a display here, cannot), with --check they are passed over.
settings "$db" "$KORVANE_DB_PASSWORD"
run 1 -platform offscreen --check
grep -q xmltvid "$work/err" || fail "-platform offscreen --check did not check"
echo "ok: usage, --help, --version"
sql -e "DROP DATABASE $db"
