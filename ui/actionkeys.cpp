#include "actionkeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TActionKeysFirst::TActionKeysFirst(QWidget* window, QList<QAction*> actions)
    : QObject(window), m_window(window), m_actions(std::move(actions))
{
    // On the application: a field's editor may be made later (a grid cell's, a list's).
    qApp->installEventFilter(this);
}

bool TActionKeysFirst::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !m_window)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !m_window->isAncestorOf(widget))
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : m_actions)
        if (action->isEnabled() && action->shortcut() == pressed)
            return true; // not taken by the field: the window's shortcut gets it
    return false;
}
