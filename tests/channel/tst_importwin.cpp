#include "importmodel.h"
#include "importwin.h"
#include "scanfile.h"
#include "testdatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

// The preview of an import, through its real widgets.
class TestImportWin : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QList<TScannedService> lineUp()
    {
        const QString path = dir.filePath(QStringLiteral("scan.conf"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(
            "[Das Erste HD]\n\tVIDEO_PID = 5101\n\tAUDIO_PID = 5102 5103\n"
            "\tFREQUENCY = 522000000\n\tSERVICE_ID = 10301\n\tDELIVERY_SYSTEM = DVBT\n"
            "[Radio Eins]\n\tAUDIO_PID = 5201\n\tFREQUENCY = 522000000\n"
            "\tGUARD_INTERVAL = 1/128\n\tSERVICE_ID = 10302\n\tDELIVERY_SYSTEM = DVBT\n"
            "[ZDF HD]\n\tVIDEO_PID = 6110\n\tAUDIO_PID = 6120\n\tFREQUENCY = 570000000\n"
            "\tSERVICE_ID = 11110\n\tDELIVERY_SYSTEM = DVBT\n"
            "[Astra Sat]\n\tVIDEO_PID = 1101\n\tFREQUENCY = 11836000\n"
            "\tPOLARIZATION = HORIZONTAL\n\tSYMBOL_RATE = 27500000\n\tDELIVERY_SYSTEM = DVBS\n");
        f.close();
        return ReadChannelFile(path, TCardKind::DVBT);
    }

    static QStringList column(QTableView* table, int c)
    {
        QStringList cells;
        for (int r = 0; r < table->model()->rowCount(); ++r)
            cells << table->model()->index(r, c).data().toString();
        return cells;
    }

    static TChannelRow channel(const QString& channum, const QString& name, const QString& pids)
    {
        TChannelRow c;
        c.chanid = channum;
        c.channum = channum;
        c.name = name;
        if (!pids.isEmpty())
            c.tuning.insert(QStringLiteral("pids"), pids);
        return c;
    }

private slots:
    void initTestCase() { InitTestEnvironment(); }

    void showsEachServiceAndWhatHappensToIt()
    {
        TImportWin win(lineUp(), {channel("22", "ZDF HD", "")}, TCardKind::DVBT, TImportLimits{});
        win.show();
        QVERIFY(QTest::qWaitForWindowExposed(&win));
        QCOMPARE(win.windowTitle(), QStringLiteral("Import channels"));
        QCOMPARE(column(win.Table, TImportModel::ServiceColumn),
                 (QStringList{"Das Erste HD", "Radio Eins", "ZDF HD", "Astra Sat"}));
        QCOMPARE(column(win.Table, TImportModel::ChannelColumn),
                 (QStringList{"(a new channel)", "(a new channel)", "22 ZDF HD", ""}));
        QCOMPARE(column(win.Table, TImportModel::FrequencyColumn),
                 (QStringList{"522 MHz", "522 MHz", "570 MHz", "11.836 GHz"}));
        QCOMPARE(win.Table->model()->index(3, TImportModel::FrequencyColumn).data(Qt::ToolTipRole),
                 QVariant(QStringLiteral("11836000"))); // as stored
        QCOMPARE(column(win.Table, TImportModel::PidsColumn),
                 (QStringList{"5101,5102,5103", "5201", "6110,6120", "1101"}));
        const QStringList what = column(win.Table, TImportModel::WhatColumn);
        QCOMPARE(what[0], QStringLiteral("add as channel 23"));
        QVERIFY2(what[1].startsWith(QStringLiteral("add as channel 24")) &&
                     what[1].contains(QStringLiteral("AUTO")),
                 qPrintable(what[1])); // 1/128 is in no list: stored as AUTO, and said so
        QCOMPARE(what[2], QStringLiteral("update: tuning values set from the file"));
        QVERIFY(what[3].startsWith(QStringLiteral("skip: a DVB-S service")));
        QCOMPARE(win.CountsLabel->text(),
                 QStringLiteral("2 to add, 1 to update, 0 renamed, 0 unchanged, 0 not in the "
                                "file (0 to delete), 1 to skip"));
        QVERIFY(win.RadioCheck->isChecked());
        QVERIFY(!win.TickVanishedButton->isEnabled());

        // The check box (mnemonic R) leaves the radio services out.
        QVERIFY(win.RadioCheck->text().contains(QStringLiteral("&r")));
        win.RadioCheck->setFocus();
        QTest::keyClick(win.RadioCheck, Qt::Key_Space);
        QVERIFY(!win.RadioCheck->isChecked());
        QCOMPARE(win.CountsLabel->text(),
                 QStringLiteral("1 to add, 1 to update, 0 renamed, 0 unchanged, 0 not in the "
                                "file (0 to delete), 2 to skip"));
        QCOMPARE(win.Plan().rows[1].action, TImportAction::Skip);

        // Space unticks a row where the cursor stands; nothing ticked, nothing to import.
        win.Table->setFocus();
        for (int r : {0, 2}) {
            win.Table->setCurrentIndex(win.Table->model()->index(r, TImportModel::ServiceColumn));
            QTest::keyClick(win.Table, Qt::Key_Space);
            QVERIFY(!win.Ticked(r));
        }
        QVERIFY(!win.ImportButton->isEnabled());
        QTest::keyClick(win.Table, Qt::Key_Space);
        QVERIFY(win.ImportButton->isEnabled());
        QTest::mouseClick(win.ImportButton, Qt::LeftButton);
        QCOMPARE(win.result(), int(QDialog::Accepted));
        QCOMPARE(win.Chosen().size(), 1);
        QCOMPARE(win.Chosen()[0].service.name, QStringLiteral("ZDF HD"));
    }

    // Two channels share the service's PIDs: Enter opens the list, the candidates first;
    // a pick makes the row an update of that channel, and the other is not in the file.
    void aPickedChannelIsUpdatedByKeyboard()
    {
        TImportWin win(lineUp(),
                       {channel("5", "Zwei", "6110,6120"), channel("6", "Drei", "6110,6120")},
                       TCardKind::DVBT, TImportLimits{});
        win.show();
        QVERIFY(QTest::qWaitForWindowExposed(&win));
        QCOMPARE(win.WhatHappens(2), QStringLiteral("choose: 2 channels fit (F2 or Enter)"));
        QVERIFY(!win.Ticked(2));
        QCOMPARE(win.WhatHappens(4), QStringLiteral("not in the file"));
        QCOMPARE(win.WhatHappens(5), QStringLiteral("not in the file"));
        win.Table->setCurrentIndex(win.Table->model()->index(2, TImportModel::ServiceColumn));
        QTest::keyClick(win.Table, Qt::Key_Return);
        auto* combo = win.Table->findChild<QComboBox*>(QStringLiteral("ChannelCombo"));
        QVERIFY(combo);
        QCOMPARE(combo->itemText(1), QStringLiteral("5 Zwei"));
        QCOMPARE(combo->itemText(2), QStringLiteral("6 Drei"));
        QTest::keyClick(combo->view(), Qt::Key_Down); // from "(a new channel)"
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QTRY_COMPARE(win.Plan().rows[2].existing, 1);
        QVERIFY2(win.WhatHappens(2).startsWith(
                     "renamed in the file: Drei -> ZDF HD; frequency none -> 570 MHz, "),
                 qPrintable(win.WhatHappens(2)));
        QVERIFY(win.Ticked(2));
        QCOMPARE(win.Table->currentIndex().row(), 2); // the cursor stays on the row
        QCOMPARE(win.Plan().vanished, 1);

        // Tick all not in the file, and the renamed channel takes the file's name.
        QTest::mouseClick(win.TickVanishedButton, Qt::LeftButton);
        QCOMPARE(win.WhatHappens(4), QStringLiteral("not in the file: deleted with its tuning "
                                                    "values"));
        QVERIFY(
            win.CountsLabel->text().contains(QStringLiteral("1 not in the file (1 to delete)")));
        win.TakeNamesCheck->click();
        QVERIFY(win.Ticked(2));
        QVERIFY(win.WhatHappens(2).endsWith(QStringLiteral("; takes the file's name")));
        QCOMPARE(win.Chosen().size(), 4); // two new, one renamed, one deleted

        // Tab goes along the row of buttons from the table.
        win.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&win));
        win.Table->setFocus();
        for (QWidget* next : std::initializer_list<QWidget*>{
                 win.RadioCheck, win.TakeNamesCheck, win.TickVanishedButton, win.ImportButton}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void nothingToImportCanOnlyBeCancelled()
    {
        TImportWin win(lineUp(), {}, TCardKind::DVBS, TImportLimits{}); // a satellite source
        win.show();
        QCOMPARE(win.Plan().adds, 1); // only the satellite service
        TImportWin none(lineUp(), {}, TCardKind::DVBC,
                        TImportLimits{}); // a cable source: nothing fits
        none.show();
        QVERIFY(!none.ImportButton->isEnabled());
        QTest::keyClick(&none, Qt::Key_Escape);
        QCOMPARE(none.result(), int(QDialog::Rejected));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestImportWin test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_importwin.moc"
