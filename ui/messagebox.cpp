#include "messagebox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
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

bool& unattended()
{
    static bool on = false;
    return on;
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

// A plain dialog rather than QMessageBox: QMessageBox re-orders its buttons by the
// platform's layout rules, and the boxes must show them in the order asked for.
Button execDialog(Kind kind, const QString& text, const QList<Button>& buttons,
                  Button defaultButton, QWidget* parent)
{
    QDialog dialog(parent);
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

    Button result = Button::None;
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (Button b : buttons) {
        auto* push = new QPushButton(ButtonText(b), &dialog);
        push->setObjectName(QStringLiteral("MessageBoxButton") + ButtonText(b));
        push->setAutoDefault(b == defaultButton);
        push->setDefault(b == defaultButton);
        QObject::connect(push, &QPushButton::clicked, &dialog, [&dialog, &result, b] {
            result = b;
            dialog.accept();
        });
        row->addWidget(push);
        if (b == defaultButton)
            push->setFocus();
    }

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    layout->addLayout(row);
    dialog.exec();
    return result;
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
    switch (b) {
    case Button::Ok:
        return QCoreApplication::translate("MessageBox", "OK");
    case Button::Yes:
        return QCoreApplication::translate("MessageBox", "Yes");
    case Button::No:
        return QCoreApplication::translate("MessageBox", "No");
    case Button::Cancel:
        return QCoreApplication::translate("MessageBox", "Cancel");
    case Button::Abort:
        return QCoreApplication::translate("MessageBox", "Abort");
    case Button::None:
        break;
    }
    return QString();
}

Button Ask(Kind kind, const QString& caption, const QString& text, const QList<Button>& buttons,
           Button defaultButton, QWidget* parent)
{
    // Error and confirmation boxes show their kind's title; the caption is not displayed.
    Q_UNUSED(caption);
    shown().append(Shown{kind, TitleFor(kind), text, buttons, defaultButton});
    if (!answers().isEmpty())
        return answers().takeFirst();
    if (unattended())
        return defaultButton;
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
void SetUnattended(bool on)
{
    unattended() = on;
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
