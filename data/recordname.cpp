#include "recordname.h"

#include "lineuptables.h"

#include <QCoreApplication>

namespace {

/// The texts of this file, translated as RecordName's.
struct TRecordNameText
{
    Q_DECLARE_TR_FUNCTIONS(RecordName)
};

QString text(const QVariantMap& values, const char* column)
{
    return values.value(QLatin1String(column)).toString().trimmed();
}

/// "7 ARD", "7", "ARD": how a channel is told apart.
QString channelLabel(const QVariantMap& values)
{
    QStringList parts{text(values, "channum"), text(values, "name")};
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

} // namespace

namespace RecordName {

QString KeyColumn(const QString& table)
{
    const TLineupTable* known = LineupTable(table);
    return known ? known->Key() : QString();
}

QHash<qlonglong, QString> Channels(const QList<TWrittenRow>& rows)
{
    QHash<qlonglong, QString> channels;
    for (const TWrittenRow& row : rows)
        if (row.table == QLatin1String("channel"))
            channels.insert(row.key.toLongLong(),
                            channelLabel(row.after.isEmpty() ? row.before : row.after));
    return channels;
}

QString Of(const TWrittenRow& row, const QVariantMap& values,
           const QHash<qlonglong, QString>& channels)
{
    const QString id = row.key.toString();
    auto orId = [&id](const QString& label) {
        return label.isEmpty() ? TRecordNameText::tr("#%1").arg(id) : label;
    };
    if (row.table == QLatin1String("videosource"))
        return TRecordNameText::tr("source %1").arg(orId(text(values, "name")));
    if (row.table == QLatin1String("channel"))
        return TRecordNameText::tr("channel %1").arg(orId(channelLabel(values)));
    if (row.table == QLatin1String("channel_dvb"))
        return TRecordNameText::tr("tuning values of channel %1")
            .arg(orId(channels.value(row.key.toLongLong())));
    if (row.table == QLatin1String("capturecard"))
        return TRecordNameText::tr("card %1 on \u201C%2\u201D")
            .arg(orId(text(values, "cardtype")), text(values, "hostname"));
    if (row.table == QLatin1String("cardinput"))
        return TRecordNameText::tr("input %1").arg(orId(text(values, "inputname")));
    return QStringLiteral("%1 %2").arg(row.table, id);
}

QString Of(const TWrittenRow& row, const QHash<qlonglong, QString>& channels)
{
    return Of(row, row.after.isEmpty() ? row.before : row.after, channels);
}

QString Column(const QString& table, const QString& column)
{
    static const QHash<QString, const char*> names{
        {QStringLiteral("channum"), QT_TRANSLATE_NOOP("RecordName", "number")},
        {QStringLiteral("name"), QT_TRANSLATE_NOOP("RecordName", "name")},
        {QStringLiteral("callsign"), QT_TRANSLATE_NOOP("RecordName", "short name")},
        {QStringLiteral("xmltvid"), QT_TRANSLATE_NOOP("RecordName", "XMLTV ID")},
        {QStringLiteral("icon"), QT_TRANSLATE_NOOP("RecordName", "icon")},
        {QStringLiteral("sourceid"), QT_TRANSLATE_NOOP("RecordName", "source")},
        {QStringLiteral("freq"), QT_TRANSLATE_NOOP("RecordName", "frequency")},
        {QStringLiteral("pids"), QT_TRANSLATE_NOOP("RecordName", "PIDs")},
        {QStringLiteral("inputname"), QT_TRANSLATE_NOOP("RecordName", "input")},
        {QStringLiteral("startchan"), QT_TRANSLATE_NOOP("RecordName", "start channel")}};
    Q_UNUSED(table); // the same column means the same in every table
    const char* name = names.value(column);
    return name ? QCoreApplication::translate("RecordName", name) : column;
}

QString Value(const QVariant& value)
{
    return value.isNull() ? TRecordNameText::tr("(none)") : value.toString();
}

bool Same(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    // Values of one type compare as such; a number read back from the history (a
    // double) and the server's integer compare by their text.
    if (a.metaType() == b.metaType())
        return a == b;
    return a.toString() == b.toString();
}

QStringList ChangedColumns(const TWrittenRow& row)
{
    QStringList columns;
    for (auto c = row.after.begin(); c != row.after.end(); ++c)
        if (c.key() != row.keyColumn && !Same(row.before.value(c.key()), c.value()))
            columns << c.key();
    return columns;
}

QString Change(const TWrittenRow& row)
{
    if (row.kind == TWrittenRow::Kind::Insert)
        return TRecordNameText::tr("added");
    if (row.kind == TWrittenRow::Kind::Delete)
        return TRecordNameText::tr("deleted");
    QStringList changes;
    for (const QString& c : ChangedColumns(row))
        changes << QStringLiteral("%1 %2 \u2192 %3")
                       .arg(Column(row.table, c), Value(row.before.value(c)),
                            Value(row.after.value(c)));
    return changes.isEmpty() ? TRecordNameText::tr("unchanged")
                             : changes.join(QStringLiteral(", "));
}

} // namespace RecordName
