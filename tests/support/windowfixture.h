#pragma once

#include "messagebox.h"

#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>

/// A test that drives one window of type W through its real widgets. A test class
/// derives from it besides QObject.
template <typename W> class WindowFixture
{
protected:
    /// A new window, made ready by `prepare` (the rows it edits), shown and exposed.
    template <typename Prepare> void ShowWindow(Prepare prepare)
    {
        win = std::make_unique<W>();
        prepare(*win);
        win->show();
        QVERIFY(QTest::qWaitForWindowExposed(win.get()));
    }

    /// The window's child named `name`; the test stops when there is none.
    template <typename T = QWidget> T* child(const QString& name)
    {
        T* w = win->template findChild<T*>(name);
        if (!w)
            qFatal("no child %s", qPrintable(name));
        return w;
    }

    /// Types `text` into the edit field named `field`, as a user does after clicking it.
    void type(const QString& field, const QString& text)
    {
        auto* edit = child<QLineEdit>(field);
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    /// An editor a test left open closes, its changes discarded.
    void CloseDiscarding()
    {
        if (win) {
            MessageBox::QueueAnswer(MessageBox::Button::No);
            win.reset();
        }
    }

    std::unique_ptr<W> win;
};
