#pragma once

#include <QDialog>

class QLabel;

/// What the source and card editors share: closing in any way (frame button, Escape)
/// asks FormCloseQuery first; Ctrl+S saves; the title carries a modified mark ("[*]")
/// while there are unsaved changes; the window opens in its normal state.
class TEditorWin : public QDialog
{
    Q_OBJECT

public:
    explicit TEditorWin(QWidget* parent = nullptr);

    /// Whether the window holds unsaved changes.
    virtual bool isDirty() const = 0;
    /// The Save action.
    virtual void ApplyActionExecute() = 0;
    /// Decides whether the window may close: asks to save when there are changes.
    bool FormCloseQuery();

    void reject() override;

    /// The line that says what the last Save did; each window places it.
    QLabel* StatusLine = nullptr;

protected:
    /// The Save action as the user triggers it (button, Ctrl+S): a failure is shown and
    /// leaves every change in place to be saved again. Returns whether it saved. The
    /// status line tells what was written, or that nothing was.
    bool SaveFromUser();
    /// What the window's last ApplyActionExecute wrote (number of changes).
    int FSavedChanges = 0;
    /// Why that write is not in the history of writes (empty when it is).
    QString FHistoryError;
    /// The window as the history of writes names it: its title without the modified mark.
    QString HistoryName() const;
    /// Throws the window's changes away (the answer No to the close question).
    virtual void DiscardChanges() = 0;
    /// Shows or clears the modified mark; call when the data changes.
    void UpdateModifiedMark();
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
