#include "storedsource.h"

#include "connection.h"
#include "errors.h"
#include "fielddef.h"
#include "receivingcards.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

/// The texts of this file, translated as ReadStoredSource's.
struct TReadStoredSourceText
{
    Q_DECLARE_TR_FUNCTIONS(ReadStoredSource)
};

} // namespace

TStoredSource ReadStoredSource(TSQLConnection& connection, const QString& source)
{
    // By id first, then by name: a source named "3" is found by its name only when no
    // source has the id 3.
    QList<std::pair<int, QString>> byId, byName;
    bool number = false;
    const int id = source.trimmed().toInt(&number);
    QSqlQuery& sources =
        connection.Execute(QStringLiteral("SELECT sourceid, name FROM videosource"));
    while (sources.next()) {
        const std::pair<int, QString> s{sources.value(0).toInt(), TextOf(sources.value(1))};
        if (number && s.first == id)
            byId << s;
        if (s.second == source)
            byName << s;
    }
    const QList<std::pair<int, QString>>& found = !byId.isEmpty() ? byId : byName;
    if (found.isEmpty())
        throw EKorvaneError(
            TReadStoredSourceText::tr("There is no source with the id or name \"%1\".")
                .arg(source));
    if (found.size() > 1)
        throw EKorvaneError(TReadStoredSourceText::tr(
                                "%1 sources are named \"%2\": give the id of the one to export.")
                                .arg(found.size())
                                .arg(source));
    TStoredSource stored;
    stored.id = found.first().first;
    stored.name = found.first().second;

    stored.kind = ReceivedKind(connection, stored.id);

    QHash<int, QVariantList> tuning;
    QSqlQuery& digital = connection.Execute(
        QStringLiteral("SELECT channel_dvb.* FROM channel_dvb, channel WHERE channel_dvb.chanid "
                       "= channel.chanid AND channel.sourceid = ?"),
        {stored.id});
    const QSqlRecord columns = digital.record();
    for (int c = 0; c < columns.count(); ++c)
        stored.channels.tuningColumns << columns.fieldName(c).toLower();
    const int chanid = stored.channels.TuningIndex(QStringLiteral("chanid"));
    while (digital.next()) {
        QVariantList values;
        for (int c = 0; c < columns.count(); ++c)
            values << digital.value(c);
        tuning.insert(values.value(chanid).toInt(), values);
    }
    QSqlQuery& channels = connection.Execute(
        QStringLiteral("SELECT chanid, channum, callsign, name, xmltvid, icon FROM channel "
                       "WHERE sourceid = ? ORDER BY chanid"),
        {stored.id});
    while (channels.next())
        stored.channels.channels << TExportChannel{
            TextOf(channels.value(1)), TextOf(channels.value(2)),
            TextOf(channels.value(3)), TextOf(channels.value(4)),
            TextOf(channels.value(5)), tuning.value(channels.value(0).toInt())};
    return stored;
}
