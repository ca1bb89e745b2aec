#pragma once

#include "lineupbackup.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>

/// A row of a backup that names a row of another table the backup does not hold: the
/// tuning values of a deleted channel, an input whose start channel was deleted.
struct TDanglingReference
{
    QString table;    // of the row that names
    qsizetype row;    // its place in its table
    QString column;   // the column that names
    const char* what; // what it names, untranslated: "source", "channel", "card", ...
    qlonglong value;

    /// "cardinput.startchan", as the backup lists it.
    QString Name() const { return table + QLatin1Char('.') + column; }
};

/// The references of `backup`'s rows to rows it does not hold (0 and NULL name nothing).
QList<TDanglingReference> DanglingReferences(const TLineupBackup& backup);

/// The references as a backup lists them, so that it may be restored as it was:
/// {"cardinput.startchan": [1999], "channel_dvb.chanid": [1201]} (empty when none).
QJsonObject DanglingList(const QList<TDanglingReference>& references);

/// The list read back: the values each column may name without the row (empty when
/// `list` is not such a list).
QHash<QString, QSet<qlonglong>> ReadDanglingList(const QJsonObject& list, bool* ok);
