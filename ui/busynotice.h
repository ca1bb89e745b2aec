#pragma once

#include <QString>
#include <QWidget>

/// A small window that says what the program is waiting for (connecting to a server),
/// with the busy cursor, for as long as it lives. It is gone before any box is shown.
class TBusyNotice
{
public:
    explicit TBusyNotice(const QString& text);
    ~TBusyNotice();
    TBusyNotice(const TBusyNotice&) = delete;
    TBusyNotice& operator=(const TBusyNotice&) = delete;

    /// Closes the notice early (before a box tells what went wrong).
    void Done();

    /// The text of the last notice shown, for tests.
    static QString LastText();

private:
    QWidget* m_window = nullptr;
};
