#include "clientdataset.h"
#include "connection.h"
#include "errors.h"
#include "lineupwriter.h"
#include "takeback.h"
#include "testdatabase.h"
#include "writehistory.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// Taking back an entry of the history against the real server: the line-up returns to
// what it was, record by record, and the take-back is an entry of its own.
class TestTakeBack : public QObject, ServerFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TWriteHistory> m_history;

    // Where the program run with HOME and XDG_DATA_HOME in m_dir keeps its history.
    QString path() const
    {
        return m_dir.filePath(QStringLiteral("data/korvane-setup/history.sqlite"));
    }

    // The real program on the test's database and history: its exit status.
    int program(const QStringList& arguments, QString* out = nullptr, QString* err = nullptr)
    {
        const ProgramRun run =
            RunProgram(QStringLiteral(KORVANE_BINARY), *db, m_dir.path(), arguments);
        if (out)
            *out = run.out;
        if (err)
            *err = run.err;
        return run.status;
    }

    // The five tables whole, a line a row.
    QStringList lineup()
    {
        QStringList rows;
        for (const char* table :
             {"videosource", "channel", "channel_dvb", "capturecard", "cardinput"})
            rows << db->Rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        return rows;
    }

    std::unique_ptr<TSQLClientDataSet> open(const char* table, const QString& filter = {})
    {
        return std::unique_ptr<TSQLClientDataSet>(
            OpenDataSet(*module->Conn, QLatin1String(table), filter));
    }

    // One write of each kind the program makes.
    void write(const QString& kind)
    {
        auto channels = open("channel", QStringLiteral("sourceid=3"));
        auto digital = open("channel_dvb");
        if (kind == QLatin1String("field edit")) {
            QVERIFY(channels->Locate(QStringLiteral("chanid"), 1101));
            PostChange(*channels, {{QStringLiteral("channum"), QStringLiteral("5")},
                                   {QStringLiteral("icon"), QStringLiteral("it's \\ \u263A")}});
        } else if (kind == QLatin1String("insert")) {
            PostNewRow(*channels, {{QStringLiteral("chanid"), 1111},
                                   {QStringLiteral("channum"), QStringLiteral("28")},
                                   {QStringLiteral("sourceid"), 3},
                                   {QStringLiteral("name"), QStringLiteral("3sat")}});
            PostNewRow(*digital, {{QStringLiteral("chanid"), 1111},
                                  {QStringLiteral("freq"), QStringLiteral("578000000")}});
        } else if (kind == QLatin1String("delete with tuning row")) {
            QVERIFY(channels->Locate(QStringLiteral("chanid"), 1102));
            channels->Delete();
            QVERIFY(digital->Locate(QStringLiteral("chanid"), 1102));
            digital->Delete();
        }
        if (kind == QLatin1String("source with channels and inputs")) {
            auto sources = open("videosource");
            QVERIFY(sources->Locate(QStringLiteral("sourceid"), 3));
            TLineupWriter(*module->Conn, QStringLiteral("Main")).DeleteSource(*sources, 3);
        } else if (kind == QLatin1String("card with inputs")) {
            auto cards = open("capturecard");
            QVERIFY(cards->Locate(QStringLiteral("cardid"), 1));
            TLineupWriter(*module->Conn, QStringLiteral("Main")).DeleteCard(*cards, 1);
        } else {
            TLineupWriter(*module->Conn, QStringLiteral("Channels"), kind)
                .Save({channels.get(), digital.get()});
        }
    }

    // The newest entry taken back, every ready record ticked.
    TTakeBack takeBackNewest()
    {
        const THistoryEntry entry = m_history->Entries(1).value(0);
        TTakeBack takeBack(entry.what, m_history->Rows(entry.id));
        takeBack.Read(*module->Conn);
        return takeBack;
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_takeback"), true); }
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

    // Each kind of write taken back gives the line-up as it was, byte for byte; the
    // take-back, an entry of its own, taken back gives it as it was written.
    void eachWriteTakenBack_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("actions");
        QTest::newRow("field edit")
            << QStringLiteral("field edit")
            << QStringList{QStringLiteral("channel 5 Das Erste HD: restore number 21 (now 5), "
                                          "icon (none) (now it's \\ \u263A)")};
        QTest::newRow("insert") << QStringLiteral("insert")
                                << QStringList{QStringLiteral(
                                       "channel 28 3sat: delete the channel added then, with its "
                                       "tuning values")};
        QTest::newRow("delete with tuning row")
            << QStringLiteral("delete with tuning row")
            << QStringList{QStringLiteral(
                   "channel 22 ZDF HD: bring back channel 22 ZDF HD with its tuning values")};
        QTest::newRow("source with channels and inputs")
            << QStringLiteral("source with channels and inputs")
            << QStringList{QStringLiteral("channel 21 Das Erste HD: bring back channel 21 Das "
                                          "Erste HD with its tuning values"),
                           QStringLiteral("channel 22 ZDF HD: bring back channel 22 ZDF HD with "
                                          "its tuning values"),
                           QStringLiteral("channel 27 arte: bring back channel 27 arte"),
                           QStringLiteral("input DVBInput: restore source 3 (now 0)"),
                           QStringLiteral("source DVB-T: bring back source DVB-T")};
        QTest::newRow("card with inputs")
            << QStringLiteral("card with inputs")
            << QStringList{QStringLiteral("input Television: bring back input Television"),
                           QStringLiteral("input Composite1: bring back input Composite1"),
                           QStringLiteral("card V4L on \u201Ctvbox\u201D: bring back card V4L "
                                          "on \u201Ctvbox\u201D")};
    }
    void eachWriteTakenBack()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, actions);
        const QStringList before = lineup();
        write(kind);
        const QStringList written = lineup();
        QVERIFY(written != before);

        TTakeBack takeBack = takeBackNewest();
        QStringList shown;
        for (const TTakeBack::TItem& item : takeBack.Items()) {
            shown << item.record + QStringLiteral(": ") + item.action;
            QVERIFY2(item.ticked, qPrintable(item.record + item.note));
        }
        QCOMPARE(shown, actions);
        TLineupWriter writer(*module->Conn, QStringLiteral("History"));
        writer.TakeBack(takeBack);
        QCOMPARE(lineup(), before);

        QCOMPARE(m_history->Entries(1).value(0).what, takeBack.What());
        TTakeBack again = takeBackNewest();
        QCOMPARE(again.TickedCount(), int(again.Items().size()));
        TLineupWriter(*module->Conn, QStringLiteral("History")).TakeBack(again);
        QCOMPARE(lineup(), written);
    }

    // A record changed since by another user is not ticked and says how it stands now;
    // one deleted whose id is in use again cannot come back; one changed between the
    // review and Apply stops the whole take-back.
    void changedByAnotherUser()
    {
        write(QStringLiteral("field edit"));
        // A change to a column the write left alone is kept; one to what it wrote is not.
        db->Exec(QStringLiteral("UPDATE channel SET name = 'Erstes' WHERE chanid = 1101"));
        QCOMPARE(takeBackNewest().TickedCount(), 1);
        db->Exec(QStringLiteral("UPDATE channel SET channum = '14' WHERE chanid = 1101"));
        TTakeBack changed = takeBackNewest();
        QCOMPARE(changed.Items().value(0).state, TTakeBack::TItem::State::ChangedSince);
        QCOMPARE(changed.Items().value(0).note, QStringLiteral("changed since: number 14"));
        QCOMPARE(changed.TickedCount(), 0);
        changed.SetTicked(0, true); // ticking it overwrites
        TLineupWriter(*module->Conn).TakeBack(changed);
        QCOMPARE(db->Rows(QStringLiteral("SELECT channum, name FROM channel WHERE chanid = 1101")),
                 QStringList{QStringLiteral("21|Erstes")});

        write(QStringLiteral("source with channels and inputs"));
        db->Exec(QStringLiteral("INSERT INTO channel (chanid, channum, name) VALUES (1110, '9', "
                                "'Neu')"));
        TTakeBack inUse = takeBackNewest();
        QCOMPARE(inUse.Items().value(2).state, TTakeBack::TItem::State::CannotReturn);
        QCOMPARE(inUse.Items().value(2).note,
                 QStringLiteral("cannot come back: its id 1110 is in use again by channel 9 Neu"));
        QCOMPARE(inUse.TickedCount(), 4);

        db->Exec(QStringLiteral("UPDATE cardinput SET sourceid = 1 WHERE cardinputid = 6"));
        // (and a channel to come back given its id meanwhile)
        db->Exec(QStringLiteral("INSERT INTO channel (chanid, channum, name) VALUES (1102, '8', "
                                "'Dazu')"));
        const QStringList now = lineup();
        const int entries = int(m_history->Entries().size());
        try {
            TLineupWriter(*module->Conn).TakeBack(inUse);
            QFAIL("taken back over a change made meanwhile");
        } catch (const EChangedMeanwhile& e) {
            QCOMPARE(e.Records().join(QLatin1Char('|')),
                     QStringLiteral("channel 22 ZDF HD|input DVBInput"));
        }
        QCOMPARE(lineup(), now);
        QCOMPARE(m_history->Entries().size(), entries);
    }

    // The program killed after the history was written, before and after the commit:
    // the next start drops the entry of the write that never was and keeps the other.
    void killedMidWrite_data()
    {
        QTest::addColumn<bool>("committed");
        QTest::newRow("before the commit") << false;
        QTest::newRow("after the commit") << true;
    }
    void killedMidWrite()
    {
        QFETCH(bool, committed);
        const pid_t child = fork();
        if (child == 0) {
            // A program of its own: its own connection (the test's left alone) and history.
            TSQLConnection own(QStringLiteral("KilledProgram"));
            for (const auto& [name, value] : module->Conn->Params())
                own.SetParam(name, value);
            TWriteHistory history(path(), QStringLiteral("localhost"), db->Name());
            WriteHistory = &history;
            auto channels =
                std::unique_ptr<TSQLClientDataSet>(OpenDataSet(own, QStringLiteral("channel")));
            channels->Locate(QStringLiteral("chanid"), 1101);
            PostChange(*channels, {{QStringLiteral("name"), QStringLiteral("Killed")}});
            TLineupWriter writer(own);
            writer.BeforeCommit = [&own, committed](const QList<TWrittenRow>&) {
                if (committed)
                    own.AfterCommit([] { raise(SIGKILL); });
                else
                    raise(SIGKILL);
            };
            writer.Save({channels.get()});
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(m_history->Entries().size(), 1);
        QVERIFY(!m_history->Entries().value(0).done);
        QCOMPARE(m_history->Settle(*module->Conn), 1);
        QCOMPARE(m_history->Entries().size(), committed ? 1 : 0);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT name FROM channel WHERE chanid = 1101")),
                 QVariant(committed ? QStringLiteral("Killed") : QStringLiteral("Das Erste HD")));
    }

    // The command line: a dry run writes nothing, a record changed since stops it (2),
    // the take-back is an entry of its own, an entry that is not there fails (1).
    void commandLine()
    {
        write(QStringLiteral("field edit"));
        const QString id = QString::number(m_history->Entries(1).value(0).id);
        const QStringList written = lineup();
        QString out, err;
        QCOMPARE(program({QStringLiteral("--take-back"), id, QStringLiteral("--dry-run")}, &out),
                 0);
        QVERIFY2(out.contains(QStringLiteral("channel 5 Das Erste HD: restore number 21 (now 5)")),
                 qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("Would take back 1 record; nothing was written.")));
        QCOMPARE(lineup(), written);

        db->Exec(QStringLiteral("UPDATE channel SET channum = '14' WHERE chanid = 1101"));
        QCOMPARE(program({QStringLiteral("--take-back"), id}, &out, &err), 2);
        QVERIFY2(err.contains(QStringLiteral("channel 5 Das Erste HD: changed since: number 14")),
                 qPrintable(err));
        db->Exec(QStringLiteral("UPDATE channel SET channum = '5' WHERE chanid = 1101"));
        QCOMPARE(lineup(), written);

        QCOMPARE(program({QStringLiteral("--take-back"), id}, &out, &err), 0);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT channum FROM channel WHERE chanid = 1101")),
                 QVariant(QStringLiteral("21")));
        QCOMPARE(program({QStringLiteral("--history"), QStringLiteral("--json")}, &out), 0);
        const QJsonObject newest = QJsonDocument::fromJson(out.toUtf8()).array().at(0).toObject();
        QCOMPARE(newest.value(QStringLiteral("what")).toString(),
                 QStringLiteral("Take back: field edit"));
        QCOMPARE(newest.value(QStringLiteral("state")).toString(), QStringLiteral("done"));
        QCOMPARE(newest.value(QStringLiteral("rows")).toInt(), 1);

        QCOMPARE(program({QStringLiteral("--take-back"), QStringLiteral("99")}, &out, &err), 1);
        QVERIFY2(err.contains(QStringLiteral("There is no entry 99")), qPrintable(err));
        QCOMPARE(program({QStringLiteral("--dry-run")}, &out, &err), 1);
        QVERIFY(err.contains(QStringLiteral("--dry-run goes with --take-back or --restore")));
    }

    // Two programs writing one history at once both get every entry in.
    void twoProcessesAtOnce()
    {
        const QList<TWrittenRow> rows{TWrittenRow{TWrittenRow::Kind::Insert,
                                                  QStringLiteral("channel"),
                                                  QStringLiteral("chanid"),
                                                  1,
                                                  {},
                                                  {{QStringLiteral("chanid"), 1}}}};
        QList<pid_t> children;
        for (int p = 0; p < 2; ++p) {
            const pid_t child = fork();
            if (child == 0) {
                TWriteHistory history(path(), QStringLiteral("localhost"), db->Name());
                for (int i = 0; i < 50; ++i)
                    history.Done(history.Begin(QStringLiteral("w"), QStringLiteral("x"), rows));
                _exit(0);
            }
            children << child;
        }
        for (const pid_t child : children) {
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        QCOMPARE(m_history->Entries().size(), 100);
    }
};

QTEST_GUILESS_MAIN(TestTakeBack)
#include "tst_takeback.moc"
