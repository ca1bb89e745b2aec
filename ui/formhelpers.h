#pragma once

#include "guard.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>

/// Gives `widget` the object name the rest of the program (and the tests) know it by.
template <typename W> W* Named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

/// A label naming `buddy`, so that screen readers and the label's mnemonic reach it.
inline QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent,
                          const QString& name = {})
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

/// Tab visits `widgets` in the order given.
inline void SetTabChain(std::initializer_list<QWidget*> widgets)
{
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

/// An action of `window` named `name`, on `key`, that runs `run` guarded: a failure is
/// shown, never thrown through Qt.
inline QAction* WindowAction(QWidget* window, const QString& text, const QString& name,
                             const QKeySequence& key, std::function<void()> run)
{
    auto* action = new QAction(text, window);
    action->setObjectName(name);
    action->setShortcut(key);
    window->addAction(action);
    QObject::connect(action, &QAction::triggered, window,
                     [window, run = std::move(run)] { Guarded(window, run); });
    return action;
}

/// A button named `name` that triggers `action`, and is enabled when it is.
inline QPushButton* ActionButton(QAction* action, const QString& caption, const QString& name,
                                 const QString& tip)
{
    auto* button = Named(new QPushButton(caption), name);
    button->setToolTip(tip);
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
    return button;
}
