// A client data set's saving: its change log written in a transaction, or undone.
#include "clientdataset.h"

#include "connection.h"
#include "errors.h"

#include <QPointer>
#include <algorithm>

int TSQLClientDataSet::ApplyUpdates(int maxErrors)
{
    Q_UNUSED(maxErrors); // any error ends the apply: the whole log is written or none of it
    requireActive("save");
    CheckBrowseMode();
    if (m_log.IsEmpty())
        return 0;
    if (m_commandType != TCommandType::Table)
        throw EKorvaneError(tr("The result of a query cannot be saved."));
    QList<TColumnInfo> columns;
    for (const TFieldDef& f : m_fields)
        columns << TColumnInfo{f.name, f.type, f.Updatable(), f.WhereEligible()};
    const std::vector<TRow*> written = m_log.Apply(m_connection, m_commandText, columns);

    // The log is done with once the transaction is committed: at once when this apply
    // owned it, otherwise when the caller commits.
    QPointer<TSQLClientDataSet> self(this);
    m_connection.AfterCommit([self, written] {
        if (!self)
            return;
        self->newEpoch();
        self->m_log.MergeWritten(written, self->m_rows);
        self->notify(NoticeCurrent);
    });
    return 0;
}

void TSQLClientDataSet::CancelUpdates()
{
    if (!Active())
        return;
    if (IsEditing())
        Cancel();
    TRow* before = currentRow();
    if (before && before->status == TRowStatus::Inserted)
        before = nullptr; // an added row: gone with the changes
    newEpoch();
    m_log.Undo(m_rows);
    const int index = m_current;
    refilter();
    notify(NoticeRows);
    const int found = m_rows.IndexOf(before);
    const int now = found >= 0 ? found : std::min(std::max(index, 0), RecordCount() - 1);
    m_current = before ? now : -2;
    setCurrent(now, false);
}
