#pragma once

#include "mnemonics.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QTest>
#include <QWidget>

// What a keyboard user and a layout check need to know of a window.

/// The controls Tab is to visit: visible, enabled, taking focus by Tab (the inner
/// parts of lists, grids and combo boxes are theirs, not stops of their own).
inline QList<QWidget*> TabStops(QWidget* window)
{
    QList<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) ||
            w->focusProxy())
            continue;
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
            if (qobject_cast<QAbstractItemView*>(p) || qobject_cast<QComboBox*>(p))
                inner = true;
        if (!inner)
            stops << w;
    }
    return stops;
}

/// The widgets focused by pressing Tab from `start` until focus comes back to it (at
/// most `limit` presses).
inline QList<QWidget*> TabCycle(QWidget* start, int limit = 200)
{
    start->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited{start};
    for (int i = 0; i < limit; ++i) {
        QWidget* from = QApplication::focusWidget();
        if (!from)
            break;
        QTest::keyClick(from, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == start)
            break;
        visited << now;
    }
    return visited;
}

/// A description of the controls a Tab cycle from `start` missed or visited twice;
/// empty when it visited every stop once.
inline QString TabCycleFaults(QWidget* window, QWidget* start)
{
    const QList<QWidget*> visited = TabCycle(start);
    QStringList faults;
    for (QWidget* w : TabStops(window))
        if (visited.count(w) != 1)
            faults << QStringLiteral("%1 visited %2 times")
                          .arg(w->objectName().isEmpty()
                                   ? QString::fromLatin1(w->metaObject()->className())
                                   : w->objectName())
                          .arg(visited.count(w));
    for (QWidget* w : visited)
        if (!TabStops(window).contains(w))
            faults << QStringLiteral("%1 is no stop")
                          .arg(w ? w->objectName() : QStringLiteral("nothing"));
    return faults.join(QStringLiteral("; "));
}

/// The caption of every visible button and field label, by mnemonic; those without
/// a mnemonic under a null key.
inline QMap<QChar, QStringList> MnemonicsShown(QWidget* window)
{
    QMap<QChar, QStringList> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || KeptWithoutMnemonic(w))
            continue;
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(w);
            label && label->buddy() && (label->buddy()->focusPolicy() & Qt::TabFocus))
            caption = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            caption = button->text();
        if (caption.isEmpty())
            continue;
        bool letters = false;
        for (QChar c : caption)
            letters = letters || c.isLetterOrNumber();
        if (!letters)
            continue; // "+", arrows: named by their tooltips
        found[MnemonicOf(caption)] << caption;
    }
    return found;
}

inline QString MnemonicFaults(QWidget* window)
{
    QStringList faults;
    const auto found = MnemonicsShown(window);
    for (auto it = found.begin(); it != found.end(); ++it) {
        if (it.key().isNull())
            faults << QStringLiteral("no mnemonic: ") + it.value().join(QStringLiteral(", "));
        else if (it.value().size() > 1)
            faults << QStringLiteral("%1 shared by %2")
                          .arg(it.key())
                          .arg(it.value().join(QStringLiteral(", ")));
    }
    return faults.join(QStringLiteral("; "));
}

/// Visible controls whose rectangles (in window coordinates) intersect: siblings of
/// a layout must never overlap.
inline QString Overlaps(QWidget* window)
{
    QList<QWidget*> leaves;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow())
            continue;
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                             w->inherits("QLineEdit");
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
            if (qobject_cast<QAbstractItemView*>(p) || qobject_cast<QComboBox*>(p) ||
                qobject_cast<QAbstractButton*>(p))
                inner = true;
        if (control && !inner)
            leaves << w;
    }
    QStringList faults;
    for (int i = 0; i < leaves.size(); ++i)
        for (int j = i + 1; j < leaves.size(); ++j) {
            const QRect a(leaves[i]->mapTo(window, QPoint(0, 0)), leaves[i]->size());
            const QRect b(leaves[j]->mapTo(window, QPoint(0, 0)), leaves[j]->size());
            if (a.intersects(b))
                faults << QStringLiteral("%1 and %2")
                              .arg(leaves[i]->objectName() + QLatin1Char(' ') +
                                       QString::fromLatin1(leaves[i]->metaObject()->className()),
                                   leaves[j]->objectName() + QLatin1Char(' ') +
                                       QString::fromLatin1(leaves[j]->metaObject()->className()));
        }
    return faults.join(QStringLiteral("; "));
}
