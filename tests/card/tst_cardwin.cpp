#include "application.h"
#include "cardwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "mainwin.h"
#include "messagebox.h"
#include "modal.h"
#include "panearea.h"
#include "testdatabase.h"
#include "windowfixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The capture card editor through its real widgets, on the sample line-up: card 1 is
// a V4L card with inputs 1 (source 1) and 2 (no source), card 4 a DVB-T card with
// input 6 (source 3).
class TestCardWin : public QObject, ServerFixture, WindowFixture<TCardWin>
{
    Q_OBJECT

    void open(int cardId)
    {
        ShowWindow([cardId](TCardWin& w) { w.SetCardID(cardId); });
    }

    void pickType(const QString& type)
    {
        const int i = win->CardtypeCombo->findText(type);
        win->CardtypeCombo->setCurrentIndex(i);
        emit win->CardtypeCombo->activated(i);
    }

    void clickNavigator(const QString& button)
    {
        QTest::mouseClick(
            win->DBNavigator1->findChild<QPushButton*>(QStringLiteral("Navigator") + button),
            Qt::LeftButton);
    }

    QStringList startChannels()
    {
        QStringList items;
        for (int i = 0; i < win->DBLookupComboBox1->count(); ++i)
            items << win->DBLookupComboBox1->itemText(i);
        return items;
    }

