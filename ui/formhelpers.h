#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
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
