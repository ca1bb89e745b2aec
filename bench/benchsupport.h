#pragma once

// What the benchmarks share: the private server's settings file, statements run
// directly, a digital source filled with channels, and silencing the editor's trace.
#include "clientdataset.h"
#include "sqlmodule.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace bench {

/// Writes a mysql.txt for the private server (KORVANE_DB_* from bench/run) into `dir`.
inline QString WriteSettings(const QTemporaryDir& dir)
{
    const QString config = dir.filePath(QStringLiteral("mysql.txt"));
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(config));
    f.write(QStringLiteral("DBHostName=localhost\nDBName=%1\nDBUserName=%2\nDBPassword=%3\n")
                .arg(qEnvironmentVariable("KORVANE_DB_NAME"),
                     qEnvironmentVariable("KORVANE_DB_USER"),
                     qEnvironmentVariable("KORVANE_DB_PASSWORD"))
                .toUtf8());
    return config;
}

/// The program's database module on the private server, connected, as the program
/// itself makes it (its settings file written into `dir`).
inline std::unique_ptr<TSQLModule> OpenModule(const QTemporaryDir& dir)
{
    auto module = std::make_unique<TSQLModule>(&TSQLClientDataSet::CreateSearchDataSet,
                                               QStringList{WriteSettings(dir)});
    module->Conn->Open();
    return module;
}

/// The module's connection, for the bare statements the figures are compared with.
inline QSqlDatabase DatabaseOf(const TSQLModule& module)
{
    return QSqlDatabase::database(module.Conn->ConnectionName());
}

inline void Exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        qFatal("%s: %s", qPrintable(sql.left(80)), qPrintable(q.lastError().text()));
}

/// Empties the tables and makes source `sourceId` a DVB-T source (a card, an input)
/// with `channels` channels numbered 1 up, each with its digital row.
inline void FillDigitalSource(QSqlDatabase& db, int sourceId, int channels)
{
    for (const char* table : {"channel_dvb", "channel", "cardinput", "capturecard", "videosource"})
        Exec(db, QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    Exec(db, QStringLiteral("INSERT INTO videosource (sourceid, name, xmltvgrabber, userid) "
                            "VALUES (%1, 'DVB-T', 'tv_grab_de', 'unused')")
                 .arg(sourceId));
    Exec(db, QStringLiteral("INSERT INTO capturecard (cardid, videodevice, cardtype, hostname, "
                            "dvb_type, use_ts) VALUES (4, '0', 'DVB', 'tvbox', 'T', 0)"));
    Exec(db, QStringLiteral("INSERT INTO cardinput (cardinputid, cardid, sourceid, inputname) "
                            "VALUES (6, 4, %1, 'DVBInput')")
                 .arg(sourceId));
    Exec(db, QStringLiteral("START TRANSACTION"));
    for (int start = 1; start <= channels; start += 500) {
        QString rows = QStringLiteral(
            "INSERT INTO channel (chanid, channum, sourceid, callsign, name) VALUES ");
        QString digital = QStringLiteral(
            "INSERT INTO channel_dvb (chanid, freq, pids, inversion, bandwidth, modulation) "
            "VALUES ");
        for (int i = start; i < std::min(start + 500, channels + 1); ++i) {
            const QString sep = i > start ? QStringLiteral(",") : QString();
            rows += sep + QStringLiteral("(%1,'%1',%2,'C%1','Channel %1')").arg(i).arg(sourceId);
            digital += sep + QStringLiteral("(%1,'%2','%1,%3','AUTO','8','QAM_64')")
                                 .arg(i)
                                 .arg(474000000 + (i % 40) * 8000000)
                                 .arg(i + 1);
        }
        Exec(db, rows);
        Exec(db, digital);
    }
    Exec(db, QStringLiteral("COMMIT"));
}

/// The program's module on the private server, and its source `sourceId` a DVB-T source
/// of `channels` channels with their digital rows.
struct TDigitalSource
{
    TDigitalSource(int sourceId, int channels) : module(OpenModule(dir)), conn(DatabaseOf(*module))
    {
        FillDigitalSource(conn, sourceId, channels);
    }
    QTemporaryDir dir;
    std::unique_ptr<TSQLModule> module;
    QSqlDatabase conn;
};

/// Until the window has nothing left to do: posted events, then the work they left for
/// later (a view lays out its rows on a zero timer), then its painting.
inline void Settle()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

/// The editor's trace lines go to standard output: not into the figures.
class QuietStdout
{
public:
    QuietStdout()
    {
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int m_saved = -1;
};

} // namespace bench
