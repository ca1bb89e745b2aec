#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "gridview.h"
#include "messagebox.h"
#include "testdatabase.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCollator>
#include <QHeaderView>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

// The data-bound controls, driven as a user would, against the real database.
class TestDBControls : public QObject, ServerFixture
{
    Q_OBJECT

    std::unique_ptr<QWidget> window;

    TSQLClientDataSet* open(const QString& table, const QString& filter = {})
    {
        return OpenDataSet(*module->Conn, table, filter, window.get());
    }

    struct ChannelGrid
    {
        TSQLClientDataSet* set;
        TDataSource* source;
        TDBGrid* grid;
    };

    // The channels of source 1 by short and long name, in a grid shown in the window.
    ChannelGrid channelGrid()
    {
        auto* set = open(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        auto* source = new TDataSource(set, window.get());
        auto* grid = shown(
            new TDBGrid(source, {{QStringLiteral("callsign"), QStringLiteral("Short"), 60},
                                 {QStringLiteral("name"), QStringLiteral("Long name"), 110}}));
        return {set, source, grid};
    }

    template <typename W> W* shown(W* w)
    {
        w->setParent(window.get());
        w->show();
        return w;
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_dbcontrols"), true); }

    void init()
    {
        FreshTables(true);
        window = std::make_unique<QWidget>();
        window->resize(600, 400);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    void editFieldTypesIntoTheRowWithinItsLimit()
    {
        auto* set = open(QStringLiteral("capturecard"));
        TDataSource source(set);
        auto* edit = shown(new TDBEdit(&source, QStringLiteral("hostname"), 7));
        QCOMPARE(edit->text(), QStringLiteral("tvbox"));
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("12345678"));
        QCOMPARE(edit->text(), QStringLiteral("1234567")); // no eighth character
        QCOMPARE(set->State(), TDataSetState::Edit);
        QCOMPARE(set->FieldValue(QStringLiteral("hostname")), QVariant(QStringLiteral("1234567")));
        set->Next(); // moving posts
        QCOMPARE(set->ChangeCount(), 1);
        QCOMPARE(edit->text(), QStringLiteral("tvbox")); // the second card's host
    }

    void withoutAutoEditTypingChangesNothing()
    {
        auto* set = open(QStringLiteral("capturecard"));
        TDataSource source(set);
        source.AutoEdit = false;
        auto* edit = shown(new TDBEdit(&source, QStringLiteral("hostname"), 7));
        QTest::keyClicks(edit, QStringLiteral("x"));
        QCOMPARE(set->State(), TDataSetState::Browse);
        QCOMPARE(edit->text(), QStringLiteral("tvbox"));
    }

    void typingIntoAnEmptySetStartsARow()
    {
        auto* set = open(QStringLiteral("cardinput"), QStringLiteral("cardid=99"));
        TDataSource source(set);
        auto* edit = shown(new TDBEdit(&source, QStringLiteral("tunechan"), 7));
        QTest::keyClicks(edit, QStringLiteral("5"));
        QCOMPARE(set->State(), TDataSetState::Insert);
        QCOMPARE(set->RecordCount(), 1);
        QCOMPARE(set->FieldValue(QStringLiteral("tunechan")), QVariant(QStringLiteral("5")));
    }

    void choiceOnlyListRefusesTypedTextAndStoresItsPick()
    {
        auto* set = open(QStringLiteral("capturecard"));
        TDataSource source(set);
        auto* combo = shown(new TDBComboBox(
            &source, QStringLiteral("cardtype"),
            {QStringLiteral("V4L"), QStringLiteral("MPEG"), QStringLiteral("DVB")}, true));
        QCOMPARE(combo->currentText(), QStringLiteral("V4L"));
        QVERIFY(!combo->isEditable());
        QTest::keyClicks(combo, QStringLiteral("xyz"));
        QCOMPARE(set->FieldValue(QStringLiteral("cardtype")), QVariant(QStringLiteral("V4L")));
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(set->FieldValue(QStringLiteral("cardtype")), QVariant(QStringLiteral("MPEG")));
        // A stored value not in the list shows as it is, marked, and stays unless the
        // user picks an entry; Down from it goes to the list's first entry.
        set->SetFieldValue(QStringLiteral("cardtype"), QStringLiteral("dvb"));
        set->Post();
        QCOMPARE(combo->currentText(), QStringLiteral("dvb"));
        QVERIFY(combo->ShowsOutsideValue() && combo->font().italic());
        QVERIFY(combo->toolTip().contains(QStringLiteral("not in the list")));
        QCOMPARE(combo->count(), 4);
        emit combo->activated(0); // choosing it again keeps it as it is
        QCOMPARE(set->State(), TDataSetState::Browse);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(set->FieldValue(QStringLiteral("cardtype")), QVariant(QStringLiteral("V4L")));
        QVERIFY(!combo->ShowsOutsideValue() && !combo->font().italic());
        QCOMPARE(combo->count(), 3);
        set->Cancel(); // the stored value again
        QCOMPARE(combo->currentText(), QStringLiteral("dvb"));
    }

    void editableListStoresTypedText()
    {
        auto* set = open(QStringLiteral("capturecard"));
        TDataSource source(set);
        auto* combo = shown(
            new TDBComboBox(&source, QStringLiteral("audiodevice"),
                            {QStringLiteral("/dev/dsp"), QStringLiteral("/dev/dsp0")}, false));
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("/dev/snd/pcm"));
        QCOMPARE(set->FieldValue(QStringLiteral("audiodevice")),
                 QVariant(QStringLiteral("/dev/snd/pcm")));
    }

    void twoColumnLookupShowsNameAndIdAndStoresTheKey()
    {
        auto* inputs = open(QStringLiteral("cardinput"), QStringLiteral("cardid=1"));
        auto* sources = open(QStringLiteral("videosource"));
        int scrolls = 0;
        sources->AfterScroll = [&] {
            ++scrolls;
        };
        TDataSource inputSource(inputs);
        TDataSource listSource(sources);
        auto* lookup = shown(new TDBLookupComboBox(&inputSource, QStringLiteral("sourceid"),
                                                   &listSource, QStringLiteral("sourceid"),
                                                   QStringLiteral("name;sourceid")));
        QCOMPARE(lookup->count(), 3);
        QCOMPARE(lookup->itemText(1), QStringLiteral("DVB-T   3"));
        QCOMPARE(lookup->currentText(), QStringLiteral("Antenna   1"));
        emit lookup->activated(2);
        QCOMPARE(inputs->FieldValue(QStringLiteral("sourceid")).toInt(), 7);
        QCOMPARE(sources->RecNo(), 2); // the list source moved with the pick
        QCOMPARE(scrolls, 1);
        inputs->Next(); // an input whose source is 0 shows no choice
        QCOMPARE(lookup->currentIndex(), -1);
    }

    void checkBoxWritesItsValues_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("off");
        QTest::newRow("Y/N") << "cardinput"
                             << "shareable"
                             << "Y"
                             << "N";
        QTest::newRow("1/0") << "capturecard"
                             << "use_ts"
                             << "1"
                             << "0";
    }

