#pragma once

#include "guard.h"

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
