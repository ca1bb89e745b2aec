#include "clientdataset.h"
#include "errors.h"
#include "lineupwriter.h"
#include "testdatabase.h"

#include <QTest>
#include <stdexcept>

// The one writer of the line-up: what each write names, with its values before and after,
// is what the tables held before and hold after.
class TestLineupWriter : public QObject, ServerFixture
{
    Q_OBJECT

    using Kind = TWrittenRow::Kind;

    // "kind table key: column before -> after" for the columns that differ, or the row's
    // whole before (a delete) or after (an insert) as "column=value" in column order.
    static QStringList described(const QList<TWrittenRow>& rows, const QStringList& columns)
    {
        QStringList lines;
        for (const TWrittenRow& r : rows) {
            QStringList parts;
            for (const QString& c : columns) {
                const bool inBefore = r.before.contains(c), inAfter = r.after.contains(c);
                if (!inBefore && !inAfter)
                    continue;
                const QString b = r.before.value(c).toString(), a = r.after.value(c).toString();
                if (r.kind == Kind::Update && b != a)
                    parts << QStringLiteral("%1 %2 -> %3").arg(c, b, a);
                else if (r.kind != Kind::Update)
                    parts << QStringLiteral("%1=%2").arg(c, inBefore ? b : a);
            }
            const char* kind = r.kind == Kind::Insert ? "+" : r.kind == Kind::Delete ? "-" : "~";
            lines << QStringLiteral("%1 %2 %3: %4")
                         .arg(QLatin1String(kind), r.table, r.key.toString(), parts.join(", "));
        }
        return lines;
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_lineupwriter"), true); }
    void init() { FreshTables(true); }

    // A Save names the rows of every set in the order they are written.
    void saveNamesEveryRow()
    {
        std::unique_ptr<TSQLClientDataSet> channels(
            OpenDataSet(*module->Conn, QStringLiteral("channel"), QStringLiteral("sourceid=3")));
        std::unique_ptr<TSQLClientDataSet> digital(
            OpenDataSet(*module->Conn, QStringLiteral("channel_dvb")));
        channels->MoveTo(0);
        channels->Edit();
        channels->SetFieldValue(QStringLiteral("name"), QStringLiteral("Das Erste"));
        channels->Post();
        QVERIFY(digital->Locate(QStringLiteral("chanid"), 1102));
        digital->Delete();
        PostNewRow(*digital, {{QStringLiteral("chanid"), 1110},
                              {QStringLiteral("freq"), QStringLiteral("578000000")}});
        TLineupWriter writer(*module->Conn);
        QList<TWrittenRow> beforeCommit;
        writer.BeforeCommit = [&](const QList<TWrittenRow>& rows) {
            beforeCommit = rows;
        };
        QCOMPARE(writer.Save({channels.get(), digital.get()}), 3);
        QCOMPARE(beforeCommit.size(), 3);
        QCOMPARE(described(writer.Written(), {"name", "freq", "pids"}),
                 (QStringList{"~ channel 1101: name Das Erste HD -> Das Erste",
                              "- channel_dvb 1102: freq=570000000, pids=201,202",
                              "+ channel_dvb 1110: freq=578000000, pids="}));
        // Every column the program knows of the row.
        QCOMPARE(writer.Written()[0].before.size(), channels->FieldNames().size());
        QCOMPARE(writer.Written()[0].keyColumn, QStringLiteral("chanid"));
        QCOMPARE(db->Scalar("SELECT name FROM channel WHERE chanid=1101").toString(),
                 QStringLiteral("Das Erste"));
    }

    // A main-window delete names what goes with the row, as it stood in the transaction.
    void deletesNameWhatGoesWithThem()
    {
        std::unique_ptr<TSQLClientDataSet> sources(
            OpenDataSet(*module->Conn, QStringLiteral("videosource")));
        QVERIFY(sources->Locate(QStringLiteral("sourceid"), 3));
        TLineupWriter writer(*module->Conn);
        writer.DeleteSource(*sources, 3);
        QCOMPARE(described(writer.Written(), {"sourceid", "channum", "freq", "name"}),
                 (QStringList{
                     "- channel_dvb 1101: freq=522000000", "- channel_dvb 1102: freq=570000000",
                     "- channel 1101: sourceid=3, channum=21, name=Das Erste HD",
                     "- channel 1102: sourceid=3, channum=22, name=ZDF HD",
                     "- channel 1110: sourceid=3, channum=27, name=arte",
                     "~ cardinput 6: sourceid 3 -> 0", "- videosource 3: sourceid=3, name=DVB-T"}));
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("sourceid=3")), 0);

