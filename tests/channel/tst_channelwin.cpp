#include "application.h"
#include "channelexport.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
#include "editorwin.h"
#include "errors.h"
#include "iconstore.h"
#include "iconswin.h"
#include "importwin.h"
#include "language.h"
#include "lineupcheck.h"
#include "listingswin.h"
#include "mainwin.h"
#include "messagebox.h"
#include "modal.h"
#include "panearea.h"
#include "renumberwin.h"
#include "storedsource.h"
#include "testdatabase.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QUndoStack>

// The channel source editor through its real widgets, on the sample line-up:
// source 1 "Antenna" on the V4L card, source 3 "DVB-T" on the DVB card (dvb_type T),
// source 7 "Spare" on no card input.
class TestChannelWin : public QObject, ServerFixture, WindowFixture<TChannelWin>
{
    Q_OBJECT

    void open(int sourceId)
    {
        ShowWindow([sourceId](TChannelWin& w) { w.SetSourceID(sourceId); });
    }

    void clickNavigator(const QString& button)
    {
        QTest::mouseClick(child<TDBNavigator>(QStringLiteral("ChannelNavigator"))
                              ->findChild<QPushButton*>(QStringLiteral("Navigator") + button),
                          Qt::LeftButton);
    }

    TDBGrid* ChannelGrid() { return win->ChannelGrid; }

