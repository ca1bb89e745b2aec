#include "clientdataset.h"
#include "errors.h"
#include "testdatabase.h"

#include <QTest>

// The id memory lives as long as the process: these cases build on one another.
class TestGetNewID : public QObject, ServerFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_getnewid")); }

    void emptyTableGivesOne()
    {
        StatementRecorder rec;
        QCOMPARE(module->GetNewID(QStringLiteral("capturecard"), QStringLiteral("cardid")), 1);
        QCOMPARE(rec.Changes(), QStringList{QStringLiteral("SELECT MAX(cardid) FROM capturecard")});
    }

    void idsAboveTheTableAndAboveEverythingHandedOut()
    {
        for (int id : {1, 2, 7})
            db->Exec(QStringLiteral("INSERT INTO videosource (sourceid) VALUES (%1)").arg(id));
        QCOMPARE(module->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid")), 8);
        QCOMPARE(module->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid")), 9);

        // 9 is saved, 8 was discarded: the next is 10, and 8 is never handed out again.
        TSQLClientDataSet set(*module->Conn);
        set.SetCommandText(QStringLiteral("videosource"));
        set.SetActive(true);
        PostNewRow(set, {{QStringLiteral("sourceid"), 9}});
        set.ApplyUpdates(0);
        QCOMPARE(module->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid")), 10);
        QCOMPARE(module->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid")), 11);
    }

    void rowsOfOtherClientsAreRespected()
    {
        db->Exec(QStringLiteral("INSERT INTO videosource (sourceid) VALUES (20)"));
        QCOMPARE(module->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid")), 21);
    }

    void memoryIsKeyedByColumnName()
    {
        // Another table with a column of the same name shares the memory.
        QCOMPARE(module->GetNewID(QStringLiteral("channel"), QStringLiteral("sourceid")), 22);
    }

    void aFailingQueryLeavesTheMemoryAlone()
    {
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, module->GetNewID(QStringLiteral("nosuchtable"),
                                                                 QStringLiteral("sourceid")));
        QCOMPARE(module->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid")), 23);
    }

    // A block of ids for many new rows: asked once, and the next id is above all of it.
    void aBlockIsAskedOnce()
    {
        StatementRecorder rec;
        QCOMPARE(module->GetNewIDs(QStringLiteral("videosource"), QStringLiteral("sourceid"),
                                   {QStringLiteral("cardinput")}, 5),
                 24);
        QCOMPARE(rec.Changes(), (QStringList{"SELECT MAX(sourceid) FROM videosource",
                                             "SELECT MAX(sourceid) FROM cardinput"}));
        QCOMPARE(module->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid")), 29);
    }
};

QTEST_GUILESS_MAIN(TestGetNewID)
#include "tst_getnewid.moc"
