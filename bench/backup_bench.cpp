// The line-up in a file, timed on 10,000 channels of a DVB-T source with their tuning
// rows, a card and an input, the real program against the database's own tools:
//   backup     korvane-setup --backup against mariadb-dump of the same five tables
//   restore    korvane-setup --restore into an emptied line-up against loading that dump
//              with the mariadb client
//   unchanged  a restore that changes nothing against the --backup
// and what a restore cannot do without here: the program started (--help), the file
// parsed and its values checked, its rows only sent through the program's batch writer;
// and, in this process, what it does a record besides (compared, a line printed, the
// take-back of the rows read and its statements made) and its history entry alone.
// Needs the private server: run it through bench/run.
#include "benchsupport.h"
#include "connection.h"
#include "lineupbackup.h"
#include "lineuprestore.h"
#include "lineuptables.h"
#include "takeback.h"
#include "writehistory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlRecord>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 3;
const QStringList Tables{QStringLiteral("videosource"), QStringLiteral("channel"),
                         QStringLiteral("channel_dvb"), QStringLiteral("capturecard"),
                         QStringLiteral("cardinput")};

// Runs `program` with `arguments` (standard input from `in`, output to `out` when given)
// to its end: the time it took.
qint64 timed(const QString& program, const QStringList& arguments, const QString& home,
             const QString& in = {}, const QString& out = {}, int expected = 0)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    p.setProcessEnvironment(env);
    if (!in.isEmpty())
        p.setStandardInputFile(in);
    if (!out.isEmpty())
        p.setStandardOutputFile(out);
    QElapsedTimer timer;
    timer.start();
    p.start(program, arguments);
    if (!p.waitForFinished(300000) || p.exitCode() != expected)
        qFatal("%s %s ended with %d: %s", qPrintable(program), qPrintable(arguments.join(' ')),
               p.exitCode(), p.readAllStandardError().constData());
    return timer.nsecsElapsed();
}

