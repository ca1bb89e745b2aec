#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

/// Lets the keys of a window's `actions` win over what a text field in the window does
/// with the same keys: on X11 a line edit takes Ctrl+E to move to the end of its line,
/// and a user pressing Ctrl+E for Export... while typing a name got nothing else.
/// Owned by the window.
class TActionKeysFirst : public QObject
{
public:
    TActionKeysFirst(QWidget* window, QList<QAction*> actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    QList<QAction*> m_actions;
};
