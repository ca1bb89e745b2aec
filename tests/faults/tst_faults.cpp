#include "application.h"
#include "cardwin.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "mainwin.h"
#include "messagebox.h"
#include "testdatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Faults a long-open editor meets: the server restarting, the connection dying in the
// middle of a save, other clients changing rows, values the server refuses, a missing
// table. In every case no edit is lost and nothing is half-written.
class TestFaults : public QObject, ServerFixture
{
    Q_OBJECT

    static void type(QWidget* window, const QString& field, const QString& text)
    {
        auto* edit = window->findChild<QLineEdit*>(field);
        QVERIFY2(edit, qPrintable(field));
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, text);
    }

    QStringList everything()
    {
        QStringList all;
        for (const char* table :
             {"videosource", "channel", "channel_dvb", "capturecard", "cardinput"})
            all << db->Rows(
                QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(table)));
        return all;
    }

    // The editor on source 3 (channel 1101 current), shown, with texts typed into fields.
    void typeIntoSource3(TChannelWin& win, std::initializer_list<std::pair<QString, QString>> typed)
    {
        win.SetSourceID(3);
        win.show();
        for (const auto& [field, text] : typed)
            type(&win, field, text);
    }

    // What the tables hold of source 3 and its channel 1101: the source's name, the
    // channel's `column` and its frequency.
    QString saved(const QString& column)
    {
        return db
            ->Rows(QStringLiteral("SELECT s.name, c.%1, d.freq FROM videosource s, channel c, "
                                  "channel_dvb d WHERE s.sourceid = 3 AND c.chanid = 1101 "
                                  "AND d.chanid = 1101")
                       .arg(column))
            .value(0);
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_faults"), true); }

    void init() { FreshTables(true); }

    void serverRestartedWhileAnEditorHoldsChanges()
    {
        TChannelWin win;
        typeIntoSource3(win, {{QStringLiteral("SourceNameEdit"), QStringLiteral("+")},
                              {QStringLiteral("CallsignEdit"), QStringLiteral("+")},
                              {QStringLiteral("FrequencyEdit"), QStringLiteral("9")}});
        QVERIFY(module->Conn->Connected());

        TestDatabase::RestartServer();

        win.ApplyActionExecute(); // reconnects, no restart of the program
        QCOMPARE(saved(QStringLiteral("callsign")), QStringLiteral("DVB-T+|ARD+|5220000009"));
        // The new session is strict again.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, module->Conn->ExecuteDirect(QStringLiteral(
                                                     "UPDATE capturecard SET audioratelimit='x'")));
        QVERIFY(!win.isDirty());
    }

    void connectionKilledBetweenTwoStatementsOfASave()
    {
        TChannelWin win;
        typeIntoSource3(win, {{QStringLiteral("SourceNameEdit"), QStringLiteral("!")},
                              {QStringLiteral("ChannelNameEdit"), QStringLiteral("!")},
                              {QStringLiteral("FrequencyEdit"), QStringLiteral("1")}});
        const QStringList before = everything();
        QSqlQuery& id = module->Conn->Execute(QStringLiteral("SELECT CONNECTION_ID()"));
        const int connection = id.next() ? id.value(0).toInt() : 0;
        QVERIFY(connection > 0);

        // Another client kills the connection as the second statement of the save goes out.
        bool killed = false;
        TSQLConnection::SetStatementListener([&](const QString& sql, const QVariantList&) {
            if (!killed && sql.startsWith(QStringLiteral("update `channel`"))) {
                killed = true;
                db->Exec(QStringLiteral("KILL %1").arg(connection));
                const QString alive =
                    QStringLiteral(
                        "SELECT COUNT(*) FROM information_schema.processlist WHERE id=%1")
                        .arg(connection);
                for (int i = 0; i < 100 && db->Scalar(alive).toInt() > 0; ++i)
                    QTest::qWait(20);
            }
        });
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, win.ApplyActionExecute());
        TSQLConnection::SetStatementListener({});
        QVERIFY(killed);
        QCOMPARE(everything(), before); // the first statement was rolled back with the connection
        QCOMPARE(win.SourceDataSet->ChangeCount() + win.ChannelDataSet->ChangeCount() +
                     win.DVBDataSet->ChangeCount(),
                 3);

        win.ApplyActionExecute(); // the next save writes it all
        QCOMPARE(saved(QStringLiteral("name")), QStringLiteral("DVB-T!|Das Erste HD!|5220000001"));
    }

    void rowsChangedAndDeletedByAnotherClient()
    {
        TCardWin win;
        win.SetCardID(1);
        win.show();
        type(&win, QStringLiteral("DBEdit3"), QStringLiteral("2"));
        win.InputDataSet->Last(); // input 2
        type(&win, QStringLiteral("DBEdit2"), QStringLiteral("cmd"));
        db->Exec(QStringLiteral("UPDATE capturecard SET hostname='other' WHERE cardid=1"));
        db->Exec(QStringLiteral("DELETE FROM cardinput WHERE cardinputid=2"));
        const QStringList before = everything();
        try {
            win.ApplyActionExecute();
            QFAIL("the save should fail");
        } catch (const EDatabaseError& e) {
            QVERIFY(e.Message().contains(QStringLiteral("changed or deleted by another user")));
        }
        QCOMPARE(everything(), before);
        QCOMPARE(win.CardDataSet->FieldValue(QStringLiteral("hostname")),
                 QVariant(QStringLiteral("tvbox2")));
        QCOMPARE(win.CardDataSet->ChangeCount() + win.InputDataSet->ChangeCount(), 2);
        QVERIFY(win.isDirty());
    }

    void duplicateKeyInTheMiddleOfALog()
    {
        TCardWin win;
        win.SetCardID(4);
        win.show();
        auto* insert = win.DBNavigator1->findChild<QPushButton*>(QStringLiteral("NavigatorInsert"));
        insert->click();
        type(&win, QStringLiteral("DBEdit2"), QStringLiteral("one"));
        const int second =
            SQLModule->GetNewID(QStringLiteral("cardinput"), QStringLiteral("cardinputid")) + 1;
        insert->click();
        type(&win, QStringLiteral("DBEdit2"), QStringLiteral("two"));
        QCOMPARE(win.InputDataSet->FieldValue(QStringLiteral("cardinputid")).toInt(), second);
        db->Exec(QStringLiteral("INSERT INTO cardinput (cardinputid, cardid) VALUES (%1, 99)")
                     .arg(second));
        type(&win, QStringLiteral("DBEdit3"), QStringLiteral("!"));
        const QStringList before = everything();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, win.ApplyActionExecute());
        QCOMPARE(everything(), before);
        QCOMPARE(win.InputDataSet->ChangeCount(), 2);
        QCOMPARE(win.CardDataSet->ChangeCount(), 1);

        db->Exec(QStringLiteral("DELETE FROM cardinput WHERE cardid=99"));
        win.ApplyActionExecute();
        QCOMPARE(db->Count(QStringLiteral("cardinput"), QStringLiteral("cardid=4")), 3);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT hostname FROM capturecard WHERE cardid=4"))
                     .toString(),
                 QStringLiteral("tvbox!"));
    }

    void lettersIntoAnIntegerColumnNeverReachTheServer()
    {
        TCardWin win;
        win.SetCardID(1);
        win.show();
        type(&win, QStringLiteral("DBEdit3"), QStringLiteral("x"));
        auto* rate = win.AudioRateCombo->lineEdit();
        rate->selectAll();
        QTest::keyClicks(rate, QStringLiteral("lots"));
        QCOMPARE(win.AudioRateCombo->currentText(), QStringLiteral("0"));
        rate->selectAll();
        QTest::keyClicks(rate, QStringLiteral("44100"));
        win.ApplyActionExecute();
        QCOMPARE(db->Rows(QStringLiteral(
                     "SELECT hostname, audioratelimit FROM capturecard WHERE cardid=1")),
                 QStringList{"tvboxx|44100"});
    }

    void missingTableShowsTheServersErrorAndCreatesNothing()
    {
        db->Exec(QStringLiteral("DROP TABLE cardinput"));
        const QStringList tables = db->Rows(QStringLiteral("SHOW TABLES"));
        TMainWin main;
        main.show();
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QTest::mouseClick(main.CardEditButton, Qt::LeftButton);
        QTest::mouseClick(main.CardInsertButton, Qt::LeftButton);
        QCOMPARE(MessageBox::ShownBoxes().size(), 2);
        for (const auto& box : MessageBox::ShownBoxes()) {
            QCOMPARE(box.kind, MessageBox::Kind::Exception);
            QVERIFY2(box.text.contains(QStringLiteral("cardinput' doesn't exist")),
                     qPrintable(box.text));
        }
        QVERIFY(!main.findChild<TCardWin*>());
        QCOMPARE(db->Rows(QStringLiteral("SHOW TABLES")), tables);
        QCOMPARE(db->Count(QStringLiteral("capturecard")), 2);
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_faults.moc"
