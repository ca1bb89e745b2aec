#include "messagebox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace MessageBox {
namespace {

QList<Button>& answers()
{
    static QList<Button> queue;
    return queue;
}

QList<Shown>& shown()
{
    static QList<Shown> list;
    return list;
}

std::function<Button(const Shown&)>& unansweredHandler()
{
    static std::function<Button(const Shown&)> handler;
    return handler;
}

QStyle::StandardPixmap iconFor(Kind kind)
{
    switch (kind) {
    case Kind::Error:
    case Kind::Exception:
        return QStyle::SP_MessageBoxCritical;
    case Kind::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    case Kind::Information:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

// The text of a button with its mnemonic, as the platform's own boxes show it.
QString MnemonicText(Button b)
{
    switch (b) {
    case Button::Ok:
        return QCoreApplication::translate("MessageBox", "&OK");
    case Button::Yes:
        return QCoreApplication::translate("MessageBox", "&Yes");
    case Button::No:
        return QCoreApplication::translate("MessageBox", "&No");
    case Button::Cancel:
        return QCoreApplication::translate("MessageBox", "&Cancel");
    case Button::Abort:
        return QCoreApplication::translate("MessageBox", "&Abort");
    case Button::None:
        break;
    }
    return QString();
}

// Keys as in the platform's standard boxes: Enter and Space press the focused button,
// a button's mnemonic letter presses it with or without Alt, Escape is Cancel where
// the box has one.
class TBoxDialog : public QDialog
{
public:
    using QDialog::QDialog;
    QList<QPair<Button, QPushButton*>> buttons;
    Button result = Button::None;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if (key == Qt::Key_Escape) {
            for (const auto& [b, push] : buttons)
                if (b == Button::Cancel) {
                    push->click();
                    return;
                }
            QDialog::keyPressEvent(event);
            return;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) {
                focused->click();
                return;
            }
        }
        const Qt::KeyboardModifiers mods =
            event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if ((mods == Qt::NoModifier || mods == Qt::AltModifier) && !event->text().isEmpty()) {
            const QChar typed = event->text().at(0).toLower();
            for (const auto& [b, push] : buttons) {
                const QString text = push->text();
                const qsizetype amp = text.indexOf(QLatin1Char('&'));
                if (amp >= 0 && amp + 1 < text.size() && text.at(amp + 1).toLower() == typed) {
                    push->click();
                    return;
                }
            }
        }
        QDialog::keyPressEvent(event);
    }
};

// A plain dialog rather than QMessageBox: QMessageBox re-orders its buttons by the
// platform's layout rules, and the boxes must show them in the order asked for.
Button execDialog(Kind kind, const QString& text, const QList<Button>& buttons,
                  Button defaultButton, QWidget* parent)
{
    TBoxDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("MessageBoxDialog"));
    dialog.setWindowTitle(TitleFor(kind));
    dialog.setModal(true);

    auto* icon = new QLabel(&dialog);
    const int size = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(dialog.style()->standardIcon(iconFor(kind)).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);

    auto* label = new QLabel(text, &dialog);
    label->setObjectName(QStringLiteral("MessageBoxText"));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(320);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(label, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* focused = nullptr;
    for (Button b : buttons) {
        auto* push = new QPushButton(MnemonicText(b), &dialog);
        push->setObjectName(QStringLiteral("MessageBoxButton") + ButtonText(b));
        // Every button may become the default while it has the focus, so Enter presses
        // the focused one; the specified default holds while no other button has it.
        push->setAutoDefault(true);
        push->setDefault(b == defaultButton);
        QObject::connect(push, &QPushButton::clicked, &dialog, [&dialog, b] {
            dialog.result = b;
            dialog.accept();
        });
        row->addWidget(push);
        dialog.buttons << qMakePair(b, push);
        if (b == defaultButton || !focused)
            focused = push;
    }
    if (focused)
        focused->setFocus();

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    layout->addLayout(row);
    dialog.exec();
    return dialog.result;
}

} // namespace

QString TitleFor(Kind kind)
{
    switch (kind) {
    case Kind::Error:
        return QCoreApplication::translate("MessageBox", "Error");
    case Kind::Confirmation:
        return QCoreApplication::translate("MessageBox", "Confirm");
    case Kind::Information:
        return QCoreApplication::translate("MessageBox", "Information");
    case Kind::Exception:
        break;
    }
    return ApplicationTitle();
}

namespace {
QString& applicationTitle()
{
    static QString title = QStringLiteral("Korvane Setup");
    return title;
}
} // namespace

void SetApplicationTitle(const QString& title)
{
    applicationTitle() = title;
}
QString ApplicationTitle()
{
    return applicationTitle();
}

QString ButtonText(Button b)
{
    return MnemonicText(b).remove(QLatin1Char('&'));
}

Button Ask(Kind kind, const QString& caption, const QString& text, const QList<Button>& buttons,
           Button defaultButton, QWidget* parent)
{
    // Error and confirmation boxes show their kind's title; the caption is not displayed.
    Q_UNUSED(caption);
    shown().append(Shown{kind, TitleFor(kind), text, buttons, defaultButton});
    if (!answers().isEmpty())
        return answers().takeFirst();
    if (unansweredHandler())
        return unansweredHandler()(shown().constLast());
    return execDialog(kind, text, buttons, defaultButton, parent);
}

void ShowException(const QString& message, QWidget* parent)
{
    Ask(Kind::Exception, QString(), message, {Button::Ok}, Button::Ok, parent);
}

void QueueAnswer(Button answer)
{
    answers().append(answer);
}
void SetUnansweredHandler(std::function<Button(const Shown&)> handler)
{
    unansweredHandler() = std::move(handler);
}
const QList<Shown>& ShownBoxes()
{
    return shown();
}
void ClearShown()
{
    shown().clear();
    answers().clear();
}

} // namespace MessageBox
