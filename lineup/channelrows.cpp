#include "channelrows.h"

#include "clientdataset.h"

#include <algorithm>

QList<TChannelRow> ReadChannelRows(TSQLClientDataSet& channels, const std::vector<int>& rows)
{
    channels.CheckBrowseMode();
    const auto column = [&](const char* name) {
        return channels.FieldIndex(QLatin1String(name));
    };
    const int chanid = column("chanid"), channum = column("channum"), callsign = column("callsign"),
              name = column("name"), xmltvid = column("xmltvid"), icon = column("icon");
    const auto text = [&](int row, int c) {
        return c < 0 ? QString() : TextOf(channels.VisibleCell(row, c));
    };
    QList<TChannelRow> read;
    read.reserve(qsizetype(rows.size()));
    for (int r : rows)
        read << TChannelRow{r,
                            text(r, chanid),
                            text(r, channum),
                            text(r, callsign),
                            text(r, name),
                            text(r, xmltvid),
                            text(r, icon)};
    return read;
}

QList<TChannelRow> ReadChannelRows(TSQLClientDataSet& channels)
{
    channels.CheckBrowseMode();
    std::vector<int> all(size_t(channels.RecordCount()));
    for (size_t r = 0; r < all.size(); ++r)
        all[r] = int(r);
    return ReadChannelRows(channels, all);
}

int ColumnWidth(const TSQLClientDataSet& set, const QString& column, int limit)
{
    const TFieldDef* field = set.Field(column);
    const int width = field ? field->Characters() : 0;
    if (width > 0 && limit > 0)
        return std::min(width, limit);
    return width > 0 ? width : limit;
}

TExportLineup ReadExportChannels(TSQLClientDataSet& channels, const std::vector<int>& rows,
                                 TSQLClientDataSet* digital)
{
    TExportLineup lineup;
    QHash<qlonglong, QVariantList> tuning;
    if (digital && digital->Active()) {
        digital->CheckBrowseMode();
        tuning = digital->RowsByKey(QStringLiteral("chanid"));
        for (const QString& column : digital->FieldNames())
            lineup.tuningColumns << column.toLower();
    }
    channels.CheckBrowseMode();
    const auto column = [&](const char* name) {
        return channels.FieldIndex(QLatin1String(name));
    };
    const int chanid = column("chanid"), channum = column("channum"), callsign = column("callsign"),
              name = column("name"), xmltvid = column("xmltvid"), icon = column("icon");
    const auto text = [&](int row, int c) {
        return c < 0 ? QString() : TextOf(channels.VisibleCell(row, c));
    };
    lineup.channels.reserve(qsizetype(rows.size()));
    for (const int r : rows) {
        const QVariant& id = channels.VisibleCell(r, chanid);
        lineup.channels << TExportChannel{
            text(r, channum), text(r, callsign),
            text(r, name),    text(r, xmltvid),
            text(r, icon),    id.isNull() ? QVariantList() : tuning.value(id.toLongLong())};
    }
    return lineup;
}
