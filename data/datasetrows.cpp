// The client data set's changes of many rows at once (deleting a selection, changing
// several rows' values) and the undo history's restore of the rows a step touched.
#include "clientdataset.h"

#include "errors.h"

#include <algorithm>

// --- undo and redo ------------------------------------------------------------------

TRowImage TSQLClientDataSet::EffectiveImage(const TRow* row) const
{
    // The row being edited as posting it would leave it (see Post).
    if (row == currentRow() && IsEditing()) {
        if (m_state == TDataSetState::Insert)
            return m_modified ? TRowImage{TRowStatus::Inserted, m_buffer, TChangeLog::AtEnd}
                              : TRowImage{TRowStatus::Absent, m_buffer, 0};
        if (m_modified && !SameValues(m_buffer, row->current)) {
            if (row->status == TRowStatus::Unchanged)
                return {TRowStatus::Modified, m_buffer, TChangeLog::AtEnd};
            if (row->status == TRowStatus::Modified && SameValues(m_buffer, row->original))
                return {TRowStatus::Unchanged, row->original, 0};
            return {row->status, m_buffer, row->logSeq};
        }
    }
    const TRowStatus status = row->status == TRowStatus::Pending ? TRowStatus::Absent : row->status;
    return {status, row->current, row->logSeq};
}

TRow* TSQLClientDataSet::HistoryCurrentRow() const
{
    if (m_state == TDataSetState::Insert && !m_modified)
        return m_rowBeforeInsert;
    return currentRow();
}

void TSQLClientDataSet::RestoreRows(const TSetStep& step, bool after)
{
    requireActive("undo");
    CheckBrowseMode();
    std::vector<TRow*> rows;
    rows.reserve(step.rows.size());
    for (const TSetStep::Row& r : step.rows) {
        TRow* row = r.row;
        row->status = after ? r.after : r.before;
        for (const TSetStep::Cell& cell : r.cells)
            row->current[cell.column] = after ? cell.after : cell.before;
        const bool logged = row->status == TRowStatus::Modified ||
                            row->status == TRowStatus::Inserted ||
                            row->status == TRowStatus::Deleted;
        const quint64 seq = after ? r.seqAfter : r.seqBefore;
        row->logSeq = logged ? (seq != 0 ? seq : TChangeLog::AtEnd) : 0;
        rows.push_back(row);
    }
    m_log.Restore(rows);
    m_rows.Touched();
    refilter();
    const int at = m_rows.IndexOf(after ? step.currentAfter : step.currentBefore);
    m_current = at >= 0 ? at : m_rows.IsEmpty() ? -1 : std::clamp(m_current, 0, RecordCount() - 1);
    notify(NoticeRows | NoticeCurrent);
}

// --- many rows at once -------------------------------------------------------------

void TSQLClientDataSet::deleteRow(TRow* row)
{
    touch(row);
    if (row->status == TRowStatus::Inserted) {
        // Never written: forgetting it is all the delete needs (kept unseen, for the
        // history).
        m_log.Unlog(row);
        row->status = TRowStatus::Absent;
        return;
    }
    if (row->status == TRowStatus::Modified)
        row->current = row->original;
    row->status = TRowStatus::Deleted;
    m_log.Log(row);
}

void TSQLClientDataSet::deleted(int first)
{
    m_rows.Touched();
    refilter();
    notify(NoticeRows);
    m_current = -2; // force the scroll: the current row may be gone
    setCurrent(m_rows.IsEmpty() ? -1 : std::clamp(first, 0, RecordCount() - 1), true);
}

void TSQLClientDataSet::DeleteRows(const std::vector<int>& rows)
{
    requireActive("delete");
    std::vector<TRow*> doomed;
    for (int i : rows)
        if (TRow* row = m_rows.At(i))
            doomed.push_back(row);
    if (doomed.empty())
        return;
    const int first = *std::min_element(rows.begin(), rows.end());
    CheckBrowseMode();
    for (TRow* row : doomed)
        if (!IsGone(row->status))
            deleteRow(row);
    deleted(first);
}

void TSQLClientDataSet::DeleteKeyed(const QString& column, const QSet<qlonglong>& keys)
{
    requireActive("delete");
    const int c = FieldIndex(column);
    if (c < 0)
        throw EKorvaneError(
            tr("The data set \"%1\" has no column \"%2\".").arg(m_commandText, column));
    CheckBrowseMode();
    std::vector<TRow*> doomed;
    for (const auto& row : m_rows.All()) {
        if (IsGone(row->status) || row->status == TRowStatus::Pending)
            continue;
        if (const auto key = TRowStore::KeyOf(*row, c); key && keys.contains(*key))
            doomed.push_back(row.get());
    }
    if (doomed.empty())
        return;
    for (TRow* row : doomed)
        deleteRow(row);
    deleted(std::max(m_current, 0));
}

void TSQLClientDataSet::ChangeRows(const QList<TRowValues>& changes)
{
    requireActive("change rows");
    CheckBrowseMode();
    std::vector<std::pair<TRow*, const TRowValues*>> rows;
    for (const TRowValues& change : changes)
        if (TRow* row = m_rows.At(change.row))
            rows.emplace_back(row, &change);
    // Refused values refuse the whole change, before any row is touched.
    std::vector<QVariantList> values;
    for (const auto& [row, change] : rows) {
        QVariantList v = row->current;
        for (const auto& [column, value] : change->values)
            v[column] = CoerceValue(m_fields.at(column), value);
        values.push_back(std::move(v));
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        touch(rows[i].first);
        postValues(rows[i].first, std::move(values[i]));
    }
    m_rows.Touched();
    notify(NoticeCurrent);
}

QHash<qlonglong, QVariantList> TSQLClientDataSet::RowsByKey(const QString& column) const
{
    QHash<qlonglong, QVariantList> rows;
    const int c = FieldIndex(column);
    if (c < 0)
        return rows;
    rows.reserve(qsizetype(m_rows.All().size()));
    for (const auto& row : m_rows.All()) {
        if (IsGone(row->status) || row->status == TRowStatus::Pending)
            continue;
        if (const auto key = TRowStore::KeyOf(*row, c))
            rows.insert(*key, row->current);
    }
    return rows;
}
