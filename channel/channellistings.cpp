// The channel editor's listings match: the source's channels matched by name to the
// channels of an XMLTV listings file, reviewed, and the ticked ones filled in.
#include "channelwin.h"

#include "channelrows.h"
#include "clientdataset.h"
#include "listingswin.h"

#include <QGuiApplication>
#include <QScopeGuard>

void TChannelWin::ListingsActionExecute()
{
    // Every channel of the source, whatever the filter above the list shows: a channel
    // left out could not be told from one the file does not list.
    const auto rows = startTool(TToolRows::All);
    if (!rows)
        return;
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
    const QList<TChannelRow> channels = ReadChannelRows(*ChannelDataSet, *rows);
    const TListingsLimits limits{
        ColumnWidth(*ChannelDataSet, QStringLiteral("xmltvid"), XmltvidLimit),
        ColumnWidth(*ChannelDataSet, QStringLiteral("icon"), IconLimit)};
    TListingsWin review(channels, listed, limits, this);
    if (review.exec() != QDialog::Accepted)
        return;
    const QList<TListingsChange> changes = review.Changes();
    const int xmltvid = ChannelDataSet->FieldIndex(QStringLiteral("xmltvid"));
    const int icon = ChannelDataSet->FieldIndex(QStringLiteral("icon"));
    QList<TSQLClientDataSet::TRowValues> values;
    for (const TListingsChange& change : changes) {
        TSQLClientDataSet::TRowValues v{channels[change.channel].row, {{xmltvid, change.xmltvid}}};
        if (change.icon)
            v.values.append({icon, *change.icon});
        values << v;
    }
    changeChannels(changes.size() == 1
                       ? tr("Fill in the listings of 1 channel")
                       : tr("Fill in the listings of %1 channels").arg(changes.size()),
                   values);
}
