#include "importwin.h"
#include "scanfile.h"
#include "testdatabase.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
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

    static QStringList column(QTableWidget* table, int c)
    {
        QStringList cells;
        for (int r = 0; r < table->rowCount(); ++r)
            cells << table->item(r, c)->text();
        return cells;
    }

private slots:
    void initTestCase() { InitTestEnvironment(); }

    void showsEachServiceAndWhatHappensToIt()
    {
        TImportWin win(lineUp(), {{0, "2", "22", "ZDF", "ZDF HD", "", "", false}}, TCardKind::DVBT,
                       TImportLimits{});
        win.show();
        QVERIFY(QTest::qWaitForWindowExposed(&win));
        QCOMPARE(win.windowTitle(), QStringLiteral("Import channels"));
        QCOMPARE(column(win.Table, 0),
                 (QStringList{"Das Erste HD", "Radio Eins", "ZDF HD", "Astra Sat"}));
        QCOMPARE(column(win.Table, 1),
                 (QStringList{"522000000 (522 MHz)", "522000000 (522 MHz)", "570000000 (570 MHz)",
                              "11836000 (11.836 GHz)"}));
        QCOMPARE(column(win.Table, 2),
                 (QStringList{"5101,5102,5103", "5201", "6110,6120", "1101"}));
        QCOMPARE(column(win.Table, 3), (QStringList{"10301", "10302", "11110", "0"}));
        const QStringList what = column(win.Table, 4);
        QCOMPARE(what[0], QStringLiteral("add as channel 23"));
        QVERIFY2(what[1].startsWith(QStringLiteral("add as channel 24")) &&
                     what[1].contains(QStringLiteral("AUTO")),
                 qPrintable(what[1])); // 1/128 is in no list: stored as AUTO, and said so
        QCOMPARE(what[2], QStringLiteral("update: digital values replaced"));
        QVERIFY(what[3].startsWith(QStringLiteral("skip: a DVB-S service")));
        QCOMPARE(win.CountsLabel->text(), QStringLiteral("2 to add, 1 to update, 1 to skip"));
        QVERIFY(win.RadioCheck->isChecked());

        // The check box (mnemonic R) leaves the radio services out.
        QVERIFY(win.RadioCheck->text().contains(QStringLiteral("&r")));
        win.RadioCheck->setFocus();
        QTest::keyClick(win.RadioCheck, Qt::Key_Space);
        QVERIFY(!win.RadioCheck->isChecked());
        QCOMPARE(win.CountsLabel->text(), QStringLiteral("1 to add, 1 to update, 2 to skip"));
        QCOMPARE(win.Plan().rows[1].action, TImportAction::Skip);

        QTest::mouseClick(win.ImportButton, Qt::LeftButton);
        QCOMPARE(win.result(), int(QDialog::Accepted));
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
