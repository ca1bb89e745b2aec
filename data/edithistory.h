#pragma once

#include "changerecorder.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QToolButton;
class QUndoStack;
class QWidget;
class TDataSource;
class TSQLClientDataSet;

/// The undo and redo of an editor window, over its data sets: every change the user
/// makes since the window opened or was last saved is a step on a QUndoStack. A step
/// ends where an edit is finished (a field left or Enter pressed, a choice made, a cell
/// written, a row moved to, a click elsewhere) or is one action as a whole (Step). An
/// undo puts the rows back exactly as they were before the step, as the user saw them;
/// the data sets' change logs stay the one record of what Save writes.
class TEditHistory : public QObject
{
    Q_OBJECT

public:
    /// Records the changes of `sets` (all the window edits; lists it only reads stay
    /// out) in `window`, whose data sources `sources` tell when an edit is finished.
    TEditHistory(QWidget* window, const std::vector<TSQLClientDataSet*>& sets,
                 const QList<TDataSource*>& sources);
    ~TEditHistory() override;

    QUndoStack* Stack() const { return m_stack; }
    /// Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y. Their tooltips say what they would undo or redo.
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;

    /// Ends the step being made, if it changed anything: `text` says what it was (by
    /// default, what the field being edited when it started is called).
    void EndStep(const QString& text = {});
    /// Runs `action` as one step called `text`.
    void Step(const QString& text, const std::function<void()>& action);
    /// Undoes the last step: a new row nobody typed into goes first, as it came last.
    void Undo();
    void Redo();
    /// Starts a new history: nothing to undo or redo (after a save, or once filled).
    void Clear();
    bool HoldsSteps() const;
    /// The names of the steps made and not undone, first to last.
    QStringList StepNames() const;
    /// Runs after an undo or redo put rows back, saying what ("Undone: Renumber 11
    /// channels").
    std::function<void(const QString& what)> Restored;
    /// A button named `name` for UndoAction or RedoAction: captioned by it, enabled and
    /// telling (in its tooltip) what it would do as the action does. It takes no
    /// mnemonic: Ctrl+Z and Ctrl+Y are its keys everywhere.
    static QToolButton* Button(QAction* action, const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TStepCommand;
    void focusChanged(QWidget* old, QWidget* now);
    bool pushStep(const QString& text);
    void forgetTyping(QWidget* widget);
    void forgetFocusedTyping();
    void replay(void (QUndoStack::*move)());
    void restore(const std::vector<TSetStep>& step, bool after, const QString& text);
    void updateActions();
    TSQLClientDataSet* blankRow() const;
    bool inWindow(const QWidget* widget) const;
    QString captionOf(QWidget* widget) const;

    QPointer<QWidget> m_window;
    std::vector<TSQLClientDataSet*> m_sets;
    QList<QPointer<TSQLClientDataSet>> m_guarded; // the same, known to be there
    QList<QPointer<TDataSource>> m_sources;
    TChangeRecorder m_recorder;
    QUndoStack* m_stack;
    int m_inStep = 0;      // inside Step, or an undo or redo
    QString m_editing;     // what the field was called where the step being made began
    QString m_stepText;    // what the step running is called
    bool m_failed = false; // an undo or redo could not put the rows back
    QString m_failure;
};
