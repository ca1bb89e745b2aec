#include "channelrows.h"

#include "clientdataset.h"

#include <algorithm>

namespace {

/// The channel set's columns the tools read, found once, and a visible row's values.
struct TChannelColumns
{
    explicit TChannelColumns(TSQLClientDataSet& set) : channels(set)
    {
        // The row being edited settled first: its values are what the tools work on.
        set.CheckBrowseMode();
    }

    const QVariant& Cell(int row, int column) const
    {
        static const QVariant none;
        return column < 0 ? none : channels.VisibleCell(row, column);
    }
    QString Text(int row, int column) const { return TextOf(Cell(row, column)); }

    TSQLClientDataSet& channels;
    const int chanid = index("chanid"), channum = index("channum"), callsign = index("callsign"),
              name = index("name"), xmltvid = index("xmltvid"), icon = index("icon");

private:
    int index(const char* column) const { return channels.FieldIndex(QLatin1String(column)); }
};

} // namespace

QList<TChannelRow> ReadChannelRows(TSQLClientDataSet& channels, const std::vector<int>& rows)
{
    const TChannelColumns c(channels);
    QList<TChannelRow> read;
    read.reserve(qsizetype(rows.size()));
    for (int r : rows)
        read << TChannelRow{r,
                            c.Text(r, c.chanid),
                            c.Text(r, c.channum),
                            c.Text(r, c.callsign),
                            c.Text(r, c.name),
                            c.Text(r, c.xmltvid),
                            c.Text(r, c.icon),
                            false,
                            {}};
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

void ReadChannelTuning(QList<TChannelRow>& channels, TSQLClientDataSet& digital)
{
    if (!digital.Active())
        return;
    digital.CheckBrowseMode();
    const QHash<qlonglong, QVariantList> rows = digital.RowsByKey(QStringLiteral("chanid"));
    const QStringList columns = digital.FieldNames();
    for (TChannelRow& channel : channels) {
        const auto found = rows.constFind(channel.chanid.toLongLong());
        if (channel.chanid.isEmpty() || found == rows.constEnd())
            continue;
        for (qsizetype c = 0; c < columns.size() && c < found->size(); ++c) {
            const QVariant& v = found->at(c);
            channel.tuning.insert(columns[c].toLower(),
                                  v.isNull() ? std::nullopt : std::optional<QString>(v.toString()));
        }
    }
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
    const TChannelColumns c(channels);
    lineup.channels.reserve(qsizetype(rows.size()));
    for (const int r : rows) {
        const QVariant& id = c.Cell(r, c.chanid);
        lineup.channels << TExportChannel{
            c.Text(r, c.channum), c.Text(r, c.callsign),
            c.Text(r, c.name),    c.Text(r, c.xmltvid),
            c.Text(r, c.icon),    id.isNull() ? QVariantList() : tuning.value(id.toLongLong())};
    }
    return lineup;
}
