#pragma once

#include "rowstore.h"
#include "sqlgen.h"
#include "writtenrow.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class TSQLConnection;

/// The changes of a data set not saved yet, one entry per row (added, changed or
/// deleted), in the order they were first made; and how they are written.
class TChangeLog
{
public:
    int Count() const { return int(m_entries.size()); }
    bool IsEmpty() const { return m_entries.empty(); }
    const std::vector<TRow*>& Entries() const { return m_entries; }
    /// Logs `row` unless it is logged already.
    void Log(TRow* row);
    void Unlog(TRow* row);
    void Clear();
    /// A row whose place in the log is to be the last when it is logged again.
    static constexpr quint64 AtEnd = ~quint64(0);
    /// Logs `rows` anew as their logSeq says: in their old places, at the end (AtEnd), or
    /// not at all (0). Rows not among them keep theirs.
    void Restore(const std::vector<TRow*>& rows);

    /// Writes every change to `table`: all statements are built before the first is
    /// sent, inside the connection's open transaction or else in one of its own, and a
    /// change that finds no row (another user changed or deleted it) or several fails the
    /// whole of it. Returns the rows written, to be merged once committed.
    std::vector<TRow*> Apply(TSQLConnection& connection, const QString& table,
                             const QList<TColumnInfo>& columns) const;
    /// After the commit: each row written that is still logged holds what the server
    /// holds now; deleted rows leave `rows`.
    void MergeWritten(const std::vector<TRow*>& written, TRowStore& rows);
    /// The changes as the rows they write to `table`, whose columns are `columns` (the
    /// first its key), with their values before and after.
    QList<TWrittenRow> Describe(const QString& table, const QStringList& columns) const;
    /// Every change undone: changed and deleted rows as read, added rows gone from `rows`.
    void Undo(TRowStore& rows);

private:
    std::vector<TRow*> m_entries; // in the order of their logSeq
    quint64 m_lastSeq = 0;
};
