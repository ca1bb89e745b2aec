#pragma once

#include <QtGlobal>

/// `--history`: the history of writes to the database the settings name, newest first
/// (at most `limit` entries when positive), as lines or (`json`) one JSON array. Returns
/// the exit status: 0, or 1 with the reason on standard error.
int RunHistoryList(int limit, bool json);

/// `--take-back ID`: takes back the history's entry `id` as the window would, every
/// record unchanged since ticked; with `dryRun`, prints what it would do and writes
/// nothing. Returns the exit status: 0 done, 2 a record changed since (nothing written,
/// each such record named), 1 with the reason on standard error.
int RunTakeBack(qint64 id, bool dryRun);

class TSQLConnection;
class TTakeBack;
class TWriteHistory;

/// Writes `takeBack` (read, ticked) through `connection` from the command line,
/// recorded in `history`; raises what stopped it. Returns why it is not in the history
/// (empty when it is).
QString WriteRecorded(TSQLConnection& connection, TWriteHistory& history, TTakeBack& takeBack);
