#include "edithistory.h"

#include "clientdataset.h"
#include "datasource.h"
#include "dbgrid.h"
#include "errors.h"
#include "guard.h"
#include "mnemonics.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUndoStack>

/// One step on the stack: the rows it changed, put back before or after it.
class TEditHistory::TStepCommand : public QUndoCommand
{
public:
    TStepCommand(TEditHistory* history, std::vector<TSetStep> step, const QString& text)
        : QUndoCommand(text), m_history(history), m_step(std::move(step))
    {
    }
    void undo() override { m_history->restore(m_step, false, text()); }
    void redo() override
    {
        // Pushed once the step is done: the rows are as it left them already.
        if (m_done)
            m_history->restore(m_step, true, text());
        m_done = true;
    }

private:
    TEditHistory* m_history;
    std::vector<TSetStep> m_step;
    bool m_done = false;
};

TEditHistory::TEditHistory(QWidget* window, const std::vector<TSQLClientDataSet*>& sets,
                           const QList<TDataSource*>& sources)
    : QObject(window), m_window(window), m_sets(sets), m_stack(new QUndoStack(this))
{
    for (TSQLClientDataSet* set : m_sets) {
        m_guarded << set;
        set->SetRecorder(&m_recorder);
        // A new row started or cancelled changes what Undo does.
        connect(set, &TSQLClientDataSet::StateChanged, this, &TEditHistory::updateActions);
    }
    // Moving to another row ends the edit of the row left.
    m_recorder.OnMove = [this] {
        if (m_inStep == 0)
            EndStep();
    };
    for (TDataSource* source : sources) {
        m_sources << source;
        connect(source, &TDataSource::EditFinished, this,
                [this](QWidget* control) { EndStep(captionOf(control)); });
        source->RunStep = [this](const QString& text, const std::function<void()>& action) {
            Step(text, action);
        };
    }
    for (TDBGrid* grid : window->findChildren<TDBGrid*>())
        connect(grid, &TDBGrid::PendingEditChanged, this, [this, grid] {
            if (!grid->HasUncommittedEdit())
                EndStep(captionOf(grid));
        });
    connect(qApp, &QApplication::focusChanged, this, &TEditHistory::focusChanged);
    qApp->installEventFilter(this);

    UndoAction = new QAction(tr("Undo"), window);
    UndoAction->setObjectName(QStringLiteral("UndoAction"));
    UndoAction->setShortcut(QKeySequence::Undo);
    RedoAction = new QAction(tr("Redo"), window);
    RedoAction->setObjectName(QStringLiteral("RedoAction"));
    RedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    window->addAction(UndoAction);
    window->addAction(RedoAction);
    connect(UndoAction, &QAction::triggered, this,
            [this] { Guarded(m_window, [this] { Undo(); }); });
    connect(RedoAction, &QAction::triggered, this,
            [this] { Guarded(m_window, [this] { Redo(); }); });
    connect(m_stack, &QUndoStack::indexChanged, this, &TEditHistory::updateActions);
    updateActions();
}

TEditHistory::~TEditHistory()
{
    qApp->removeEventFilter(this);
    for (const QPointer<TDataSource>& source : m_sources)
        if (source)
            source->RunStep = nullptr;
    // (Sets the window made first may be gone already, should its making have failed.)
    for (const QPointer<TSQLClientDataSet>& set : m_guarded)
        if (set)
            set->SetRecorder(nullptr);
    m_stack->clear();
}

QString TEditHistory::captionOf(QWidget* widget) const
{
    // A cell being written: its column's title.
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* grid = qobject_cast<TDBGrid*>(w)) {
            const int column = grid->currentIndex().column();
            return column < 0 ? QString()
                              : grid->Model()->headerData(column, Qt::Horizontal).toString();
        }
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        if (auto* combo = qobject_cast<QComboBox*>(line->parentWidget()))
            widget = combo;
    return FieldCaption(widget);
}

void TEditHistory::EndStep(const QString& text)
{
    if (m_inStep > 0 || !m_recorder.Touched())
        return;
    const QString what = !text.isEmpty() ? text : m_editing;
    if (pushStep(what.isEmpty() ? tr("Edit") : tr("Edit %1").arg(what)))
        forgetFocusedTyping();
}

void TEditHistory::Step(const QString& text, const std::function<void()>& action)
{
    // Within a step, an action is part of it (and may say better what it is).
    if (m_inStep > 0) {
        m_stepText = text;
        action();
        return;
    }
    EndStep();
    m_stepText = text;
    m_recorder.NoteCurrentRows(m_sets);
    ++m_inStep;
    try {
        action();
    } catch (...) {
        // What a failing action changed before it failed is a step of its own: the user
        // can take it back.
        --m_inStep;
        pushStep(m_stepText);
        throw;
    }
    --m_inStep;
    pushStep(m_stepText);
}

bool TEditHistory::pushStep(const QString& text)
{
    m_editing.clear();
    std::vector<TSetStep> step = m_recorder.TakeStep(); // (forgets the rows noted too)
    const bool pushed = !step.empty();
    if (pushed)
        m_stack->push(new TStepCommand(this, std::move(step), text));
    updateActions();
    return pushed;
}

