#pragma once

#include "rowstore.h"

#include <QVariant>
#include <QVariantList>
#include <functional>
#include <unordered_map>
#include <vector>

class TSQLClientDataSet;

/// A row as the user sees it: the row being edited as if it were posted, a new row
/// nobody typed into as absent.
struct TRowImage
{
    TRowStatus status = TRowStatus::Absent;
    QVariantList values;
    quint64 logSeq = 0; // TChangeLog::AtEnd: to be logged, after every row logged now
};

/// What one step did to the rows of one data set: each row it changed, as it was before
/// and after (its status, its place in the change log and the values that differ), and
/// the set's current row before and after.
struct TSetStep
{
    struct Cell
    {
        int column;
        QVariant before, after;
    };
    struct Row
    {
        TRow* row;
        TRowStatus before, after;
        quint64 seqBefore, seqAfter;
        std::vector<Cell> cells;
    };
    TSQLClientDataSet* set = nullptr;
    quint64 epoch = 0; // the set's rows are the same rows as long as its epoch is
    std::vector<Row> rows;
    TRow* currentBefore = nullptr;
    TRow* currentAfter = nullptr;
};

/// Notes the rows that changes of data sets touch, as they were before the first touch,
/// until the step is taken: then what changed, as the user sees it, is the step. The
/// data sets call Touch before they change a row and Moved when their current row
/// moved; the history decides where a step ends.
class TChangeRecorder
{
public:
    void Touch(TSQLClientDataSet& set, TRow* row);
    void Moved(TSQLClientDataSet& set);
    /// Forgets what was noted of `set`: its rows were replaced or dropped.
    void Forget(const TSQLClientDataSet& set);
    /// Runs when a set's current row moves to another row, outside a paused stretch.
    std::function<void()> OnMove;
    /// A step of many moves begins: the current rows of `sets` now are where each set
    /// touched in it was before it (not where it first touched a row).
    void NoteCurrentRows(const std::vector<TSQLClientDataSet*>& sets);

    /// The changes since the last step (nothing when the touched rows look as they did).
    std::vector<TSetStep> TakeStep();
    /// Whether something was touched since the last step.
    bool Touched() const { return !m_open.empty(); }

    /// While paused, touches and moves are not noted (a step being undone or redone).
    void Pause() { ++m_paused; }
    void Resume() { --m_paused; }
    bool Paused() const { return m_paused > 0; }

private:
    struct Open
    {
        TSQLClientDataSet* set;
        TRow* currentBefore;
        std::unordered_map<TRow*, size_t> index; // row -> its place in rows
        std::vector<TRow*> rows;
        std::vector<TRowImage> before;
    };
    std::vector<Open> m_open;
    std::vector<std::pair<TSQLClientDataSet*, TRow*>> m_noted;
    int m_paused = 0;
};

/// Puts the rows of `step` back as they were before it (`after` false) or after it, in
/// every set it touched: the pending rows of `settle` (every set of the window) are
/// settled first, the current rows follow, and each set's AfterScroll runs. Throws when
/// a set's rows were read anew since (the step no longer fits them).
void RestoreStep(const std::vector<TSetStep>& step, bool after,
                 const std::vector<TSQLClientDataSet*>& settle, TChangeRecorder& recorder);
