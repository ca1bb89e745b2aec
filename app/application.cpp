#include "application.h"

#include "messagebox.h"

#include <exception>

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

void ShowCurrentException()
{
    QString message;
    try {
        throw;
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
    }
    MessageBox::ShowException(message, QApplication::activeWindow());
}
