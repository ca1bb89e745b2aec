#pragma once

#include "writtenrow.h"

#include <QHash>
#include <QString>
#include <QStringList>

/// How the history names a row of the line-up: as a person knows it, not by its key.
namespace RecordName {

/// The key column of a line-up table, empty for any other table.
QString KeyColumn(const QString& table);

/// The channels named in `rows` ("7 ARD" by their id), for naming their tuning rows.
QHash<qlonglong, QString> Channels(const QList<TWrittenRow>& rows);

/// The row: "source DVB-T", "channel 7 ARD", "tuning values of channel 7 ARD", "card
/// DVB on “backend”", "input DVBInput"; `values` are the row's (before or after).
QString Of(const TWrittenRow& row, const QVariantMap& values,
           const QHash<qlonglong, QString>& channels = {});
/// The row by its values after the write, or before it when it was deleted.
QString Of(const TWrittenRow& row, const QHash<qlonglong, QString>& channels = {});

/// A column as the windows call it ("number" for channum).
QString Column(const QString& table, const QString& column);
/// A value as shown in a change: "(none)" for no value.
QString Value(const QVariant& value);
/// The same value (numbers read back from the history equal the server's).
bool Same(const QVariant& a, const QVariant& b);

/// The columns (not the key) whose values the write changed.
QStringList ChangedColumns(const TWrittenRow& row);

/// What the write did to the row: "added", "deleted", or each column it changed as
/// "number 5 → 12".
QString Change(const TWrittenRow& row);

} // namespace RecordName