    void checkBoxWritesItsValues()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, on);
        QFETCH(QString, off);
        auto* set = open(table);
        TDataSource source(set);
        auto* box = shown(new TDBCheckBox(&source, field, on, off, QStringLiteral("box")));
        set->Last();
        const bool was = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(set->FieldValue(field).toString(), was ? off : on);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(set->FieldValue(field).toString(), was ? on : off);
        set->Post();
        set->ApplyUpdates(0);
    }

    // The grid draws plain cells from layouts it keeps; they must look exactly as the
    // style draws them: text that fits, text too long for its column (shortened), the
    // selected row, empty cells.
    void gridCellsLookAsTheStyleDrawsThem()
    {
        auto [set, source, grid] = channelGrid();
        set->Next();
        PostChange(*set, {{QStringLiteral("name"), QStringLiteral("A long name ").repeated(8)},
                          {QStringLiteral("callsign"), QVariant()}});
        set->Next(); // a plain row selected
        grid->resize(320, 160);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QVERIFY(grid->selectionModel()->isRowSelected(2, {}));
        const QImage ours = grid->viewport()->grab().toImage();
        QAbstractItemDelegate* kept = grid->itemDelegate();
        QStyledItemDelegate plain;
        grid->setItemDelegate(&plain);
        const QImage styles = grid->viewport()->grab().toImage();
        grid->setItemDelegate(kept);
        QCOMPARE(ours, styles);
    }

    void gridAndDataSetAgreeOnTheCurrentRow()
    {
        auto [set, source, grid] = channelGrid();
        QAbstractItemModelTester tester(grid->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(grid->Model()->rowCount(), 3);
        QCOMPARE(grid->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Long name"));
        // The first column fits its contents (never narrower than designed), the last
        // takes the rest.
        QVERIFY(grid->columnWidth(0) >= 60);
        QCOMPARE(grid->columnWidth(0) + grid->columnWidth(1), grid->viewport()->width());
        QCOMPARE(grid->currentIndex().row(), 0);
        // The user moves in the grid: the set follows.
        grid->setCurrentIndex(grid->Model()->index(2, 0));
        QCOMPARE(set->RecNo(), 2);
        // The set moves: the grid follows.
        set->First();
        QCOMPARE(grid->currentIndex().row(), 0);
        // Rows come and go with the filter and with inserts.
        set->SetFilter(QStringLiteral("sourceid=3"));
        QCOMPARE(grid->Model()->rowCount(), 3);
        set->Append();
        QCOMPARE(grid->Model()->rowCount(), 4);
        QCOMPARE(grid->currentIndex().row(), 3);
        QCOMPARE(grid->Model()->headerData(3, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("*"));
        set->Cancel();
        QCOMPARE(grid->Model()->rowCount(), 3);
    }

    // Filtering and sorting change what the grid shows, never the set: its rows, its
    // current row and its changes stay; a row being edited stays in view; unsaved rows
    // carry their mark.
    void gridFiltersAndSortsTheViewOnly()
    {
        auto [set, source, grid] = channelGrid();
        auto shownNames = [grid] {
            QStringList names;
            for (int r = 0; r < grid->Model()->rowCount(); ++r)
                names << grid->Model()->index(r, 1).data().toString();
            return names;
        };
        // Das Erste (1) / ZDF (2) / WDR Fernsehen (3); the filter looks at the numbers too.
        grid->SetRowFilter(QStringLiteral("e"), {"callsign", "name", "channum"});
        QCOMPARE(shownNames(), (QStringList{"Das Erste", "WDR Fernsehen"}));
        grid->SetRowFilter(QStringLiteral("ZDF"), {"callsign", "name", "channum"});
        QCOMPARE(shownNames(), QStringList{"ZDF"});
        QCOMPARE(grid->currentIndex().row(), -1); // the current row is not in view...
        QCOMPARE(set->RecNo(), 0);                // ...and the set did not move
        grid->SetRowFilter(QStringLiteral("3"), {"callsign", "name", "channum"});
        QCOMPARE(shownNames(), QStringList{"WDR Fernsehen"});
        QCOMPARE(set->RecordCount(), 3);

        // The row being edited stays while the user types it out of the filter's reach.
        grid->setCurrentIndex(grid->Model()->index(0, 0));
        QCOMPARE(set->RecNo(), 2);
        set->Edit();
        set->SetFieldValue(QStringLiteral("channum"), QStringLiteral("9"));
        set->SetFieldValue(QStringLiteral("name"), QStringLiteral("WDR"));
        QCOMPARE(shownNames(), QStringList{"WDR"});
        set->Post();
        QCOMPARE(shownNames(), QStringList()); // settled: the filter decides again
        grid->SetRowFilter(QString(), {});
        QCOMPARE(shownNames(), (QStringList{"Das Erste", "ZDF", "WDR"}));
        QCOMPARE(grid->currentIndex().row(), 2);
        QCOMPARE(grid->Model()->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString(),
                 QStringLiteral("Current row, not saved yet"));

        // A click on a title sorts the view; the set keeps its order and current row.
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(grid->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(shownNames(), (QStringList{"Das Erste", "WDR", "ZDF"}));
        QCOMPARE(set->RecNo(), 2);
        QCOMPARE(grid->currentIndex().row(), 1);
        grid->setCurrentIndex(grid->Model()->index(2, 0)); // ZDF, second in the set
        QCOMPARE(set->RecNo(), 1);
        QCOMPARE(set->VisibleValue(0, set->FieldIndex(QStringLiteral("name"))).toString(),
                 QStringLiteral("Das Erste"));
        QCOMPARE(grid->Model()->headerData(1, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("\u270E")); // WDR: changed, not saved
        PostNewRow(*set, {{QStringLiteral("chanid"), 9001}});
        QCOMPARE(set->ChangeCount(), 2);
        const int added = int(shownNames().indexOf(QString()));
        QCOMPARE(grid->Model()->headerData(added, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("\u25B6"));
        grid->setCurrentIndex(grid->Model()->index(added == 0 ? 1 : 0, 0));
        QCOMPARE(grid->Model()->headerData(added, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("+"));
        set->CancelUpdates();
        QCOMPARE(set->ChangeCount(), 0);
        for (int r = 0; r < grid->Model()->rowCount(); ++r)
            QVERIFY(grid->Model()->headerData(r, Qt::Vertical, Qt::DisplayRole).toString() !=
                    QStringLiteral("+"));
    }

    void numbersSortAsNumbers_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* locale : {"C", "en_US", "de_DE"})
            QTest::newRow(locale) << QString::fromLatin1(locale);
    }

    // Whole numbers sort as numbers and before any text in every locale, the C locale
    // too (the suite's, and many servers'), where the collator knows no numbers; text
    // sorts after them, as text. A click on "No." sorts a grid so.
    void numbersSortAsNumbers()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        QStringList values{"10", "b", "2", " 07", "", "1", "A", "-3", "99999999999999999999"};
        QCollator collator;
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(values.begin(), values.end(), [&](const QString& a, const QString& b) {
            return CompareCells(a, b, collator) < 0;
        });
        QCOMPARE(values,
                 (QStringList{"-3", "1", "2", " 07", "10", "", "99999999999999999999", "A", "b"}));

        auto [set, source, grid] = channelGrid();
        set->First();
        for (const char* number : {"10", "2", "1"}) {
            PostChange(*set, {{QStringLiteral("callsign"), QString::fromLatin1(number)}});
            set->Next();
        }
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(grid->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
        QStringList shown;
        for (int r = 0; r < grid->Model()->rowCount(); ++r)
            shown << grid->Model()->index(r, 0).data().toString();
        QCOMPARE(shown, (QStringList{"1", "2", "10"}));
        set->CancelUpdates();
    }

    // Tab leaves a grid (with or without a cell being typed); arrows move in it.
    void tabLeavesTheGrid()
    {
        auto* set = open(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        TDataSource source(set);
        auto* grid = new TDBGrid(&source,
                                 {{QStringLiteral("callsign"), QStringLiteral("Short"), 60},
                                  {QStringLiteral("name"), QStringLiteral("Long"), 110}},
                                 window.get());
        auto* after = new QPushButton(QStringLiteral("After"), window.get());
        grid->move(0, 0);
        after->move(0, 300);
        grid->show();
        after->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        grid->SetReadOnly(false);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(set->RecNo(), 1);
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), after);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("X"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), after);
        QCOMPARE(set->FieldValue(QStringLiteral("callsign")).toString(), QStringLiteral("X"));
        delete after;
        delete grid;
    }

    void editableGridWritesTypedCellsAndConfirmsDeletes()
    {
        auto* set = open(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        TDataSource source(set);
        auto* grid = shown(
            new TDBGrid(&source, {{QStringLiteral("callsign"), QStringLiteral("Short"), 60}}));
        grid->SetReadOnly(false);
        grid->ConfirmDelete = true;
        QVERIFY(grid->Model()->setData(grid->Model()->index(1, 0), QStringLiteral("ZDFneo"),
                                       Qt::EditRole));
        QCOMPARE(set->RecNo(), 1);
        QCOMPARE(set->FieldValue(QStringLiteral("callsign")), QVariant(QStringLiteral("ZDFneo")));
        set->Post();

        grid->setFocus();
        MessageBox::QueueAnswer(MessageBox::Button::Cancel);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(set->RecordCount(), 3); // declined
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(set->RecordCount(), 2);
        QCOMPARE(MessageBox::ShownBoxes().size(), 2);
        QCOMPARE(MessageBox::ShownBoxes()[0].title, QStringLiteral("Confirm"));
    }

    void readOnlyGridReportsDoubleClickAndEnter()
    {
        auto* set = open(QStringLiteral("videosource"));
        TDataSource source(set);
        source.AutoEdit = false;
        auto* grid =
            shown(new TDBGrid(&source, {{QStringLiteral("name"), QStringLiteral("Name"), 200}}));
        grid->SetReadOnly(true);
        QSignalSpy activated(grid, &TDBGrid::RowActivated);
        const QRect cell = grid->visualRect(grid->Model()->index(1, 0));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(activated.size(), 1);
        QCOMPARE(set->RecNo(), 1);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(activated.size(), 2);
        QCOMPARE(set->State(), TDataSetState::Browse);
    }

    void navigatorButtonsDriveTheSet()
    {
        auto* set = open(QStringLiteral("channel"), QStringLiteral("sourceid=3"));
        TDataSource source(set);
        auto* nav = shown(new TDBNavigator(
            &source, TDBNavigator::Prior | TDBNavigator::Next | TDBNavigator::Insert |
                         TDBNavigator::Delete | TDBNavigator::Cancel));
        nav->ConfirmDelete = false;
        QVERIFY(!nav->ButtonFor(TDBNavigator::Post));
        QCOMPARE(nav->ButtonFor(TDBNavigator::Next)->accessibleName(), QStringLiteral("Next"));
        QVERIFY(!nav->ButtonFor(TDBNavigator::Prior)->isEnabled());
        nav->ButtonFor(TDBNavigator::Next)->click();
        QCOMPARE(set->RecNo(), 1);
        nav->ButtonFor(TDBNavigator::Insert)->click();
        QCOMPARE(set->State(), TDataSetState::Insert);
        QVERIFY(nav->ButtonFor(TDBNavigator::Cancel)->isEnabled());
        nav->ButtonFor(TDBNavigator::Cancel)->click();
        QCOMPARE(set->RecordCount(), 3);
        nav->ButtonFor(TDBNavigator::Delete)->click(); // no confirmation asked
        QCOMPARE(set->RecordCount(), 2);
        QCOMPARE(MessageBox::ShownBoxes().size(), 0);
    }

    // An exception raised by a handler stops at the control's slot: it is shown, the
    // data set stays as it was, and nothing is thrown through Qt (this test runs on a
    // plain QApplication, so an exception crossing Qt would fail it as unhandled).
    void handlerFailuresStopAtTheSlot_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("navigator Next") << "next";
        QTest::newRow("typing into a field") << "type";
        QTest::newRow("moving in the grid") << "grid";
        QTest::newRow("writing a grid cell") << "cell";
        QTest::newRow("a choice in a list") << "list";
        QTest::newRow("a check box") << "check";
    }

    void handlerFailuresStopAtTheSlot()
    {
        QFETCH(QString, action);
        TSQLClientDataSet* set = open(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        auto* source = new TDataSource(set, window.get());
        auto* grid = shown(
            new TDBGrid(source, {{QStringLiteral("callsign"), QStringLiteral("Short"), 60, 20}}));
        grid->SetReadOnly(false);
        auto* nav = shown(new TDBNavigator(source, TDBNavigator::Next));
        auto* edit = shown(new TDBEdit(source, QStringLiteral("name"), 20));
        auto* list =
            shown(new TDBComboBox(source, QStringLiteral("xmltvid"), {"a.de", "b.de"}, true));
        auto* check = shown(new TDBCheckBox(source, QStringLiteral("icon"), "on", "off", "Icon"));
        const bool failOnWrite =
            action == QLatin1String("type") || action == QLatin1String("cell") ||
            action == QLatin1String("list") || action == QLatin1String("check");
        if (failOnWrite) {
            source->BeforeWrite = [] {
                throw EKorvaneError(QStringLiteral("refused by the test"));
            };
        } else {
            // A pending change whose posting fails: the move cannot happen.
            set->Edit();
            set->SetFieldValue(QStringLiteral("name"), QStringLiteral("Changed"));
            set->BeforePost = [] {
                throw EKorvaneError(QStringLiteral("refused by the test"));
            };
        }
        const int row = set->RecNo();
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        if (action == QLatin1String("next")) {
            nav->ButtonFor(TDBNavigator::Next)->click();
        } else if (action == QLatin1String("type")) {
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("x"));
        } else if (action == QLatin1String("grid")) {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Down);
        } else if (action == QLatin1String("cell")) {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_F2);
            QTest::keyClicks(grid->focusWidget(), QStringLiteral("Q"));
            QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
        } else if (action == QLatin1String("list")) {
            list->setFocus(); // it shows "ard.de", outside its list: Down picks "a.de"
            QTest::keyClick(list, Qt::Key_Down);
        } else {
            check->click();
        }
        QTRY_COMPARE(MessageBox::ShownBoxes().size(), 1); // Return commits a cell when idle
        QCOMPARE(MessageBox::ShownBoxes()[0].kind, MessageBox::Kind::Exception);
        QCOMPARE(MessageBox::ShownBoxes()[0].text, QStringLiteral("refused by the test"));
        QCOMPARE(set->RecNo(), row);
        QCOMPARE(grid->currentIndex().row(), row);
        if (failOnWrite) {
            QCOMPARE(set->State(), TDataSetState::Browse);
            QCOMPARE(edit->text(), QStringLiteral("Das Erste")); // shows what is stored
        } else {
            QCOMPARE(set->State(), TDataSetState::Edit);
            QCOMPARE(set->FieldValue(QStringLiteral("name")), QVariant(QStringLiteral("Changed")));
        }
    }

    // Cells obey their column's limit, and a cell left as it was changes nothing (an
    // empty cell holding NULL stays NULL).
    void gridCellsKeepTheirFieldsRules()
    {
        db->Exec(QStringLiteral("UPDATE channel SET callsign=NULL WHERE chanid=1002"));
        TSQLClientDataSet* set = open(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        auto* source = new TDataSource(set, window.get());
        auto* grid = shown(
            new TDBGrid(source, {{QStringLiteral("callsign"), QStringLiteral("Short"), 60, 20},
                                 {QStringLiteral("finetune"), QStringLiteral("Fine"), 60, 11}}));
        grid->SetReadOnly(false);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down); // ZDF, callsign NULL
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(grid->HasUncommittedEdit() == false);
        QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
        QTest::qWait(0);
        QCOMPARE(set->State(), TDataSetState::Browse); // nothing written
        QVERIFY(set->FieldValue(QStringLiteral("callsign")).isNull());

        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClicks(grid->focusWidget(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QVERIFY(grid->HasUncommittedEdit());
        grid->CommitEdit();
        QVERIFY(!grid->HasUncommittedEdit());
        QCOMPARE(set->FieldValue(QStringLiteral("callsign")),
                 QVariant(QStringLiteral("ABCDEFGHIJKLMNOPQRST")));

        // A number cell takes what its column holds, and refuses the rest with a notice.
        grid->setCurrentIndex(grid->Model()->index(1, 1));
        ClearFieldNotice();
        QTest::keyClick(grid, Qt::Key_F2);
        auto* cell = qobject_cast<QLineEdit*>(grid->focusWidget());
        QVERIFY(cell);
        cell->selectAll();
        QTest::keyClicks(cell, QStringLiteral("99999999999"));
        QCOMPARE(cell->text(), QStringLiteral("999999999")); // the 10th digit would not fit
        QVERIFY(LastFieldNotice().contains(QStringLiteral("Fine")));
        cell->selectAll();
        QTest::keyClicks(cell, QStringLiteral("-12"));
        QTest::keyClick(cell, Qt::Key_Return);
        QTRY_COMPARE(set->FieldValue(QStringLiteral("finetune")), QVariant(-12));
        // Escape leaves the cell as it was.
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClicks(grid->focusWidget(), QStringLiteral("5"));
        QTest::keyClick(grid->focusWidget(), Qt::Key_Escape);
        QCOMPARE(set->FieldValue(QStringLiteral("finetune")), QVariant(-12));
        QCOMPARE(MessageBox::ShownBoxes().size(), 0);
    }

    // The text being typed into a number field is not rewritten under the cursor;
    // leaving the field shows the value as stored.
    void numberFieldsKeepTheTextBeingTyped()
    {
        TSQLClientDataSet* set = open(QStringLiteral("channel"), QStringLiteral("sourceid=1"));
        auto* source = new TDataSource(set, window.get());
        auto* fine = shown(new TDBEdit(source, QStringLiteral("finetune"), 11));
        auto* other = shown(new TDBEdit(source, QStringLiteral("name"), 20));
        fine->setFocus();
        fine->selectAll();
        QTest::keyClicks(fine, QStringLiteral("007"));
        QCOMPARE(fine->text(), QStringLiteral("007"));
        QCOMPARE(set->FieldValue(QStringLiteral("finetune")), QVariant(7));
        fine->selectAll();
        QTest::keyClicks(fine, QStringLiteral("-"));
        QCOMPARE(fine->text(), QStringLiteral("-")); // on its way to a negative number
        QCOMPARE(set->FieldValue(QStringLiteral("finetune")), QVariant(7));
        QTest::keyClicks(fine, QStringLiteral("4x"));
        QCOMPARE(fine->text(), QStringLiteral("-4"));
        QCOMPARE(set->FieldValue(QStringLiteral("finetune")), QVariant(-4));
        fine->selectAll();
        QTest::keyClicks(fine, QStringLiteral("012"));
        other->setFocus();
        QTRY_COMPARE(fine->text(), QStringLiteral("12"));
    }
};

QTEST_MAIN(TestDBControls)
#include "tst_dbcontrols.moc"
