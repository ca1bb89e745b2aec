#include "editorwin.h"

#include "messagebox.h"

#include <QCloseEvent>

TEditorWin::TEditorWin(QWidget* parent) : QDialog(parent)
{
    setWindowState(Qt::WindowNoState);
    setSizeGripEnabled(true);
}

bool TEditorWin::FormCloseQuery()
{
    if (!isDirty())
        return true;
    const auto answer = MessageBox::Ask(
        MessageBox::Kind::Confirmation, tr("Save changes"),
        tr("Do you want to save your changes in the database?"),
        {MessageBox::Button::Yes, MessageBox::Button::No, MessageBox::Button::Cancel},
        MessageBox::Button::Yes, this);
    switch (answer) {
    case MessageBox::Button::Yes:
        ApplyActionExecute(); // a failure stays open: the exception leaves the window shown
        return true;
    case MessageBox::Button::No:
        DiscardChanges();
        return true;
    default:
        return false;
    }
}

void TEditorWin::reject()
{
    // Escape and every other way of dismissing the window go through the question.
    close();
}

void TEditorWin::closeEvent(QCloseEvent* event)
{
    // Ignored until the question says otherwise: should saving fail with an exception,
    // the window stays open with the user's changes.
    event->ignore();
    if (!FormCloseQuery())
        return;
    event->accept();
    QDialog::done(QDialog::Rejected);
}

void TEditorWin::UpdateModifiedMark()
{
    setWindowModified(isDirty());
}
