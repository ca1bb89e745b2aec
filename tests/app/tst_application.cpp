#include "application.h"
#include "messagebox.h"
#include "modal.h"
#include "startup.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

Q_DECLARE_METATYPE(MessageBox::Button)

namespace {
// The exception box of the first test is expected: answered with its default.
MessageBox::Button answerDefault(const MessageBox::Shown& box)
{
    return box.defaultButton;
}
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void init() { MessageBox::ClearShown(); }
    void cleanup() { MessageBox::SetUnansweredHandler(answerDefault); }

    void exceptionFromAnEventHandlerIsShownAndTheProgramGoesOn()
    {
        QTimer::singleShot(0, this, [] { throw std::runtime_error("the disk is on fire"); });
        QTimer::singleShot(0, this, [] { throw 42; });
        QTRY_COMPARE(MessageBox::ShownBoxes().size(), 2);
        const auto& boxes = MessageBox::ShownBoxes();
        QCOMPARE(boxes[0].kind, MessageBox::Kind::Exception);
        QCOMPARE(boxes[0].title, QStringLiteral("Korvane Setup"));
        QCOMPARE(boxes[0].text, QStringLiteral("the disk is on fire"));
        QCOMPARE(boxes[1].text, QString()); // not a std::exception: no message
    }

    void boxesCarryTheTitleOfTheirKindAndTheButtonsInOrder()
    {
        MessageBox::QueueAnswer(MessageBox::Button::Yes);
        const auto answer = MessageBox::Ask(
            MessageBox::Kind::Confirmation, QStringLiteral("Delete"), QStringLiteral("Sure?"),
            {MessageBox::Button::Cancel, MessageBox::Button::Yes}, MessageBox::Button::Cancel);
        QCOMPARE(answer, MessageBox::Button::Yes);
        const auto& box = MessageBox::ShownBoxes().last();
        QCOMPARE(box.title, QStringLiteral("Confirm"));
        QCOMPARE(box.buttons,
                 (QList<MessageBox::Button>{MessageBox::Button::Cancel, MessageBox::Button::Yes}));
        QCOMPARE(box.defaultButton, MessageBox::Button::Cancel);
        QCOMPARE(MessageBox::TitleFor(MessageBox::Kind::Error), QStringLiteral("Error"));
    }

    void realDialogShowsButtonsInTheOrderAsked()
    {
        MessageBox::SetUnansweredHandler({});
        WhenModal(this, [](QWidget* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("Confirm"));
            const auto buttons = box->findChildren<QPushButton*>();
            QCOMPARE(buttons.size(), 2);
            // Left to right as asked, whatever the platform's usual order.
            QVERIFY(buttons[0]->x() < buttons[1]->x());
            QCOMPARE(buttons[0]->text(), QStringLiteral("&Cancel"));
            QVERIFY(buttons[0]->isDefault());
            buttons[1]->click();
        });
        const auto answer = MessageBox::Ask(
            MessageBox::Kind::Confirmation, QString(), QStringLiteral("Sure?"),
            {MessageBox::Button::Cancel, MessageBox::Button::Yes}, MessageBox::Button::Cancel);
        QCOMPARE(answer, MessageBox::Button::Yes);
    }

    // Keys in a real box, as in the platform's own: Enter presses the focused button
    // (not the default), mnemonics work with and without Alt, Escape is Cancel.
    void keysInARealBox_data()
    {
        QTest::addColumn<QList<MessageBox::Button>>("buttons");
        QTest::addColumn<int>("defaultIndex");
        QTest::addColumn<QString>("keys"); // "tab", "enter", "space", "esc", "alt+x", "x"
        QTest::addColumn<MessageBox::Button>("answer");
        using B = MessageBox::Button;
        const QList<B> close{B::Yes, B::No, B::Cancel};
        const QList<B> del{B::Cancel, B::Yes};
        QTest::newRow("Enter on the default") << close << 0 << "enter" << B::Yes;
        QTest::newRow("Tab to No, Enter") << close << 0 << "tab enter" << B::No;
        QTest::newRow("Tab to No, Space") << close << 0 << "tab space" << B::No;
        QTest::newRow("Tab to Yes in a delete, Enter") << del << 0 << "tab enter" << B::Yes;
        QTest::newRow("Alt+N") << close << 0 << "alt+n" << B::No;
        QTest::newRow("N") << close << 0 << "n" << B::No;
        QTest::newRow("Y in a delete") << del << 0 << "y" << B::Yes;
        QTest::newRow("Alt+C") << close << 0 << "alt+c" << B::Cancel;
        QTest::newRow("Escape is Cancel") << close << 0 << "esc" << B::Cancel;
        QTest::newRow("Escape without Cancel") << QList<B>{B::Abort} << 0 << "esc" << B::None;
        QTest::newRow("A for Abort") << QList<B>{B::Abort} << 0 << "a" << B::Abort;
        QTest::newRow("letter of no button") << close << 0 << "q enter" << B::Yes;
    }

    void keysInARealBox()
    {
        QFETCH(QList<MessageBox::Button>, buttons);
        QFETCH(int, defaultIndex);
        QFETCH(QString, keys);
        QFETCH(MessageBox::Button, answer);
        MessageBox::SetUnansweredHandler({});
        WhenModal(this, [keys](QWidget* box) {
            QTRY_VERIFY(box->focusWidget() != nullptr);
            for (const QString& k : keys.split(QLatin1Char(' '))) {
                QWidget* target = box->focusWidget() ? box->focusWidget() : box;
                if (k == QLatin1String("tab"))
                    QTest::keyClick(target, Qt::Key_Tab);
                else if (k == QLatin1String("enter"))
                    QTest::keyClick(target, Qt::Key_Return);
                else if (k == QLatin1String("space"))
                    QTest::keyClick(target, Qt::Key_Space);
                else if (k == QLatin1String("esc"))
                    QTest::keyClick(target, Qt::Key_Escape);
                else if (k.startsWith(QLatin1String("alt+")))
                    QTest::keyClick(target, k.at(4).toLatin1(), Qt::AltModifier);
                else
                    QTest::keyClick(target, k.at(0).toLatin1());
            }
        });
        const auto got = MessageBox::Ask(MessageBox::Kind::Confirmation, QString(),
                                         QStringLiteral("Sure?"), buttons, buttons[defaultIndex]);
        QCOMPARE(got, answer);
    }

    void startUpErrorTextIsExact()
    {
        QCOMPARE(NoSettingsMessage(),
                 QStringLiteral("mysql.txt cound not be found and read. Please create a valid "
                                "config file. See the Korvane docs for more info."));
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    MessageBox::SetUnansweredHandler(answerDefault);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
