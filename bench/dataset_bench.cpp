// Measures the client data set against bare Qt SQL doing the same work, in one run:
//   open     Active = true          vs a forward-only QSqlQuery loop into QVariant rows
//   memory   resident memory held   vs the bare loop's rows
//   filter   one "sourceid=%d" switch, as a share of the open time
//   apply    ApplyUpdates of 1,000 inserts vs 1,000 prepared INSERTs in one transaction
// Needs the private server: run it through bench/run.
#include "benchsupport.h"
#include "clientdataset.h"
#include "errors.h"
#include "sqlmodule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <malloc.h>
#include <unistd.h>

namespace {

constexpr int Rows = 100000;
constexpr int Inserts = 1000;
constexpr int Repeats = 5;

long residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * sysconf(_SC_PAGESIZE) : 0;
}

void check(QSqlQuery& q, bool ok)
{
    if (!ok)
        qFatal("%s", qPrintable(q.lastError().text()));
}

void exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    check(q, q.exec(sql));
}

void fillChannelTable(QSqlDatabase& db)
{
    exec(db, QStringLiteral("DELETE FROM channel"));
    exec(db, QStringLiteral("START TRANSACTION"));
    for (int start = 0; start < Rows; start += 1000) {
        QString sql =
            QStringLiteral("INSERT INTO channel (chanid, channum, sourceid, callsign, name, "
                           "icon, finetune, xmltvid, contrast, brightness, colour) VALUES ");
        for (int i = start; i < start + 1000; ++i) {
            if (i > start)
                sql += QLatin1Char(',');
            sql += QStringLiteral(
                       "(%1,'%2',%3,'CALL%1','Channel number %1','/usr/share/icons/ch%1.png',"
                       "0,'ch%1.example',32768,32768,32768)")
                       .arg(i + 1)
                       .arg(i % 1000)
                       .arg(i % 50 + 1);
        }
        exec(db, sql);
    }
    exec(db, QStringLiteral("COMMIT"));
}

// The baseline: what reading the table into memory costs with bare Qt SQL.
QList<QVariantList> bareRead(QSqlDatabase& conn)
{
    QList<QVariantList> rows;
    QSqlQuery q(conn);
    q.setForwardOnly(true);
    check(q, q.exec(QStringLiteral(" select * from `channel`")));
    const int n = q.record().count();
    while (q.next()) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << q.value(i);
        rows << row;
    }
    return rows;
}

