#include "editorwin.h"

#include "guard.h"
#include "messagebox.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

TEditorWin::TEditorWin(QWidget* parent) : QDialog(parent)
{
    setWindowState(Qt::WindowNoState);
    setSizeGripEnabled(true);
    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StatusLine->setWordWrap(true);
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
        return SaveFromUser(); // a failed save is shown and the window stays open
    case MessageBox::Button::No:
        return Guarded(this, [this] { DiscardChanges(); });
    default:
        return false;
    }
}

bool TEditorWin::SaveFromUser()
{
    FSavedChanges = 0;
    FHistoryError.clear();
    const bool saved = Guarded(this, [this] { ApplyActionExecute(); });
    if (!saved)
        StatusLine->setText(tr("Nothing was written: your edits are kept, to be saved again."));
    else if (FSavedChanges == 0)
        StatusLine->setText(tr("Nothing to save."));
    else
        StatusLine->setText(FSavedChanges == 1 ? tr("Saved: 1 change")
                                               : tr("Saved: %1 changes").arg(FSavedChanges));
    if (saved && !FHistoryError.isEmpty())
        StatusLine->setText(
            tr("Saved, but the history could not be written: %1").arg(FHistoryError));
    return saved;
}

QString TEditorWin::HistoryName() const
{
    return windowTitle().remove(QStringLiteral("[*]")).trimmed();
}

void TEditorWin::showEvent(QShowEvent* event)
{
    // Enter in a field never saves: no button of an editor is a default button, so
    // Enter does nothing a user did not ask for. Save is the button or Ctrl+S.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    QDialog::showEvent(event);
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
    const bool dirty = isDirty();
    // New edits after a save: what it wrote is no longer the news (a failed save's
    // message stays until the next save).
    if (dirty && !isWindowModified() && !StatusLine->text().startsWith(tr("Nothing was written")))
        StatusLine->clear();
    setWindowModified(dirty);
}
