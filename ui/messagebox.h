#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

/// The one place that shows the program's modal boxes. Each kind carries a fixed
/// title whatever caption a caller passes; buttons appear in the order given.
/// Tests queue answers with QueueAnswer() and read back what was asked with Shown().
namespace MessageBox {

enum class Kind { Error, Confirmation, Information, Exception };
enum class Button { None, Ok, Yes, No, Cancel, Abort };

struct Shown
{
    Kind kind;
    QString title;
    QString text;
    QList<Button> buttons;
    Button defaultButton;
};

/// Title a box of the given kind carries.
QString TitleFor(Kind kind);

/// The application's title, carried by the exception box.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

/// Shows a modal box and returns the button pressed; closing the box without a
/// button returns Button::None. `caption` is what the caller would like as title:
/// boxes of the error and confirmation kinds do not display it.
Button Ask(Kind kind, const QString& caption, const QString& text, const QList<Button>& buttons,
           Button defaultButton, QWidget* parent = nullptr);

/// The application's standard exception box: title is the application's title.
void ShowException(const QString& message, QWidget* parent = nullptr);

/// Human text of a button, as it appears on the box.
QString ButtonText(Button b);

// --- for tests -------------------------------------------------------------
/// The next box is not shown; it is recorded and answered with `answer`.
void QueueAnswer(Button answer);
/// When set, a box with no queued answer is not shown: `handler` answers it (tests
/// fail there, so a box nobody expected cannot go unnoticed). An empty function
/// shows such boxes again.
void SetUnansweredHandler(std::function<Button(const Shown&)> handler);
/// Boxes shown (or answered) since the last ClearShown().
const QList<Shown>& ShownBoxes();
void ClearShown();

} // namespace MessageBox
