// The channel editor's line-up tools share one start and one apply: a tool starts on an
// active window with its editors committed, the typing in progress settled as a step of
// its own and its rows chosen; it applies its changes through the data sets as one undo
// step. Each tool adds only what differs: its file, its review, its changes.
#include "channelwin.h"

#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"

std::optional<std::vector<int>> TChannelWin::startTool(TToolRows which)
{
    if (!ChannelDataSet->Active())
        return std::nullopt;
    CommitOpenEditors(this);
    History->EndStep();
    ChannelDataSet->CheckBrowseMode();
    switch (which) {
    case TToolRows::All: {
        std::vector<int> all(size_t(ChannelDataSet->RecordCount()));
        for (size_t r = 0; r < all.size(); ++r)
            all[r] = int(r);
        return all;
    }
    case TToolRows::SelectionOrAll: {
        std::vector<int> selected = ChannelGrid->SelectedRows();
        return selected.size() > 1 ? selected : ChannelGrid->RowsInViewOrder();
    }
    case TToolRows::Selection:
        break;
    }
    return ChannelGrid->SelectedRows();
}

void TChannelWin::applyTool(const QString& name, const std::function<void()>& change)
{
    History->Step(name, change);
    UpdateModifiedMark();
}

void TChannelWin::changeChannels(const QString& name,
                                 const QList<TSQLClientDataSet::TRowValues>& changes)
{
    if (changes.isEmpty())
        return;
    applyTool(name, [&] { ChannelDataSet->ChangeRows(changes); });
}
