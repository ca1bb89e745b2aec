#include "connection.h"
#include "fielddef.h"
#include "lineupcheck.h"

#include <QSqlQuery>

namespace {

std::optional<int> intOf(const QVariant& v)
{
    bool ok = false;
    const int n = v.toInt(&ok);
    return v.isNull() || !ok ? std::nullopt : std::optional<int>(n);
}

/// Every row `sql` returns, each made by `make` from the query standing on it.
template <typename Row, typename Make>
QList<Row> readAll(TSQLConnection& connection, const QString& sql, Make make)
{
    QList<Row> rows;
    QSqlQuery& query = connection.Execute(sql);
    while (query.next())
        rows << make(query);
    return rows;
}

} // namespace

TLineup ReadLineup(TSQLConnection& connection)
{
    TLineup l;
    l.sources = readAll<TLineup::Source>(
        connection, QStringLiteral("SELECT sourceid, name, xmltvgrabber FROM videosource"),
        [](const QSqlQuery& q) {
            return TLineup::Source{q.value(0).toInt(), TextOf(q.value(1)), TextOf(q.value(2))};
        });
    l.channels = readAll<TLineup::Channel>(
        connection,
        QStringLiteral("SELECT chanid, sourceid, channum, callsign, name, xmltvid FROM channel"),
        [](const QSqlQuery& q) {
            return TLineup::Channel{q.value(0).toInt(), intOf(q.value(1)),  TextOf(q.value(2)),
                                    TextOf(q.value(3)), TextOf(q.value(4)), TextOf(q.value(5))};
        });
    l.digital = readAll<TLineup::Digital>(
        connection, QStringLiteral("SELECT chanid, freq, pids FROM channel_dvb"),
        [](const QSqlQuery& q) {
            return TLineup::Digital{q.value(0).toInt(), TextOf(q.value(1)), TextOf(q.value(2))};
        });
    l.cards = readAll<TLineup::Card>(
        connection,
        QStringLiteral("SELECT cardid, cardtype, hostname, videodevice, dvb_type, defaultinput "
                       "FROM capturecard"),
        [](const QSqlQuery& q) {
            return TLineup::Card{q.value(0).toInt(), TextOf(q.value(1)), TextOf(q.value(2)),
                                 TextOf(q.value(3)), TextOf(q.value(4)), TextOf(q.value(5))};
        });
    l.inputs = readAll<TLineup::Input>(
        connection,
        QStringLiteral("SELECT cardinputid, cardid, sourceid, inputname, startchan FROM cardinput"),
        [](const QSqlQuery& q) {
            bool ok = false;
            const qlonglong start = q.value(4).toLongLong(&ok);
            return TLineup::Input{
                q.value(0).toInt(), intOf(q.value(1)), intOf(q.value(2)), TextOf(q.value(3)),
                q.value(4).isNull() || !ok ? std::nullopt : std::optional<qlonglong>(start)};
        });
    return l;
}
