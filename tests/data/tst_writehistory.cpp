#include "clientdataset.h"
#include "errors.h"
#include "lineupwriter.h"
#include "testdatabase.h"
#include "writehistory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <thread>

// The history of writes: every write the writer makes is an entry naming its rows, done
// once committed; nothing of the history stops a write.
class TestWriteHistory : public QObject, ServerFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TWriteHistory> m_history;

    QString path() const { return m_dir.filePath(QStringLiteral("share/history.sqlite")); }

    // Renames channel 1101 through the writer, as an editor's Save.
    int renameAndSave(const QString& name)
    {
        std::unique_ptr<TSQLClientDataSet> channels(
            OpenDataSet(*module->Conn, QStringLiteral("channel")));
        if (!channels->Locate(QStringLiteral("chanid"), 1101))
            return -1;
        PostChange(*channels, {{QStringLiteral("name"), name}});
        TLineupWriter writer(*module->Conn, QStringLiteral("Channels"),
                             QStringLiteral("Long name"));
        const int written = writer.Save({channels.get()});
        m_lastError = writer.HistoryError();
        return written;
    }
    QString m_lastError;

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_writehistory"), true); }
    void init()
    {
        FreshTables(true);
        QFile::remove(path());
        m_history =
            std::make_unique<TWriteHistory>(path(), QStringLiteral("localhost"), db->Name());
        WriteHistory = m_history.get();
    }
    void cleanup()
    {
        WriteHistory = nullptr;
        m_history.reset();
    }

    // A Save and the main window's deletes, each an entry of its rows, done, newest first,
    // in a file only its user reads.
    void everyWriteIsAnEntry()
    {
        QCOMPARE(renameAndSave(QStringLiteral("Das Erste")), 1);
        std::unique_ptr<TSQLClientDataSet> sources(
            OpenDataSet(*module->Conn, QStringLiteral("videosource")));
        QVERIFY(sources->Locate(QStringLiteral("sourceid"), 3));
        TLineupWriter(*module->Conn, QStringLiteral("Korvane Setup")).DeleteSource(*sources, 3);

        const QList<THistoryEntry> entries = m_history->Entries();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].what, QStringLiteral("Delete source DVB-T with 3 channels"));
        QCOMPARE(entries[0].rows, 7);
        QCOMPARE(entries[1].what, QStringLiteral("Long name"));
        QCOMPARE(entries[1].window, QStringLiteral("Channels"));
        QVERIFY(entries[0].done && entries[1].done);
        QVERIFY(qAbs(entries[1].time.secsTo(QDateTime::currentDateTimeUtc())) < 60);

        const QList<TWrittenRow> rows = m_history->Rows(entries[1].id);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].key.toInt(), 1101);
        QCOMPARE(rows[0].before.value(QStringLiteral("name")).toString(),
                 QStringLiteral("Das Erste HD"));
        QCOMPARE(rows[0].after.value(QStringLiteral("name")).toString(),
                 QStringLiteral("Das Erste"));
        QCOMPARE(rows[0].after.value(QStringLiteral("sourceid")).toInt(), 3);
        QVERIFY(rows[0].after.value(QStringLiteral("icon")).isNull());
        QCOMPARE(m_history->Rows(entries[0].id).last().kind, TWrittenRow::Kind::Delete);

        QCOMPARE(QFile::permissions(path()) & 0x0077, QFileDevice::Permissions());
        // Another database's entries are its own.
        QVERIFY(TWriteHistory(path(), QStringLiteral("localhost"), QStringLiteral("other"))
                    .Entries()
                    .isEmpty());
    }

    // Rows of several tables and column sets, one after the other, come back from an
    // entry with every value in its own column: typed NULLs null, numbers as numbers.
    void rowsComeBackAsWritten()
    {
        auto row = [](TWrittenRow::Kind kind, const char* table, const QVariantMap& before,
                      const QVariantMap& after) {
            TWrittenRow r;
            r.kind = kind;
            r.table = QLatin1String(table);
            r.keyColumn = QStringLiteral("id");
            r.key = 7;
            r.before = before;
            r.after = after;
            return r;
        };
        const QVariantMap wide{{QStringLiteral("a"), 1},
                               {QStringLiteral("b"), QStringLiteral("Пятый канал \u2708")},
                               {QStringLiteral("c"), QVariant(QMetaType(QMetaType::Int))},
                               {QStringLiteral("d"), QStringLiteral("x\"'\\y")}};
        QVariantMap narrow = wide, other = wide, changed = wide;
        narrow.remove(QStringLiteral("b"));
        other.insert(QStringLiteral("0"), 2);
        changed[QStringLiteral("c")] = 3;
        const QList<TWrittenRow> rows{row(TWrittenRow::Kind::Insert, "channel", {}, wide),
                                      row(TWrittenRow::Kind::Update, "channel", wide, changed),
                                      row(TWrittenRow::Kind::Delete, "channel", narrow, {}),
                                      row(TWrittenRow::Kind::Delete, "channel_dvb", other, {}),
                                      row(TWrittenRow::Kind::Insert, "channel", {}, changed)};
        const QList<TWrittenRow> read = m_history->Rows(
            m_history->Begin(QStringLiteral("Channels"), QStringLiteral("rows"), rows));
        QCOMPARE(read.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QCOMPARE(read[i].kind, rows[i].kind);
            QCOMPARE(read[i].table, rows[i].table);
            for (const auto& [got, want] : {std::pair{read[i].before, rows[i].before},
                                            std::pair{read[i].after, rows[i].after}}) {
                QCOMPARE(got.keys(), want.keys());
                for (auto c = want.begin(); c != want.end(); ++c) {
                    QCOMPARE(got.value(c.key()).isNull(), c.value().isNull());
                    if (!c.value().isNull())
                        QCOMPARE(got.value(c.key()).toString(), c.value().toString());
                }
            }
        }
    }

    // A program ended between the history and the commit: the next start keeps the
    // entry whose rows the database holds, and drops the one whose it does not.
    void unfinishedEntriesAreSettled()
    {
        QCOMPARE(renameAndSave(QStringLiteral("Das Erste")), 1);
        QList<TWrittenRow> rows = m_history->Rows(m_history->Entries().first().id);
        const qint64 committed =
            m_history->Begin(QStringLiteral("Channels"), QStringLiteral("a"), rows);
        rows[0].after[QStringLiteral("name")] = QStringLiteral("Never written");
        const qint64 lost = m_history->Begin(QStringLiteral("Channels"), QStringLiteral("b"), rows);
        QCOMPARE(
            TWriteHistory(path(), QStringLiteral("localhost"), db->Name()).Settle(*module->Conn),
            2);
        const QList<THistoryEntry> entries = m_history->Entries();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].id, committed);
        QVERIFY(entries[0].done);
        QVERIFY(m_history->Rows(lost).isEmpty());
    }

    // A history that cannot be written (a folder that cannot be made, a file size limit
    // reached) leaves the write done and says why.
    void aHistoryThatCannotBeWrittenStopsNothing_data()
    {
        QTest::addColumn<bool>("sizeLimit");
        QTest::newRow("no folder") << false;
        QTest::newRow("file size limit") << true;
    }
    void aHistoryThatCannotBeWrittenStopsNothing()
    {
        QFETCH(bool, sizeLimit);
        QCOMPARE(renameAndSave(QStringLiteral("First")), 1); // the file exists
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const std::shared_ptr<void> restore(nullptr, [&](void*) {
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
        });
        std::unique_ptr<TWriteHistory> elsewhere;
        if (sizeLimit) {
            rlimit small = saved;
            small.rlim_cur = 4096;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        } else {
            QFile file(m_dir.filePath(QStringLiteral("plain")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            elsewhere = std::make_unique<TWriteHistory>(
                m_dir.filePath(QStringLiteral("plain/history.sqlite")), QStringLiteral("localhost"),
                db->Name());
            WriteHistory = elsewhere.get();
        }
        QCOMPARE(renameAndSave(QString(60, QLatin1Char('x'))), 1);
        QVERIFY2(!m_lastError.isEmpty(), "no reason given");
        QCOMPARE(
            db->Scalar(QStringLiteral("SELECT name FROM channel WHERE chanid=1101")).toString(),
            QString(60, QLatin1Char('x')));
    }

    // Two writers of one file at once both get every entry in.
    void twoWritersAtOnce()
    {
        const QList<TWrittenRow> rows{TWrittenRow{TWrittenRow::Kind::Insert,
                                                  QStringLiteral("channel"),
                                                  QStringLiteral("chanid"),
                                                  1,
                                                  {},
                                                  {{QStringLiteral("chanid"), 1}}}};
        auto write = [this, &rows] {
            TWriteHistory history(path(), QStringLiteral("localhost"), db->Name());
            for (int i = 0; i < 50; ++i)
                history.Done(history.Begin(QStringLiteral("w"), QStringLiteral("x"), rows));
        };
        std::thread a(write), b(write);
        a.join();
        b.join();
        QCOMPARE(m_history->Entries().size(), 100);
    }
};

QTEST_GUILESS_MAIN(TestWriteHistory)
#include "tst_writehistory.moc"