    // Shortcuts reach the active window; the offscreen platform has no window manager to
    // give the activation back after a dialog.
    void activate()
    {
        win->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(win.get()));
    }

    // The status line at the window's designed size: its text whole, on one line.
    void statusLineShowsWhole()
    {
        QLabel* line = win->StatusLine;
        QApplication::processEvents(); // laid out anew for the text
        QVERIFY(line->isVisible());
        QVERIFY2(line->height() >= line->heightForWidth(line->width()) &&
                     line->height() < 2 * line->fontMetrics().height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(line->width()).arg(line->height())));
    }

    // F2 on a cell of the channel grid, then Return without changing anything.
    void ChannelGridCell(int row, int column)
    {
        TDBGrid* grid = ChannelGrid();
        grid->setFocus();
        grid->setCurrentIndex(grid->Model()->index(row, column));
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
        QTest::qWait(0); // a cell is committed when the event loop is idle
    }

    // The notice lies beneath the panes: it shows where no pane covers it.
    bool noticeShows()
    {
        QLabel* notice = win->Label44;
        return notice->isVisible() && !notice->visibleRegion().isEmpty();
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_channelwin"), true); }

    void init() { FreshTables(true); }

    void cleanup() { CloseDiscarding(); }

    // Tab goes along the header's rows as they are laid out, then to the filter and the
    // list.
    void tabFollowsTheHeaderRow()
    {
        open(3); // a DVB-T source: Import is offered
        QTRY_COMPARE(QApplication::focusWidget(), child(QStringLiteral("SourceNameEdit")));
        // (Undo and Redo have nothing to do yet: no stops.)
        const QStringList expected{"XMLTVGrabberCombo", "ApplyButton",       "ImportButton",
                                   "ListingsButton",    "RenumberButton",    "ExportButton",
                                   "IconsButton",       "ChannelFilterEdit", "ChannelGrid"};
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void cardKindsShowTheirPanes_data()
    {
        QTest::addColumn<QString>("cardtype");
        QTest::addColumn<QString>("dvbType");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("visible"); // panes and labels shown
        QTest::newRow("V4L") << "V4L"
                             << "" << 0 << "AnalogPane";
        QTest::newRow("MPEG") << "MPEG"
                              << "T" << 1 << "AnalogPane";
        QTest::newRow("DVB-S") << "DVB"
                               << "S" << 2 << "DVBPane DVBSPane DVBSLabel";
        QTest::newRow("DVB-T") << "DVB"
                               << "T" << 3 << "DVBPane DVBTPane DVBTLabel";
        QTest::newRow("DVB-C") << "DVB"
                               << "C" << 4 << "DVBPane DVBCPane DVBCLabel";
        QTest::newRow("dvb in lower case") << "dvb"
                                           << "T" << 5 << "Label44";
        QTest::newRow("DVB of unknown transport") << "DVB"
                                                  << "X" << 5 << "Label44";
        QTest::newRow("no card type") << ""
                                      << "" << 5 << "Label44";
    }

    void cardKindsShowTheirPanes()
    {
        QFETCH(QString, cardtype);
        QFETCH(QString, dvbType);
        QFETCH(int, kind);
        QFETCH(QString, visible);
        db->Exec(QStringLiteral("UPDATE capturecard SET cardtype=%1, dvb_type=%2 WHERE cardid=4")
                     .arg(cardtype.isEmpty() ? QStringLiteral("NULL")
                                             : QLatin1Char('\'') + cardtype + QLatin1Char('\''),
                          dvbType.isEmpty() ? QStringLiteral("NULL")
                                            : QLatin1Char('\'') + dvbType + QLatin1Char('\'')));
        open(3);
        QCOMPARE(int(win->CardKind()), kind);
        const QStringList shown = visible.split(QLatin1Char(' '));
        for (QWidget* w :
             {static_cast<QWidget*>(win->AnalogPane), win->DVBPane, win->DVBSPane, win->DVBTPane,
              win->DVBCPane, static_cast<QWidget*>(win->DVBSLabel),
              static_cast<QWidget*>(win->DVBTLabel), static_cast<QWidget*>(win->DVBCLabel)})
            QVERIFY2(w->isVisible() == shown.contains(w->objectName()),
                     qPrintable(w->objectName()));
        QCOMPARE(noticeShows(), shown.contains(QStringLiteral("Label44")));
        QCOMPARE(win->Label44->text(), QStringLiteral("Card type invalid or not found"));
        if (kind == 4) {
            // Cable: no satellite or terrestrial fields.
            QVERIFY(!child(QStringLiteral("PolarizationCombo"))->isVisible());
            QVERIFY(!child(QStringLiteral("InversionCombo"))->isVisible());
        }
    }

    void fieldsTakeTheirLengths_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("limit");
        for (const auto& [field, limit] :
             QList<std::pair<const char*, int>>{{"SourceNameEdit", 8},
                                                {"CallsignEdit", 20},
                                                {"ChannelNameEdit", 20},
                                                {"XMLTVIDEdit", 64},
                                                {"IconEdit", 255},
                                                {"ChannumEdit", 5},
                                                {"ChannumRealEdit", 128},
                                                {"VideoFiltersEdit", 255},
                                                {"PIDsEdit", 64}, // the column's width
                                                {"ListingIDEdit", 8},
                                                {"FrequencyEdit", 11},
                                                {"SymbolRateEdit", 8},
                                                {"ToneEdit", 8},
                                                {"DiSEqCEdit", 8}})
            QTest::newRow(field) << QString::fromLatin1(field) << limit;
    }

    void fieldsTakeTheirLengths()
    {
        QFETCH(QString, field);
        QFETCH(int, limit);
        open(1);
        QCOMPARE(child<TDBEdit>(field)->Limit(), limit);
        QCOMPARE(child<QComboBox>(QStringLiteral("XMLTVGrabberCombo"))->count(), 3);
        QVERIFY(!child<QComboBox>(QStringLiteral("XMLTVGrabberCombo"))->isEditable());
        QCOMPARE(child<QComboBox>(QStringLiteral("HPCodeRateCombo"))->count(), 10);
    }

    void sourceOnNoCardHasNoPane()
    {
        open(7);
        QCOMPARE(int(win->CardKind()), 5);
        QVERIFY(!win->AnalogPane->isVisible() && !win->DVBPane->isVisible());
        QVERIFY(noticeShows());
        QCOMPARE(win->ChannelDataSet->RecordCount(), 1); // its channels can still be edited
    }

    void digitalPaneShowsTheCurrentChannelsRow()
    {
        open(3);
        QCOMPARE(child<QLineEdit>(QStringLiteral("FrequencyEdit"))->text(),
                 QStringLiteral("522000000"));
        QCOMPARE(child<QComboBox>(QStringLiteral("ModulationCombo"))->currentText(),
                 QStringLiteral("QAM_16"));
        win->ChannelDataSet->Last(); // arte has no digital row
        QCOMPARE(child<QLineEdit>(QStringLiteral("FrequencyEdit"))->text(), QString());
        QCOMPARE(child<QComboBox>(QStringLiteral("ModulationCombo"))->currentIndex(), -1);
    }

    void channumCaptionFollowsTheTable()
    {
        open(1);
        QVERIFY(win->PresetLabel->isVisible());
        QVERIFY(!win->ChannumOldLabel->isVisible());
        QVERIFY(win->ChannumRealEdit->isVisible());
        QCOMPARE(win->ChannumRealEdit->text(), QStringLiteral("E5"));
        win.reset();

        db->Exec(QStringLiteral("ALTER TABLE channel DROP COLUMN channum_real"));
        open(1);
        QVERIFY(win->ChannumOldLabel->isVisible());
        QCOMPARE(Caption(win->ChannumOldLabel->text()), QStringLiteral("Chan Num"));
        QVERIFY(!win->PresetLabel->isVisible());
        QVERIFY(!win->ChannumRealEdit->isVisible());
        QVERIFY(!win->ChannumReal1Label->isVisible() && !win->ChannumReal2Label->isVisible());
        QCOMPARE(win->ChannumRealEdit->Field(), QString());
        // Editing and saving still work without the column.
        type(QStringLiteral("ChannumEdit"), QStringLiteral("9"));
        win->ApplyActionExecute();
        QCOMPARE(
            db->Scalar(QStringLiteral("SELECT channum FROM channel WHERE chanid=1001")).toString(),
            QStringLiteral("19"));
    }

    void newChannelOfADigitalSourceWithoutDigitalValues()
    {
        open(3);
        clickNavigator(QStringLiteral("Insert"));
        type(QStringLiteral("CallsignEdit"), QStringLiteral("NEW"));
        QTest::keySequence(win.get(), QKeySequence::Save);
        QCOMPARE(
            db->Count(QStringLiteral("channel"), QStringLiteral("callsign='NEW' AND sourceid=3")),
            1);
        QCOMPARE(db->Count(QStringLiteral("channel_dvb")), 2);
        QVERIFY(!win->isDirty());
    }

    void typingADigitalFieldCreatesTheRowLinkedByChanid()
    {
        open(3);
        win->ChannelDataSet->Last(); // arte, 1110, no digital row
        type(QStringLiteral("FrequencyEdit"), QStringLiteral("474000000"));
        QVERIFY(win->isDirty());
        win->ApplyActionExecute();
        QCOMPARE(db->Rows(QStringLiteral("SELECT chanid, freq FROM channel_dvb WHERE chanid=1110")),
                 QStringList{"1110|474000000"});
    }

    void twoNewChannelsGetDifferentIds()
    {
        open(1);
        clickNavigator(QStringLiteral("Insert"));
        type(QStringLiteral("CallsignEdit"), QStringLiteral("A"));
        clickNavigator(QStringLiteral("Insert"));
        type(QStringLiteral("CallsignEdit"), QStringLiteral("B"));
        win->ApplyActionExecute();
        const QStringList rows = db->Rows(QStringLiteral(
            "SELECT chanid FROM channel WHERE callsign IN ('A','B') ORDER BY chanid"));
        QCOMPARE(rows.size(), 2);
        QVERIFY(rows[0] != rows[1]);
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("sourceid=1")), 5);
    }

    void newSourceClosedAtOnceAsksAndNoLeavesNothing()
    {
        win = std::make_unique<TChannelWin>();
        win->NewSource();
        win->show();
        QCOMPARE(child<QLineEdit>(QStringLiteral("SourceNameEdit"))->text(),
                 QStringLiteral("change this"));
        QVERIFY(win->isWindowModified());
        MessageBox::QueueAnswer(MessageBox::Button::No);
        QVERIFY(win->close());
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        const auto& box = MessageBox::ShownBoxes()[0];
        QCOMPARE(box.text, QStringLiteral("Do you want to save your changes in the database?"));
        QCOMPARE(box.title, QStringLiteral("Confirm"));
        QCOMPARE(box.buttons,
                 (QList<MessageBox::Button>{MessageBox::Button::Yes, MessageBox::Button::No,
                                            MessageBox::Button::Cancel}));
        QCOMPARE(box.defaultButton, MessageBox::Button::Yes);
        QCOMPARE(db->Count(QStringLiteral("videosource")), 3);
        win.reset();
    }

    void newSourceSavedWithYes()
    {
        ShowWindow([](TChannelWin& w) { w.NewSource(); });
        const int id = win->SourceID();
        auto* name = child<QLineEdit>(QStringLiteral("SourceNameEdit"));
        // The stored default is longer than the 8 characters the field takes: it shows
        // whole and cannot grow.
        name->setFocus();
        name->end(false);
        QTest::keyClicks(name, QStringLiteral("X"));
        QCOMPARE(name->text(), QStringLiteral("change this"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Cable"));
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QVERIFY(win->close());
        QCOMPARE(
            db->Rows(QStringLiteral(
                         "SELECT name, xmltvgrabber, userid FROM videosource WHERE sourceid=%1")
                         .arg(id)),
            QStringList{"Cable|change this|unused"});
        win.reset();
    }

    void cancelKeepsTheWindowOpen()
    {
        open(1);
        type(QStringLiteral("SourceNameEdit"), QStringLiteral("x"));
        MessageBox::QueueAnswer(MessageBox::Button::Cancel);
        QVERIFY(!win->close());
        QVERIFY(win->isVisible());
        // Escape goes through the same question.
        MessageBox::QueueAnswer(MessageBox::Button::Cancel);
        QTest::keyClick(win.get(), Qt::Key_Escape);
        QVERIFY(win->isVisible());
        QCOMPARE(MessageBox::ShownBoxes().size(), 2);
    }

    void saveTwiceSendsNothingTheSecondTime()
    {
        open(1);
        type(QStringLiteral("ChannelNameEdit"), QStringLiteral("+"));
        QVERIFY(win->isWindowModified());
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QVERIFY(!win->isWindowModified());
        QCOMPARE(
            db->Scalar(QStringLiteral("SELECT name FROM channel WHERE chanid=1001")).toString(),
            QStringLiteral("Das Erste+"));
        StatementRecorder rec;
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QCOMPARE(rec.Texts(), QStringList());
        QCOMPARE(win->windowTitle(), QStringLiteral("Channel[*]"));
    }

    void sourceNameRefusesANinthCharacter()
    {
        open(1);
        auto* name = child<QLineEdit>(QStringLiteral("SourceNameEdit"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("123456789"));
        QCOMPARE(name->text(), QStringLiteral("12345678"));
    }

    // The trace lines are for machines: the same on a German desktop.
    void traceLinesOfInsertTypeSave_data()
    {
        QTest::addColumn<bool>("german");
        QTest::newRow("English") << false;
        QTest::newRow("German") << true;
    }

    void traceLinesOfInsertTypeSave()
    {
        QFETCH(bool, german);
        const auto english = qScopeGuard([] {
            for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
                QCoreApplication::removeTranslator(t);
                delete t;
            }
        });
        if (german)
            QCOMPARE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany)),
                     QStringLiteral("de"));
        open(3);
        if (german)
            QCOMPARE(win->ApplyButton->text(), QStringLiteral("Speichern"));
        StdoutCapture out;
        clickNavigator(QStringLiteral("Insert"));
        const int id = win->ChannelDataSet->FieldValue(QStringLiteral("chanid")).toInt();
        type(QStringLiteral("CallsignEdit"), QStringLiteral("T"));
        win->ApplyActionExecute();
        QCOMPARE(out.Lines(), (QStringList{QStringLiteral("new %1").arg(id), "after insert",
                                           "scroll", "before post"}));
    }

    void typedNewRowCountsAsUnsaved()
    {
        open(1);
        clickNavigator(QStringLiteral("Insert"));
        QVERIFY(!win->isDirty()); // nobody typed yet
        type(QStringLiteral("CallsignEdit"), QStringLiteral("K"));
        QVERIFY(win->isDirty());
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QVERIFY(win->close());
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("callsign='K'")), 1);
        win.reset();
    }

    void channelWithoutDigitalRowCanBeDeleted()
    {
        open(3);
        win->ChannelDataSet->Last(); // arte, no channel_dvb row
        clickNavigator(QStringLiteral("Delete"));
        QCOMPARE(win->ChannelDataSet->RecordCount(), 2);
        win->ApplyActionExecute();
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("chanid=1110")), 0);
        // And one with a digital row takes the row with it.
        win->ChannelDataSet->First();
        clickNavigator(QStringLiteral("Delete"));
        win->ApplyActionExecute();
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("chanid=1101")), 0);
        QCOMPARE(db->Count(QStringLiteral("channel_dvb"), QStringLiteral("chanid=1101")), 0);
        QCOMPARE(MessageBox::ShownBoxes().size(), 0); // the navigator asks nothing
    }

    void digitalFieldWithNoChannelCreatesAndLinksOne()
    {
        db->Exec(QStringLiteral("DELETE FROM channel WHERE sourceid=3"));
        open(3);
        QVERIFY(win->ChannelDataSet->IsEmpty());
        type(QStringLiteral("PIDsEdit"), QStringLiteral("301,302"));
        QCOMPARE(win->ChannelDataSet->RecordCount(), 1);
        const int id = win->ChannelDataSet->FieldValue(QStringLiteral("chanid")).toInt();
        QVERIFY(id > 0);
        win->ApplyActionExecute();
        QCOMPARE(db->Rows(QStringLiteral("SELECT chanid, sourceid FROM channel WHERE sourceid=3")),
                 QStringList{QStringLiteral("%1|3").arg(id)});
        QCOMPARE(
            db->Rows(QStringLiteral("SELECT chanid, pids FROM channel_dvb WHERE pids='301,302'")),
            QStringList{QStringLiteral("%1|301,302").arg(id)});
    }

    void failedSaveKeepsEveryChange()
    {
        open(3);
        type(QStringLiteral("SourceNameEdit"), QStringLiteral("!"));
        type(QStringLiteral("CallsignEdit"), QStringLiteral("!"));
        type(QStringLiteral("FrequencyEdit"), QStringLiteral("1"));
        db->Exec(
            QStringLiteral("UPDATE channel_dvb SET pids='taken' WHERE chanid=1101")); // a conflict
        const QStringList before = db->Rows(QStringLiteral("SELECT * FROM videosource")) +
                                   db->Rows(QStringLiteral("SELECT * FROM channel"));
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, win->ApplyActionExecute());
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM videosource")) +
                     db->Rows(QStringLiteral("SELECT * FROM channel")),
                 before);
        QVERIFY(win->SourceDataSet->ChangeCount() == 1 && win->ChannelDataSet->ChangeCount() == 1 &&
                win->DVBDataSet->ChangeCount() == 1);
        QVERIFY(win->isWindowModified());
    }

    void mainWindowOpensTheEditorAndRereadsTheList()
    {
        TMainWin main;
        main.show();
        bool seen = false;
        WhenEditorOpens<TChannelWin>(this, &seen, [](TChannelWin& editor) {
            QCOMPARE(editor.SourceID(), 3);
            QVERIFY(!editor.isMinimized());
        });
        main.SourceDataSet->MoveTo(1);
        db->Exec(QStringLiteral("INSERT INTO videosource (sourceid, name) VALUES (50, 'Other')"));
        const QRect cell = main.SourceGrid->visualRect(main.SourceGrid->Model()->index(1, 0));
        QTest::mouseDClick(main.SourceGrid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(seen);
        QCOMPARE(main.SourceDataSet->RecordCount(), 4); // re-read after the editor closed

        // Insert: a new source, saved with Yes.
        WhenEditorOpens<TChannelWin>(this, nullptr, [](TChannelWin&) {
            MessageBox::QueueAnswer(MessageBox::Button::Yes); // saved as it closes
        });
        QTest::mouseClick(main.SourceInsertButton, Qt::LeftButton);
        QCOMPARE(main.SourceDataSet->RecordCount(), 5);
        QCOMPARE(db->Count(QStringLiteral("videosource"), QStringLiteral("name='change this'")), 1);
    }

    // A channel row put into edit without a change (F2 on a cell, then Return), then a
    // digital value typed: Save, or moving on first, writes the digital value.
    void digitalEditAfterAnUnchangedRowEditIsSaved_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Save") << "save";
        QTest::newRow("Next, then Save") << "next";
        QTest::newRow("Ctrl+S") << "ctrl+s";
    }

    void digitalEditAfterAnUnchangedRowEditIsSaved()
    {
        QFETCH(QString, how);
        open(3);
        ChannelGridCell(0, 1); // F2 on "ARD", Return
        type(QStringLiteral("FrequencyEdit"), QStringLiteral("1"));
        QVERIFY(win->isWindowModified());
        if (how == QLatin1String("next"))
            clickNavigator(QStringLiteral("Next"));
        if (how == QLatin1String("ctrl+s"))
            QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        else
            QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT freq FROM channel_dvb WHERE chanid=1101")),
                 QVariant(QStringLiteral("5220000001")));
        QVERIFY(!win->isWindowModified());
        QVERIFY(!win->isDirty());
    }

    // Deleting every channel of a source deletes their digital rows with them, and a
    // new channel then never takes over a digital row, not even one an older tool left.
    void digitalRowsGoWithTheirChannels()
    {
        db->Exec(QStringLiteral("INSERT INTO channel_dvb (chanid, freq, pids) VALUES "
                                "(5000, '700000000', '1,2')")); // an orphan of an older tool
        open(3);
        while (win->ChannelDataSet->RecordCount() > 0)
            clickNavigator(QStringLiteral("Delete"));
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("sourceid=3")), 0);
        QCOMPARE(db->Rows(QStringLiteral("SELECT chanid FROM channel_dvb")), QStringList{"5000"});

        clickNavigator(QStringLiteral("Insert"));
        const int id = win->ChannelDataSet->FieldValue(QStringLiteral("chanid")).toInt();
        QCOMPARE(id, 5001);
        QCOMPARE(child<QLineEdit>(QStringLiteral("FrequencyEdit"))->text(), QString());
        type(QStringLiteral("PIDsEdit"), QStringLiteral("2660,2661")); // wider than 8
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QCOMPARE(
            db->Rows(QStringLiteral("SELECT chanid, freq, pids FROM channel_dvb ORDER BY chanid")),
            (QStringList{"5000|700000000|1,2", "5001|NULL|2660,2661"}));
    }

    // Numbers a column cannot hold are refused where they are typed, naming the field;
    // the text being typed is not rewritten under the cursor.
    void finetuningTakesOnlyWhatItsColumnHolds()
    {
        open(1);
        auto* fine = child<QLineEdit>(QStringLiteral("FinetuneEdit"));
        fine->setFocus();
        fine->selectAll();
        ClearFieldNotice();
        QTest::keyClicks(fine, QStringLiteral("99999999999"));
        QCOMPARE(fine->text(), QStringLiteral("999999999"));
        QVERIFY2(LastFieldNotice().contains(QStringLiteral("Finetuning")),
                 qPrintable(LastFieldNotice()));
        fine->selectAll();
        QTest::keyClicks(fine, QStringLiteral("007"));
        QCOMPARE(fine->text(), QStringLiteral("007"));
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT finetune FROM channel WHERE chanid=1001")),
                 QVariant(7));
    }

    // Text typed into a grid cell is saved by Ctrl+S, counts as unsaved while the
    // cell is open, and is asked about on closing.
    void gridCellTextIsSavedAndAskedAbout()
    {
        open(1);
        ChannelGrid()->setFocus();
        ChannelGrid()->setCurrentIndex(ChannelGrid()->Model()->index(0, 1)); // "Short"
        QTest::keyClick(ChannelGrid(), Qt::Key_F2);
        QTest::keyClicks(ChannelGrid()->focusWidget(), QStringLiteral("XYZ"));
        QVERIFY(win->isDirty());
        QTRY_VERIFY(win->isWindowModified());
        QTest::keyClick(ChannelGrid()->focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT callsign FROM channel WHERE chanid=1001")),
                 QVariant(QStringLiteral("XYZ"))); // F2 selects the cell's text
        QVERIFY(!win->isDirty());

        QTest::keyClick(ChannelGrid(), Qt::Key_F2);
        QTest::keyClicks(ChannelGrid()->focusWidget(), QStringLiteral("Q"));
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        win->close();
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT callsign FROM channel WHERE chanid=1001")),
                 QVariant(QStringLiteral("Q")));
        win.reset();
    }

    // Enter in a field never saves.
    void enterInAFieldDoesNotSave()
    {
        open(1);
        type(QStringLiteral("CallsignEdit"), QStringLiteral("X"));
        QTest::keyClick(child(QStringLiteral("CallsignEdit")), Qt::Key_Return);
        type(QStringLiteral("SourceNameEdit"), QStringLiteral("Y"));
        QTest::keyClick(child(QStringLiteral("SourceNameEdit")), Qt::Key_Enter);
        QVERIFY(win->isVisible());
        QVERIFY(win->isDirty());
        QCOMPARE(db->Scalar(QStringLiteral("SELECT callsign FROM channel WHERE chanid=1001")),
                 QVariant(QStringLiteral("ARD")));
    }

    // Import...: a scan's channel file adds and updates channels as unsaved changes;
    // Save writes them all, No in the close question none.
    void importAddsAndUpdatesChannels_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("saved") << true;
        QTest::newRow("closed with No") << false;
    }

    void importAddsAndUpdatesChannels()
    {
        QFETCH(bool, save);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("scan.conf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Das Erste HD]\n\tVIDEO_PID = 5101\n\tAUDIO_PID = 5102 5103\n"
                "\tFREQUENCY = 474000000\n\tBANDWIDTH_HZ = 8000000\n\tMODULATION = QAM/64\n"
                "\tSERVICE_ID = 10301\n\tDELIVERY_SYSTEM = DVBT\n"
                "[Radio Eins]\n\tAUDIO_PID = 5201\n\tFREQUENCY = 474000000\n"
                "\tSERVICE_ID = 10302\n\tDELIVERY_SYSTEM = DVBT2\n"
                "[KiKA HD]\n\tVIDEO_PID = 6101\n\tAUDIO_PID = 6102\n\tFREQUENCY = 506000000\n"
                "\tGUARD_INTERVAL = 1/128\n\tSERVICE_ID = 11160\n\tDELIVERY_SYSTEM = DVBT\n"
                "[Astra Sat]\n\tVIDEO_PID = 1101\n\tFREQUENCY = 11836000\n"
                "\tPOLARIZATION = HORIZONTAL\n\tDELIVERY_SYSTEM = DVBS\n");
        f.close();
        // A digital row an older tool left without its channel: new channels go above it.
        db->Exec(QStringLiteral("INSERT INTO channel_dvb (chanid, freq) VALUES (5000, '1')"));
        const QStringList before =
            db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")) +
            db->Rows(QStringLiteral("SELECT * FROM channel_dvb ORDER BY chanid"));
        open(3);
        QVERIFY(win->ImportButton->isEnabled());
        StatementRecorder rec;
        TChannelWin::ChooseFile = [path](QWidget*) {
            return path;
        };
        WhenModal(this, [](QWidget* modal) {
            auto* preview = qobject_cast<TImportWin*>(modal);
            QVERIFY(preview);
            QCOMPARE(preview->CountsLabel->text(),
                     QStringLiteral("2 to add, 1 to update, 0 renamed, 0 unchanged, 2 not in "
                                    "the file (0 to delete), 1 to skip"));
            QTest::mouseClick(preview->ImportButton, Qt::LeftButton);
        });
        QTest::keyClick(win.get(), Qt::Key_I, Qt::ControlModifier);
        TChannelWin::ChooseFile = nullptr;
        QCOMPARE(win->ChannelDataSet->RecordCount(), 5);
        // The highest ids are asked once an import, for all its new channels.
        QCOMPARE(rec.Texts().count(QStringLiteral("SELECT MAX(chanid) FROM channel_dvb")), 1);
        QCOMPARE(rec.Texts().count(QStringLiteral("SELECT MAX(chanid) FROM channel")), 1);
        QVERIFY(win->isWindowModified());
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")) +
                     db->Rows(QStringLiteral("SELECT * FROM channel_dvb ORDER BY chanid")),
                 before); // nothing written yet

        if (!save) {
            MessageBox::QueueAnswer(MessageBox::Button::No);
            win->close();
            QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")) +
                         db->Rows(QStringLiteral("SELECT * FROM channel_dvb ORDER BY chanid")),
                     before);
            win.reset();
            return;
        }
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        // (the allocator remembers the ids earlier tests were handed)
        const QStringList ids =
            db->Rows(QStringLiteral("SELECT chanid FROM channel WHERE chanid >= 5000"));
        QCOMPARE(ids.size(), 2);
        QVERIFY2(ids[0].toInt() > 5000 && ids[1].toInt() == ids[0].toInt() + 1,
                 qPrintable(ids.join(QLatin1Char(','))));
        // The update kept the channel's other columns; new channels numbered on after 27.
        QCOMPARE(db->Rows(QStringLiteral("SELECT channum, callsign, name, xmltvid FROM channel "
                                         "WHERE sourceid=3 ORDER BY channum + 0")),
                 (QStringList{"21|ARD|Das Erste HD|ard.de", "22|ZDF|ZDF HD|zdf.de",
                              "27|ARTE|arte|arte.de", "28|Radio Eins|Radio Eins|NULL",
                              "29|KiKA HD|KiKA HD|NULL"}));
        QCOMPARE(
            db->Rows(QStringLiteral("SELECT c.name, d.freq, d.pids, d.bandwidth, d.modulation, "
                                    "d.guard_interval, d.listingid FROM channel_dvb d JOIN "
                                    "channel c ON c.chanid = d.chanid ORDER BY c.channum + 0")),
            // What a file leaves out the library reads as AUTO.
            (QStringList{"Das Erste HD|474000000|5101,5102,5103|8|QAM_64|AUTO|11",
                         "ZDF HD|570000000|201,202|8|QAM_16|1_4|12",
                         "Radio Eins|474000000|5201|AUTO|AUTO|AUTO|NULL",
                         "KiKA HD|506000000|6101,6102|AUTO|AUTO|AUTO|NULL"}));
    }

    // Export... writes the channels as the window holds them and changes nothing; the file
    // imported into an empty source gives back the same channels, numbers and tuning.
    void exportImportedBackGivesTheSameChannels()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dvbt.conf"));
        db->Exec(QStringLiteral("DELETE FROM channel WHERE sourceid = 7"));
        db->Exec(QStringLiteral("INSERT INTO cardinput (cardinputid, cardid, sourceid, inputname) "
                                "VALUES (9, 4, 7, 'Second')"));
        const QStringList tables = db->Rows(QStringLiteral("SELECT * FROM channel")) +
                                   db->Rows(QStringLiteral("SELECT * FROM channel_dvb"));
        open(3);
        win->ChannelDataSet->First();
        win->ChannelDataSet->Next(); // ZDF HD, renumbered and not saved
        PostChange(*win->ChannelDataSet, {{QStringLiteral("channum"), QStringLiteral("23")}});
        QApplication::processEvents();
        win->History->EndStep(); // the renumbering is a step of its own; the export none
        const int steps = win->History->Stack()->count();
        QString title;
        TChannelWin::ChooseExportFile = [&](QWidget*, const QString& t) {
            title = t;
            return path;
        };
        const auto reset = qScopeGuard([] { TChannelWin::ChooseExportFile = nullptr; });
        // Ctrl+E in a text field: the field's own Ctrl+E (to the end of the line, on X11)
        // gives way to Export... (the smoke test presses it in a real X server)
        MessageBox::ClearShown();
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        auto* name = win->findChild<QLineEdit*>(QStringLiteral("ChannelNameEdit"));
        name->setFocus();
        QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_E, Qt::ControlModifier);
        QApplication::sendEvent(name, &override);
        QVERIFY(!override.isAccepted());
        QTest::keyClick(name, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(title, QStringLiteral("Export channels (with the changes not saved yet)"));
        QCOMPARE(win->StatusLine->text(), QStringLiteral("Exported 2 channels."));
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QCOMPARE(MessageBox::ShownBoxes()[0].text,
                 QStringLiteral("2 channels exported to \"%1\". 1 channel without DVB tuning "
                                "values was left out.")
                     .arg(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("[ZDF HD]\n\tVCHANNEL = 23\n")); // as the window holds it
        QVERIFY(win->isWindowModified());
        QCOMPARE(win->History->Stack()->count(), steps);
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel")) +
                     db->Rows(QStringLiteral("SELECT * FROM channel_dvb")),
                 tables);
        // Cancelled: nothing written, nothing said.
        QFile::remove(path);
        TChannelWin::ChooseExportFile = [](QWidget*, const QString&) {
            return QString();
        };
        win->ExportAction->trigger();
        QVERIFY(!QFile::exists(path));
        CloseDiscarding();

        // Into the empty source on the same kind of card.
        QVERIFY(ExportChannels(ReadStoredSource(*module->Conn, QStringLiteral("DVB-T")).channels,
                               TCardKind::DVBT, TExportFormat::Dvbv5, path)
                    .written == 2);
        open(7);
        TChannelWin::ChooseFile = [path](QWidget*) {
            return path;
        };
        WhenModal(this, [](QWidget* modal) {
            auto* preview = qobject_cast<TImportWin*>(modal);
            QVERIFY(preview);
            QCOMPARE(preview->WhatHappens(0), QStringLiteral("add as channel 21"));
            QTest::mouseClick(preview->ImportButton, Qt::LeftButton);
        });
        win->ImportAction->trigger();
        TChannelWin::ChooseFile = nullptr;
        win->ApplyAction->trigger();
        // (A channel file has no place for the short name: the import makes it from the
        // long one, as for any scan.)
        const QString columns = QStringLiteral(
            "c.channum, c.name, d.freq, d.pids, d.inversion, d.bandwidth, "
            "d.hp_code_rate, d.lp_code_rate, d.modulation, d.transmission_mode, "
            "d.guard_interval, d.hierarchy FROM channel c JOIN channel_dvb d ON c.chanid = "
            "d.chanid WHERE c.sourceid = %1 ORDER BY c.channum");
        QCOMPARE(db->Rows(QStringLiteral("SELECT ") + columns.arg(7)),
                 db->Rows(QStringLiteral("SELECT ") + columns.arg(3)));
        QCOMPARE(db->Rows(QStringLiteral("SELECT COUNT(*) FROM channel WHERE sourceid = 7")),
                 QStringList{"2"});
    }

    // Finding one channel among 2,000 by typing: the view narrows as the user types,
    // ignoring case, Escape clears it, a row being edited stays in view, and Save
    // afterwards writes exactly the edits.
    void filterFindsAChannelAmongThousands()
    {
        QString values;
        for (int i = 1; i <= 2000; ++i)
            values += QStringLiteral("%1(%2, '%3', 3, 'C%3', 'Channel %3')")
                          .arg(i > 1 ? QStringLiteral(",") : QString())
                          .arg(20000 + i)
                          .arg(i);
        db->Exec(QStringLiteral("INSERT INTO channel (chanid, channum, sourceid, callsign, name) "
                                "VALUES ") +
                 values);
        open(3);
        auto* filter = child<QLineEdit>(QStringLiteral("ChannelFilterEdit"));
        QCOMPARE(filter->placeholderText(), QStringLiteral("Filter channels"));
        QCOMPARE(filter->accessibleName(), QStringLiteral("Filter channels"));
        TDBGrid* grid = ChannelGrid();
        QCOMPARE(grid->Model()->rowCount(), 2003);
        auto shown = [grid] {
            QStringList names;
            for (int r = 0; r < grid->Model()->rowCount(); ++r)
                names << grid->Model()->index(r, 2).data().toString();
            return names;
        };
        filter->setFocus();
        QTest::keyClicks(filter, QStringLiteral("channel 173"));
        QCOMPARE(shown(),
                 (QStringList{"Channel 173", "Channel 1730", "Channel 1731", "Channel 1732",
                              "Channel 1733", "Channel 1734", "Channel 1735", "Channel 1736",
                              "Channel 1737", "Channel 1738", "Channel 1739"}));
        QTest::keyClicks(filter, QStringLiteral("4"));
        QCOMPARE(shown(), QStringList{"Channel 1734"});
        // The number alone finds it too ("C1734" and channel number 1734).
        filter->clear();
        QTest::keyClicks(filter, QStringLiteral("c1734"));
        QCOMPARE(shown(), QStringList{"Channel 1734"});
        QCOMPARE(win->ChannelDataSet->RecordCount(), 2003); // the set is untouched

        // Into the row and edit it out of the filter's reach: it stays while edited.
        QTest::keyClick(filter, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grid);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(win->ChannelDataSet->FieldValue(QStringLiteral("chanid")).toInt(), 21734);
        type(QStringLiteral("CallsignEdit"), QStringLiteral("X"));
        type(QStringLiteral("ChannelNameEdit"), QStringLiteral(" (moved)"));
        QCOMPARE(shown(), QStringList{"Channel 1734 (moved)"});

        // Escape clears the filter (and does not close the window); the order is the set's.
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QVERIFY(win->isVisible());
        QCOMPARE(grid->Model()->rowCount(), 2003);
        QCOMPARE(shown().mid(0, 4), (QStringList{"Das Erste HD", "ZDF HD", "arte", "Channel 1"}));
        QCOMPARE(grid->currentIndex().row(), 3 + 1733);

        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(win->StatusLine->text(), QStringLiteral("Saved: 1 change"));
        QCOMPARE(db->Rows(QStringLiteral("SELECT chanid, callsign, name FROM channel WHERE "
                                         "callsign <> CONCAT('C', channum) AND sourceid = 3 "
                                         "AND chanid > 20000")),
                 QStringList{"21734|C1734X|Channel 1734 (moved)"});
        QCOMPARE(db->Count(QStringLiteral("channel")), 2007);
    }

    // The status line says what a Save wrote, or that a failed one wrote nothing and
    // kept the edits; unsaved rows carry their mark in the grid until then.
    void statusLineTellsWhatSaveDid()
    {
        open(1);
        QVERIFY(win->StatusLine->text().isEmpty());
        type(QStringLiteral("SourceNameEdit"), QStringLiteral("X"));
        ChannelGrid()->setFocus();
        clickNavigator(QStringLiteral("Next"));
        type(QStringLiteral("CallsignEdit"), QStringLiteral("2"));
        clickNavigator(QStringLiteral("Next"));
        QCOMPARE(ChannelGrid()->Model()->headerData(1, Qt::Vertical).toString(),
                 QStringLiteral("\u270E"));
        db->Exec(QStringLiteral("ALTER TABLE channel RENAME TO channel_away"));
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QVERIFY2(win->StatusLine->text().startsWith(QStringLiteral("Nothing was written")),
                 qPrintable(win->StatusLine->text()));
        statusLineShowsWhole();
        QVERIFY(win->isWindowModified());
        QCOMPARE(ChannelGrid()->Model()->headerData(1, Qt::Vertical).toString(),
                 QStringLiteral("\u270E"));
        db->Exec(QStringLiteral("ALTER TABLE channel_away RENAME TO channel"));
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(win->StatusLine->text(), QStringLiteral("Saved: 2 changes"));
        statusLineShowsWhole();
        QVERIFY(!win->isWindowModified());
        QVERIFY(ChannelGrid()->Model()->headerData(1, Qt::Vertical).toString().isEmpty());
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(win->StatusLine->text(), QStringLiteral("Nothing to save."));
        type(QStringLiteral("CallsignEdit"), QStringLiteral("3")); // the news is gone
        QVERIFY(win->StatusLine->text().isEmpty());
        MessageBox::QueueAnswer(MessageBox::Button::No);
    }

    // A polarisation another program stored as "h" is shown as it is, and Save keeps it.
    void storedValueOutsideAListIsShownAndKept()
    {
        db->AddSatelliteSource();
        db->Exec(QStringLiteral("INSERT INTO channel (chanid, channum, sourceid, callsign, name) "
                                "VALUES (1301, '1', 9, 'SAT1', 'Sat 1')"));
        db->Exec(QStringLiteral("INSERT INTO channel_dvb (chanid, freq, pol, symbol_rate, pids) "
                                "VALUES (1301, '11836', 'h', '27500', '101')"));
        open(9);
        auto* pol = child<TDBComboBox>(QStringLiteral("PolarizationCombo"));
        QCOMPARE(pol->currentText(), QStringLiteral("h"));
        QVERIFY(pol->ShowsOutsideValue());
        type(QStringLiteral("SymbolRateEdit"), QStringLiteral("0"));
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QCOMPARE(db->Rows(QStringLiteral("SELECT pol, symbol_rate FROM channel_dvb WHERE "
                                         "chanid = 1301")),
                 QStringList{"h|275000"});
        QCOMPARE(pol->currentText(), QStringLiteral("h"));
    }

    // A rescan imported into the DVB-T source: 21 "Das Erste HD" (PIDs 101,102, 522 MHz)
    // and 22 "ZDF HD" (201,202, 570 MHz) with tuning values, 27 "arte" typed by hand,
    // each with an icon. Each row of the review says what happens and is ticked or not;
    // the user's choices; Import is one step, undone to nothing and redone; after Save
    // the channels keep their numbers, short names, XMLTV IDs and icons.
    void rescanKeepsTheChannels_data()
    {
        QTest::addColumn<QString>("setup");        // SQL run before the window opens
        QTest::addColumn<QStringList>("services"); // "name|PIDs|MHz", "S:" a DVB-S one
        QTest::addColumn<QString>("user");         // "tick vanished", "take names", "pick R C"
        QTest::addColumn<QStringList>("rows");     // "what happens|x" (ticked) or "|-"
        QTest::addColumn<QStringList>("after");    // channum|callsign|name|xmltvid|icon|freq|pids
        const QString ard = QStringLiteral("21|ARD|Das Erste HD|ard.de|ARD.png|522000000|101,102");
        const QString zdf = QStringLiteral("22|ZDF|ZDF HD|zdf.de|ZDF.png|570000000|201,202");
        const QString arte = QStringLiteral("27|ARTE|arte|arte.de|ARTE.png|NULL|NULL");
        const QString handTyped = QStringLiteral("not in the file (no tuning values)|-");
        // A fourth channel, 28 "ZDF2", with tuning values.
        const auto fourth = [](const QString& name, const QString& pids) {
            return QStringLiteral(
                       "INSERT INTO channel (chanid, channum, sourceid, callsign, name, xmltvid, "
                       "icon) VALUES (1111, '28', 3, 'ZDF2', '%1', 'zdf2.de', 'ZDF2.png');"
                       "INSERT INTO channel_dvb (chanid, freq, pids, inversion, bandwidth, "
                       "hp_code_rate, lp_code_rate, modulation, transmission_mode, "
                       "guard_interval, hierarchy) VALUES (1111, '570000000', '%2', 'AUTO', "
                       "'8', '2_3', 'NONE', 'QAM_16', '8', '1_4', 'NONE')")
                .arg(name, pids);
        };
        QTest::newRow("same names, new frequencies")
            << QString() << QStringList{"Das Erste HD|101,102|498", "ZDF HD|201,202|570"}
            << QString()
            << QStringList{"update: frequency 522 MHz -> 498 MHz|x", "unchanged|-", handTyped}
            << QStringList{QString(ard).replace("522", "498"), zdf, arte};
        QTest::newRow("renamed with the same PIDs")
            << QString() << QStringList{"Das Erste|101,102|498", "ZDF HD|201,202|570"} << QString()
            << QStringList{"renamed in the file: Das Erste HD -> Das Erste; frequency 522 MHz "
                           "-> 498 MHz|x",
                           "unchanged|-", handTyped}
            << QStringList{QString(ard).replace("522", "498"), zdf, arte};
        QTest::newRow("renamed, the file's names taken")
            << QString() << QStringList{"Das Erste|101,102|522", "ZDF HD|201,202|570"}
            << QStringLiteral("take names")
            << QStringList{"renamed in the file: Das Erste HD -> Das Erste|-", "unchanged|-",
                           handTyped}
            << QStringList{QString(ard).replace("Erste HD", "Erste"), zdf, arte};
        QTest::newRow("a folded rename")
            << QString() << QStringList{"ZDF-hd|301,302|570"} << QString()
            << QStringList{"renamed in the file: ZDF HD -> ZDF-hd; PIDs 201,202 -> 301,302|x",
                           "not in the file|-", handTyped}
            << QStringList{ard, QString(zdf).replace("201,202", "301,302"), arte};
        QTest::newRow("two channels of one name")
            << fourth("ZDF HD", "211,212") << QStringList{"ZDF HD|211,212|578"} << QString()
            << QStringList{"update: frequency 570 MHz -> 578 MHz|x", "not in the file|-",
                           "not in the file|-", handTyped}
            << QStringList{ard, zdf, arte, "28|ZDF2|ZDF HD|zdf2.de|ZDF2.png|578000000|211,212"};
        QTest::newRow("a service whose PIDs two channels share, picked")
            << fourth("ZDF Neo", "201,202") << QStringList{"Neo|201,202|578"}
            << QStringLiteral("pick 0 3")
            << QStringList{"choose: 2 channels fit (F2 or Enter)|-", "not in the file|-",
                           "not in the file|-", handTyped, "not in the file|-"}
            << QStringList{ard, zdf, arte, "28|ZDF2|ZDF Neo|zdf2.de|ZDF2.png|578000000|201,202"};
        QTest::newRow("a new service, a channel typed by hand")
            << QString()
            << QStringList{"Das Erste HD|101,102|522", "ZDF HD|201,202|570", "arte|401,402|522",
                           "KiKA|501,502|522"}
            << QString()
            << QStringList{"unchanged|-", "unchanged|-",
                           "update: tuning values set from the file|x", "add as channel 28|x"}
            << QStringList{ard, zdf, "27|ARTE|arte|arte.de|ARTE.png|522000000|401,402",
                           "28|KiKA|KiKA|NULL|NULL|522000000|501,502"};
        QTest::newRow("ended services, ticked")
            << QString() << QStringList{"Das Erste HD|101,102|498"}
            << QStringLiteral("tick vanished")
            << QStringList{"update: frequency 522 MHz -> 498 MHz|x", "not in the file|-", handTyped}
            << QStringList{QString(ard).replace("522", "498")};
        QTest::newRow("a partial file, nothing else ticked")
            << QString() << QStringList{"Das Erste HD|101,102|498"} << QString()
            << QStringList{"update: frequency 522 MHz -> 498 MHz|x", "not in the file|-", handTyped}
            << QStringList{QString(ard).replace("522", "498"), zdf, arte};
        QTest::newRow("a file of another delivery system")
            << QString() << QStringList{"S:Astra|101,102|11836"} << QString() << QStringList{}
            << QStringList{ard, zdf, arte};
    }

    void rescanKeepsTheChannels()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, services);
        QFETCH(QString, user);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, after);
        db->Exec(QStringLiteral("UPDATE channel SET icon = CONCAT(callsign, '.png') "
                                "WHERE sourceid = 3"));
        for (const QString& statement : setup.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            db->Exec(statement);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rescan.conf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (QString service : services) {
            const bool satellite = service.startsWith(QStringLiteral("S:"));
            const QStringList v = service.remove(QStringLiteral("S:")).split(QLatin1Char('|'));
            const QStringList pids = v[1].split(QLatin1Char(','));
            f.write(QStringLiteral("[%1]\n\tVIDEO_PID = %2\n\tAUDIO_PID = %3\n"
                                   "\tFREQUENCY = %4\n")
                        .arg(v[0], pids[0], pids[1], v[2] + "000000")
                        .toUtf8());
            f.write(satellite ? "\tDELIVERY_SYSTEM = DVBS\n\tPOLARIZATION = HORIZONTAL\n"
                              : "\tDELIVERY_SYSTEM = DVBT\n\tINVERSION = AUTO\n"
                                "\tBANDWIDTH_HZ = 8000000\n\tCODE_RATE_HP = 2/3\n"
                                "\tCODE_RATE_LP = NONE\n\tMODULATION = QAM/16\n"
                                "\tTRANSMISSION_MODE = 8K\n\tGUARD_INTERVAL = 1/4\n"
                                "\tHIERARCHY = NONE\n");
        }
        f.close();
        const QString channels = QStringLiteral(
            "SELECT c.channum, c.callsign, c.name, c.xmltvid, c.icon, d.freq, d.pids FROM "
            "channel c LEFT JOIN channel_dvb d ON d.chanid = c.chanid WHERE c.sourceid = 3 "
            "ORDER BY c.chanid");
        const QStringList before = db->Rows(channels);
        open(3);
        TChannelWin::ChooseFile = [path](QWidget*) {
            return path;
        };
        const auto chosen = qScopeGuard([] { TChannelWin::ChooseFile = nullptr; });
        if (rows.isEmpty()) {
            MessageBox::QueueAnswer(MessageBox::Button::Ok);
            win->ImportAction->trigger();
            QCOMPARE(MessageBox::ShownBoxes().size(), 1);
            QVERIFY(MessageBox::ShownBoxes()[0].text.contains(QStringLiteral("no DVB-T service")));
            QVERIFY(!win->isWindowModified());
            return;
        }
        QStringList shown;
        WhenModal(this, [&](QWidget* modal) {
            auto* review = qobject_cast<TImportWin*>(modal);
            QVERIFY(review);
            for (int r = 0; r < review->Table->model()->rowCount(); ++r)
                shown << review->WhatHappens(r) + (review->Ticked(r) ? "|x" : "|-");
            if (user == QLatin1String("tick vanished"))
                QTest::mouseClick(review->TickVanishedButton, Qt::LeftButton);
            else if (user == QLatin1String("take names"))
                review->TakeNamesCheck->click();
            else if (user.startsWith(QLatin1String("pick ")))
                review->Pick(user.section(' ', 1, 1).toInt(), user.section(' ', 2, 2).toInt());
            QTest::mouseClick(review->ImportButton, Qt::LeftButton);
        });
        win->ImportAction->trigger();
        QCOMPARE(shown, rows);
        activate();
        QVERIFY(win->isWindowModified());
        QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!win->isWindowModified());
        QCOMPARE(win->ChannelDataSet->ChangeCount() + win->DVBDataSet->ChangeCount(), 0);
        QTest::keyClick(win.get(), Qt::Key_Y, Qt::ControlModifier);
        win->ApplyAction->trigger();
        QVERIFY(!win->isWindowModified());
        QCOMPARE(db->Rows(channels), after);
    }

    // A file that is no channel file: its message, naming the file, and no change.
    void importOfABadFileChangesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("milk\nbread\n");
        f.close();
        open(3);
        TChannelWin::ChooseFile = [path](QWidget*) {
            return path;
        };
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QTest::mouseClick(win->ImportButton, Qt::LeftButton);
        TChannelWin::ChooseFile = nullptr;
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QVERIFY2(MessageBox::ShownBoxes()[0].text.contains(path),
                 qPrintable(MessageBox::ShownBoxes()[0].text));
        QVERIFY(!win->isDirty());
        QCOMPARE(win->ChannelDataSet->RecordCount(), 3);
        // An analogue source offers no import.
        open(1);
        QVERIFY(!win->ImportButton->isEnabled());
    }

    // Listings...: the source's channels matched to a grabber's list by name, reviewed,
    // and the ticked ones filled in as unsaved changes; Save writes them, No none. A
    // bad file is refused naming it, and changes nothing.
    // Icons... on a picon folder: the review's proposals, a kept icon ticked, Apply as one
    // step that Ctrl+Z takes back; the list and the preview show the pictures.
    void iconsFromAFolder()
    {
        QTemporaryDir dir;
        QImage picture(100, 60, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(dir.filePath(QStringLiteral("Das Erste HD.png"))));
        QVERIFY(picture.save(dir.filePath(QStringLiteral("arte.png"))));
        QFile text(dir.filePath(QStringLiteral("zdfhd.png")));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("no picture") > 0);
        text.close();
        db->Exec(QStringLiteral("UPDATE channel SET icon = '/my/arte.png' WHERE chanid = 1110"));
        const QStringList before =
            db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid"));
        open(3);
        TChannelWin::ChooseFolder = [&dir](QWidget*) {
            return dir.path();
        };
        const auto reset = qScopeGuard([] { TChannelWin::ChooseFolder = nullptr; });
        WhenModal(this, [](QWidget* modal) {
            auto* review = qobject_cast<TIconsWin*>(modal);
            QVERIFY(review);
            QCOMPARE(review->windowTitle(), QStringLiteral("Match icons"));
            QCOMPARE(review->CountsLabel->text(),
                     QStringLiteral("1 found, 1 with an icon already, 0 without a file, 1 that "
                                    "cannot be an icon. Apply fills in 1 channel."));
            QCOMPARE(review->WhatHappens(0), QStringLiteral("found: fills in the icon"));
            QCOMPARE(review->WhatHappens(1), QStringLiteral("cannot be its icon: Not an image"));
            QCOMPARE(review->WhatHappens(2), QStringLiteral("keeps its icon /my/arte.png"));
            review->SetTicked(1, true);
            QVERIFY(!review->Ticked(1));
            review->Table->setCurrentIndex(review->Table->model()->index(2, 0));
            QTest::keyClick(review->Table, Qt::Key_Space);
            QCOMPARE(review->WhatHappens(2), QStringLiteral("replaces its icon /my/arte.png"));
            QTest::keyClick(review, Qt::Key_Return);
        });
        QTest::keyClick(win.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(win->isWindowModified());
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")), before);
        const QString erste = dir.filePath(QStringLiteral("Das Erste HD.png"));
        QCOMPARE(win->IconEdit->text(), erste);
        QTRY_COMPARE(win->IconPreview->toolTip(), erste);
        const QModelIndex shortName = win->ChannelGrid->Model()->index(2, 1);
        QTRY_COMPARE(shortName.data(Qt::ToolTipRole).toString(), dir.filePath("arte.png"));
        QCOMPARE(win->UndoButton->toolTip(),
                 QStringLiteral("Undo: Fill in the icons of 2 channels (Ctrl+Z)"));

        QTest::mouseClick(win->UndoButton, Qt::LeftButton);
        QCOMPARE(win->IconEdit->text(), QString());
        QCOMPARE(win->IconPreview->toolTip(), QStringLiteral("No icon"));
        QCOMPARE(win->ChannelGrid->Model()->index(2, 1).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("No such file: /my/arte.png"));
        QVERIFY(!win->isWindowModified());

        // Several channels selected: only they are paired.
        win->ChannelGrid->setFocus();
        QTest::keyClick(win->ChannelGrid, Qt::Key_Down, Qt::ShiftModifier);
        int rows = -1;
        WhenModal(this, [&rows](QWidget* modal) {
            auto* review = qobject_cast<TIconsWin*>(modal);
            QVERIFY(review);
            rows = review->Table->model()->rowCount();
            QTest::keyClick(review, Qt::Key_Escape);
        });
        QTest::mouseClick(win->IconsButton, Qt::LeftButton);
        QCOMPARE(rows, 2);
        QVERIFY(!win->isWindowModified());

        // Typed into, the picture follows once typing pauses, not at every letter; a
        // move to another channel shows that one's at once.
        win->IconEdit->setFocus();
        QTest::keyClicks(win->IconEdit, dir.filePath(QStringLiteral("arte.png")));
        QCOMPARE(win->IconPreview->Value(), QString());
        QTRY_COMPARE(win->IconPreview->toolTip(), dir.filePath(QStringLiteral("arte.png")));
        win->ChannelGrid->setFocus();
        QTest::keyClick(win->ChannelGrid, Qt::Key_Down);
        QCOMPARE(win->IconPreview->Value(), win->IconEdit->text());
        MessageBox::QueueAnswer(MessageBox::Button::No);
        win->close();
    }

    void listingsFillInIdsAndIcons_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("saved") << true;
        QTest::newRow("closed with No") << false;
    }

    void listingsFillInIdsAndIcons()
    {
        QFETCH(bool, save);
        const QString longId = QStringLiteral("x").repeated(70);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("channels"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral(
                    "<tv><channel id=\"ard.de\"><display-name>Das Erste</display-name></channel>"
                    "<channel id=\"ZDF.de\"><display-name>ZDF</display-name></channel>"
                    "<channel id=\"kika.de\"><display-name lang=\"de\">KiKA</display-name>"
                    "<icon src=\"/logos/kika.png\"/></channel>"
                    "<channel id=\"3sat.de\"><display-name>3sat</display-name>"
                    "<icon src=\"/logos/3sat.png\"/></channel>"
                    "<channel id=\"phoenix.de\"><display-name>Phoenix</display-name>"
                    "<icon src=\"/logos/phoenix.png\"/></channel>"
                    "<channel id=\"one.de\"><display-name>One</display-name></channel>"
                    "<channel id=\"%1\"><display-name>Long id</display-name></channel></tv>")
                    .arg(longId)
                    .toUtf8());
        f.close();
        db->Exec(QStringLiteral(
            "INSERT INTO channel (chanid, channum, sourceid, callsign, name, xmltvid, icon) "
            "VALUES (1150, '30', 3, 'KIKA', 'KiKA', NULL, NULL), "
            "(1151, '31', 3, '3SAT', '3sat', '', 'none'), "
            "(1152, '32', 3, 'PHX', 'phoenix', NULL, '/my/phoenix.png'), "
            "(1153, '33', 3, 'ONE HD', 'ONE HD', NULL, NULL), "
            "(1154, '34', 3, 'XL', 'Long id', NULL, NULL)"));
        const QStringList before =
            db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid"));
        open(3);
        win->ChannelGrid->setFocus();
        QTest::keyClick(win->ChannelGrid, Qt::Key_Down); // the user's row stays current
        TChannelWin::ChooseFile = [path](QWidget*) {
            return path;
        };
        WhenModal(this, [](QWidget* modal) {
            auto* review = qobject_cast<TListingsWin*>(modal);
            QVERIFY(review);
            QCOMPARE(review->windowTitle(), QStringLiteral("Match listings"));
            // ARD keeps its id; ZDF HD and arte have ids the list lacks; ONE HD is only
            // like "One"; the long id does not fit its column.
            QCOMPARE(review->CountsLabel->text(),
                     QStringLiteral("4 matched, 1 suggested, 0 to choose, 0 without a match, "
                                    "1 kept, 2 with another id. Apply fills in 3 channels."));
            QCOMPARE(review->WhatHappens(1), QStringLiteral("has another id (zdf.de)"));
            QCOMPARE(review->WhatHappens(3),
                     QStringLiteral("matched: fills in the id and the icon"));
            QCOMPARE(review->WhatHappens(4),
                     QStringLiteral("matched: fills in the id and the icon"));
            QCOMPARE(review->WhatHappens(5), QStringLiteral("matched: fills in the id"));
            QCOMPARE(review->WhatHappens(6), QStringLiteral("suggested"));
            QVERIFY(review->WhatHappens(7).contains(QStringLiteral("cannot be filled in")));
            review->SetTicked(7, true);
            QVERIFY(!review->Ticked(7));
            review->SetTicked(6, true); // the suggestion taken
            review->SetTicked(4, false);
            QTest::mouseClick(review->ApplyButton, Qt::LeftButton);
        });
        QTest::keyClick(win.get(), Qt::Key_L, Qt::ControlModifier);
        TChannelWin::ChooseFile = nullptr;
        QVERIFY(win->isWindowModified());
        QCOMPARE(win->ChannelDataSet->RecNo(), 1);
        QCOMPARE(win->ChannelDataSet->VisibleChange(3), TSQLClientDataSet::TRowChange::Modified);
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")), before);
        if (!save) {
            MessageBox::QueueAnswer(MessageBox::Button::No);
            win->close();
            QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")), before);
            win.reset();
            return;
        }
        QTest::mouseClick(win->ApplyButton, Qt::LeftButton);
        QCOMPARE(win->StatusLine->text(), QStringLiteral("Saved: 3 changes"));
        QCOMPARE(
            db->Rows(QStringLiteral("SELECT chanid, xmltvid, icon FROM channel WHERE sourceid "
                                    "= 3 ORDER BY chanid")),
            (QStringList{"1101|ard.de|NULL", "1102|zdf.de|NULL", "1110|arte.de|NULL",
                         "1150|kika.de|/logos/kika.png", "1151||none",
                         "1152|phoenix.de|/my/phoenix.png", "1153|one.de|NULL", "1154|NULL|NULL"}));

        // A file that is no listings file: refused naming it, nothing changes.
        const QString notes = dir.filePath(QStringLiteral("notes.xml"));
        QFile n(notes);
        QVERIFY(n.open(QIODevice::WriteOnly));
        n.write("<shopping><item>milk</item></shopping>");
        n.close();
        TChannelWin::ChooseFile = [notes](QWidget*) {
            return notes;
        };
        MessageBox::ClearShown();
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QTest::mouseClick(win->ListingsButton, Qt::LeftButton);
        TChannelWin::ChooseFile = nullptr;
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QVERIFY(MessageBox::ShownBoxes()[0].text.contains(notes));
        QVERIFY(!win->isDirty());
    }

    // --- undo and redo where the randomized test does not reach

    // An import of 2,000 services is one step: undone, the editor holds what it read
    // and nothing to save; redone, all of it again, and Save writes it.
    void undoAcrossAnImportOf2000Channels()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("scan.conf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 2000; ++i)
            f.write(
                QStringLiteral("[Service %1]\n\tVIDEO_PID = %2\n\tAUDIO_PID = %3\n"
                               "\tFREQUENCY = %4\n\tSERVICE_ID = %1\n\tDELIVERY_SYSTEM = DVBT\n")
                    .arg(i)
                    .arg(100 + i)
                    .arg(3000 + i)
                    .arg(474000000 + (i % 40) * 8000000)
                    .toUtf8());
        f.close();
        open(3);
        TChannelWin::ChooseFile = [path](QWidget*) {
            return path;
        };
        WhenModal(this, [](QWidget* modal) {
            auto* preview = qobject_cast<TImportWin*>(modal);
            QVERIFY(preview);
            preview->ImportButton->click();
        });
        QTest::keyClick(win.get(), Qt::Key_I, Qt::ControlModifier);
        TChannelWin::ChooseFile = nullptr;
        activate(); // as a window manager does when the dialog has gone
        QCOMPARE(win->ChannelDataSet->RecordCount(), 2003);
        QCOMPARE(win->UndoButton->toolTip(), QStringLiteral("Undo: Import 2000 channels (Ctrl+Z)"));

        QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(win->ChannelDataSet->RecordCount(), 3);
        QCOMPARE(win->ChannelDataSet->ChangeCount() + win->DVBDataSet->ChangeCount(), 0);
        QVERIFY(!win->isWindowModified());
        QCOMPARE(win->RedoButton->toolTip(),
                 QStringLiteral("Redo: Import 2000 channels (Ctrl+Shift+Z)"));

        QTest::keyClick(win.get(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(win->ChannelDataSet->RecordCount(), 2003);
        QCOMPARE(win->ChannelDataSet->ChangeCount(), 2000);
        QCOMPARE(win->DVBDataSet->ChangeCount(), 2000);
        QVERIFY(win->isWindowModified());
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("sourceid = 3")), 2003);
        QCOMPARE(db->Count(QStringLiteral("channel_dvb")), 2002);
        // Save starts a new history.
        QVERIFY(!win->UndoButton->isEnabled());
        QCOMPARE(win->UndoButton->toolTip(), QStringLiteral("Nothing to undo"));
    }

    // A source fed by an analogue card (the lower id) and a DVB-T card is a DVB-T source
    // for the editor, the export and the check alike, and the check says it is mixed.
    void aSourceOfTwoCardKindsIsOneKindEverywhere()
    {
        db->Exec(QStringLiteral("UPDATE cardinput SET sourceid=3 WHERE cardinputid=2")); // V4L
        open(3);
        QCOMPARE(win->CardKind(), TCardKind::DVBT);
        QVERIFY(win->DVBTPane->isVisibleTo(win.get()));
        QCOMPARE(ReadStoredSource(*module->Conn, QStringLiteral("3")).kind, TCardKind::DVBT);
        const TLineup lineup = ReadLineup(*module->Conn);
        QCOMPARE(TLineupIndex(lineup).KindOf(3), TCardKind::DVBT);
        QStringList mixed;
        for (const TProblem& p : CheckLineup(lineup))
            if (p.rule == TRule::MixedCardKinds)
                mixed << p.what;
        QCOMPARE(mixed, QStringList{"Received by cards of different kinds (analogue and DVB-T)"});
    }

    // A click on a selected row while a new row nobody typed into stands above it: the new
    // row goes, the rows move up under the pointer, and the row clicked is the one selected
    // (the release used to select what was under the pointer then: no row).
    void clickOnASelectionAfterANewRowWent()
    {
        open(3);
        TDBGrid* grid = ChannelGrid();
        clickNavigator(QStringLiteral("Insert"));
        const int rows = grid->Model()->rowCount();
        QVERIFY(win->ChannelDataSet->RecNo() < rows - 1); // the new row above the last
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        const QModelIndex last = grid->Model()->index(rows - 1, 1);
        const QVariant clicked = grid->Model()->index(rows - 1, 0).data();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(last).center());
        QCOMPARE(grid->Model()->rowCount(), rows - 1);
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid->selectionModel()->selectedRows().first().data(), clicked);
        QCOMPARE(grid->currentIndex().row(), grid->selectionModel()->selectedRows().first().row());
    }

    // Renumber... numbers the selected channels in the order the list shows them, sorted
    // and filtered; it says what it will do and which other channel has one of the
    // numbers already; the whole of it is one step.
    void renumberFollowsTheListAsShown()
    {
        db->Exec(QStringLiteral("INSERT INTO channel (chanid, channum, sourceid, callsign, name) "
                                "VALUES (1120, '7', 3, 'C3', 'Cine 3'), (1121, '5', 3, 'C1', "
                                "'Cine 1'), (1122, '9', 3, 'C2', 'Cine 2'), (1123, '11', 3, 'X', "
                                "'Xtra')"));
        open(3);
        TDBGrid* grid = ChannelGrid();
        grid->horizontalHeader()->setSortIndicator(2, Qt::DescendingOrder); // by long name
        auto* filter = child<QLineEdit>(QStringLiteral("ChannelFilterEdit"));
        filter->setFocus();
        QTest::keyClicks(filter, QStringLiteral("cine"));
        QCOMPARE(grid->Model()->rowCount(), 3);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        WhenModal(this, [](QWidget* modal) {
            auto* dialog = qobject_cast<TRenumberWin*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Renumber channels"));
            QCOMPARE(dialog->FirstEdit->value(), 5); // the lowest of theirs
            QCOMPARE(dialog->SummaryLabel->text(), QStringLiteral("3 channels: 5 to 7"));
            dialog->FirstEdit->setValue(10);
            QCOMPARE(dialog->SummaryLabel->text(), QStringLiteral("3 channels: 10 to 12"));
            QCOMPARE(dialog->NoteLabel->text(),
                     QStringLiteral("Already numbered so (allowed, and kept): Xtra (11)."));
            dialog->FirstEdit->setValue(99998);
            QVERIFY(dialog->NoteLabel->text().contains(QStringLiteral("\u201CCine 1\u201D would be "
                                                                      "numbered 100000")));
            QVERIFY(!dialog->RenumberButton->isEnabled());
            dialog->FirstEdit->setValue(10);
            dialog->RenumberButton->click();
        });
        QTest::keyClick(win.get(), Qt::Key_R, Qt::ControlModifier);
        activate();
        auto numbers = [this] {
            return db->Rows(QStringLiteral("SELECT name, channum FROM channel WHERE chanid "
                                           "BETWEEN 1120 AND 1123 ORDER BY chanid"));
        };
        QCOMPARE(win->UndoButton->toolTip(), QStringLiteral("Undo: Renumber 3 channels (Ctrl+Z)"));
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        // Shown from "Cine 3" down to "Cine 1": numbered in that order.
        QCOMPARE(numbers(), (QStringList{"Cine 3|10", "Cine 1|12", "Cine 2|11", "Xtra|11"}));
    }

    // In a field being typed into, Ctrl+Z undoes the typing there first, as Qt's fields
    // do (and the row follows); with nothing left to undo there, the window's last step.
    void ctrlZInAFieldUndoesItsTypingFirst()
    {
        open(3);
        type(QStringLiteral("ChannelNameEdit"), QStringLiteral(" neu"));
        auto* callsign = child<QLineEdit>(QStringLiteral("CallsignEdit"));
        callsign->setFocus(); // the long name's edit is a step of its own
        QTest::keyClick(callsign, Qt::Key_End);
        QTest::keyClicks(callsign, QStringLiteral("XY"));
        QCOMPARE(win->ChannelDataSet->FieldValue(QStringLiteral("callsign")).toString(),
                 QStringLiteral("ARDXY"));
        QTest::keyClick(callsign, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(callsign->text(), QStringLiteral("ARD"));
        QCOMPARE(win->ChannelDataSet->FieldValue(QStringLiteral("callsign")).toString(),
                 QStringLiteral("ARD"));
        QCOMPARE(win->ChannelDataSet->FieldValue(QStringLiteral("name")).toString(),
                 QStringLiteral("Das Erste HD neu"));
        QTest::keyClick(callsign, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(child<QLineEdit>(QStringLiteral("ChannelNameEdit"))->text(),
                 QStringLiteral("Das Erste HD"));
        QCOMPARE(callsign->text(), QStringLiteral("ARD"));
        QVERIFY(!win->isWindowModified());
        // Ctrl+Shift+Z in the field, with nothing for it to redo there: the window's.
        QTest::keyClick(callsign, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(child<QLineEdit>(QStringLiteral("ChannelNameEdit"))->text(),
                 QStringLiteral("Das Erste HD neu"));
        QVERIFY(win->isWindowModified());
    }

    void errorWhileFillingStopsBeforeTheShow()
    {
        TMainWin main;
        main.show();
        db->Exec(QStringLiteral("DROP TABLE channel_dvb"));
        db->Exec(QStringLiteral("DROP TABLE channel"));
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QTest::mouseClick(main.SourceEditButton, Qt::LeftButton);
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QCOMPARE(MessageBox::ShownBoxes()[0].kind, MessageBox::Kind::Exception);
        QVERIFY(MessageBox::ShownBoxes()[0].text.contains(QStringLiteral("channel")));
        QVERIFY(!main.findChild<TChannelWin*>());
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestChannelWin test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_channelwin.moc"
