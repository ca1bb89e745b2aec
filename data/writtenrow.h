#pragma once

#include <QString>
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