QStringList client()
{
    return {QStringLiteral("--no-defaults"),
            QStringLiteral("-u") + qEnvironmentVariable("KORVANE_DB_USER"),
            QStringLiteral("-p") + qEnvironmentVariable("KORVANE_DB_PASSWORD")};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    bench::TDigitalSource source(SourceId, Channels);
    const QString home = source.dir.path();
    QDir(home).mkpath(QStringLiteral(".korvane"));
    QFile::copy(bench::WriteSettings(source.dir), home + QStringLiteral("/.korvane/mysql.txt"));
    const QString program = QStringLiteral(KORVANE_BINARY);
    const QString json = source.dir.filePath(QStringLiteral("lineup.json"));
    const QString dump = source.dir.filePath(QStringLiteral("lineup.sql"));
    const QString database = qEnvironmentVariable("KORVANE_DB_NAME");
    auto empty = [&source] {
        for (const QString& t : Tables)
            bench::Exec(source.conn, QStringLiteral("DELETE FROM %1").arg(t));
    };

    qint64 backup = std::numeric_limits<qint64>::max(), dumped = backup, restored = backup,
           loaded = backup, unchanged = backup;
    for (int i = 0; i < Repeats; ++i) {
        backup = std::min(backup, timed(program, {QStringLiteral("--backup"), json}, home));
        dumped = std::min(dumped, timed(QStringLiteral("mariadb-dump"),
                                        client() + QStringList{database} + Tables, home, {}, dump));
        unchanged = std::min(unchanged, timed(program, {QStringLiteral("--restore"), json}, home));
        empty();
        restored = std::min(restored, timed(program, {QStringLiteral("--restore"), json}, home));
        empty();
        loaded = std::min(
            loaded, timed(QStringLiteral("mariadb"), client() + QStringList{database}, home, dump));
    }

    // The floor of this stack, in this process (no start, no connect): the five tables
    // only read through Qt SQL, and the file only parsed by QJsonDocument.
    qint64 bareRead = std::numeric_limits<qint64>::max(), bareParse = bareRead,
           bareWrite = bareRead;
    for (int i = 0; i < Repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        qsizetype values = 0;
        for (const QString& t : Tables) {
            QSqlQuery q(source.conn);
            q.setForwardOnly(true);
            if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(t)))
                qFatal("%s", qPrintable(q.lastError().text()));
            const int columns = q.record().count();
            while (q.next())
                for (int c = 0; c < columns; ++c)
                    values += q.value(c).isNull() ? 0 : 1;
        }
        bareRead = std::min(bareRead, timer.nsecsElapsed());
        QFile f(json);
        if (!f.open(QIODevice::ReadOnly))
            qFatal("no backup file");
        timer.restart();
        const QJsonDocument parsed = QJsonDocument::fromJson(f.readAll());
        if (parsed.isNull() || values == 0)
            qFatal("nothing read");
        bareParse = std::min(bareParse, timer.nsecsElapsed());
        timer.restart();
        if (parsed.toJson(QJsonDocument::Indented).isEmpty())
            qFatal("nothing written");
        bareWrite = std::min(bareWrite, timer.nsecsElapsed());
    }

    // The floor of a restore: the program only started, the file only parsed and checked
    // (in this process), and its rows only written through the batch writer, several
    // hundred a statement as a restore writes them.
    qint64 started = std::numeric_limits<qint64>::max(), checkedFile = started, sent = started;
    TSQLConnection& conn = *source.module->Conn;
    for (int i = 0; i < Repeats; ++i) {
        started = std::min(started, timed(program, {QStringLiteral("--help")}, home));
        QElapsedTimer timer;
        timer.start();
        const TLineupBackup file = LoadLineupBackup(json, conn);
        checkedFile = std::min(checkedFile, timer.nsecsElapsed());
        std::vector<TStatement> statements;
        for (const TLineupTable& table : LineupTables()) {
            const QList<QVariantList>& rows = file.tables.value(table.name);
            const QString row = QStringLiteral("(%1)").arg(
                QStringList(table.columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
            for (qsizetype from = 0; from < rows.size(); from += 500) {
                TStatement st;
                st.text = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                              .arg(table.name, table.columns.join(QLatin1Char(',')));
                for (qsizetype r = from; r < std::min(from + 500, rows.size()); ++r) {
                    st.text += (r > from ? QStringLiteral(",") : QString()) + row;
                    st.binds += rows[r];
                }
                statements.push_back(st);
            }
        }
        empty();
        timer.restart();
        conn.StartTransaction();
        conn.ExecuteBatch(statements);
        conn.Commit();
        sent = std::min(sent, timer.nsecsElapsed());
    }

    // A record's work beyond the floor, into the emptied line-up: compared with it, a
    // line printed, the take-back read and its rows and statements made; and the
    // history's entry of those rows, which is written while the rows are sent.
    qint64 perRecord = std::numeric_limits<qint64>::max(), entry = perRecord;
    const TLineupBackup file = LoadLineupBackup(json, conn);
    for (int i = 0; i < Repeats; ++i) {
        empty();
        QElapsedTimer timer;
        timer.start();
        const TLineupBackup now = ReadLineupBackup(conn, {}, {});
        const QList<TWrittenRow> rows = RestoreRows(now, file);
        const QStringList lines = RestoreLines(rows, now, file);
        TTakeBack restore(QStringLiteral("Restore"), rows, TTakeBack::Purpose::Restore);
        restore.Read(conn, &now);
        for (qsizetype item = 0; item < restore.Items().size(); ++item)
            restore.SetTicked(item, true);
        const QList<TWrittenRow> written = restore.Written();
        if (lines.isEmpty() || restore.Statements().empty())
            qFatal("nothing to restore");
        perRecord = std::min(perRecord, timer.nsecsElapsed());
        QFile::remove(source.dir.filePath(QStringLiteral("history.sqlite")));
        TWriteHistory history(source.dir.filePath(QStringLiteral("history.sqlite")),
                              QStringLiteral("localhost"), database);
        history.Entries(); // the file made
        timer.restart();
        history.Begin(QStringLiteral("Command line"), QStringLiteral("Restore"), written);
        entry = std::min(entry, timer.nsecsElapsed());
    }

    auto ms = [](qint64 ns) {
        return double(ns) / 1e6;
    };
    out << "backup: " << Channels << " channels with their tuning rows, a card and an input, "
        << "best of " << Repeats << "\n";
    out << QStringLiteral("backup: --backup %1 ms vs mariadb-dump %2 ms   ratio %3x (target <= "
                          "1.0x)\n")
               .arg(ms(backup), 0, 'f', 1)
               .arg(ms(dumped), 0, 'f', 1)
               .arg(double(backup) / double(dumped), 0, 'f', 2);
    out << QStringLiteral("backup: --restore into an emptied line-up %1 ms vs loading the dump "
                          "%2 ms   ratio %3x (target <= 2.0x)\n")
               .arg(ms(restored), 0, 'f', 1)
               .arg(ms(loaded), 0, 'f', 1)
               .arg(double(restored) / double(loaded), 0, 'f', 2);
    out << QStringLiteral("backup: --restore changing nothing %1 ms vs --backup %2 ms   ratio "
                          "%3x (target <= 0.5x)\n")
               .arg(ms(unchanged), 0, 'f', 1)
               .arg(ms(backup), 0, 'f', 1)
               .arg(double(unchanged) / double(backup), 0, 'f', 2);
    out << QStringLiteral("backup: the floor here: the tables only read through Qt SQL %1 ms, "
                          "the file only parsed by QJsonDocument %2 ms, its document only "
                          "written as text %3 ms\n")
               .arg(ms(bareRead), 0, 'f', 1)
               .arg(ms(bareParse), 0, 'f', 1)
               .arg(ms(bareWrite), 0, 'f', 1);
    out << QStringLiteral("backup: the floor of a restore here: the program started %1 ms, the "
                          "file parsed and checked %2 ms, its rows only sent through the batch "
                          "writer %3 ms: %4 ms together, %5x of loading the dump\n")
               .arg(ms(started), 0, 'f', 1)
               .arg(ms(checkedFile), 0, 'f', 1)
               .arg(ms(sent), 0, 'f', 1)
               .arg(ms(started + checkedFile + sent), 0, 'f', 1)
               .arg(double(started + checkedFile + sent) / double(loaded), 0, 'f', 2);
    out << QStringLiteral("backup: the floor of a restore changing nothing: the program started, "
                          "the file parsed and checked, the tables read: %1 ms, %2x of "
                          "--backup\n")
               .arg(ms(started + checkedFile + bareRead), 0, 'f', 1)
               .arg(double(started + checkedFile + bareRead) / double(backup), 0, 'f', 2);
    out << QStringLiteral("backup: a restore's work beyond that here: a record compared, its "
                          "line made, its take-back read and written as statements %1 ms "
                          "(%2x of loading the dump); the history entry of its rows %3 ms, "
                          "written while they are sent\n")
               .arg(ms(perRecord), 0, 'f', 1)
               .arg(double(perRecord) / double(loaded), 0, 'f', 2)
               .arg(ms(entry), 0, 'f', 1);
    out.flush();
    return 0;
}
