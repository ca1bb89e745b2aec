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
locale=() # LANG and the like, for a run on another desktop
run() { # expected-status args... (output in $work/out and $work/err)
  local expected=$1 status=0
  shift
  env -i HOME="$work/home" MYSQL_UNIX_PORT="$MYSQL_UNIX_PORT" "${locale[@]}" "$bin" "$@" \
    >"$work/out" 2>"$work/err" </dev/null || status=$?
  [ "$status" -eq "$expected" ] || fail "korvane-setup $* ended with $status, expected $expected"
}
checksum() { sql -N -e "CHECKSUM TABLE videosource, channel, channel_dvb, capturecard, cardinput" "$db"; }

cannot() { # what-the-reason-says args...
  local says=$1
  shift
  run 1 "$@"
  grep -q -- "$says" "$work/err" || fail "the reason does not say \"$says\""
  [ -s "$work/out" ] && fail "standard output is not empty"
  return 0
}

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

# On a German desktop the report speaks German; what machines read does not change.
locale=(LANG=de_DE.UTF-8)
run 2 --check
[ "$(head -n 1 "$work/out" | cut -c1-31)" = "Fehler: Keine DVB-Abstimmwerte " ] ||
  fail "the German report: $(head -n 1 "$work/out")"
[ "$(tail -n 1 "$work/out")" = "1 Fehler, 1 Warnung" ] || fail "summary: $(tail -n 1 "$work/out")"
run 2 --check --json
jq -e '.[0].severity == "error" and .[0].rule == "missing-tuning" and .[0].sourceid == 3
       and (.[0].what | startswith("Keine"))' "$work/out" >/dev/null ||
  fail "--json on a German desktop: $(cat "$work/out")"
run 0 --help
grep -q -- "--check" "$work/out" && grep -q "Senderliste" "$work/out" || fail "the German help"
locale=(LANGUAGE=en LANG=de_DE.UTF-8)
run 2 --check
[ "$(tail -n 1 "$work/out")" = "1 error, 1 warning" ] || fail "LANGUAGE=en: $(tail -n 1 "$work/out")"
locale=()
echo "ok: German on a German desktop, English with LANGUAGE=en, the JSON as ever"

# Mended, a warning is left: status 0.
sql -e "INSERT INTO channel_dvb (chanid, freq, pids) VALUES (1110, '578000000', '601,602')" "$db"
run 0 --check
[ "$(tail -n 1 "$work/out")" = "0 errors, 1 warning" ] || fail "summary: $(tail -n 1 "$work/out")"
echo "ok: status 0 with warnings only"

# --export writes what is stored, by the source's id or exact name, to a file or to
# standard output, in the format asked or the file's extension says; nothing written.
before=$(checksum)
run 0 --export DVB-T "$work/dvbt.conf"
grep -q '^3 channels exported to ".*dvbt.conf"\.$' "$work/err" ||
  fail "the export does not say what it wrote"
dvb-format-convert -I DVBV5 -O ZAP -s DVBT "$work/dvbt.conf" "$work/dvbt.zap" >/dev/null 2>&1 ||
  fail "dvb-format-convert does not read the export"
[ "$(cut -d: -f1 "$work/dvbt.zap" | tr '\n' /)" = "Das Erste HD/ZDF HD/arte/" ] || fail "the services: $(cat "$work/dvbt.zap")"
run 0 --export 3 - --format dvbv5
cmp -s "$work/out" "$work/dvbt.conf" || fail "standard output is not the file"
run 0 --export 1 "$work/analogue.CSV"
[ "$(head -n 1 "$work/analogue.CSV")" = $'No.,Short name,Long name,XMLTV ID,Icon\r' ] || fail "CSV header: $(head -n 1 "$work/analogue.CSV")"
[ "$(wc -l <"$work/analogue.CSV")" -eq 4 ] || fail "the CSV does not hold the 3 channels of source 1"
run 0 --export 3 - --format csv
grep -q '^22,ZDF,ZDF HD,zdf.de,,"201,202",12,570000000,' "$work/out" || fail "CSV: $(cat "$work/out")"
[ "$(checksum)" = "$before" ] || fail "--export changed the tables"
echo "ok: --export by id and name, to files and standard output, dvbv5 and CSV"

# An export that cannot be done: status 1, the reason, and a file already there stays.
echo kept >"$work/kept.conf"
cannot "There is no source with the id or name \"Nowhere\"" --export Nowhere "$work/kept.conf"
sql -e "INSERT INTO videosource (sourceid, name) VALUES (8, 'Spare')" "$db"
cannot "2 sources are named \"Spare\"" --export Spare "$work/kept.conf"
cannot "no DVB card receives this source" --export Antenna "$work/kept.conf"
cannot "$work/no/such/folder/x.conf" --export 3 "$work/no/such/folder/x.conf"
[ "$(cat "$work/kept.conf")" = kept ] || fail "a failed export changed the file there"
echo "ok: an export that cannot be done says why and writes nothing"

# The check cannot run: status 1, the reason on standard error, nothing on standard output.
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
cannot "Unknown format \"xml\"" --export 3 x --format xml
cannot "--export needs the FILE" --export 3
cannot "--format goes with --export" --check --format csv
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

# The history of writes, before anything was written: empty, in words and in JSON.
run 0 --history
grep -q "Nothing has been written" "$work/out" || fail "--history: $(cat "$work/out")"
run 0 --history --json --limit 5
jq -e 'length == 0' "$work/out" >/dev/null || fail "--history --json is not an empty array"
cannot "--limit needs a whole number" --history --limit many
cannot "--limit goes with --history" --check --limit 3
echo "ok: --history"
sql -e "DROP DATABASE $db"
