#include "changelog.h"

#include "clientdataset.h"
#include "connection.h"
#include "errors.h"

#include <QCoreApplication>
#include <algorithm>
#include <unordered_set>

namespace {

/// The texts of this file, translated as TSQLClientDataSet's.
struct TSQLClientDataSetText
{
    Q_DECLARE_TR_FUNCTIONS(TSQLClientDataSet)
};

TStatement statementFor(const TRow& row, const QString& table, const QString& quote,
                        const QList<TColumnInfo>& columns)
{
    switch (row.status) {
    case TRowStatus::Inserted:
        return InsertStatement(table, quote, columns, row.current);
    case TRowStatus::Modified: {
        QList<bool> changed;
        for (qsizetype i = 0; i < columns.size(); ++i)
            changed << !SameValue(row.original[i], row.current[i]);
        return UpdateStatement(table, quote, columns, row.original, row.current, changed);
    }
    case TRowStatus::Deleted:
        return DeleteStatement(table, quote, columns, row.original);
    case TRowStatus::Unchanged:
    case TRowStatus::Pending:
    case TRowStatus::Absent:
        break;
    }
    throw EKorvaneError(
        TSQLClientDataSetText::tr("Internal error: a row in the change log has no change."));
}

} // namespace

void TChangeLog::Log(TRow* row)
{
    if (row->logSeq != 0)
        return;
    row->logSeq = ++m_lastSeq;
    m_entries.push_back(row);
}

void TChangeLog::Unlog(TRow* row)
{
    if (row->logSeq == 0)
        return;
    const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), row->logSeq,
                                     [](const TRow* r, quint64 seq) { return r->logSeq < seq; });
    if (at != m_entries.end() && *at == row)
        m_entries.erase(at);
    row->logSeq = 0;
}

void TChangeLog::Clear()
{
    for (TRow* row : m_entries)
        row->logSeq = 0;
    m_entries.clear();
}

void TChangeLog::Restore(const std::vector<TRow*>& rows)
{
    std::unordered_set<const TRow*> restored(rows.begin(), rows.end());
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const TRow* r) { return restored.count(r) > 0; }),
                    m_entries.end());
    for (TRow* row : rows) {
        if (row->logSeq == 0)
            continue;
        if (row->logSeq == AtEnd)
            row->logSeq = ++m_lastSeq;
        m_lastSeq = std::max(m_lastSeq, row->logSeq);
        m_entries.push_back(row);
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const TRow* a, const TRow* b) { return a->logSeq < b->logSeq; });
}

std::vector<TRow*> TChangeLog::Apply(TSQLConnection& connection, const QString& table,
                                     const QList<TColumnInfo>& columns) const
{
    // Build every statement before sending any: a log that cannot be written fully
    // must not be written in part.
    const QString quote = connection.QuoteChar();
    std::vector<TStatement> statements;
    statements.reserve(m_entries.size());
    for (const TRow* row : m_entries)
        statements.push_back(statementFor(*row, table, quote, columns));

    // Inside a caller's transaction the caller commits or rolls back; otherwise this
    // apply is a transaction of its own.
    const bool ownTransaction = !connection.InTransaction();
    if (ownTransaction)
        connection.StartTransaction();
    try {
        // Several statements a query; each still has to find its one row.
        connection.ExecuteBatch(statements, [&](size_t i, int matched) {
            if (m_entries[i]->status == TRowStatus::Inserted || matched == 1)
                return;
            const TRow& row = *m_entries[i];
            const QString key =
                columns.isEmpty() ? QString()
                                  : QStringLiteral("%1 = %2").arg(columns.first().name,
                                                                  row.original.first().toString());
            if (matched == 0)
                throw EDatabaseError(
                    TSQLClientDataSetText::tr("The record was changed or deleted by another "
                                              "user since it was read. (table %1, %2)")
                        .arg(table, key));
            throw EDatabaseError(
                TSQLClientDataSetText::tr("The change would affect %1 rows of table %2 "
                                          "instead of one (%3); nothing was written.")
                    .arg(matched)
                    .arg(table, key));
        });
        if (ownTransaction)
            connection.Commit();
    } catch (...) {
        if (ownTransaction)
            connection.Rollback();
        throw;
    }
    return m_entries;
}

void TChangeLog::MergeWritten(const std::vector<TRow*>& written, TRowStore& rows)
{
    rows.Touched();
    // Only rows still logged as they were written: a set that was closed or whose log
    // was cancelled meanwhile has nothing to merge.
    std::unordered_set<const TRow*> merged;
    for (TRow* row : written) {
        if (row->logSeq == 0)
            continue;
        merged.insert(row);
        row->logSeq = 0;
        if (row->status == TRowStatus::Deleted) {
            row->status = TRowStatus::Absent; // gone with the others below
        } else {
            row->original = row->current;
            row->status = TRowStatus::Unchanged;
        }
    }
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const TRow* r) { return merged.count(r) > 0; }),
                    m_entries.end());
    // Saved: the deleted rows are gone, and no history goes back behind a save.
    rows.PurgeAbsent();
}

void TChangeLog::Undo(TRowStore& rows)
{
    rows.Touched();
    for (TRow* row : m_entries) {
        row->logSeq = 0;
        if (row->status == TRowStatus::Inserted) {
            row->status = TRowStatus::Absent;
        } else {
            row->current = row->original;
            row->status = TRowStatus::Unchanged;
        }
    }
    m_entries.clear();
    rows.PurgeAbsent();
}

QList<TWrittenRow> TChangeLog::Describe(const QString& table, const QStringList& columns) const
{
    QList<TWrittenRow> rows;
    rows.reserve(qsizetype(m_entries.size()));
    const auto valuesOf = [&columns](const QVariantList& values) {
        QVariantMap map;
        for (qsizetype c = 0; c < columns.size() && c < values.size(); ++c)
            map.insert(columns[c], values[c]);
        return map;
    };
    for (const TRow* row : m_entries) {
        TWrittenRow written;
        written.table = table;
        written.keyColumn = columns.value(0);
        switch (row->status) {
        case TRowStatus::Inserted:
            written.kind = TWrittenRow::Kind::Insert;
            written.after = valuesOf(row->current);
            written.key = row->current.value(0);
            break;
        case TRowStatus::Deleted:
            written.kind = TWrittenRow::Kind::Delete;
            written.before = valuesOf(row->original);
            written.key = row->original.value(0);
            break;
        default:
            written.kind = TWrittenRow::Kind::Update;
            written.before = valuesOf(row->original);
            written.after = valuesOf(row->current);
            written.key = row->original.value(0);
            break;
        }
        rows << written;
    }
    return rows;
}
