#include "application.h"
#include "cardwin.h"
#include "channelwin.h"
#include "dbcontrols.h"
#include "mainwin.h"
#include "messagebox.h"
#include "settingswin.h"
#include "testdatabase.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

// Every field a user types into or picks from is named by a label (its buddy), so a
// screen reader can say what it is; and Tab walks the windows in their reading order.
class TestAccessibility : public QObject, ServerFixture
{
    Q_OBJECT

    static QStringList unlabelledFields(QWidget* window)
    {
        QSet<QWidget*> named;
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->buddy())
                named << label->buddy();
        QStringList missing;
        const auto check = [&](QWidget* w) {
            // A label names it, or (a filter field with its placeholder) its accessible name.
            if (!named.contains(w) && w->accessibleName().isEmpty())
                missing << w->objectName() + QStringLiteral(" (") +
                               QLatin1String(w->metaObject()->className()) + QLatin1Char(')');
        };
        for (QComboBox* combo : window->findChildren<QComboBox*>())
            check(combo);
        for (QLineEdit* edit : window->findChildren<QLineEdit*>())
            if (!qobject_cast<QComboBox*>(edit->parentWidget())) // a combo box's own editor
                check(edit);
        for (QTableView* grid : window->findChildren<QTableView*>())
            if (grid->objectName() != QLatin1String("BackendGrid") &&
                grid->objectName() != QLatin1String("ChannelGrid") &&
                grid->objectName() != QLatin1String("DBGrid1"))
                check(grid);
        return missing;
    }

    static QStringList tabChain(QWidget* first, int count)
    {
        QStringList names;
        QWidget* w = first;
        for (int i = 0; i < count && w; ++i) {
            names << w->objectName();
            do {
                w = w->nextInFocusChain();
            } while (w && w != first &&
                     (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(w->window()) ||
                      !w->isEnabled() ||
                      qobject_cast<QComboBox*>(w->parentWidget()))); // a combo box's own editor
        }
        return names;
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_accessibility"), true); }

    void everyFieldHasALabel()
    {
        TMainWin main;
        QCOMPARE(unlabelledFields(&main), QStringList());
        TSettingsWin settings;
        QCOMPARE(unlabelledFields(&settings), QStringList());
        TChannelWin channel;
        channel.SetSourceID(3);
        QCOMPARE(unlabelledFields(&channel), QStringList());
        TCardWin card;
        card.SetCardID(1);
        QCOMPARE(unlabelledFields(&card), QStringList());
        MessageBox::QueueAnswer(MessageBox::Button::No);
        MessageBox::QueueAnswer(MessageBox::Button::No);
    }

    void navigatorButtonsSayWhatTheyDo()
    {
        TChannelWin channel;
        channel.SetSourceID(1);
        QStringList names;
        for (QAbstractButton* b : channel.findChild<QWidget*>(QStringLiteral("ChannelNavigator"))
                                      ->findChildren<QAbstractButton*>())
            names << b->accessibleName();
        QCOMPARE(names, (QStringList{"Prior", "Next", "Insert", "Delete", "Cancel"}));
    }

    void tabFollowsTheLayout()
    {
        TMainWin main;
        main.show();
        QCOMPARE(tabChain(main.SourceGrid, 9),
                 (QStringList{"SourceGrid", "SourceInsertButton", "SourceDeleteButton",
                              "SourceEditButton", "CardGrid", "CardInsertButton",
                              "CardDeleteButton", "CardEditButton", "SettingsOpenButton"}));

        TCardWin card;
        card.SetCardID(1);
        card.show();
        QCOMPARE(
            tabChain(card.DBEdit3, 8),
            (QStringList{"DBEdit3", "ApplyButton", "CardtypeCombo", "DBComboBox5", "AudioDevCombo",
                         "DBComboBox7", "AudioRateCombo", "DBLookupComboBox3"}));
        MessageBox::QueueAnswer(MessageBox::Button::No);
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestAccessibility test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_accessibility.moc"
