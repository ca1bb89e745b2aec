#include "guard.h"

#include "messagebox.h"

#include <QApplication>
#include <exception>

void ShowCurrentException(QWidget* parent)
{
    QString message;
    try {
        throw;
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
    }
    MessageBox::ShowException(message, parent ? parent : QApplication::activeWindow());
}
