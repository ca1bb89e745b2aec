#pragma once

/// `--history`: the history of writes to the database the settings name, newest first
/// (at most `limit` entries when positive), as lines or (`json`) one JSON array. Returns
/// the exit status: 0, or 1 with the reason on standard error.
int RunHistoryList(int limit, bool json);
