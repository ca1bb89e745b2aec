#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// A table of the line-up as the program knows it: its columns (the key first) and
/// which of them hold whole numbers, with their range.
struct TLineupTable
{
    QString name;
    QStringList columns;
    QStringList numbers;
    QStringList smallNumbers; // TINYINT: -128 to 127

    const QString& Key() const { return columns.first(); }
    bool IsNumber(const QString& column) const { return numbers.contains(column); }
};

/// The five tables of the line-up, in the order a backup holds them.
const QList<TLineupTable>& LineupTables();
/// The table named `name`, none when the line-up has no such table.
const TLineupTable* LineupTable(const QString& name);
