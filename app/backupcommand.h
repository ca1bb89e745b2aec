#pragma once

#include <QString>

/// `--backup FILE`: the line-up of the database the settings name, written whole to
/// FILE (or standard output for "-"). Returns the exit status: 0, or 1 with the reason.
int RunBackup(const QString& path);

/// `--restore FILE`: makes the line-up hold exactly FILE's rows, printing first what
/// changes, a line a record, and a summary; one transaction, an entry of the history.
/// With `dryRun` nothing is written. Returns the exit status: 0 written or nothing to
/// change, 2 (dry run) something would change, 1 with the reason.
int RunRestore(const QString& path, bool dryRun);
