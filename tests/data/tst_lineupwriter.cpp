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
