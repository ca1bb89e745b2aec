#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

/// Runs `checks` on the modal window that the code after this call opens (a real
/// dialog's exec()). Should a check fail, every modal window is closed, so the test
/// fails instead of hanging in the dialog's event loop.
inline void WhenModal(QObject* context, std::function<void(QWidget*)> checks)
{
    QTimer::singleShot(0, context, [checks = std::move(checks)] {
        QWidget* modal = nullptr;
        if (!QTest::qWaitFor(
                [&] { return (modal = QApplication::activeModalWidget()) != nullptr; })) {
            QTest::qFail("no modal window opened", __FILE__, __LINE__);
            return;
        }
        checks(modal);
        // Hiding a dialog ends its exec() without asking anything.
        for (int i = 0; i < 10 && QTest::currentTestFailed(); ++i)
            if (QWidget* open = QApplication::activeModalWidget())
                open->hide();
    });
}

/// Runs `checks` on the editor (of type E) that the code after this call opens as a
/// modal window, then closes it; `seen`, when given, tells that it opened.
template <typename E>
void WhenEditorOpens(QObject* context, bool* seen, std::function<void(E&)> checks = {})
{
    WhenModal(context, [seen, checks = std::move(checks)](QWidget* modal) {
        auto* editor = qobject_cast<E*>(modal);
        QVERIFY(editor);
        if (checks)
            checks(*editor);
        if (seen)
            *seen = true;
        editor->close();
    });
}
