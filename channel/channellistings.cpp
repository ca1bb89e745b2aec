// The channel editor's listings match: the source's channels matched by name to the
// channels of an XMLTV listings file, reviewed, and the ticked ones filled in.
#include "channelwin.h"

#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
#include "listingswin.h"

#include <QGuiApplication>
#include <QScopeGuard>

namespace {

QString textOf(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

/// What a column of the channel table holds of text: what its field lets be typed, and
/// never more than the column on the server.
int typingLimit(const TSQLClientDataSet& set, const QString& column, int fieldLimit)
{
    const TFieldDef* field = set.Field(column);
    return field && field->Characters() > 0 ? std::min(fieldLimit, field->Characters())
                                            : fieldLimit;
}

} // namespace

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
    ChannelDataSet->CheckBrowseMode();
    QList<TChannelToMatch> channels;
    QStringList icons;
    const int channum = ChannelDataSet->FieldIndex(QStringLiteral("channum"));
    const int callsign = ChannelDataSet->FieldIndex(QStringLiteral("callsign"));
    const int name = ChannelDataSet->FieldIndex(QStringLiteral("name"));
    const int xmltvid = ChannelDataSet->FieldIndex(QStringLiteral("xmltvid"));
    const int icon = ChannelDataSet->FieldIndex(QStringLiteral("icon"));
    for (int r = 0; r < ChannelDataSet->RecordCount(); ++r) {
        channels << TChannelToMatch{textOf(ChannelDataSet->VisibleCell(r, channum)),
                                    textOf(ChannelDataSet->VisibleCell(r, callsign)),
                                    textOf(ChannelDataSet->VisibleCell(r, name)),
                                    textOf(ChannelDataSet->VisibleCell(r, xmltvid)).trimmed()};
        icons << textOf(ChannelDataSet->VisibleCell(r, icon));
    }
    const TListingsLimits limits{typingLimit(*ChannelDataSet, QStringLiteral("xmltvid"), 64),
                                 typingLimit(*ChannelDataSet, QStringLiteral("icon"), 255)};
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
