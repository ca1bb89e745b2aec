#pragma once

#include <QWidget>

/// Shows the exception currently being handled in the exception box (its message, or
/// an empty one for an exception that is not a std::exception). Call from a catch block.
void ShowCurrentException(QWidget* parent = nullptr);

/// Runs `handler` where a slot or event handler reached it: an exception it raises is
/// shown in the exception box and goes no further, never through Qt's own frames.
/// Returns whether the handler finished.
template <typename Handler> bool Guarded(QWidget* parent, Handler&& handler) noexcept
{
    try {
        handler();
        return true;
    } catch (...) {
        ShowCurrentException(parent);
        return false;
    }
}