    bool invalidShows()
    {
        return win->Label20->isVisible() && !win->Label20->visibleRegion().isEmpty();
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_cardwin"), true); }

    void init() { FreshTables(true); }

    void cleanup() { CloseDiscarding(); }

    void layoutIsAsDesigned()
    {
        open(1);
        QCOMPARE(win->windowTitle(), QStringLiteral("TV Card[*]"));
        QVERIFY(!win->isWindowModified());
        QCOMPARE(win->size(), QSize(795, 580));
        QCOMPARE(win->PaneArea->geometry(), QRect(8, 64, 697, 225));
        QCOMPARE(win->InputGroup->y(), 336);
        QCOMPARE(win->InputGroup->title(), QStringLiteral("Card input"));
        QCOMPARE(win->Label20->text(), QStringLiteral("Type invalid"));
        QCOMPARE(win->Label20->font().pixelSize(), 15);
        QCOMPARE(win->Label20->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(win->ApplyButton->x() > win->DBEdit3->x());
        QCOMPARE(Caption(win->ApplyButton->text()), QStringLiteral("Save"));
        QVERIFY(!win->DBNavigator1->ButtonFor(TDBNavigator::Post));
        QCOMPARE(win->DBGrid1->Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Name"));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(win->DBEdit3));
        // videodevice twice: a path on the analogue pane, a number on the digital one.
        QCOMPARE(win->DBComboBox5->currentText(), QStringLiteral("/dev/video0"));
        QCOMPARE(win->DBComboBox5->Field(), win->DBComboBox3->Field());
        QVERIFY(win->DBComboBox5->isEditable() && !win->DBComboBox3->isEditable());
        // Host name and external command take their columns' width on the server.
        QCOMPARE(win->DBEdit3->Limit(), 255);
        QCOMPARE(win->DBEdit2->Limit(), 128);
        QCOMPARE(win->DBEdit11->Limit(), 8);
        QCOMPARE(win->DBEdit4->Limit(), 7);
    }

    // After a failed Save and after a good one, the status line beside Save says so
    // whole, and the window keeps its layout.
    void statusLineShowsWhatSaveDid()
    {
        open(1);
        const QRect panes = win->PaneArea->geometry();
        type(QStringLiteral("DBEdit3"), QStringLiteral("x"));
        db->Exec(QStringLiteral("ALTER TABLE capturecard RENAME TO capturecard_away"));
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(win->StatusLine->text().startsWith(QStringLiteral("Nothing was written")));
        QApplication::processEvents();
        QLabel* line = win->StatusLine;
        QVERIFY2(line->height() >= line->heightForWidth(line->width()),
                 qPrintable(QStringLiteral("%1 x %2").arg(line->width()).arg(line->height())));
        QCOMPARE(win->PaneArea->geometry(), panes);
        db->Exec(QStringLiteral("ALTER TABLE capturecard_away RENAME TO capturecard"));
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(line->text(), QStringLiteral("Saved: 1 change"));
    }

    void storedTypeNotInTheListShowsTypeInvalid()
    {
        db->Exec(QStringLiteral("UPDATE capturecard SET cardtype='dvb' WHERE cardid=4"));
        open(4);
        QVERIFY(!win->AnalogPane->isVisible());
        QVERIFY(!win->DVBPane->isVisible());
        QVERIFY(invalidShows());
    }

    void typesShowTheirPanesAndAudioControls()
    {
        open(1);
        QVERIFY(win->AnalogPane->isVisible() && !win->DVBPane->isVisible());
        QVERIFY(!invalidShows());
        QList<QWidget*> audio{win->AudioDevLabel, win->AudioDevCombo, win->AudioRateLabel,
                              win->AudioRateCombo};
        for (QWidget* w : audio)
            QVERIFY(w->isVisible());
        pickType(QStringLiteral("MPEG"));
        for (QWidget* w : audio)
            QVERIFY(!w->isVisible());
        QVERIFY(win->DBComboBox5->isVisible() && win->DBComboBox7->isVisible());
        QCOMPARE(win->CardDataSet->FieldValue(QStringLiteral("cardtype")),
                 QVariant(QStringLiteral("MPEG")));
        pickType(QStringLiteral("V4L"));
        for (QWidget* w : audio)
            QVERIFY(w->isVisible());
        pickType(QStringLiteral("DVB"));
        QVERIFY(!win->AnalogPane->isVisible() && win->DVBPane->isVisible());
        // Other card columns keep their values when the type changes.
        QCOMPARE(win->CardDataSet->FieldValue(QStringLiteral("audiodevice")),
                 QVariant(QStringLiteral("/dev/dsp")));
    }

    void newCardClosedAtOnceAsksAndNoLeavesNoRow()
    {
        win = std::make_unique<TCardWin>();
        win->NewCard();
        win->show();
        QVERIFY(win->CardID() > 4);
        QCOMPARE(win->DBText2->text(), QString::number(win->CardID()));
        QVERIFY(invalidShows());
        QCOMPARE(win->DBGrid1->Model()->rowCount(), 0);
        MessageBox::QueueAnswer(MessageBox::Button::No);
        QVERIFY(win->close());
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QCOMPARE(MessageBox::ShownBoxes()[0].text,
                 QStringLiteral("Do you want to save your changes in the database?"));
        QCOMPARE(MessageBox::ShownBoxes()[0].defaultButton, MessageBox::Button::Yes);
        QCOMPARE(db->Count(QStringLiteral("capturecard")), 2);
        win.reset();
    }

    void saveWritesTheCardAndItsInputs()
    {
        ShowWindow([](TCardWin& w) { w.NewCard(); });
        QVERIFY(QTest::qWaitForWindowActive(win.get()));
        const int id = win->CardID();
        QTest::keyClicks(win->DBEdit3, QStringLiteral("den"));
        pickType(QStringLiteral("DVB"));
        win->DBComboBox2->setCurrentIndex(2);
        emit win->DBComboBox2->activated(2);
        QTest::mouseClick(win->DBCheckBox2, Qt::LeftButton, {},
                          QPoint(6, win->DBCheckBox2->height() / 2));
        clickNavigator(QStringLiteral("Insert"));
        win->DBComboBox4->lineEdit()->setFocus();
        QTest::keyClicks(win->DBComboBox4->lineEdit(), QStringLiteral("DVBInput"));
        clickNavigator(QStringLiteral("Insert"));
        QTest::keyClicks(win->DBComboBox4->lineEdit(), QStringLiteral("Second"));
        QTest::keySequence(win.get(), QKeySequence::Save);
        QCOMPARE(
            db->Rows(
                QStringLiteral(
                    "SELECT cardtype, hostname, dvb_type, use_ts FROM capturecard WHERE cardid=%1")
                    .arg(id)),
            QStringList{"DVB|den|T|1"});
        const QStringList inputs =
            db->Rows(QStringLiteral("SELECT cardinputid, inputname, tunechan FROM cardinput WHERE "
                                    "cardid=%1 ORDER BY inputname")
                         .arg(id));
        QCOMPARE(inputs.size(), 2);
        QVERIFY(inputs[0].endsWith(QStringLiteral("|DVBInput|0")));
        QVERIFY(inputs[1].endsWith(QStringLiteral("|Second|0")));
        QVERIFY(inputs[0].section(QLatin1Char('|'), 0, 0) !=
                inputs[1].section(QLatin1Char('|'), 0, 0));
        QVERIFY(!win->isWindowModified());
        // The default input lists this card's inputs and stores the chosen name.
        QCOMPARE(win->DBLookupComboBox3->count(), 2);
        emit win->DBLookupComboBox3->activated(
            win->DBLookupComboBox3->findText(QStringLiteral("Second")));
        win->ApplyActionExecute();
        QCOMPARE(
            db->Scalar(
                  QStringLiteral("SELECT defaultinput FROM capturecard WHERE cardid=%1").arg(id))
                .toString(),
            QStringLiteral("Second"));
    }

    void startChannelsFollowTheInputsSource()
    {
        open(1);
        // Input 1 is fed by source 1.
        QCOMPARE(startChannels(), (QStringList{"Das Erste", "ZDF", "WDR Fernsehen"}));
        QCOMPARE(win->DBLookupComboBox1->currentText(), QStringLiteral("Das Erste"));
        // Input 2 has no source: the list keeps the channels it had.
        win->InputDataSet->Next();
        QCOMPARE(startChannels(), (QStringList{"Das Erste", "ZDF", "WDR Fernsehen"}));
        // Choosing source 3 in the two-column list stores its id and brings its channels.
        QCOMPARE(win->SourceCombo->itemText(1), QStringLiteral("DVB-T   3"));
        emit win->SourceCombo->activated(1);
        QCOMPARE(win->InputDataSet->FieldValue(QStringLiteral("sourceid")).toInt(), 3);
        QCOMPARE(startChannels(), (QStringList{"Das Erste HD", "ZDF HD", "arte"}));
        emit win->DBLookupComboBox1->activated(2);
        win->ApplyActionExecute();
        QCOMPARE(db->Rows(QStringLiteral(
                     "SELECT sourceid, startchan FROM cardinput WHERE cardinputid=2")),
                 QStringList{"3|1110"});
    }

    // After any choice in "Channel source", even of the entry the source list already
    // stands on, the start-channel list offers exactly the chosen source's channels.
    void startChannelsFollowAChoiceOfTheSourceListsCurrentEntry()
    {
        open(4); // input 6 of source 3 is current; the source list stands on "Antenna"
        QCOMPARE(startChannels(), (QStringList{"Das Erste HD", "ZDF HD", "arte"}));
        QCOMPARE(win->SourceDataSet->RecNo(), 0);
        win->SourceCombo->setFocus();
        QTest::keyClick(win->SourceCombo, Qt::Key_Home); // "Antenna   1"
        QCOMPARE(win->InputDataSet->FieldValue(QStringLiteral("sourceid")).toInt(), 1);
        QCOMPARE(startChannels(), (QStringList{"Das Erste", "ZDF", "WDR Fernsehen"}));
        // Cancelling the input's edit puts source 3 back, and its channels with it.
        clickNavigator(QStringLiteral("Cancel"));
        QCOMPARE(win->InputDataSet->FieldValue(QStringLiteral("sourceid")).toInt(), 3);
        QCOMPARE(startChannels(), (QStringList{"Das Erste HD", "ZDF HD", "arte"}));
    }

    // A choice in "Default card input" that drops an untouched new input leaves the
    // list showing the inputs there are.
    void defaultInputListShowsTheInputsThereAre()
    {
        open(1);
        clickNavigator(QStringLiteral("Insert"));
        QCOMPARE(win->DBLookupComboBox3->count(), 3); // the new input, not typed into
        win->DBLookupComboBox3->setFocus();
        QTest::keyClick(win->DBLookupComboBox3, Qt::Key_End); // "Composite1"
        QCOMPARE(win->InputDataSet->RecordCount(), 2);
        QCOMPARE(win->DBLookupComboBox3->count(), 2);
        QCOMPARE(win->DBLookupComboBox3->currentText(), QStringLiteral("Composite1"));
        QCOMPARE(win->CardDataSet->FieldValue(QStringLiteral("defaultinput")),
                 QVariant(QStringLiteral("Composite1")));
    }

    // Values the recording system needs fit: host names and commands as long as their
    // columns on the server; Enter in a field saves nothing.
    void longHostNamesAndCommandsAreSavedEnterIsNot()
    {
        open(1);
        win->DBEdit3->setFocus();
        win->DBEdit3->selectAll();
        QTest::keyClicks(win->DBEdit3, QStringLiteral("livingroom"));
        QTest::keyClick(win->DBEdit3, Qt::Key_Return);
        win->DBEdit2->setFocus();
        QTest::keyClicks(win->DBEdit2, QStringLiteral("/usr/local/bin/setchan"));
        QTest::keyClick(win->DBEdit2, Qt::Key_Enter);
        QVERIFY(win->isVisible());
        QCOMPARE(db->Scalar(QStringLiteral("SELECT hostname FROM capturecard WHERE cardid=1")),
                 QVariant(QStringLiteral("tvbox")));
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QCOMPARE(db->Rows(QStringLiteral("SELECT c.hostname, i.externalcommand FROM capturecard c, "
                                         "cardinput i WHERE c.cardid=1 AND i.cardinputid=1")),
                 QStringList{"livingroom|/usr/local/bin/setchan"});
    }

    void typedNewInputCountsAsUnsaved()
    {
        open(4);
        clickNavigator(QStringLiteral("Insert"));
        QVERIFY(!win->isDirty()); // inserted, nothing typed
        QTest::keyClicks(win->DBEdit2, QStringLiteral("tune"));
        QVERIFY(win->isDirty());
        QVERIFY(win->isWindowModified());
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QVERIFY(win->close());
        QCOMPARE(db->Count(QStringLiteral("cardinput"),
                           QStringLiteral("cardid=4 AND externalcommand='tune'")),
                 1);
        win.reset();
    }

    // Letters and numbers the column cannot hold are refused as they are typed, with a
    // notice naming the field; what the field shows is what Save writes.
    void audioRateTakesOnlyWhatItsColumnHolds()
    {
        open(1);
        auto* edit = win->AudioRateCombo->lineEdit();
        edit->setFocus();
        edit->selectAll();
        ClearFieldNotice();
        QTest::keyClicks(edit, QStringLiteral("fast"));
        QCOMPARE(win->AudioRateCombo->currentText(), QStringLiteral("0"));
        QVERIFY2(LastFieldNotice().contains(QStringLiteral("Audio rate limit")),
                 qPrintable(LastFieldNotice()));
        edit->selectAll();
        ClearFieldNotice();
        QTest::keyClicks(edit, QStringLiteral("4294967296"));
        QCOMPARE(win->AudioRateCombo->currentText(), QStringLiteral("429496729"));
        QVERIFY(LastFieldNotice().contains(QStringLiteral("does not fit")));
        win->ApplyActionExecute();
        QCOMPARE(db->Scalar(QStringLiteral("SELECT audioratelimit FROM capturecard WHERE cardid=1"))
                     .toLongLong(),
                 429496729);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("032000"));
        QCOMPARE(win->AudioRateCombo->currentText(), QStringLiteral("032000")); // as typed
        win->ApplyActionExecute();
        QCOMPARE(db->Scalar(QStringLiteral("SELECT audioratelimit FROM capturecard WHERE cardid=1"))
                     .toInt(),
                 32000);
    }

    void failedSaveOnCloseKeepsTheWindowOpen()
    {
        TKorvaneApplication* app = qobject_cast<TKorvaneApplication*>(QCoreApplication::instance());
        QVERIFY(app);
        open(1);
        QTest::keyClicks(win->DBEdit3, QStringLiteral("x"));
        db->Exec(
            QStringLiteral("UPDATE capturecard SET hostname='moved' WHERE cardid=1")); // a conflict
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        MessageBox::QueueAnswer(MessageBox::Button::Ok); // the save's failure
        QTest::keyClick(win.get(), Qt::Key_Escape);      // through the event loop, as a user would
        QVERIFY(win->isVisible());
        QCOMPARE(MessageBox::ShownBoxes().size(), 2);
        QCOMPARE(MessageBox::ShownBoxes()[1].kind, MessageBox::Kind::Exception);
        QVERIFY(win->isDirty());
    }

    void mainWindowOpensTheCardEditor()
    {
        TMainWin main;
        main.show();
        bool seen = false;
        WhenEditorOpens<TCardWin>(this, &seen,
                                  [](TCardWin& editor) { QCOMPARE(editor.CardID(), 4); });
        main.CardDataSet->MoveTo(1);
        db->Exec(QStringLiteral("INSERT INTO capturecard (cardid, cardtype) VALUES (9, 'MPEG')"));
        main.CardGrid->setFocus();
        QTest::keyClick(main.CardGrid, Qt::Key_Return);
        QVERIFY(seen);
        QCOMPARE(main.CardDataSet->RecordCount(), 3);

        WhenEditorOpens<TCardWin>(this, nullptr, [](TCardWin&) {
            MessageBox::QueueAnswer(MessageBox::Button::Yes); // saved as it closes
        });
        QTest::mouseClick(main.CardInsertButton, Qt::LeftButton);
        QCOMPARE(main.CardDataSet->RecordCount(), 4);
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestCardWin test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_cardwin.moc"
