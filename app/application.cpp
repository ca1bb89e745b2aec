#include "application.h"

TKorvaneApplication::TKorvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TKorvaneApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
    }
    return false;
}
