// The channel editor's listings match: the source's channels matched by name to the
// channels of an XMLTV listings file, reviewed, and the ticked ones filled in.
#include "channelwin.h"

#include "channelrows.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
#include "listingswin.h"

#include <QGuiApplication>
#include <QScopeGuard>

void TChannelWin::ListingsActionExecute()
{
    if (!ChannelDataSet->Active())
        return;
    CommitOpenEditors(this);
    const QString path =
        chooseFile(tr("Match listings"), tr("XMLTV listings (*.xml *.xml.gz *.gz);;All files (*)"));
    if (path.isEmpty())
        return;
    QList<TListedChannel> listed;
    {
        // A whole listings file of a week takes a second or two.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        listed = ReadListingsFile(path);
    }

    // Every channel of the source, whatever the filter above the list shows, with the
    // row being edited settled.
    QList<TChannelToMatch> channels;
    QStringList icons;
    for (const TChannelRow& row : ReadChannelRows(*ChannelDataSet)) {
        channels << TChannelToMatch{row.channum, row.callsign, row.name, row.xmltvid.trimmed()};
        icons << row.icon;
    }
    const TListingsLimits limits{
        ColumnWidth(*ChannelDataSet, QStringLiteral("xmltvid"), XmltvidLimit),
        ColumnWidth(*ChannelDataSet, QStringLiteral("icon"), IconLimit)};
    TListingsWin review(channels, icons, listed, limits, this);
    if (review.exec() != QDialog::Accepted)
        return;
    const QList<TListingsChange> changes = review.Changes();
    History->Step(changes.size() == 1
                      ? tr("Fill in the listings of 1 channel")
                      : tr("Fill in the listings of %1 channels").arg(changes.size()),
                  [&] { applyListings(changes); });
    UpdateModifiedMark();
}

void TChannelWin::applyListings(const QList<TListingsChange>& changes)
{
    // Each ticked channel is changed as typing its fields would change it; the lists
    // and fields show the outcome once, on the channel that was current.
    const TControlsDisabled quiet{ChannelDataSet, DVBDataSet};
    const int current = ChannelDataSet->RecNo();
    for (const TListingsChange& change : changes) {
        ChannelDataSet->MoveTo(change.channel);
        ChannelDataSet->Edit();
        ChannelDataSet->SetFieldValue(QStringLiteral("xmltvid"), change.xmltvid);
        if (change.icon)
            ChannelDataSet->SetFieldValue(QStringLiteral("icon"), *change.icon);
        ChannelDataSet->Post();
    }
    if (current >= 0)
        ChannelDataSet->MoveTo(current);
}
