#include "changerecorder.h"

#include "changelog.h"
#include "clientdataset.h"
#include "errors.h"

#include <QCoreApplication>
#include <algorithm>

void TChangeRecorder::Touch(TSQLClientDataSet& set, TRow* row)
{
    if (m_paused > 0 || !row)
        return;
    auto open =
        std::find_if(m_open.begin(), m_open.end(), [&](const Open& o) { return o.set == &set; });
    if (open == m_open.end()) {
        TRow* current = set.HistoryCurrentRow();
        for (const auto& [noted, before] : m_noted)
            if (noted == &set)
                current = before;
        m_open.push_back(Open{&set, current, {}, {}, {}});
        open = m_open.end() - 1;
    }
    if (open->index.count(row) > 0)
        return;
    open->index.emplace(row, open->rows.size());
    open->rows.push_back(row);
    open->before.push_back(set.EffectiveImage(row));
}

void TChangeRecorder::Moved(TSQLClientDataSet&)
{
    if (m_paused == 0 && OnMove)
        OnMove();
}

void TChangeRecorder::NoteCurrentRows(const std::vector<TSQLClientDataSet*>& sets)
{
    m_noted.clear();
    for (TSQLClientDataSet* set : sets)
        if (set->Active())
            m_noted.emplace_back(set, set->HistoryCurrentRow());
}

void TChangeRecorder::Forget(const TSQLClientDataSet& set)
{
    m_open.erase(
        std::remove_if(m_open.begin(), m_open.end(), [&](const Open& o) { return o.set == &set; }),
        m_open.end());
}

std::vector<TSetStep> TChangeRecorder::TakeStep()
{
    std::vector<TSetStep> step;
    for (Open& open : m_open) {
        TSetStep s;
        s.set = open.set;
        s.epoch = open.set->Epoch();
        s.currentBefore = open.currentBefore;
        s.currentAfter = open.set->HistoryCurrentRow();
        for (size_t i = 0; i < open.rows.size(); ++i) {
            const TRowImage& before = open.before[i];
            const TRowImage after = open.set->EffectiveImage(open.rows[i]);
            TSetStep::Row row{open.rows[i],  before.status, after.status,
                              before.logSeq, after.logSeq,  {}};
            // Values shared with the image before (nothing typed) need no comparing.
            if (!before.values.isSharedWith(after.values)) {
                const qsizetype columns = std::max(before.values.size(), after.values.size());
                for (qsizetype c = 0; c < columns; ++c) {
                    const QVariant& b = c < before.values.size() ? before.values[c] : QVariant();
                    const QVariant& a = c < after.values.size() ? after.values[c] : QVariant();
                    if (!SameValue(a, b) || a.typeId() != b.typeId())
                        row.cells.push_back({int(c), b, a});
                }
            }
            const bool same = row.before == row.after && row.cells.empty();
            // An absent row stays absent whatever it holds; the place in the log counts
            // only where the row is logged.
            if (!same && !(row.before == TRowStatus::Absent && row.after == TRowStatus::Absent))
                s.rows.push_back(std::move(row));
        }
        step.push_back(std::move(s));
    }
    m_open.clear();
    m_noted.clear();
    // A step that changed nothing the user sees is none. One that did keeps every set it
    // touched, rows changed or not, so that each set's current row comes back with it
    // (a digital value typed: the channel it was typed for).
    const bool changed =
        std::any_of(step.begin(), step.end(), [](const TSetStep& s) { return !s.rows.empty(); });
    if (!changed)
        step.clear();
    return step;
}

void RestoreStep(const std::vector<TSetStep>& step, bool after,
                 const std::vector<TSQLClientDataSet*>& settle, TChangeRecorder& recorder)
{
    for (const TSetStep& s : step)
        if (s.set->Epoch() != s.epoch)
            throw EKorvaneError(QCoreApplication::translate(
                                    "TSQLClientDataSet",
                                    "This step cannot be undone or redone any more: the rows "
                                    "of \"%1\" were read anew since.")
                                    .arg(s.set->CommandText()));
    recorder.Pause();
    try {
        // As a move would: the row being edited is posted, a new row nobody typed into
        // goes.
        for (TSQLClientDataSet* set : settle)
            if (set->Active())
                set->CheckBrowseMode();
        for (const TSetStep& s : step)
            s.set->RestoreRows(s, after);
        for (const TSetStep& s : step)
            if (s.set->AfterScroll)
                s.set->AfterScroll();
    } catch (...) {
        recorder.Resume();
        throw;
    }
    recorder.Resume();
}
