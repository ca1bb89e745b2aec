#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

/// A row of the line-up written: its table, its key, and every column the program knows
/// of it before and after the write (no `before` for a row inserted, no `after` for a
/// row deleted).
struct TWrittenRow
{
    enum class Kind : quint8 { Insert, Update, Delete };
    Kind kind = Kind::Update;
    QString table;
    QString keyColumn;
    QVariant key;
    QVariantMap before, after;
};

/// Whether `values` holds exactly the columns `columns`, in their order (a map's order).
inline bool HasColumns(const QVariantMap& values, const QStringList& columns)
{
    if (values.size() != columns.size())
        return false;
    qsizetype c = 0;
    for (auto i = values.keyBegin(); i != values.keyEnd(); ++i, ++c)
        if (*i != columns[c])
            return false;
    return true;
}
