#pragma once

#include <QString>
#include <optional>

/// A record and the column in question, for an editor to go to: the row of `table`
/// whose `keyColumn` holds `key` (none: the editor's current row), and `column` of
/// `columnTable` (the record's own table, or one whose row goes with it, as a channel's
/// digital row goes with the channel). An empty `table` names no record.
struct TRecordRef
{
    QString table;
    QString keyColumn;
    std::optional<qlonglong> key;
    QString columnTable;
    QString column;

    bool IsEmpty() const { return table.isEmpty(); }
};
