// The data set's editing: a row pending in the edit buffer, posted into the rows and
// the change log, cancelled, or deleted.
#include "clientdataset.h"

#include "errors.h"

bool TSQLClientDataSet::HasPendingChanges() const
{
    if (!Active())
        return false;
    return m_state == TDataSetState::Edit || !m_log.IsEmpty() ||
           (m_state == TDataSetState::Insert && m_modified);
}

void TSQLClientDataSet::MarkModified()
{
    if (!IsEditing())
        return;
    touch(currentRow()); // (a row changed along with another set's is part of the step)
    m_modified = true;
}

void TSQLClientDataSet::CheckBrowseMode()
{
    if (!IsEditing())
        return;
    if (m_modified)
        Post();
    else
        Cancel();
}

void TSQLClientDataSet::Append()
{
    startNewRow(true);
}

void TSQLClientDataSet::Insert()
{
    startNewRow(false);
}

void TSQLClientDataSet::startNewRow(bool append)
{
    requireActive("add a row");
    CheckBrowseMode();
    TRow* before = currentRow();
    m_rowBeforeInsert = before;
    QVariantList empty;
    for (const TFieldDef& f : m_fields)
        empty << QVariant(f.type);
    TRow* pending = m_rows.AddPending(empty, append ? nullptr : before);
    m_current = m_rows.IndexOf(pending);
    m_buffer = pending->current;
    m_modified = false;
    setState(TDataSetState::Insert);
    notify(NoticeRows | NoticeCurrent);

    m_inNewRecord = true;
    try {
        if (OnNewRecord)
            OnNewRecord();
    } catch (...) {
        m_inNewRecord = false;
        // Leave the set as it was before the new row started.
        if (m_state == TDataSetState::Insert && currentRow() == pending) {
            finishPending();
            m_current = m_rows.IndexOf(before);
            notify(NoticeRows | NoticeCurrent);
        }
        throw;
    }
    m_inNewRecord = false;
    // A handler may have settled the new row itself (through another data set).
    if (AfterScroll)
        AfterScroll();
}

void TSQLClientDataSet::finishPending()
{
    if (m_state == TDataSetState::Insert)
        m_rows.Drop(currentRow()); // never posted: kept unseen, for the history
    m_buffer.clear();
    m_modified = false;
    setState(TDataSetState::Browse);
}

void TSQLClientDataSet::Edit()
{
    requireActive("edit");
    if (IsEditing())
        return;
    if (m_rows.IsEmpty()) {
        Append();
        return;
    }
    m_buffer = currentRow()->current;
    m_modified = false;
    setState(TDataSetState::Edit);
}

void TSQLClientDataSet::postValues(TRow* row, QVariantList values)
{
    if (row->status == TRowStatus::Inserted) {
        row->current = std::move(values);
        return;
    }
    if (SameValues(values, row->current))
        return;
    row->current = std::move(values);
    if (row->status == TRowStatus::Unchanged) {
        row->status = TRowStatus::Modified;
        m_log.Log(row);
    } else if (row->status == TRowStatus::Modified && SameValues(row->current, row->original)) {
        // Every value is back as it was read: nothing left to write.
        row->status = TRowStatus::Unchanged;
        row->current = row->original;
        m_log.Unlog(row);
    }
}

void TSQLClientDataSet::Post()
{
    requireActive("post");
    if (!IsEditing())
        return;
    if (BeforePost)
        BeforePost();
    if (!IsEditing())
        return; // the handler settled the row itself
    TRow* row = currentRow();
    const bool inserted = m_state == TDataSetState::Insert;
    const auto keyBefore = inserted ? std::nullopt : m_rows.IndexedKey(*row);
    if (inserted) {
        row->current = m_buffer;
        row->status = TRowStatus::Inserted;
        m_log.Log(row);
    } else {
        postValues(row, m_buffer);
    }
    m_rows.Posted(row, keyBefore, inserted);
    m_buffer.clear();
    m_modified = false;
    setState(TDataSetState::Browse);
    notify(NoticeCurrent);
}

void TSQLClientDataSet::Cancel()
{
    requireActive("cancel");
    if (!IsEditing())
        return;
    if (BeforeCancel)
        BeforeCancel();
    if (!IsEditing())
        return;
    if (m_modified) // what was typed goes: a change (a row nobody changed is none)
        touch(currentRow());
    const bool wasInsert = m_state == TDataSetState::Insert;
    const int index = m_current;
    finishPending();
    if (wasInsert) {
        notify(NoticeRows);
        m_current = -2; // force the scroll: the current row is gone
        setCurrent(m_rows.IsEmpty() ? -1 : std::min(index, RecordCount() - 1), true);
    } else {
        notify(NoticeCurrent);
    }
}

void TSQLClientDataSet::Delete()
{
    requireActive("delete");
    if (m_state == TDataSetState::Insert) {
        Cancel();
        return;
    }
    if (m_rows.IsEmpty())
        throw EDatabaseError(tr("Cannot perform this operation on an empty data set."));
    if (BeforeDelete)
        BeforeDelete();
    TRow* row = currentRow();
    if (!row)
        return;
    touch(row); // with what is being typed into it
    if (m_state == TDataSetState::Edit) {
        m_buffer.clear();
        m_modified = false;
        setState(TDataSetState::Browse);
    }
    const int index = m_current;
    m_rows.Hide(index);
    deleteRow(row);
    notify(NoticeRows);
    m_current = -2;
    setCurrent(m_rows.IsEmpty() ? -1 : std::min(index, RecordCount() - 1), true);
}