TSQLClientDataSet* TEditHistory::blankRow() const
{
    for (TSQLClientDataSet* set : m_sets)
        if (set->Active() && set->State() == TDataSetState::Insert && !set->Modified())
            return set;
    return nullptr;
}

bool TEditHistory::inWindow(const QWidget* widget) const
{
    return widget && m_window && (widget == m_window || m_window->isAncestorOf(widget));
}

void TEditHistory::Undo()
{
    EndStep();
    // A new row nobody typed into is no step, but it came last: it goes first.
    if (TSQLClientDataSet* set = blankRow()) {
        set->Cancel();
        updateActions();
        if (Restored)
            Restored(tr("Undone: New row"));
        return;
    }
    if (m_stack->canUndo())
        replay(&QUndoStack::undo);
}

void TEditHistory::Redo()
{
    EndStep();
    if (m_stack->canRedo())
        replay(&QUndoStack::redo);
}

void TEditHistory::replay(void (QUndoStack::*move)())
{
    m_failed = false;
    (m_stack->*move)();
    if (m_failed) {
        // The rows are neither as the step found them nor as it left them: no step
        // on the stack can be trusted to put them back any more.
        m_stack->clear();
        throw EKorvaneError(m_failure);
    }
}

void TEditHistory::forgetFocusedTyping()
{
    if (QWidget* focus = QApplication::focusWidget(); inWindow(focus))
        forgetTyping(focus);
}

void TEditHistory::restore(const std::vector<TSetStep>& step, bool after, const QString& text)
{
    // Called by the stack: nothing may be thrown through it.
    forgetFocusedTyping();
    ++m_inStep;
    try {
        RestoreStep(step, after, m_sets, m_recorder);
    } catch (const EKorvaneError& e) {
        m_failed = true;
        m_failure = e.Message();
    } catch (const std::exception& e) {
        m_failed = true;
        m_failure = QString::fromLocal8Bit(e.what());
    }
    --m_inStep;
    m_editing.clear();
    if (Restored)
        Restored(after ? tr("Redone: %1").arg(text) : tr("Undone: %1").arg(text));
}

void TEditHistory::Clear()
{
    m_recorder.TakeStep();
    m_editing.clear();
    m_stack->clear();
    updateActions();
}

QToolButton* TEditHistory::Button(QAction* action, const QString& name)
{
    // A tool button: as narrow as its word, where a header row has little room.
    auto* button = new QToolButton;
    button->setText(action->text());
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setObjectName(name);
    button->setAccessibleName(action->text());
    KeepWithoutMnemonic(button);
    button->setFocusPolicy(Qt::TabFocus);
    auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setToolTip(action->toolTip());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QToolButton::clicked, action, &QAction::trigger);
    return button;
}

bool TEditHistory::HoldsSteps() const
{
    return m_stack->count() > 0;
}

void TEditHistory::updateActions()
{
    const bool blank = blankRow() != nullptr;
    UndoAction->setEnabled(m_stack->canUndo() || blank);
    RedoAction->setEnabled(m_stack->canRedo());
    UndoAction->setToolTip(
        UndoAction->isEnabled()
            ? tr("Undo: %1 (Ctrl+Z)").arg(blank ? tr("New row") : m_stack->undoText())
            : tr("Nothing to undo"));
    RedoAction->setToolTip(RedoAction->isEnabled()
                               ? tr("Redo: %1 (Ctrl+Shift+Z)").arg(m_stack->redoText())
                               : tr("Nothing to redo"));
}

void TEditHistory::focusChanged(QWidget* old, QWidget*)
{
    if (!inWindow(old))
        return;
    EndStep(captionOf(old));
    forgetTyping(old);
}

void TEditHistory::forgetTyping(QWidget* widget)
{
    // The field's edit is finished (a step, or undone with the window's): Ctrl+Z and
    // Ctrl+Shift+Z there no longer undo or redo its typing.
    auto* line = qobject_cast<QLineEdit*>(widget);
    if (!line || (!line->isUndoAvailable() && !line->isRedoAvailable()))
        return;
    const QSignalBlocker quiet(line);
    const int at = line->cursorPosition();
    line->setText(line->text());
    line->setCursorPosition(at);
}

bool TEditHistory::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!inWindow(widget))
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Inside a field being typed into, Ctrl+Z undoes the typing there first; with
        // nothing left to undo there, it undoes the window's last step.
        auto* key = static_cast<QKeyEvent*>(event);
        auto* line = qobject_cast<QLineEdit*>(widget);
        if (!line)
            break;
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo) ||
                          key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y);
        if ((undo && !line->isUndoAvailable()) || (redo && !line->isRedoAvailable()))
            return true; // not taken by the field: the window's shortcut gets it
        break;
    }
    case QEvent::MouseButtonPress: {
        // A click anywhere but in the field being edited ends its edit.
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus != widget && !focus->isAncestorOf(widget))
            EndStep(captionOf(focus));
        break;
    }
    case QEvent::KeyPress:
        // Until the step being made changes something, what is being edited is noted,
        // to name the step.
        if (!m_recorder.Touched())
            m_editing = captionOf(QApplication::focusWidget());
        break;
    default:
        break;
    }
    return false;
}

QStringList TEditHistory::StepNames() const
{
    QStringList names;
    for (int i = 0; i < m_stack->index(); ++i)
        names << m_stack->text(i);
    return names;
}
