#include "application.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "historywin.h"
#include "mainwin.h"
#include "messagebox.h"
#include "modal.h"
#include "settingswin.h"
#include "testdatabase.h"
#include "windowfixture.h"
#include "writehistory.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestMainWin : public QObject, ServerFixture, WindowFixture<TMainWin>
{
    Q_OBJECT

    void openWindow()
    {
        ShowWindow([](TMainWin&) {});
    }

    QStringList sourceNames()
    {
        QStringList names;
        for (int r = 0; r < win->SourceGrid->Model()->rowCount(); ++r)
            names << win->SourceGrid->Model()->index(r, 0).data().toString();
        return names;
    }

    QStringList snapshot()
    {
        QStringList all;
        for (const char* t : {"videosource", "channel", "cardinput", "capturecard"})
            all << db->Rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(t)));
        return all;
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_mainwin"), true); }

    void init()
    {
        FreshTables(true);
        openWindow();
    }

    void cleanup() { win.reset(); }

    void layoutIsAsDesigned()
    {
        QCOMPARE(win->windowTitle(), QStringLiteral("Korvane Setup"));
        QCOMPARE(win->size(), QSize(795, 580));
        QVERIFY(!win->isMinimized());
        const QList<std::pair<QString, QRect>> geometry{
            {"SourceGrid", {16, 64, 425, 120}},         {"SourceInsertButton", {448, 64, 49, 49}},
            {"SourceDeleteButton", {496, 64, 49, 49}},  {"SourceEditButton", {544, 64, 49, 49}},
            {"CardGrid", {16, 241, 425, 120}},          {"CardInsertButton", {448, 240, 49, 49}},
            {"CardDeleteButton", {496, 240, 49, 49}},   {"CardEditButton", {544, 240, 49, 49}},
            {"SettingsOpenButton", {448, 432, 145, 41}}};
        // Within a few pixels (the designed buttons overlap by one).
        for (const auto& [name, rect] : geometry) {
            const QRect r = child(name)->geometry();
            QVERIFY2(std::abs(r.left() - rect.left()) <= 3 && std::abs(r.top() - rect.top()) <= 3 &&
                         std::abs(r.right() - rect.right()) <= 3 &&
                         std::abs(r.bottom() - rect.bottom()) <= 3,
                     qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                    .arg(name)
                                    .arg(r.x())
                                    .arg(r.y())
                                    .arg(r.width())
                                    .arg(r.height())));
        }
        QCOMPARE(child(QStringLiteral("Label2"))->pos(), QPoint(16, 40));
        QCOMPARE(child(QStringLiteral("Label1"))->pos(), QPoint(16, 216));
        QCOMPARE(Caption(child<QLabel>(QStringLiteral("Label2"))->text()),
                 QStringLiteral("Channel source"));
        QCOMPARE(Caption(child<QLabel>(QStringLiteral("Label1"))->text()),
                 QStringLiteral("TV card"));
        auto* plus = child<QPushButton>(QStringLiteral("SourceInsertButton"));
        QCOMPARE(plus->text(), QStringLiteral("+"));
        QVERIFY(plus->font().bold());
        QCOMPARE(plus->font().pixelSize(), 15);
        QCOMPARE(child<QPushButton>(QStringLiteral("CardDeleteButton"))->text(),
                 QStringLiteral("-"));
        QCOMPARE(Caption(child<QPushButton>(QStringLiteral("CardEditButton"))->text()),
                 QStringLiteral("Edit..."));
        QCOMPARE(Caption(child<QPushButton>(QStringLiteral("SettingsOpenButton"))->text()),
                 QStringLiteral("Base settings..."));

        QCOMPARE(win->SourceGrid->Model()->columnCount(), 1);
        QCOMPARE(win->SourceGrid->columnWidth(0), 500);
        QCOMPARE(win->CardGrid->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Video device"));
        QCOMPARE(win->CardGrid->columnWidth(0), 60);
        QVERIFY(win->SourceGrid->DataModel()->ReadOnly && win->CardGrid->DataModel()->ReadOnly);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(win->CardGrid));
    }

    void listsShowTheTablesInServerOrder()
    {
        QCOMPARE(sourceNames(), (QStringList{"Antenna", "DVB-T", "Spare"}));
        QCOMPARE(win->CardGrid->Model()->rowCount(), 2);
        QCOMPARE(win->CardGrid->Model()->index(1, 0).data().toString(), QStringLiteral("DVB"));
        QCOMPARE(MessageBox::ShownBoxes().size(), 0);
    }

    void failingSourceListLeavesTheCardListUnopened()
    {
        win.reset();
        db->Exec(QStringLiteral("DROP TABLE videosource"));
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        openWindow();
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QCOMPARE(MessageBox::ShownBoxes()[0].kind, MessageBox::Kind::Exception);
        QVERIFY2(MessageBox::ShownBoxes()[0].text.contains(QStringLiteral("videosource")),
                 qPrintable(MessageBox::ShownBoxes()[0].text));
        QVERIFY(!win->SourceDataSet->Active());
        QVERIFY(!win->CardDataSet->Active());
        QVERIFY(win->isVisible());
    }

    void cancelledDeleteChangesNothing()
    {
        const QStringList before = snapshot();
        MessageBox::QueueAnswer(MessageBox::Button::Cancel);
        QTest::mouseClick(child(QStringLiteral("SourceDeleteButton")), Qt::LeftButton);
        MessageBox::QueueAnswer(MessageBox::Button::None); // the box closed without a button
        QTest::mouseClick(child(QStringLiteral("CardDeleteButton")), Qt::LeftButton);
        QCOMPARE(snapshot(), before);
        QCOMPARE(sourceNames().size(), 3);
        const auto& box = MessageBox::ShownBoxes()[0];
        QCOMPARE(box.title, QStringLiteral("Confirm"));
        QCOMPARE(box.text,
                 QStringLiteral("Are you sure that you want to delete the selected source, all its "
                                "channels and reset the source of the corresponding cardinputs?"));
        QCOMPARE(box.buttons,
                 (QList<MessageBox::Button>{MessageBox::Button::Cancel, MessageBox::Button::Yes}));
        QCOMPARE(box.defaultButton, MessageBox::Button::Cancel);
        QCOMPARE(MessageBox::ShownBoxes()[1].text,
                 QStringLiteral("Are you sure that you want to delete the selected card and its "
                                "inputs from the database?"));
    }

    void deletingASourceTakesItsChannelsAndFreesItsInputs()
    {
        win->SourceDataSet->MoveTo(1); // "DVB-T", source 3
        StatementRecorder rec;
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QTest::mouseClick(child(QStringLiteral("SourceDeleteButton")), Qt::LeftButton);
        QCOMPARE(db->Count(QStringLiteral("channel"), QStringLiteral("sourceid=3")), 0);
        QCOMPARE(db->Count(QStringLiteral("channel")), 4);
        QCOMPARE(db->Scalar(QStringLiteral("SELECT sourceid FROM cardinput WHERE cardinputid=6"))
                     .toInt(),
                 0);
        QCOMPARE(db->Count(QStringLiteral("videosource"), QStringLiteral("sourceid=3")), 0);
        // The channels' digital rows go with them: none is left to be taken over by a
        // later channel.
        QCOMPARE(db->Count(QStringLiteral("channel_dvb")), 0);
        QCOMPARE(sourceNames(), (QStringList{"Antenna", "Spare"}));
        const QStringList sent = rec.Writes();
        QCOMPARE(sent.size(), 4);
        QCOMPARE(sent[0], QStringLiteral("DELETE FROM channel_dvb WHERE chanid IN (SELECT chanid "
                                         "FROM channel WHERE sourceid=3)"));
        QCOMPARE(sent[1], QStringLiteral("DELETE FROM channel WHERE sourceid=3"));
        QCOMPARE(sent[2], QStringLiteral("UPDATE cardinput SET sourceid=0 WHERE sourceid=3"));
        QVERIFY(sent[3].startsWith(QStringLiteral("delete from `videosource` \nwhere")));
        // One transaction, and no re-read of the list.
        QCOMPARE(rec.Texts().first(), QStringLiteral("START TRANSACTION"));
        QCOMPARE(rec.Texts().last(), QStringLiteral("COMMIT"));
    }

    void deletingACardTakesItsInputs()
    {
        win->CardDataSet->MoveTo(0);
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QTest::mouseClick(child(QStringLiteral("CardDeleteButton")), Qt::LeftButton);
        QCOMPARE(db->Count(QStringLiteral("cardinput"), QStringLiteral("cardid=1")), 0);
        QCOMPARE(db->Count(QStringLiteral("cardinput")), 1);
        QCOMPARE(db->Count(QStringLiteral("capturecard")), 1);
        QCOMPARE(win->CardGrid->Model()->rowCount(), 1);
    }

    void failureInTheSecondStatementLeavesEveryTableUnchanged()
    {
        db->Exec(QStringLiteral("ALTER TABLE cardinput RENAME TO cardinput_away"));
        const QStringList before =
            db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")) +
            db->Rows(QStringLiteral("SELECT * FROM videosource ORDER BY sourceid"));
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QTest::mouseClick(child(QStringLiteral("SourceDeleteButton")), Qt::LeftButton);
        db->Exec(QStringLiteral("ALTER TABLE cardinput_away RENAME TO cardinput"));
        QCOMPARE(db->Rows(QStringLiteral("SELECT * FROM channel ORDER BY chanid")) +
                     db->Rows(QStringLiteral("SELECT * FROM videosource ORDER BY sourceid")),
                 before);
        QCOMPARE(sourceNames().size(), 3);
        QCOMPARE(MessageBox::ShownBoxes().size(), 2);
        QCOMPARE(MessageBox::ShownBoxes()[1].kind, MessageBox::Kind::Exception);
        QVERIFY(MessageBox::ShownBoxes()[1].text.contains(QStringLiteral("cardinput")));
        QCOMPARE(win->SourceDataSet->ChangeCount(), 0);
    }

    void actionsOnAnEmptyListSayNothingIsSelected()
    {
        db->Exec(QStringLiteral("DELETE FROM videosource"));
        db->Exec(QStringLiteral("DELETE FROM capturecard"));
        QTest::keyClick(win.get(), Qt::Key_F5);
        QCOMPARE(sourceNames(), QStringList());
        const QStringList before = snapshot();
        using B = MessageBox::Button;
        for (B answer : {B::Yes, B::Ok, B::Yes, B::Ok, B::Ok, B::Ok})
            MessageBox::QueueAnswer(answer);
        QTest::mouseClick(child(QStringLiteral("SourceDeleteButton")), Qt::LeftButton);
        QTest::mouseClick(child(QStringLiteral("CardDeleteButton")), Qt::LeftButton);
        QTest::mouseClick(child(QStringLiteral("SourceEditButton")), Qt::LeftButton);
        QTest::mouseClick(child(QStringLiteral("CardEditButton")), Qt::LeftButton);
        QCOMPARE(snapshot(), before);
        QStringList texts;
        for (const auto& box : MessageBox::ShownBoxes())
            if (box.kind == MessageBox::Kind::Exception)
                texts << box.text;
        QCOMPARE(texts,
                 (QStringList{"No channel source is selected.", "No capture card is selected.",
                              "No channel source is selected.", "No capture card is selected."}));
    }

    void f5ShowsRowsOfOtherClients()
    {
        db->Exec(QStringLiteral("INSERT INTO videosource (sourceid, name) VALUES (42, 'Cable')"));
        db->Exec(QStringLiteral("INSERT INTO capturecard (cardid, cardtype) VALUES (42, 'MPEG')"));
        QCOMPARE(sourceNames().size(), 3);
        QTest::keyClick(win.get(), Qt::Key_F5);
        QCOMPARE(sourceNames(), (QStringList{"Antenna", "DVB-T", "Spare", "Cable"}));
        QCOMPARE(win->CardGrid->Model()->rowCount(), 3);
    }

    void deleteKeyOnAGridAsksFirst()
    {
        win->CardGrid->setFocus();
        MessageBox::QueueAnswer(MessageBox::Button::Cancel);
        QTest::keyClick(win->CardGrid, Qt::Key_Delete);
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QCOMPARE(MessageBox::ShownBoxes()[0].text,
                 QStringLiteral("Are you sure that you want to delete the selected card and its "
                                "inputs from the database?"));
        QCOMPARE(db->Count(QStringLiteral("capturecard")), 2);
    }

    // A source deleted by mistake, brought back from the keyboard: Ctrl+H, the delete on
    // top with its records named, Enter reviews it, Enter applies; the lists show it again.
    void aDeleteTakenBackFromTheHistory()
    {
        QTemporaryDir dir;
        TWriteHistory history(dir.filePath(QStringLiteral("history.sqlite")),
                              QStringLiteral("localhost"), db->Name());
        WriteHistory = &history;
        const std::shared_ptr<void> unset(nullptr, [](void*) { WriteHistory = nullptr; });
        const QStringList before = snapshot();
        win->SourceDataSet->MoveTo(1);
        win->SourceGrid->setFocus();
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QTest::keyClick(win->SourceGrid, Qt::Key_Delete);
        QCOMPARE(sourceNames(), (QStringList{"Antenna", "Spare"}));

        QTest::keyClick(win->SourceGrid, Qt::Key_H, Qt::ControlModifier);
        THistoryWin* historyWin = win->HistoryWin();
        QVERIFY(historyWin && historyWin->isVisible());
        QCOMPARE(historyWin->EntryTable->item(0, 2)->text(),
                 QStringLiteral("Delete source DVB-T with 3 channels"));
        QCOMPARE(historyWin->RowTable->rowCount(), 7);
        QCOMPARE(historyWin->RowTable->item(2, 0)->text(),
                 QStringLiteral("channel 21 Das Erste HD"));
        QCOMPARE(historyWin->RowTable->item(5, 1)->text(), QStringLiteral("source 3 \u2192 0"));

        WhenModal(this, [](QWidget* review) {
            QCOMPARE(review->windowTitle(), QStringLiteral("Take back"));
            auto* table = review->findChild<QTableView*>(QStringLiteral("TakeBackTable"));
            QCOMPARE(table->model()->rowCount(), 5);
            QVERIFY(review->findChild<QLabel*>(QStringLiteral("CountsLabel"))
                        ->text()
                        .endsWith(QStringLiteral("Apply takes back 5 records.")));
            QTest::keyClick(table, Qt::Key_Return);
        });
        historyWin->EntryTable->setFocus();
        QTest::keyClick(historyWin->EntryTable, Qt::Key_Return);
        QCOMPARE(snapshot(), before);
        QCOMPARE(sourceNames(), (QStringList{"Antenna", "DVB-T", "Spare"}));
        QCOMPARE(historyWin->EntryTable->item(0, 2)->text(),
                 QStringLiteral("Take back: Delete source DVB-T with 3 channels"));
        historyWin->close();
    }

    // The day's snapshot restored from the History window, and a backup file restored
    // through Back up... and Restore from file..., each reviewed and applied by the keyboard.
    void theLineupRestoredFromTheHistory()
    {
        QTemporaryDir dir;
        TWriteHistory history(dir.filePath(QStringLiteral("history.sqlite")),
                              QStringLiteral("localhost"), db->Name());
        WriteHistory = &history;
        const auto chooseBackup = THistoryWin::ChooseBackupFile;
        const auto chooseRestore = THistoryWin::ChooseRestoreFile;
        const std::shared_ptr<void> unset(nullptr, [&](void*) {
            WriteHistory = nullptr;
            THistoryWin::ChooseBackupFile = chooseBackup;
            THistoryWin::ChooseRestoreFile = chooseRestore;
        });
        const QStringList before = snapshot();
        win->SourceDataSet->MoveTo(1);
        win->SourceGrid->setFocus();
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        QTest::keyClick(win->SourceGrid, Qt::Key_Delete);
        QTest::keyClick(win->SourceGrid, Qt::Key_H, Qt::ControlModifier);
        THistoryWin* historyWin = win->HistoryWin();
        QVERIFY(historyWin);
        QCOMPARE(historyWin->EntryTable->rowCount(), 2);
        QVERIFY(historyWin->EntryTable->item(1, 2)->text().startsWith(
            QStringLiteral("Snapshot of the line-up before the first change on ")));
        historyWin->EntryTable->setCurrentCell(1, 0);
        QCOMPARE(Caption(historyWin->TakeBackButton->text()), QStringLiteral("Restore..."));
        QCOMPARE(historyWin->RowTable->item(1, 1)->text(), QStringLiteral("7 rows"));

        auto applyReview = [this](int rows, const char* counts) {
            WhenModal(this, [rows, counts](QWidget* review) {
                QCOMPARE(review->windowTitle(), QStringLiteral("Restore the line-up"));
                auto* table = review->findChild<QTableView*>(QStringLiteral("TakeBackTable"));
                QCOMPARE(table->model()->rowCount(), rows);
                QCOMPARE(table->model()->headerData(2, Qt::Horizontal).toString(),
                         QStringLiteral("Restore"));
                QCOMPARE(review->findChild<QLabel*>(QStringLiteral("CountsLabel"))->text(),
                         QLatin1String(counts));
                QTest::keyClick(table, Qt::Key_Return);
            });
        };
        // the source, its 3 channels, the input
        applyReview(5, "4 to add, 0 to delete, 1 to change. Apply restores 5 records.");
        historyWin->EntryTable->setFocus();
        QTest::keyClick(historyWin->EntryTable, Qt::Key_Return);
        QCOMPARE(snapshot(), before);
        QCOMPARE(sourceNames(), (QStringList{"Antenna", "DVB-T", "Spare"}));

        const QString path = dir.filePath(QStringLiteral("lineup.json"));
        THistoryWin::ChooseBackupFile = [&path](QWidget*) {
            return path;
        };
        THistoryWin::ChooseRestoreFile = [&path](QWidget*) {
            return path;
        };
        historyWin->BackUpButton->click();
        QVERIFY(QFile::exists(path));
        db->Exec(QStringLiteral("UPDATE channel SET channum = '99' WHERE chanid = 1001"));
        db->Exec(QStringLiteral("DELETE FROM cardinput WHERE cardinputid = 2"));
        applyReview(2, "1 to add, 0 to delete, 1 to change. Apply restores 2 records.");
        historyWin->RestoreFileButton->click();
        QCOMPARE(snapshot(), before);
        QCOMPARE(historyWin->EntryTable->item(0, 2)->text(),
                 QStringLiteral("Restore the line-up from lineup.json"));
        historyWin->close();
    }

    void baseSettingsShowTheConnectionAndWriteNothing()
    {
        StatementRecorder rec;
        bool inspected = false;
        WhenModal(this, [&](QWidget* modal) {
            auto* settings = qobject_cast<TSettingsWin*>(modal);
            QVERIFY(settings);
            QCOMPARE(settings->windowTitle(), QStringLiteral("Base settings"));
            QCOMPARE(settings->size(), QSize(795, 580));
            QCOMPARE(settings->DBHostnameEdit->text(), QStringLiteral("localhost"));
            QCOMPARE(settings->DBNameEdit->text(), db->Name());
            QCOMPARE(settings->DBUsernameEdit->text(), TestDatabase::User());
            QCOMPARE(settings->DBPasswordEdit->text(), TestDatabase::Password());
            QCOMPARE(settings->DBPasswordEdit->echoMode(), QLineEdit::Normal);
            // Read-only, but selectable: the host can be copied.
            QVERIFY(settings->DBHostnameEdit->isEnabled() &&
                    settings->DBHostnameEdit->isReadOnly());
            settings->DBHostnameEdit->selectAll();
            QCOMPARE(settings->DBHostnameEdit->selectedText(), QStringLiteral("localhost"));
            QTest::keyClicks(settings->DBHostnameEdit, QStringLiteral("x"));
            QCOMPARE(settings->DBHostnameEdit->text(), QStringLiteral("localhost"));
            // One line says that the rest keeps nothing.
            QVERIFY(settings->UnboundNotice->isVisible());
            QVERIFY(settings->UnboundNotice->text().contains(QStringLiteral("not stored")));
            QTRY_COMPARE(QApplication::focusWidget()->objectName(),
                         QStringLiteral("BackendIPEdit"));
            QVERIFY(!settings->BackendDataSet->Active());
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10.0.0.1"));
            inspected = true;
            settings->close();
        });
        QTest::mouseClick(child(QStringLiteral("SettingsOpenButton")), Qt::LeftButton);
        QVERIFY(inspected);
        QCOMPARE(rec.Texts(), QStringList()); // nothing read, nothing written, nothing re-read
        QCOMPARE(MessageBox::ShownBoxes().size(), 0);
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestMainWin test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainwin.moc"
