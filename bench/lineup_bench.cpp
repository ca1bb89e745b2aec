// Measures the line-up check against reading the same tables with bare queries, in one
// run, on a DVB-T source of 10,000 channels each with its digital row (every tenth
// without a listings id, every hundredth sharing its number with another):
//   check    the tables read and every rule run over them
//   window   F7: the window opened on the check and shown (and its painting after)
//   baseline bare forward-only queries reading the same columns of the same five tables
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchmain.h"
#include "lineupcheck.h"
#include "lineupwin.h"
#include "mainwin.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 9;

const QStringList Queries{
    QStringLiteral("SELECT sourceid, name, xmltvgrabber FROM videosource"),
    QStringLiteral("SELECT chanid, sourceid, channum, callsign, name, xmltvid FROM channel"),
    QStringLiteral("SELECT chanid, freq, pids FROM channel_dvb"),
    QStringLiteral("SELECT cardid, cardtype, hostname, videodevice, dvb_type, defaultinput FROM "
                   "capturecard"),
    QStringLiteral("SELECT cardinputid, cardid, sourceid, inputname, startchan FROM cardinput")};

qint64 bare(QSqlDatabase& db)
{
    QElapsedTimer t;
    t.start();
    QList<QVariantList> rows;
    for (const QString& sql : Queries) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(sql))
            qFatal("%s", qPrintable(sql));
        const int columns = q.record().count();
        while (q.next()) {
            QVariantList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c)
                row << q.value(c);
            rows << row;
        }
    }
    if (rows.size() < Channels * 2)
        qFatal("the bare queries read %lld rows", qlonglong(rows.size()));
    return t.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv)
{
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& source) {
            const auto& module = source.module;
            QSqlDatabase& conn = source.conn;
            bench::Exec(conn,
                        QStringLiteral("UPDATE channel SET xmltvid = CONCAT('c', chanid, '.tv') "
                                       "WHERE chanid % 10 <> 0"));
            bench::Exec(conn,
                        QStringLiteral("UPDATE channel SET channum = '1' WHERE chanid % 100 = 0"));
            bench::Exec(conn, QStringLiteral("UPDATE capturecard SET defaultinput = 'DVBInput'"));

            qint64 check = std::numeric_limits<qint64>::max(), window = check, baseline = check;
            qint64 painted = 0;
            int problems = 0;
            TMainWin main;
            for (int i = 0; i < Repeats; ++i) {
                QElapsedTimer t;
                t.start();
                const TLineup read = ReadLineup(*module->Conn);
                const qint64 reading = t.nsecsElapsed();
                problems = int(CheckLineup(read).size());
                check = std::min(check, t.nsecsElapsed());
                if (qEnvironmentVariableIsSet("KORVANE_BENCH_DETAIL"))
                    fprintf(stderr, "read %.2f ms, rules %.2f ms\n", reading / 1e6,
                            (t.nsecsElapsed() - reading) / 1e6);
                baseline = std::min(baseline, bare(conn));
                t.restart();
                main.CheckAction->trigger();
                const qint64 shown = t.nsecsElapsed();
                bench::Settle();
                if (shown < window) {
                    window = shown;
                    painted = t.nsecsElapsed() - shown;
                }
                if (!main.LineupWin() || int(main.LineupWin()->Problems().size()) != problems)
                    qFatal("the window shows another check");
                main.LineupWin()->close();
                bench::Settle();
            }
            auto ms = [](qint64 ns) {
                return QString::number(ns / 1e6, 'f', 1);
            };
            out << "lineup: " << Channels << " channels with their digital rows, best of "
                << Repeats << ", " << problems << " problems found\n";
            out << QStringLiteral(
                       "lineup: check %1 ms vs bare queries %2 ms   ratio %3x (target <= 1.5x)\n")
                       .arg(ms(check), ms(baseline))
                       .arg(double(check) / double(baseline), 0, 'f', 2);
            out << QStringLiteral(
                       "lineup: F7 to the window shown %1 ms   ratio %2x of the bare queries "
                       "(target <= 1.5x); painted %3 ms later\n")
                       .arg(ms(window))
                       .arg(double(window) / double(baseline), 0, 'f', 2)
                       .arg(ms(painted));
            return 0;
        });
}
