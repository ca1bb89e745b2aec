#pragma once

#include "lineupbackup.h"
#include "writtenrow.h"

#include <QList>
#include <QStringList>

/// Bringing the line-up back to a backup: the rows that differ, as an entry of the
/// history whose take-back gives the backup's tables. A row the backup holds and the
/// database lacks is a delete (taken back: inserted), one only the database holds an
/// insert (taken back: deleted), one both hold with other values an update (taken back:
/// the backup's values). Only the columns the program knows count.
QList<TWrittenRow> RestoreRows(const TLineupBackup& now, const TLineupBackup& then);

/// What restoring does, a line a record, for the command line:
/// `+ channel 7 "ARD" (source DVB-T)`, `- card 2 DVB on "backend"`,
/// `~ channel 21 "ZDF": freq 522000000 -> 498000000`.
QStringList RestoreLines(const QList<TWrittenRow>& rows, const TLineupBackup& now,
                         const TLineupBackup& then);
/// "3 to add, 2 to delete, 5 to change".
QString RestoreSummary(const QList<TWrittenRow>& rows);
