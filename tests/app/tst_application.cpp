#include "application.h"
#include "messagebox.h"
#include "startup.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void init() { MessageBox::ClearShown(); }

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
        MessageBox::SetUnattended(false);
        QTimer::singleShot(0, this, [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Confirm"));
            const auto buttons = box->findChildren<QPushButton*>();
            QCOMPARE(buttons.size(), 2);
            // Left to right as asked, whatever the platform's usual order.
            QVERIFY(buttons[0]->x() < buttons[1]->x());
            QCOMPARE(buttons[0]->text(), QStringLiteral("Cancel"));
            QVERIFY(buttons[0]->isDefault());
            buttons[1]->click();
        });
        const auto answer = MessageBox::Ask(
            MessageBox::Kind::Confirmation, QString(), QStringLiteral("Sure?"),
            {MessageBox::Button::Cancel, MessageBox::Button::Yes}, MessageBox::Button::Cancel);
        QCOMPARE(answer, MessageBox::Button::Yes);
        MessageBox::SetUnattended(true);
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
    MessageBox::SetUnattended(true);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
