// Measures the channel filter against opening the channels it filters, in one run:
//   open    the channel editor opened on a source of 10,000 channels (and shown)
//   filter  one letter typed into "Filter channels", until the list shows the result
// Needs the private server and an offscreen display: run it through bench/run.
#include "channelwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "sqlmodule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 5;

void exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        qFatal("%s: %s", qPrintable(sql.left(80)), qPrintable(q.lastError().text()));
}

void fillSource(QSqlDatabase& db)
{
    for (const char* table : {"channel_dvb", "channel", "cardinput", "capturecard", "videosource"})
        exec(db, QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    exec(db, QStringLiteral("INSERT INTO videosource (sourceid, name, xmltvgrabber, userid) "
                            "VALUES (%1, 'DVB-T', 'tv_grab_de', 'unused')")
                 .arg(SourceId));
    exec(db, QStringLiteral("INSERT INTO capturecard (cardid, videodevice, cardtype, hostname, "
                            "dvb_type, use_ts) VALUES (4, '0', 'DVB', 'tvbox', 'T', 0)"));
    exec(db, QStringLiteral("INSERT INTO cardinput (cardinputid, cardid, sourceid, inputname) "
                            "VALUES (6, 4, %1, 'DVBInput')")
                 .arg(SourceId));
    exec(db, QStringLiteral("START TRANSACTION"));
    for (int start = 1; start <= Channels; start += 1000) {
        QString channels = QStringLiteral(
            "INSERT INTO channel (chanid, channum, sourceid, callsign, name) VALUES ");
        QString digital =
            QStringLiteral("INSERT INTO channel_dvb (chanid, freq, pids, inversion) VALUES ");
        for (int i = start; i < start + 1000; ++i) {
            const QString sep = i > start ? QStringLiteral(",") : QString();
            channels +=
                sep + QStringLiteral("(%1,'%1',%2,'C%1','Channel %1')").arg(i).arg(SourceId);
            digital += sep + QStringLiteral("(%1,'474000000','%1','AUTO')").arg(i);
        }
        exec(db, channels);
        exec(db, digital);
    }
    exec(db, QStringLiteral("COMMIT"));
}

// The trace lines of the editor go to standard output: not into the figures.
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

private:
    int m_saved = -1;
};

void key(QWidget* w, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("mysql.txt"));
    {
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(config));
        f.write(QStringLiteral("DBHostName=localhost\nDBName=%1\nDBUserName=%2\nDBPassword=%3\n")
                    .arg(qEnvironmentVariable("KORVANE_DB_NAME"),
                         qEnvironmentVariable("KORVANE_DB_USER"),
                         qEnvironmentVariable("KORVANE_DB_PASSWORD"))
                    .toUtf8());
    }
    TSQLModule module(&TSQLClientDataSet::CreateSearchDataSet, {config});
    module.Conn->Open();
    QSqlDatabase conn = QSqlDatabase::database(module.Conn->ConnectionName());
    fillSource(conn);

    qint64 open = std::numeric_limits<qint64>::max();
    qint64 letter = std::numeric_limits<qint64>::max();
    int shown = 0;
    for (int i = 0; i < Repeats; ++i) {
        QuietStdout quiet;
        QElapsedTimer t;
        t.start();
        TChannelWin win;
        win.SetSourceID(SourceId);
        win.show();
        QApplication::processEvents();
        open = std::min(open, t.nsecsElapsed());
        if (win.ChannelDataSet->RecordCount() != Channels)
            qFatal("the editor shows %d channels", win.ChannelDataSet->RecordCount());

        auto* filter = win.findChild<QLineEdit*>(QStringLiteral("ChannelFilterEdit"));
        filter->setFocus();
        QApplication::processEvents(); // the focus moved (and painted) before typing
        // A letter that narrows 10,000 channels to the thousand with a 7 in them, and
        // each of the letters after it.
        for (const QString& typed : {QStringLiteral("7"), QStringLiteral("3")}) {
            t.restart();
            key(filter, typed[0].unicode(), typed);
            const qint64 filtered = t.nsecsElapsed();
            QApplication::processEvents();
            if (qEnvironmentVariableIsSet("KORVANE_BENCH_DETAIL"))
                fprintf(stderr, "letter %s: filtered %.2f ms, shown %.2f ms\n", qPrintable(typed),
                        filtered / 1e6, t.nsecsElapsed() / 1e6);
            letter = std::min(letter, t.nsecsElapsed());
            shown = win.ChannelGrid->Model()->rowCount();
        }
        key(filter, Qt::Key_Escape, QString());
        if (win.ChannelGrid->Model()->rowCount() != Channels)
            qFatal("Escape left %d rows", win.ChannelGrid->Model()->rowCount());
    }
    out << "filter: " << Channels << " channels, best of " << Repeats << "\n";
    out << QStringLiteral("filter: one letter %1 ms = %2% of opening the channels (%3 ms), "
                          "%4 rows shown (target <= 5%)\n")
               .arg(letter / 1e6, 0, 'f', 2)
               .arg(100.0 * double(letter) / double(open), 0, 'f', 2)
               .arg(open / 1e6, 0, 'f', 1)
               .arg(shown);
    return 0;
}
