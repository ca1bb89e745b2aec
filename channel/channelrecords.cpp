// The channel editor's rows: the handlers that keep a channel and its digital row
// together, and the changes of many channels at once (deleting a selection,
// renumbering).
#include "channelwin.h"

#include "channelrows.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
#include "renumberwin.h"
#include "sqlmodule.h"
#include "trace.h"

void TChannelWin::ChannelDataSetNewRecord()
{
    // Above every chanid of channel_dvb too: a digital row whose channel is gone (left
    // by an older tool) must not become the new channel's.
    int id = 0;
    if (FReservedIds > 0) {
        id = FNextReservedId++;
        --FReservedIds;
    } else {
        id = SQLModule->GetNewID(QStringLiteral("channel"), QStringLiteral("chanid"),
                                 {QStringLiteral("channel_dvb")});
    }
    ChannelDataSet->SetFieldValue(QStringLiteral("chanid"), id);
    ChannelDataSet->SetFieldValue(QStringLiteral("sourceid"), FSourceID);
    Trace(QStringLiteral("new %1").arg(id));
    if (isDigital()) {
        DVBDataSet->SetKeyFilter(QStringLiteral("chanid"), id);
        DVBDataSet->SetActive(true);
        DVBDataSet->Insert();
    }
}

void TChannelWin::ChannelDataSetBeforePost()
{
    Trace(QStringLiteral("before post"));
    if (DVBDataSet->IsEditing())
        DVBDataSet->Post();
}

void TChannelWin::ChannelDataSetBeforeCancel()
{
    Trace(QStringLiteral("before cancel"));
    if (DVBDataSet->IsEditing())
        DVBDataSet->Cancel();
}

void TChannelWin::ChannelDataSetBeforeDelete()
{
    Trace(QStringLiteral("before delete"));
    // A channel without a digital row is deleted alone.
    if (DVBDataSet->Active() &&
        (!DVBDataSet->IsEmpty() || DVBDataSet->State() == TDataSetState::Insert))
        DVBDataSet->Delete();
}

void TChannelWin::ChannelDataSetAfterScroll()
{
    Trace(QStringLiteral("scroll"));
    if (!isDigital())
        return;
    const QVariant chanid = ChannelDataSet->FieldValue(QStringLiteral("chanid"));
    if (chanid.isNull()) {
        // No channel left to show. Digital rows deleted with their channels stay in the
        // change log until saved: the set keeps them, showing nothing (its filter names
        // a channel that is gone); so do rows an undo or redo may bring back. A set
        // without either is closed.
        if (DVBDataSet->ChangeCount() == 0 && !DVBDataSet->IsEditing() && !History->HoldsSteps())
            DVBDataSet->SetActive(false);
        return;
    }
    DVBDataSet->SetKeyFilter(QStringLiteral("chanid"), chanid.toInt());
    DVBDataSet->SetActive(true);
}

void TChannelWin::DVBDataSetNewRecord()
{
    Trace(QStringLiteral("after insert"));
    QVariant chanid = ChannelDataSet->FieldValue(QStringLiteral("chanid"));
    if (chanid.isNull()) {
        ChannelDataSet->Insert();
        // The digital row belongs to the channel just created, never to no channel.
        chanid = ChannelDataSet->FieldValue(QStringLiteral("chanid"));
    }
    DVBDataSet->SetFieldValue(QStringLiteral("chanid"), chanid);
}

void TChannelWin::beforeDigitalWrite()
{
    if (!isDigital())
        return;
    // Typing a digital field with no channel at all creates the channel first; its
    // digital row then links to it.
    if (ChannelDataSet->Active() && ChannelDataSet->IsEmpty())
        ChannelDataSet->Insert();
    if (!DVBDataSet->Active() || !ChannelDataSet->Active())
        return;
    // Digital values typed for a channel make the channel a change of the user's: it is
    // put into the edit state and, when the row is settled, posted with its digital row
    // (whose values would otherwise be cancelled with a channel nobody else touched).
    if (!ChannelDataSet->IsEditing())
        ChannelDataSet->Edit();
    ChannelDataSet->MarkModified();
}

// --- many channels at once -----------------------------------------------------------

void TChannelWin::DeleteSelectedChannels()
{
    CommitOpenEditors(this);
    if (ChannelDataSet->State() == TDataSetState::Insert) {
        // A new row being typed: it goes, and nothing else.
        History->Step(tr("Delete the new channel"), [this] { ChannelDataSet->Delete(); });
        return;
    }
    ChannelDataSet->CheckBrowseMode();
    const std::vector<int> rows = ChannelGrid->SelectedRows();
    if (rows.empty())
        return;
    if (rows.size() == 1) {
        // One channel: as the navigator has always deleted it.
        const QString name = ReadChannelRows(*ChannelDataSet, rows).value(0).Label();
        History->Step(tr("Delete %1").arg(name), [&] {
            ChannelDataSet->MoveTo(rows.front());
            ChannelDataSet->Delete();
        });
        StatusLine->setText(tr("Deleted %1: Ctrl+Z takes it back.").arg(name));
        return;
    }
    QSet<qlonglong> chanids;
    const int chanid = ChannelDataSet->FieldIndex(QStringLiteral("chanid"));
    for (int r : rows)
        chanids.insert(ChannelDataSet->VisibleValue(r, chanid).toLongLong());
    const QString what = tr("%1 channels").arg(rows.size());
    History->Step(tr("Delete %1").arg(what), [&] {
        const TControlsDisabled quiet{ChannelDataSet, DVBDataSet};
        deleteChannels(rows, chanids);
    });
    StatusLine->setText(tr("Deleted %1: Ctrl+Z takes them back.").arg(what));
    UpdateModifiedMark();
}

void TChannelWin::deleteChannels(const std::vector<int>& rows, const QSet<qlonglong>& chanids)
{
    // Each channel with its tuning row, as one change.
    Trace(QStringLiteral("before delete"), int(rows.size()));
    if (DVBDataSet->Active())
        DVBDataSet->DeleteKeyed(QStringLiteral("chanid"), chanids);
    ChannelDataSet->DeleteRows(rows);
}

void TChannelWin::RenumberActionExecute()
{
    const auto rows = startTool(TToolRows::Selection);
    if (!rows || rows->empty())
        return;
    // The selected channels in their order, then the others, which their new numbers may
    // clash with.
    QList<TChannelRow> channels = ReadChannelRows(*ChannelDataSet, *rows);
    for (TChannelRow& c : channels)
        c.selected = true;
    const QSet<int> chosen(rows->begin(), rows->end());
    for (const TChannelRow& row : ReadChannelRows(*ChannelDataSet))
        if (!chosen.contains(row.row))
            channels << row;
    const int limit = ColumnWidth(*ChannelDataSet, QStringLiteral("channum"), ChannumLimit);
    TRenumberWin dialog(channels, limit, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList numbers = dialog.Plan().numbers;
    const int channum = ChannelDataSet->FieldIndex(QStringLiteral("channum"));
    QList<TSQLClientDataSet::TRowValues> changes;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        changes << TSQLClientDataSet::TRowValues{channels[i].row, {{channum, numbers[i]}}};
    changeChannels(rows->size() == 1 ? tr("Renumber %1").arg(channels.front().Label())
                                     : tr("Renumber %1 channels").arg(rows->size()),
                   changes);
}