        std::unique_ptr<TSQLClientDataSet> cards(
            OpenDataSet(*module->Conn, QStringLiteral("capturecard")));
        QVERIFY(cards->Locate(QStringLiteral("cardid"), 1));
        writer.DeleteCard(*cards, 1);
        QCOMPARE(described(writer.Written(), {"cardid", "inputname"}),
                 (QStringList{"- cardinput 1: cardid=1, inputname=Television",
                              "- cardinput 2: cardid=1, inputname=Composite1",
                              "- capturecard 1: cardid=1"}));
    }

    // A Save sends its statements many to a query: each must still find its one row, any
    // failure must still undo every query sent before it, and the values must arrive as
    // typed whatever they hold.
    void batchedSave_data()
    {
        QTest::addColumn<int>("rows");      // channels renamed, in chanid order
        QTest::addColumn<int>("changedAt"); // renamed by another user first (-1: none)
        QTest::addColumn<int>("takenAt");   // an added channel's id taken first (-1: none)
        QTest::addColumn<QString>("name");  // the new names begin with it
        QTest::addColumn<bool>("literalBackslashes");
        QTest::addColumn<bool>("wide");     // icons and filters of 255 three-byte characters
        QTest::addColumn<QString>("error"); // what the failure names ("": saved)
        const int batch = TSQLConnection::MaxBatchStatements;
        QTest::newRow("changed in the middle of a query")
            << batch << batch / 2 << -1 << "Renamed" << false << false
            << QStringLiteral("chanid = %1").arg(5000 + batch / 2);
        QTest::newRow("changed in the last statement of a query")
            << batch << batch - 1 << -1 << "Renamed" << false << false
            << QStringLiteral("chanid = %1").arg(5000 + batch - 1);
        QTest::newRow("changed in the second query")
            << batch + 700 << batch + 300 << -1 << "Renamed" << false << false
            << QStringLiteral("chanid = %1").arg(5000 + batch + 300);
        QTest::newRow("a refused insert after a whole query")
            << batch + 200 << -1 << 9000 << "Renamed" << false << false << "Duplicate entry";
        const QString hostile =
            QStringLiteral("O'Neil \"x\" \\' \\\\ ; -- /* # */ ?\t\r\n\x01\x1a");
        QTest::newRow("hostile text") << 3 << -1 << -1 << hostile << false << false << "";
        QTest::newRow("hostile text, backslashes literal")
            << 3 << -1 << -1 << hostile << true << false << "";
        QTest::newRow("queries filled up to the packet limit")
            << 900 << -1 << -1 << "Wide" << false << true << "";
    }
    void batchedSave()
    {
        QFETCH(int, rows);
        QFETCH(int, changedAt);
        QFETCH(int, takenAt);
        QFETCH(QString, name);
        QFETCH(bool, literalBackslashes);
        QFETCH(bool, wide);
        QFETCH(QString, error);
        const QString wideText = wide ? QStringLiteral("REPEAT('\u20ac', 255)") : "NULL";
        db->Exec(QStringLiteral("INSERT INTO channel (chanid, channum, sourceid, name, icon, "
                                "videofilters) SELECT seq, seq, 3, CONCAT('Old ', seq), %1, %1 "
                                "FROM seq_5000_to_%2")
                     .arg(wideText)
                     .arg(5000 + rows - 1));
        // A session of its own, its mode gone with it.
        const std::shared_ptr<void> newSession(nullptr, [this](void*) { module->Conn->Close(); });
        if (literalBackslashes)
            module->Conn->ExecuteDirect(
                QStringLiteral("SET SESSION sql_mode = CONCAT_WS(',', @@SESSION.sql_mode, "
                               "'NO_BACKSLASH_ESCAPES')"));
        std::unique_ptr<TSQLClientDataSet> channels(
            OpenDataSet(*module->Conn, QStringLiteral("channel")));
        const QString wideValue(255, QChar(0x20ac - (wide ? 1 : 0)));
        for (int i = 0; i < rows; ++i) {
            QVERIFY(channels->Locate(QStringLiteral("chanid"), 5000 + i));
            PostChange(*channels,
                       {{QStringLiteral("name"), QStringLiteral("%1%2").arg(name).arg(i)}});
            if (wide)
                PostChange(*channels, {{QStringLiteral("icon"), wideValue},
                                       {QStringLiteral("videofilters"), wideValue}});
        }
        if (takenAt >= 0)
            PostNewRow(*channels,
                       {{QStringLiteral("chanid"), takenAt}, {QStringLiteral("sourceid"), 3}});
        if (changedAt >= 0)
            db->Exec(QStringLiteral("UPDATE channel SET callsign='X' WHERE chanid=%1")
                         .arg(5000 + changedAt));
        if (takenAt >= 0)
            db->Exec(QStringLiteral("INSERT INTO channel (chanid) VALUES (%1)").arg(takenAt));

        const QString renamed = QStringLiteral(
            "SELECT COUNT(*) FROM channel WHERE chanid >= 5000 AND name <> CONCAT('Old ', chanid)");
        const qint64 queries = module->Conn->QueriesSent();
        TLineupWriter writer(*module->Conn);
        if (error.isEmpty()) {
            QCOMPARE(writer.Save({channels.get()}), rows);
        } else {
            try {
                writer.Save({channels.get()});
                QFAIL("the save went through");
            } catch (const EDatabaseError& e) {
                QVERIFY2(e.Message().contains(error), qPrintable(e.Message()));
            }
            QCOMPARE(db->Scalar(renamed).toInt(), 0);
            QCOMPARE(channels->ChangeCount(), rows + (takenAt >= 0 ? 1 : 0));
            QVERIFY(!module->Conn->InTransaction());
            return;
        }
        QCOMPARE(db->Scalar(renamed).toInt(), rows);
        // Byte for byte, as the server holds them.
        const QStringList names = db->Rows(
            QStringLiteral("SELECT HEX(name) FROM channel WHERE chanid>=5000 ORDER BY chanid"));
        for (int i = 0; i < rows; ++i)
            QCOMPARE(names[i],
                     QString::fromLatin1(
                         QStringLiteral("%1%2").arg(name).arg(i).toUtf8().toHex().toUpper()));
        if (wide) {
            QCOMPARE(
                db->Count(QStringLiteral("channel"),
                          QStringLiteral("icon = videofilters AND icon = REPEAT('\u20ab', 255)")),
                rows);
            // Four statements of 3 KB each take more than one query under the packet limit,
            // and far fewer than one a statement.
            const qint64 sent = module->Conn->QueriesSent() - queries;
            QVERIFY2(sent > 2 && sent < 20, qPrintable(QString::number(sent)));
        }
    }

    // What fails before the commit (the history, say) leaves every table and list as
    // they were.
    void aFailureBeforeTheCommitWritesNothing()
    {
        const QStringList before =
            db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")) +
            db->Rows(QStringLiteral("SELECT * FROM cardinput"));
        std::unique_ptr<TSQLClientDataSet> sources(
            OpenDataSet(*module->Conn, QStringLiteral("videosource")));
        QVERIFY(sources->Locate(QStringLiteral("sourceid"), 3));
        TLineupWriter writer(*module->Conn);
        writer.BeforeCommit = [](const QList<TWrittenRow>&) {
            throw EKorvaneError(QStringLiteral("no room"));
        };
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, writer.DeleteSource(*sources, 3));
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")) +
                     db->Rows(QStringLiteral("SELECT * FROM cardinput")),
                 before);
        QCOMPARE(sources->RecordCount(), 3);
        QVERIFY(!module->Conn->InTransaction());
    }
};

QTEST_GUILESS_MAIN(TestLineupWriter)
#include "tst_lineupwriter.moc"
