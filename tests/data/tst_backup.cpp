#include "clientdataset.h"
#include "lineupwriter.h"
#include "testdatabase.h"
#include "writehistory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

// The line-up in a file, through the real program: a backup restored gives the rows byte
// for byte, a dry run says what would change, a bad file changes nothing, a full disk
// leaves the older file, and a snapshot is kept before each day's first write.
class TestBackup : public QObject, ServerFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;

    ProgramRun program(const QStringList& arguments, const std::function<void()>& inChild = {})
    {
        return RunProgram(QStringLiteral(KORVANE_BINARY), *db, m_dir.path(), arguments, inChild);
    }
    QString file(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QStringList lineup()
    {
        QStringList rows;
        for (const char* table :
             {"videosource", "channel", "channel_dvb", "capturecard", "cardinput"})
            rows << db->Rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        return rows;
    }

    // A backup of the sample with `edit` applied to its text.
    QString backupWith(const std::function<void(QByteArray&)>& edit)
    {
        const ProgramRun run = program({QStringLiteral("--backup"), QStringLiteral("-")});
        QByteArray json = run.out.toUtf8();
        edit(json);
        QFile f(file("edited.json"));
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(json);
        return f.fileName();
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_backup"), true); }
    void init() { FreshTables(true); }

    // Every kind of value, hostile text among it, comes back byte for byte into an
    // emptied line-up.
    void restoredIntoAnEmptyLineup()
    {
        const QString wide = QString(62, QLatin1Char('w')) + QStringLiteral("\U0001F4FA\u00E4");
        db->Exec(QStringLiteral("UPDATE channel SET name = '%1', callsign = 'a''b\\\\\\\\c\"d', "
                                "icon = '\u041F\u0435\u0440\u0432\u044B\u0439 \U0001F600', "
                                "finetune = -2147483648, contrast = 2147483647 WHERE chanid = 1001")
                     .arg(wide));
        db->Exec(QStringLiteral("UPDATE capturecard SET use_ts = -128, videodevice = '0x00 "
                                "\\\\x01 %s %n' WHERE cardid = 4"));
        const QStringList before = lineup();
        QCOMPARE(program({QStringLiteral("--backup"), file("lineup.json")}).status, 0);
        db->Reset(false);
        const ProgramRun restored = program({QStringLiteral("--restore"), file("lineup.json")});
        QCOMPARE(restored.status, 0);
        QVERIFY2(restored.out.contains(QStringLiteral("7 to add")), qPrintable(restored.out));
        QCOMPARE(lineup(), before);
        QCOMPARE(
            program({QStringLiteral("--restore"), file("lineup.json"), QStringLiteral("--dry-run")})
                .status,
            0);

        // The restore is an entry of the history, and taking it back empties the line-up.
        const ProgramRun history = program({QStringLiteral("--history")});
        QVERIFY2(history.out.contains(QStringLiteral("Restore the line-up from lineup.json")),
                 qPrintable(history.out));
        QCOMPARE(
            program({QStringLiteral("--take-back"), history.out.section(QLatin1Char(' '), 0, 0)})
                .status,
            0);
        QCOMPARE(db->Count(QStringLiteral("channel")), 0);
    }

    // A dry run says each difference a line, and writes nothing.
    void dryRun_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("line");
        QTest::newRow("a row to add") << "DELETE FROM capturecard WHERE cardid = 4"
                                      << "+ card 4 DVB on \"tvbox\"";
        QTest::newRow("a row to delete")
            << "INSERT INTO channel (chanid, channum, sourceid, name) VALUES (1300, '40', 3, 'Neu')"
            << "- channel 40 \"Neu\" (source DVB-T)";
        QTest::newRow("a value to change") << "UPDATE channel_dvb SET freq = '498000000' WHERE "
                                              "chanid = 1102"
                                           << "~ tuning values of channel 22 \"ZDF HD\" (source "
                                              "DVB-T): freq 498000000 -> 570000000";
        QTest::newRow("a NULL to change")
            << "UPDATE videosource SET userid = NULL WHERE sourceid = 7"
            << "~ source 7 \"Spare\": userid (none) -> unused";
    }
    void dryRun()
    {
        QFETCH(QString, change);
        QFETCH(QString, line);
        QCOMPARE(program({QStringLiteral("--backup"), file("lineup.json")}).status, 0);
        db->Exec(change);
        const QStringList changed = lineup();
        const ProgramRun run = program(
            {QStringLiteral("--restore"), file("lineup.json"), QStringLiteral("--dry-run")});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out.split(QLatin1Char('\n')).value(0), line);
        QCOMPARE(lineup(), changed);
    }

    // A bad file is refused, naming the file and what is wrong, before anything is written.
    void badFilesChangeNothing_data()
    {
        using Edit = std::function<void(QByteArray&)>;
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("says");
        auto replace = [](const char* from, const char* to) {
            return Edit([from, to](QByteArray& j) { j.replace(from, to); });
        };
        QTest::newRow("not JSON") << Edit([](QByteArray& j) { j = "chanid;name\n1;ARD\n"; })
                                  << "it is not JSON";
        QTest::newRow("another format")
            << replace("korvane-setup line-up", "something else") << "not a line-up backup";
        QTest::newRow("a newer version")
            << replace("\"version\": 1", "\"version\": 2") << "newer version (2)";
        QTest::newRow("cut short")
            << Edit([](QByteArray& j) { j.chop(j.size() / 3); }) << "cut short";
        QTest::newRow("an unknown table")
            << replace("\"cardinput\":", "\"recorded\": [], \"cardinput\":")
            << "the table recorded is not one of the line-up";
        QTest::newRow("an unknown column")
            << replace("\"xmltvgrabber\"", "\"grabber\"") << "the column grabber is not known";
        QTest::newRow("too wide") << replace("\"Das Erste HD\"", "\"Das Erste HD, so long a name "
                                                                 "that no column of 64 characters "
                                                                 "holds it\"")
                                  << "wider than the column (64)";
        QTest::newRow("a column missing")
            << replace("\"unused\",\n                \"xmltvgrabber\": \"tv_grab_uk\"",
                       "\"unused\"")
            << "column xmltvgrabber is missing";
        QTest::newRow("text for a number")
            << replace("\"finetune\": -2", "\"finetune\": \"-2\"") << "is not a whole number";
        QTest::newRow("a number for text")
            << replace("\"channum\": \"21\"", "\"channum\": 21") << "a text is expected";
        QTest::newRow("out of range") << replace("\"finetune\": -2", "\"finetune\": 4294967296")
                                      << "out of the column's range";
        QTest::newRow("two rows of one id") << replace("\"chanid\": 1102", "\"chanid\": 1101")
                                            << "two rows of channel have the id 1101";
        // (A row's keys stand in order: the next key tells the tables apart.)
        const char* row = ",\n                ";
        static const QByteArray source = QByteArray("\"sourceid\": 7") + row + "\"videofilters\"";
        static const QByteArray channel = QByteArray("\"chanid\": 1102") + row + "\"diseqc\"";
        static const QByteArray card = QByteArray("\"cardid\": 4") + row + "\"cardinputid\"";
        static const QByteArray source77 = QByteArray(source).replace(": 7", ": 77");
        static const QByteArray channel1999 = QByteArray(channel).replace("1102", "1999");
        static const QByteArray card8 = QByteArray(card).replace(": 4", ": 8");
        QTest::newRow("a channel without its source")
            << replace(source.constData(), source77.constData())
            << "its source 77 is not in the file";
        QTest::newRow("a tuning row without its channel")
            << replace(channel.constData(), channel1999.constData())
            << "its channel 1999 is not in the file";
        QTest::newRow("an input of a missing card")
            << replace(card.constData(), card8.constData()) << "its card 8 is not in the file";
        QTest::newRow("an input of a missing start channel")
            << replace("\"startchan\": 1101", "\"startchan\": 1999")
            << "its start channel 1999 is not in the file";
        // A file lists what the line-up named without the row; it allows nothing else.
        QTest::newRow("a missing start channel the file does not list") << Edit([](QByteArray& j) {
            j.replace("\"startchan\": 1101", "\"startchan\": 1999");
            j.replace("\"database\":",
                      "\"dangling\": {\"cardinput.startchan\": [1998]}, \"database\":");
        }) << "its start channel 1999 is not in the file";
        QTest::newRow("a list of dangling references not understood")
            << replace("\"database\":", "\"dangling\": {\"channel.name\": [1]}, \"database\":")
            << "list of dangling references is not understood";
    }
    void badFilesChangeNothing()
    {
        QFETCH(std::function<void(QByteArray&)>, edit);
        QFETCH(QString, says);
        const QString path = backupWith(edit);
        db->Exec(QStringLiteral("DELETE FROM cardinput")); // something to restore
        const QStringList before = lineup();
        const ProgramRun run = program({QStringLiteral("--restore"), path});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(path) && run.err.contains(says), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(lineup(), before);
    }

    // A line-up that names rows no longer there (tuning values of a deleted channel, a
    // channel of a deleted source, an input of a deleted card and start channel) is backed
    // up as it is, and its backup restores it as it was.
    void danglingReferencesComeBack()
    {
        db->Exec(
            QStringLiteral("INSERT INTO channel_dvb (chanid, freq) VALUES (1999, '474000000')"));
        db->Exec(QStringLiteral("UPDATE channel SET sourceid = 77 WHERE chanid = 1102"));
        db->Exec(QStringLiteral("UPDATE cardinput SET cardid = 8, startchan = 1998"));
        const QStringList before = lineup();
        QCOMPARE(program({QStringLiteral("--backup"), file("lineup.json")}).status, 0);
        const QStringList dryRun{QStringLiteral("--restore"), file("lineup.json"),
                                 QStringLiteral("--dry-run")};
        QCOMPARE(program(dryRun).status, 0);
        db->Reset(false);
        const ProgramRun run = program(dryRun);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.out.contains(QStringLiteral("\n+ tuning values of channel #1999\n")),
                 qPrintable(run.out));
        QCOMPARE(program({QStringLiteral("--restore"), file("lineup.json")}).status, 0);
        QCOMPARE(lineup(), before);
    }

    // A file over 256 MB is not read; a full disk leaves the older backup as it was.
    void largeFilesAndFullDisks()
    {
        QFile huge(file("huge.json"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(257) * 1024 * 1024));
        huge.close();
        const ProgramRun large = program({QStringLiteral("--restore"), huge.fileName()});
        QCOMPARE(large.status, 1);
        QVERIFY2(large.err.contains(QStringLiteral("larger than 256 MB")), qPrintable(large.err));
        QFile::remove(huge.fileName());

        QFile old(file("kept.json"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older backup");
        old.close();
        const ProgramRun full = program({QStringLiteral("--backup"), old.fileName()}, [] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit small{1024, 1024};
            setrlimit(RLIMIT_FSIZE, &small);
        });
        QCOMPARE(full.status, 1);
        QVERIFY2(full.err.contains(old.fileName()), qPrintable(full.err));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("an older backup"));
    }

    // The first write of a day keeps a snapshot of the line-up as it was; later writes of
    // the day keep none; the next day's first write keeps another.
    void aSnapshotBeforeEachDaysFirstWrite()
    {
        TWriteHistory history(file("snap/history.sqlite"), QStringLiteral("localhost"), db->Name());
        WriteHistory = &history;
        const std::shared_ptr<void> reset(nullptr, [](void*) {
            WriteHistory = nullptr;
            TWriteHistory::Clock = [] {
                return QDateTime::currentDateTime();
            };
        });
        QDateTime now(QDate(2026, 12, 10), QTime(9, 0));
        TWriteHistory::Clock = [&now] {
            return now;
        };
        const QStringList before = lineup();
        auto rename = [this](const QString& name) {
            std::unique_ptr<TSQLClientDataSet> channels(
                OpenDataSet(*module->Conn, QStringLiteral("channel")));
            channels->Locate(QStringLiteral("chanid"), 1101);
            PostChange(*channels, {{QStringLiteral("name"), name}});
            TLineupWriter writer(*module->Conn);
            writer.Save({channels.get()});
            return writer.HistoryError();
        };
        QCOMPARE(rename(QStringLiteral("One")), QString());
        QCOMPARE(rename(QStringLiteral("Two")), QString());
        QCOMPARE(history.Snapshots().size(), 1);
        QCOMPARE(history.Snapshots()[0].day, QDate(2026, 12, 10));
        now = now.addDays(1);
        QCOMPARE(rename(QStringLiteral("Three")), QString());
        const QList<TSnapshot> snapshots = history.Snapshots();
        QCOMPARE(snapshots.size(), 2);
        QCOMPARE(snapshots[0].day, QDate(2026, 12, 11));
        // The first holds the line-up before any of it.
        const TLineupBackup kept = TWriteHistory::ReadSnapshot(snapshots[1].path, *module->Conn);
        QCOMPARE(kept.RowCount(), before.size());
        QCOMPARE(QFile::permissions(snapshots[1].path) & 0x0077, QFileDevice::Permissions());
        // A month of days later, the last 30 are kept.
        for (int day = 0; day < 30; ++day) {
            now = now.addDays(1);
            QCOMPARE(rename(QStringLiteral("Day %1").arg(day)), QString());
        }
        QCOMPARE(history.Snapshots().size(), TWriteHistory::KeepSnapshots);
        QCOMPARE(history.Snapshots().last().day, QDate(2026, 12, 12));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
