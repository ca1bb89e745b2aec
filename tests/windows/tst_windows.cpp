#include "cardwin.h"
#include "channelwin.h"
#include "dbcontrols.h"
#include "editorwin.h"
#include "mainwin.h"
#include "messagebox.h"
#include "settingswin.h"
#include "testdatabase.h"
#include "windowcheck.h"

#include <QPushButton>
#include <QTest>

// The four windows as a keyboard user and a resized screen meet them, on the sample
// line-up: Tab order, mnemonics, positions, growth and the smallest size.
class TestWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TSQLModule> module;

    // Each window the program shows, as the main window opens it.
    std::unique_ptr<QWidget> make(const QString& which)
    {
        if (which == QLatin1String("main"))
            return std::make_unique<TMainWin>();
        if (which.startsWith(QLatin1String("channel"))) {
            auto w = std::make_unique<TChannelWin>();
            w->SetSourceID(which.section(QLatin1Char(' '), 1).toInt());
            return w;
        }
        if (which.startsWith(QLatin1String("card"))) {
            auto w = std::make_unique<TCardWin>();
            w->SetCardID(which.section(QLatin1Char(' '), 1).toInt());
            return w;
        }
        return std::make_unique<TSettingsWin>();
    }

    static QWidget* start(QWidget* w) { return w->focusWidget() ? w->focusWidget() : w; }

    void windows()
    {
        QTest::addColumn<QString>("which");
        for (const char* w : {"main", "channel 1", "channel 3", "card 1", "card 4", "settings"})
            QTest::newRow(w) << QString::fromLatin1(w);
    }

private slots:
    void initTestCase()
    {
        InitTestEnvironment();
        db = std::make_unique<TestDatabase>(QStringLiteral("t_windows"), true);
        module = db->CreateModule();
    }

    void init() { MessageBox::ClearShown(); }

    void tabVisitsEveryControlOnce_data() { windows(); }
    void tabVisitsEveryControlOnce()
    {
        QFETCH(QString, which);
        auto w = make(which);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const QString faults = TabCycleFaults(w.get(), start(w.get()));
        QVERIFY2(faults.isEmpty(), qPrintable(faults));
        // From each grid, Tab goes on to another control.
        for (TDBGrid* grid : w->findChildren<TDBGrid*>()) {
            if (!grid->isVisibleTo(w.get()))
                continue;
            grid->setFocus(Qt::TabFocusReason);
            QTest::keyClick(grid, Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() != grid, qPrintable(grid->objectName()));
        }
        if (auto* editor = qobject_cast<TEditorWin*>(w.get()); editor && editor->isDirty())
            MessageBox::QueueAnswer(MessageBox::Button::No);
    }

    void mnemonicsAreThereAndApart_data() { windows(); }
    void mnemonicsAreThereAndApart()
    {
        QFETCH(QString, which);
        auto w = make(which);
        w->show();
        const QString faults = MnemonicFaults(w.get());
        QVERIFY2(faults.isEmpty(), qPrintable(faults));
        // The main window's buttons say what they act on.
        if (which == QLatin1String("main"))
            for (QPushButton* b : w->findChildren<QPushButton*>())
                QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
