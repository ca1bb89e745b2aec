#include "clientdataset.h"
#include "errorof.h"
#include "errors.h"
#include "testdatabase.h"

#include <QTest>

class TestClientDataSet : public QObject, ServerFixture
{
    Q_OBJECT

    std::unique_ptr<TSQLClientDataSet> openTable(const QString& table, const QString& filter = {})
    {
        return std::unique_ptr<TSQLClientDataSet>(OpenDataSet(*module->Conn, table, filter));
    }

    QStringList names(TSQLClientDataSet& set, const QString& column = QStringLiteral("name"))
    {
        QStringList out;
        for (int i = 0; i < set.RecordCount(); ++i)
            out << set.VisibleValue(i, set.FieldIndex(column)).toString();
        return out;
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_clientdataset")); }

    void init() { db->Reset(true); }

    void openSendsTheExactStatementAndFetchesEveryRow()
    {
        StatementRecorder rec;
        auto set = openTable(QStringLiteral("videosource"));
        QCOMPARE(rec.Changes(), QStringList{QStringLiteral(" select * from `videosource`")});
        QCOMPARE(set->State(), TDataSetState::Browse);
        QCOMPARE(names(*set), (QStringList{"Antenna", "DVB-T", "Spare"}));
        QCOMPARE(set->FieldNames(), (QStringList{"sourceid", "name", "xmltvgrabber", "userid"}));
        QCOMPARE(set->RecNo(), 0);
    }

    void missingTableRaisesTheServersErrorAndStaysInactive()
    {
        db->Exec(QStringLiteral("DROP TABLE cardinput"));
        TSQLClientDataSet set(*module->Conn);
        set.SetCommandText(QStringLiteral("cardinput"));
        const QString message = ErrorOf<EDatabaseError>([&] { set.SetActive(true); });
        QVERIFY2(message.contains(QStringLiteral("doesn't exist")), qPrintable(message));
        QCOMPARE(set.State(), TDataSetState::Inactive);
    }

    void everyChangeKindMakesTheRoundTrip()
    {
        auto set = openTable(QStringLiteral("videosource"));
        // change
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("Roof")}});
        // delete the second
        set->Next();
        set->Delete();
        // insert
        PostNewRow(*set, {{QStringLiteral("sourceid"), 9},
                          {QStringLiteral("name"), QStringLiteral("Cable")}});
        QCOMPARE(set->ChangeCount(), 3);
        QCOMPARE(db->Count(QStringLiteral("videosource")), 3); // nothing written yet

        StatementRecorder rec;
        QCOMPARE(set->ApplyUpdates(0), 0);
        QCOMPARE(set->ChangeCount(), 0);
        QCOMPARE(rec.Changes(),
                 (QStringList{
                     QStringLiteral(
                         "update `videosource`  set\n `name` = ?\nwhere\n `sourceid` = ? and\n"
                         " `name` = ? and\n `xmltvgrabber` = ? and\n `userid` = ?"),
                     QStringLiteral("delete from `videosource` \nwhere\n `sourceid` = ? and\n"
                                    " `name` = ? and\n `xmltvgrabber` = ? and\n `userid` = ?"),
                     QStringLiteral("insert into `videosource`\n  (`sourceid`, `name`, "
                                    "`xmltvgrabber`, `userid`)\nvalues\n  (?, ?, null, null)")}));
        QCOMPARE(rec.Texts().first(), QStringLiteral("START TRANSACTION"));
        QCOMPARE(rec.Texts().last(), QStringLiteral("COMMIT"));
        QCOMPARE(db->Rows(QStringLiteral(
                     "SELECT sourceid, name, xmltvgrabber FROM videosource ORDER BY sourceid")),
                 (QStringList{"1|Roof|tv_grab_de", "7|Spare|tv_grab_uk", "9|Cable|NULL"}));

        // Saving again sends nothing.
        rec.Clear();
        set->ApplyUpdates(0);
        QCOMPARE(rec.Texts(), QStringList());
    }

    void logStaysMinimal()
    {
        auto set = openTable(QStringLiteral("videosource"));
        // Inserted then edited: one INSERT with the latest values.
        PostNewRow(*set, {{QStringLiteral("sourceid"), 20},
                          {QStringLiteral("name"), QStringLiteral("first")}});
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("latest")}});
        // Inserted and deleted: nothing.
        PostNewRow(*set, {{QStringLiteral("sourceid"), 21}});
        set->Delete();
        // Edited back to what was read: nothing.
        set->First();
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("other")}});
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("Antenna")}});
        // Edited twice, then deleted: the DELETE finds the row as it was read.
        set->Next();
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("x")}});
        set->Delete();
        QCOMPARE(set->ChangeCount(), 2);

        StatementRecorder rec;
        set->ApplyUpdates(0);
        QCOMPARE(rec.Changes().size(), 2);
        QVERIFY(rec.Changes()[0].startsWith(QStringLiteral("insert")));
        QVERIFY(rec.Changes()[1].startsWith(QStringLiteral("delete")));
        QCOMPARE(rec.Binds()[2],
                 (QVariantList{3, QStringLiteral("DVB-T"), QStringLiteral("tv_grab_de"),
                               QStringLiteral("unused")}));
        QCOMPARE(
            db->Rows(QStringLiteral("SELECT sourceid, name FROM videosource ORDER BY sourceid")),
            (QStringList{"1|Antenna", "7|Spare", "20|latest"}));
    }

    void cancelUpdatesShowsTheFetchedRowsAgain()
    {
        auto set = openTable(QStringLiteral("videosource"));
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("changed")}});
        set->Last();
        set->Delete();
        PostNewRow(*set, {{QStringLiteral("sourceid"), 30}});
        QCOMPARE(set->ChangeCount(), 3);
        StatementRecorder rec;
        set->CancelUpdates();
        QCOMPARE(set->ChangeCount(), 0);
        QCOMPARE(names(*set), (QStringList{"Antenna", "DVB-T", "Spare"}));
        set->ApplyUpdates(0);
        QCOMPARE(rec.Texts(), QStringList()); // an empty log sends nothing
    }

    void filtersShowOnlyMatchingRows()
    {
        auto set = openTable(QStringLiteral("channel"), QStringLiteral("sourceid=3"));
        QCOMPARE(names(*set), (QStringList{"Das Erste HD", "ZDF HD", "arte"}));
        set->SetFilter(QStringLiteral("sourceid=1"));
        QCOMPARE(set->RecordCount(), 3);
        QCOMPARE(set->RecNo(), 0);
        set->SetFilter(QStringLiteral("sourceid=5"));
        QVERIFY(set->IsEmpty());
        QCOMPARE(set->FieldValue(QStringLiteral("chanid")), QVariant());
        set->SetFiltered(false);
        QCOMPARE(set->RecordCount(), 7);

        // Anything but "column=N" is refused, and the set stays as it was.
        set->SetFiltered(true);
        set->SetFilter(QStringLiteral("sourceid=7"));
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, set->SetFilter(QStringLiteral("name='ZDF'")));
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, set->SetFilter(QStringLiteral("nosuch=1")));
        QCOMPARE(set->Filter(), QStringLiteral("sourceid=7"));
        QCOMPARE(names(*set), QStringList{"BBC One"});

        // A set that is never opened evaluates nothing and sends nothing.
        StatementRecorder rec;
        TSQLClientDataSet never(*module->Conn);
        never.SetCommandText(QStringLiteral("settings"));
        never.SetFiltered(true);
        never.SetFilter(QStringLiteral("hostname=:hostname"));
        QCOMPARE(rec.Texts(), QStringList());
    }

    // The rows a filter shows follow rows added at the end or in the middle, keys
    // edited, new rows cancelled and rows deleted: always those the whole list holds
    // with that key, in the list's order.
    void filtersFollowEveryChangeOfTheRows()
    {
        auto set = openTable(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        int next = 9000;
        auto add = [&](bool append, int source, const QString& name) {
            append ? set->Append() : set->Insert();
            set->SetFieldValue(QStringLiteral("chanid"), next++);
            set->SetFieldValue(QStringLiteral("sourceid"), source);
            set->SetFieldValue(QStringLiteral("name"), name);
            set->Post();
        };
        auto check = [&](const char* step) {
            // What the unfiltered list holds decides; the filter must show just that.
            const QString filter = set->Filter();
            set->SetFiltered(false);
            QMap<int, QStringList> expected;
            for (int i = 0; i < set->RecordCount(); ++i)
                expected[set->VisibleValue(i, set->FieldIndex(QStringLiteral("sourceid"))).toInt()]
                    << set->VisibleValue(i, set->FieldIndex(QStringLiteral("name"))).toString();
            set->SetFiltered(true);
            for (int source : {1, 3, 1}) {
                set->SetFilter(QStringLiteral("sourceid=%1").arg(source));
                QVERIFY2(names(*set) == expected.value(source),
                         qPrintable(QStringLiteral("%1, sourceid=%2: %3")
                                        .arg(step)
                                        .arg(source)
                                        .arg(names(*set).join(QLatin1Char(',')))));
            }
            set->SetFilter(filter);
        };
        check("as read");
        add(true, 1, QStringLiteral("A"));
        add(true, 3, QStringLiteral("B"));
        add(true, 1, QStringLiteral("C"));
        check("after appending");
        set->First();
        add(false, 1, QStringLiteral("M")); // before the first of source 1
        check("after inserting in the middle");
        set->SetFilter(QStringLiteral("sourceid=1"));
        set->Edit();
        set->SetFieldValue(QStringLiteral("sourceid"), 3); // M moves to source 3
        set->Post();
        set->Edit();
        set->SetFieldValue(QStringLiteral("name"), QStringLiteral("M2")); // key kept
        set->Post();
        check("after editing keys");
        set->Append();
        set->SetFieldValue(QStringLiteral("sourceid"), 1);
        set->Cancel();
        set->Insert();
        set->CheckBrowseMode(); // nobody typed: dropped
        check("after cancelling new rows");
        set->Last();
        set->Delete();
        add(true, 1, QStringLiteral("D"));
        check("after deleting and appending again");
    }

    // While controls are disabled the set holds its signals back and sends each kind
    // once when the last EnableControls comes.
    void disabledControlsHearOnceAfterwards()
    {
        auto set = openTable(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        int rows = 0;
        int current = 0;
        connect(set.get(), &TSQLClientDataSet::RowsChanged, this, [&] { ++rows; });
        connect(set.get(), &TSQLClientDataSet::CurrentChanged, this, [&] { ++current; });
        {
            const TControlsDisabled outer{set.get()};
            set->DisableControls();
            for (int i = 0; i < 3; ++i) {
                PostNewRow(*set, {{QStringLiteral("chanid"), 9100 + i},
                                  {QStringLiteral("name"), QStringLiteral("N%1").arg(i)}});
            }
            set->EnableControls(); // still disabled by the outer guard
            QCOMPARE(rows + current, 0);
        }
        QCOMPARE(rows, 1);
        QCOMPARE(current, 1);
        QCOMPARE(set->RecordCount(), 6);
        set->Prior(); // and at once again afterwards
        QCOMPARE(current, 2);
    }

    void eventsComeInOrder()
    {
        QStringList events;
        auto set = std::make_unique<TSQLClientDataSet>(*module->Conn);
        set->SetCommandText(QStringLiteral("videosource"));
        set->OnNewRecord = [&] {
            events << QStringLiteral("new");
            set->SetFieldValue(QStringLiteral("sourceid"), 40);
        };
        set->BeforePost = [&] {
            events << QStringLiteral("post");
        };
        set->BeforeCancel = [&] {
            events << QStringLiteral("cancel");
        };
        set->BeforeDelete = [&] {
            events << QStringLiteral("delete");
        };
        set->AfterScroll = [&] {
            events << QStringLiteral("scroll");
        };

        set->SetActive(true);
        QCOMPARE(events, QStringList{"scroll"});

        events.clear();
        set->Append(); // OnNewRecord's assignments are no user change
        QVERIFY(!set->Modified());
        set->Next(); // the untouched row is dropped
        QCOMPARE(events, (QStringList{"new", "scroll", "cancel", "scroll"}));
        QCOMPARE(set->RecordCount(), 3);

        events.clear();
        set->Append();
        set->SetFieldValue(QStringLiteral("name"), QStringLiteral("typed"));
        set->Append(); // the typed row is posted before the next one starts
        QCOMPARE(events, (QStringList{"new", "scroll", "post", "new", "scroll"}));
        QCOMPARE(set->ChangeCount(), 1);

        events.clear();
        set->Delete(); // a row being inserted is cancelled, not deleted
        QCOMPARE(events, (QStringList{"cancel", "scroll"}));
        set->First();
        set->Delete();
        QCOMPARE(events, (QStringList{"cancel", "scroll", "scroll", "delete", "scroll"}));

        // A throwing handler aborts the operation and leaves the set as it was.
        events.clear();
        set->BeforePost = [] {
            throw EKorvaneError(QStringLiteral("no"));
        };
        set->Edit();
        set->SetFieldValue(QStringLiteral("name"), QStringLiteral("blocked"));
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, set->Post());
        QCOMPARE(set->State(), TDataSetState::Edit);
        QCOMPARE(set->FieldValue(QStringLiteral("name")), QVariant(QStringLiteral("blocked")));
        set->BeforePost = nullptr;
        set->Cancel();
        QCOMPARE(set->FieldValue(QStringLiteral("name")), QVariant(QStringLiteral("DVB-T")));
    }

    void editOnAnEmptySetStartsARowAndDeleteOnItFails()
    {
        auto set = openTable(QStringLiteral("channel"), QStringLiteral("sourceid=99"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, set->Delete());
        set->Edit();
        QCOMPARE(set->State(), TDataSetState::Insert);
    }

    void conflictWithAnotherClientIsAFailureAndWritesNothing_data()
    {
        QTest::addColumn<QString>("otherClient");
        QTest::newRow("row changed") << "UPDATE videosource SET name='theirs' WHERE sourceid=3";
        QTest::newRow("row deleted") << "DELETE FROM videosource WHERE sourceid=3";
    }

    void conflictWithAnotherClientIsAFailureAndWritesNothing()
    {
        QFETCH(QString, otherClient);
        auto set = openTable(QStringLiteral("videosource"));
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("mine-1")}});
        set->Next();
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("mine-3")}});
        db->Exec(otherClient);
        const QStringList before =
            db->Rows(QStringLiteral("SELECT * FROM videosource ORDER BY sourceid"));
        const QString message = ErrorOf<EDatabaseError>([&] { set->ApplyUpdates(0); });
        QVERIFY2(message.startsWith(QStringLiteral(
                     "The record was changed or deleted by another user since it was read.")),
                 qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("videosource")));
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM videosource ORDER BY sourceid")), before);
        QCOMPARE(set->ChangeCount(), 2);
        QCOMPARE(set->FieldValue(QStringLiteral("name")), QVariant(QStringLiteral("mine-3")));
    }

    void failureInTheMiddleOfALogLeavesTableAndLogAsTheyWere()
    {
        auto set = openTable(QStringLiteral("videosource"));
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("renamed")}});
        PostNewRow(*set, {{QStringLiteral("sourceid"), 50}});
        PostNewRow(*set, {{QStringLiteral("sourceid"), 51}});
        db->Exec(QStringLiteral("INSERT INTO videosource (sourceid, name) VALUES (50, 'theirs')"));
        const QStringList before =
            db->Rows(QStringLiteral("SELECT * FROM videosource ORDER BY sourceid"));
        const QString message = ErrorOf<EDatabaseError>([&] { set->ApplyUpdates(0); });
        QVERIFY2(message.contains(QStringLiteral("Duplicate entry")), qPrintable(message));
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM videosource ORDER BY sourceid")), before);
        QCOMPARE(set->ChangeCount(), 3);

        // Once the obstacle is gone, the same log is written whole.
        db->Exec(QStringLiteral("DELETE FROM videosource WHERE sourceid=50"));
        set->ApplyUpdates(0);
        QCOMPARE(set->ChangeCount(), 0);
        QCOMPARE(
            db->Rows(QStringLiteral("SELECT sourceid, name FROM videosource ORDER BY sourceid")),
            (QStringList{"1|renamed", "3|DVB-T", "7|Spare", "50|NULL", "51|NULL"}));
    }

    void deleteMatchingSeveralRowsIsRefused()
    {
        // `settings` has no key, and its TEXT column cannot identify a row: two rows
        // alike in the other columns cannot be told apart, so neither may be deleted.
        db->Exec(
            QStringLiteral("INSERT INTO settings (value, data, hostname) VALUES ('Dup', 'a', 'h'), "
                           "('Dup', 'b', 'h')"));
        auto set = openTable(QStringLiteral("settings"));
        set->Last();
        QCOMPARE(set->FieldValue(QStringLiteral("data")), QVariant(QStringLiteral("b")));
        set->Delete();
        const QString message = ErrorOf<EDatabaseError>([&] { set->ApplyUpdates(0); });
        QVERIFY2(message.contains(QStringLiteral("would affect 2 rows")), qPrintable(message));
        QCOMPARE(db->Count(QStringLiteral("settings"), QStringLiteral("value='Dup'")), 2);
        QCOMPARE(set->ChangeCount(), 1);
    }

    // A number is stored as the column holds it, or refused: never wrapped into another.
    void numbersAreCheckedAgainstTheirColumn_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("typed");
        QTest::addColumn<QString>("stored"); // "refused", "NULL" or the value
        QTest::newRow("INT in range") << "audioratelimit" << QVariant("48000") << "48000";
        QTest::newRow("INT with leading zeros") << "audioratelimit" << QVariant("007") << "7";
        QTest::newRow("INT largest") << "audioratelimit" << QVariant("2147483647") << "2147483647";
        QTest::newRow("INT smallest")
            << "audioratelimit" << QVariant("-2147483648") << "-2147483648";
        QTest::newRow("INT one past") << "audioratelimit" << QVariant("2147483648") << "refused";
        QTest::newRow("INT 2^32") << "audioratelimit" << QVariant("4294967296") << "refused";
        QTest::newRow("INT far past") << "audioratelimit" << QVariant("99999999999") << "refused";
        QTest::newRow("INT as a 64-bit number")
            << "audioratelimit" << QVariant(qlonglong(4294967296)) << "refused";
        QTest::newRow("letters") << "audioratelimit" << QVariant("fast") << "refused";
        QTest::newRow("lone minus") << "audioratelimit" << QVariant("-") << "refused";
        QTest::newRow("decimal") << "audioratelimit" << QVariant("3.5") << "refused";
        QTest::newRow("empty is NULL") << "audioratelimit" << QVariant("") << "NULL";
        QTest::newRow("TINYINT in range") << "use_ts" << QVariant("127") << "127";
        QTest::newRow("TINYINT past") << "use_ts" << QVariant("128") << "refused";
        QTest::newRow("TINYINT below") << "use_ts" << QVariant("-129") << "refused";
    }

    void numbersAreCheckedAgainstTheirColumn()
    {
        QFETCH(QString, column);
        QFETCH(QVariant, typed);
        QFETCH(QString, stored);
        auto set = openTable(QStringLiteral("capturecard"));
        set->Edit();
        if (stored == QLatin1String("refused")) {
            QVERIFY_THROWS_EXCEPTION(ERefusedValue, set->SetFieldValue(column, typed));
            QVERIFY(!set->Modified()); // nothing else was stored in its place
            set->Post();
            QCOMPARE(set->ChangeCount(), 0);
            return;
        }
        set->SetFieldValue(column, typed);
        set->Post();
        set->ApplyUpdates(0);
        QCOMPARE(db->Rows(QStringLiteral("SELECT %1 FROM capturecard WHERE cardid=1").arg(column)),
                 QStringList{stored});
    }

    void closingRefusesToDropUnsavedChanges()
    {
        auto set = openTable(QStringLiteral("capturecard"));
        set->Edit();
        set->SetFieldValue(QStringLiteral("hostname"), QStringLiteral("elsewhere"));
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, set->SetActive(false));
        set->Post();
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, set->SetActive(false));
        QVERIFY(set->Active());
        QCOMPARE(set->ChangeCount(), 1);
        set->CancelUpdates();
        set->SetActive(false); // nothing left to lose
        QVERIFY(!set->Active());
    }

    void refreshRereadsButRefusesToDropUnsavedChanges()
    {
        auto set = openTable(QStringLiteral("videosource"));
        db->Exec(QStringLiteral("INSERT INTO videosource (sourceid, name) VALUES (60, 'theirs')"));
        set->Refresh();
        QCOMPARE(set->RecordCount(), 4);
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("unsaved")}});
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, set->Refresh());
        QCOMPARE(set->ChangeCount(), 1);
        QCOMPARE(set->FieldValue(QStringLiteral("name")), QVariant(QStringLiteral("unsaved")));
    }

    // A re-read that cannot be shown (the filter's column is gone from the table) leaves
    // the rows as they were, whole and usable.
    void refreshThatFailsKeepsTheRows()
    {
        auto set = openTable(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        const QStringList before = names(*set);
        QVERIFY(!before.isEmpty());
        set->Next();
        db->Exec(QStringLiteral("ALTER TABLE channel DROP COLUMN sourceid"));
        const QString message = ErrorOf([&] { set->Refresh(); });
        QVERIFY2(message.contains(QStringLiteral("names a column")), qPrintable(message));
        QCOMPARE(names(*set), before);
        QCOMPARE(set->RecNo(), 1);
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("still here")}});
        QCOMPARE(set->ChangeCount(), 1);
        set->SetFiltered(false);
        QVERIFY(set->RecordCount() >= before.size());
    }

    // The filter given as a column and a number is the same filter as its text.
    void keyFilterIsTheFilterItsTextSays()
    {
        auto set = openTable(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        const QStringList first = names(*set);
        set->SetKeyFilter(QStringLiteral("sourceid"), 3);
        QCOMPARE(set->Filter(), QStringLiteral("sourceid=3"));
        auto byText = openTable(QStringLiteral("channel"), QStringLiteral("sourceid=3"));
        QCOMPARE(names(*set), names(*byText));
        QVERIFY(names(*set) != first);
        QVERIFY_THROWS_EXCEPTION(EKorvaneError,
                                 set->SetKeyFilter(QStringLiteral("nosuchcolumn"), 1));
        QCOMPARE(set->Filter(), QStringLiteral("sourceid=3"));
        QCOMPARE(names(*set), names(*byText));
    }

    void sqlTypeSetsRunTheirTextUnchanged()
    {
        StatementRecorder rec;
        TSQLClientDataSet set(*module->Conn);
        set.SetCommandType(TCommandType::Text);
        set.SetCommandText(
            QStringLiteral("SELECT cardtype, dvb_type, videosource.sourceid AS sourceid FROM "
                           "videosource, cardinput, capturecard WHERE videosource.sourceid = "
                           "cardinput.sourceid AND cardinput.cardid = capturecard.cardid"));
        set.SetFiltered(true);
        set.SetFilter(QStringLiteral("sourceid=3"));
        set.SetActive(true);
        QCOMPARE(rec.Changes(), QStringList{set.CommandText()});
        QCOMPARE(set.FieldValue(QStringLiteral("cardtype")), QVariant(QStringLiteral("DVB")));
        QCOMPARE(set.FieldValue(QStringLiteral("dvb_type")), QVariant(QStringLiteral("T")));
    }
};

QTEST_GUILESS_MAIN(TestClientDataSet)
#include "tst_clientdataset.moc"
