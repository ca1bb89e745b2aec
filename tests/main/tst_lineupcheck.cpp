#include "application.h"
#include "cardwin.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "errorof.h"
#include "lineupcheck.h"
#include "lineupwin.h"
#include "mainwin.h"
#include "messagebox.h"
#include "modal.h"
#include "testdatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

// The line-up check: each rule on a small line-up that has one instance of every problem
// and on its twin that has none; then the window, opening an editor where a problem is.
class TestLineupCheck : public QObject, ServerFixture
{
    Q_OBJECT

    // Sources 1 (analogue card), 3 (DVB-T card 4) and 7; cards 1 (V4L), 4 and 5 (DVB-T).
    void lineup(bool fixed)
    {
        db->Reset(false);
        db->Exec(QStringLiteral(
            "INSERT INTO videosource (sourceid, name, xmltvgrabber, userid) VALUES "
            "(1, 'Antenna', 'tv_grab_de', 'unused'), (3, 'DVBT', 'tv_grab_uk', 'unused'), "
            "(7, 'Spare', 'change this', 'unused')"));
        db->Exec(QStringLiteral(
                     "INSERT INTO channel (chanid, channum, sourceid, callsign, name, xmltvid) "
                     "VALUES (101, '1', 1, 'ARD', 'Das Erste', 'ard.de'), "
                     "(301, '1', 3, 'ARD', 'Das Erste HD', 'ard.de'), "
                     "(302, '2', 3, 'ZDF', 'ZDF HD', 'zdf.de'), "
                     "(303, '%1', 3, 'ARTE', 'arte', 'arte.de'), "
                     "(304, '4', 3, 'KIKA', 'KiKA', %2), (701, '1', 7, 'X', 'Spare one', NULL)")
                     .arg(fixed ? QStringLiteral("3") : QStringLiteral("2"),
                          fixed ? QStringLiteral("'kika.de'") : QStringLiteral("NULL")));
        db->Exec(QStringLiteral("INSERT INTO channel_dvb (chanid, freq, pids) VALUES "
                                "(301, '522000000', '101,102'), (303, '%1', '301,302'), "
                                "(304, '570000000', '401')%2")
                     .arg(fixed ? QStringLiteral("546000000") : QStringLiteral("546000"),
                          fixed ? QStringLiteral(", (302, '570000000', '201,202'), "
                                                 "(701, '578000000', '701')")
                                : QStringLiteral(", (9000, '1', '1')")));
        db->Exec(QStringLiteral(
                     "INSERT INTO capturecard (cardid, cardtype, hostname, videodevice, dvb_type, "
                     "defaultinput) VALUES (1, 'V4L', 'tvbox', '/dev/video0', NULL, 'Television'), "
                     "(4, 'DVB', 'tvbox', '0', 'T', 'DVBInput'), "
                     "(5, 'DVB', 'tvbox', '%1', 'T', '%2')")
                     .arg(fixed ? QStringLiteral("1") : QStringLiteral("0"),
                          fixed ? QStringLiteral("Second") : QStringLiteral("Nothing")));
        db->Exec(QStringLiteral(
                     "INSERT INTO cardinput (cardinputid, cardid, sourceid, inputname, startchan) "
                     "VALUES (1, 1, 1, 'Television', 101), (6, 4, 3, 'DVBInput', %1)%2")
                     .arg(fixed ? QStringLiteral("301") : QStringLiteral("101"),
                          fixed ? QStringLiteral(", (8, 5, 7, 'Second', 701)") : QString()));
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_lineupcheck")); }

    void init() { MessageBox::ClearShown(); }

    // The reader gives the rules what the tables hold: every rule finds its problem
    // once in the broken line-up, none in its twin.
    void reader()
    {
        lineup(false);
        QList<TRule> rules;
        for (const TProblem& p : CheckLineup(ReadLineup(*module->Conn)))
            rules << p.rule;
        std::sort(rules.begin(), rules.end());
        QCOMPARE(rules.size(), 10);
        for (int r = 0; r < rules.size(); ++r)
            QCOMPARE(int(rules[r]), r + 1);
        lineup(true);
        QVERIFY(CheckLineup(ReadLineup(*module->Conn)).isEmpty());
    }

    // A table or column missing is the database's error, and no window opens.
    void missingColumn()
    {
        lineup(true);
        db->Exec(QStringLiteral("ALTER TABLE channel DROP COLUMN xmltvid"));
        TMainWin main;
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        main.CheckAction->trigger();
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QVERIFY(MessageBox::ShownBoxes()[0].text.contains(QStringLiteral("xmltvid")));
        QVERIFY(!main.LineupWin());
    }

    // F7 opens the window on the check; Enter on a row opens the editor there, on the
    // channel (or input) and the field in question; closing the editor checks again.
    void windowOpensWhereTheProblemIs()
    {
        lineup(false);
        TMainWin main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QTest::keyClick(&main, Qt::Key_F7);
        TLineupWin* check = main.LineupWin();
        QVERIFY(check);
        QVERIFY(check->isVisible() && !check->isModal());
        QCOMPARE(check->windowTitle(), QStringLiteral("Line-up check"));
        QCOMPARE(check->SummaryLabel->text(), QStringLiteral("4 errors, 6 warnings"));
        QCOMPARE(check->ProblemTable->rowCount(), 10);
        QCOMPARE(check->ProblemTable->item(0, 0)->text(), QStringLiteral("Error"));

        // "No DVB tuning values" of ZDF HD: its editor, on ZDF HD, in Frequency, where the
        // user types one and saves; closing, the check no longer finds it.
        const int row =
            int(std::find_if(check->Problems().begin(), check->Problems().end(),
                             [](const TProblem& p) { return p.rule == TRule::MissingTuning; }) -
                check->Problems().begin());
        bool opened = false;
        WhenEditorOpens<TChannelWin>(this, &opened, [](TChannelWin& editor) {
            QCOMPARE(editor.ChannelDataSet->FieldValue(QStringLiteral("name")).toString(),
                     QStringLiteral("ZDF HD"));
            auto* freq = editor.findChild<QLineEdit*>(QStringLiteral("FrequencyEdit"));
            QTRY_COMPARE(QApplication::focusWidget(), freq);
            QTest::keyClicks(freq, QStringLiteral("570000000"));
            QTest::keyClicks(editor.findChild<QLineEdit*>(QStringLiteral("PIDsEdit")),
                             QStringLiteral("201,202"));
            editor.ApplyAction->trigger();
        });
        check->ProblemTable->setFocus();
        check->ProblemTable->setCurrentCell(row, 1);
        QTest::keyClick(check->ProblemTable, Qt::Key_Return);
        QVERIFY(opened);
        QCOMPARE(check->SummaryLabel->text(), QStringLiteral("3 errors, 6 warnings"));

        // The start channel of another source: the card's editor, on that input, in
        // "Start channel".
        const int start =
            int(std::find_if(check->Problems().begin(), check->Problems().end(),
                             [](const TProblem& p) { return p.rule == TRule::StartChannel; }) -
                check->Problems().begin());
        opened = false;
        WhenEditorOpens<TCardWin>(this, &opened, [](TCardWin& editor) {
            QCOMPARE(editor.InputDataSet->FieldValue(QStringLiteral("cardinputid")).toInt(), 6);
            QTRY_COMPARE(QApplication::focusWidget(),
                         editor.findChild<QWidget*>(QStringLiteral("DBLookupComboBox1")));
        });
        check->OpenRow(start);
        QVERIFY(opened);
        // The row no editor can open says so and opens nothing.
        const int orphan =
            int(std::find_if(check->Problems().begin(), check->Problems().end(),
                             [](const TProblem& p) { return p.rule == TRule::OrphanedTuning; }) -
                check->Problems().begin());
        check->OpenRow(orphan);
        QVERIFY(
            check->SummaryLabel->text().startsWith(QStringLiteral("That row cannot be opened")));
        QVERIFY(!main.findChild<TEditorWin*>());
        check->CloseButton->click();
        QTRY_VERIFY(!main.LineupWin());
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestLineupCheck test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_lineupcheck.moc"
