#pragma once

#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

/// A field whose text narrows a list as it is typed. Escape clears it; on an empty
/// field Escape goes on to the window (which closes as usual).
class TFilterEdit : public QLineEdit
{
public:
    explicit TFilterEdit(const QString& caption, QWidget* parent = nullptr) : QLineEdit(parent)
    {
        setPlaceholderText(caption);
        setAccessibleName(caption);
        setClearButtonEnabled(true);
    }

    /// Called as the user enters the field (the list can get ready to be narrowed).
    std::function<void()> Entered;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        if (Entered)
            Entered();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
            clear();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};
