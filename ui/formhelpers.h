#pragma once

#include <QLabel>
#include <QString>

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