double bestOf(const std::function<qint64()>& run)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int i = 0; i < Repeats; ++i)
        best = std::min(best, run());
    return double(best);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString dbName = QStringLiteral("bench");

    QSqlDatabase admin =
        QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("bench-admin"));
    admin.setHostName(QStringLiteral("localhost"));
    admin.setUserName(qEnvironmentVariable("KORVANE_DB_USER"));
    admin.setPassword(qEnvironmentVariable("KORVANE_DB_PASSWORD"));
    admin.setDatabaseName(qEnvironmentVariable("KORVANE_DB_NAME"));
    if (!admin.open())
        qFatal("cannot reach the server: %s", qPrintable(admin.lastError().text()));
    fillChannelTable(admin);

    QTemporaryDir dir;
    const auto module = bench::OpenModule(dir);
    QSqlDatabase conn = bench::DatabaseOf(*module);

    // --- open: the two alternate, so a machine that speeds up or slows down during the
    // run favours neither
    double bareOpen = std::numeric_limits<double>::max();
    double setOpen = std::numeric_limits<double>::max();
    for (int i = 0; i < 2 * Repeats; ++i) {
        QElapsedTimer t;
        t.start();
        const QList<QVariantList> rows = bareRead(conn);
        bareOpen = std::min(bareOpen, double(t.nsecsElapsed())); // freeing the rows not counted
        TSQLClientDataSet set(*module->Conn);
        set.SetCommandText(QStringLiteral("channel"));
        t.restart();
        set.SetActive(true);
        setOpen = std::min(setOpen, double(t.nsecsElapsed()));
    }

    // --- memory
    malloc_trim(0);
    long before = residentBytes();
    long bareBytes = 0;
    {
        const QList<QVariantList> rows = bareRead(conn);
        bareBytes = residentBytes() - before;
    }
    malloc_trim(0);
    before = residentBytes();
    long setBytes = 0;
    double filterSwitch = 0;
    {
        TSQLClientDataSet set(*module->Conn);
        set.SetCommandText(QStringLiteral("channel"));
        set.SetFiltered(true);
        set.SetActive(true);
        setBytes = residentBytes() - before;

        // --- filter switches
        QElapsedTimer t;
        t.start();
        constexpr int Switches = 50;
        for (int i = 0; i < Switches; ++i)
            set.SetFilter(QStringLiteral("sourceid=%1").arg(i % 50 + 1));
        filterSwitch = double(t.nsecsElapsed()) / Switches;
        if (set.RecordCount() != Rows / 50)
            qFatal("the filter shows %d rows", set.RecordCount());
    }

    // --- apply 1,000 inserts
    int nextId = Rows + 1;
    const double bareApply = bestOf([&] {
        QElapsedTimer t;
        t.start();
        QSqlQuery q(conn);
        check(q, q.exec(QStringLiteral("START TRANSACTION")));
        check(q, q.prepare(QStringLiteral(
                     "insert into `channel`\n  (`chanid`, `sourceid`, `callsign`, `name`)\n"
                     "values\n  (?, ?, ?, ?)")));
        for (int i = 0; i < Inserts; ++i) {
            q.addBindValue(nextId++);
            q.addBindValue(99);
            q.addBindValue(QStringLiteral("NEW"));
            q.addBindValue(QStringLiteral("New channel"));
            check(q, q.exec());
        }
        check(q, q.exec(QStringLiteral("COMMIT")));
        return t.nsecsElapsed();
    });
    TSQLClientDataSet set(*module->Conn);
    set.SetCommandText(QStringLiteral("channel"));
    set.SetFiltered(true);
    set.SetFilter(QStringLiteral("sourceid=98"));
    set.SetActive(true);
    const double setApply = bestOf([&] {
        for (int i = 0; i < Inserts; ++i) {
            set.Append();
            set.SetFieldValue(QStringLiteral("chanid"), nextId++);
            set.SetFieldValue(QStringLiteral("sourceid"), 98);
            set.SetFieldValue(QStringLiteral("callsign"), QStringLiteral("NEW"));
            set.SetFieldValue(QStringLiteral("name"), QStringLiteral("New channel"));
            set.Post();
        }
        QElapsedTimer t;
        t.start();
        set.ApplyUpdates(0);
        return t.nsecsElapsed();
    });

    out << "rows: " << Rows << ", inserts: " << Inserts << ", best of " << Repeats << "\n";
    out << QStringLiteral("open:   %1 ms vs bare %2 ms   ratio %3x (target <= 1.15x)\n")
               .arg(setOpen / 1e6, 0, 'f', 1)
               .arg(bareOpen / 1e6, 0, 'f', 1)
               .arg(setOpen / bareOpen, 0, 'f', 2);
    out << QStringLiteral("memory: %1 MiB vs bare %2 MiB   ratio %3x (target <= 1.3x)\n")
               .arg(setBytes / 1048576.0, 0, 'f', 1)
               .arg(bareBytes / 1048576.0, 0, 'f', 1)
               .arg(double(setBytes) / double(bareBytes), 0, 'f', 2);
    out << QStringLiteral("filter: %1 ms per switch = %2% of the open (target <= 2%)\n")
               .arg(filterSwitch / 1e6, 0, 'f', 2)
               .arg(100.0 * filterSwitch / setOpen, 0, 'f', 2);
    out << QStringLiteral("apply:  %1 ms vs bare %2 ms   ratio %3x (target <= 1.2x)\n")
               .arg(setApply / 1e6, 0, 'f', 1)
               .arg(bareApply / 1e6, 0, 'f', 1)
               .arg(setApply / bareApply, 0, 'f', 2);
    return 0;
}
