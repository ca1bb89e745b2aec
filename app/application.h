#pragma once

#include <QApplication>

/// The application object. Any exception that escapes an event handler is shown in
/// the standard exception box, and the program goes on.
class TKorvaneApplication : public QApplication
{
    Q_OBJECT

public:
    TKorvaneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

/// Shows the exception currently being handled in the exception box (its message, or
/// an empty one for an exception that is not a std::exception). Call from a catch block.
void ShowCurrentException();
