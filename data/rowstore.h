#pragma once

#include <QVariant>
#include <QVariantList>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

/// What a row holds compared with the server. An absent row was added and then taken
/// back (cancelled, deleted before it was saved, or undone): it is kept, unseen and
/// unlogged, so that a redo can bring the very row back.
enum class TRowStatus : quint8 { Unchanged, Modified, Inserted, Deleted, Pending, Absent };

/// One row of a data set.
struct TRow
{
    QVariantList original; // as read from the server (empty for new rows)
    QVariantList current;  // as posted
    TRowStatus status = TRowStatus::Unchanged;
    quint64 logSeq = 0; // its place in the change log; 0 while it is not logged
};

/// Deleted, or added and taken back: a row no longer shown, not to be changed again.
inline bool IsGone(TRowStatus status)
{
    return status == TRowStatus::Deleted || status == TRowStatus::Absent;
}

/// A filter on the rows: those whose value in `column` is the whole number `value`.
struct TKeyFilter
{
    int column = -1;
    qlonglong value = 0;
};

/// Two values the same, NULL only equal to NULL.
bool SameValue(const QVariant& a, const QVariant& b);
bool SameValues(const QVariantList& a, const QVariantList& b);

/// The rows a data set holds, in the order read, and those of them it shows (the
/// visible rows) under its filter. Rows are found by their filter value through an index
/// kept as long as no row changed, so that switching between filters costs the rows
/// shown, not all rows. Knows nothing of SQL or of the set's events.
class TRowStore
{
public:
    /// Holds `rows` instead of the rows held so far, showing those `filter` lets through.
    void Reset(std::vector<std::unique_ptr<TRow>> rows, std::optional<TKeyFilter> filter);
    void Clear();

    // --- the visible rows
    int Count() const { return int(m_visible.size()); }
    bool IsEmpty() const { return m_visible.empty(); }
    /// The visible row `index`; nullptr outside them.
    TRow* At(int index) const
    {
        return index < 0 || index >= Count() ? nullptr : m_visible[size_t(index)];
    }
    /// Where `row` is among the visible rows, -1 when it is not.
    int IndexOf(const TRow* row) const;
    /// Shows the rows `filter` lets through (every row without one); while a row is
    /// being `adding`, it shows whatever it holds.
    void Refilter(std::optional<TKeyFilter> filter, bool adding);

    // --- changes to the rows
    /// A new row holding `values`, not posted yet: shown before the visible row `before`,
    /// or after the last row when there is none.
    TRow* AddPending(QVariantList values, TRow* before);
    /// Drops `row` (shown or not).
    void Remove(TRow* row);
    /// Makes `row` absent: out of view, kept for the history.
    void Drop(TRow* row);
    /// Forgets the absent rows (once no history can bring them back).
    void PurgeAbsent();
    /// Every row held, shown or not.
    const std::vector<std::unique_ptr<TRow>>& All() const { return m_rows; }
    /// Takes the visible row `index` out of view; the row itself stays held.
    void Hide(int index);
    /// Values of rows changed, or rows came or went, other than through Posted.
    void Touched() { ++m_revision; }
    /// The values of `row` were posted: its key was `keyBefore` (a new row had none).
    void Posted(TRow* row, std::optional<qlonglong> keyBefore, bool inserted);
    /// The key of `row` in the index's column, when the index is in use.
    std::optional<qlonglong> IndexedKey(const TRow& row) const;

    /// The whole number `row` holds in `column`, none for NULL or other values.
    static std::optional<qlonglong> KeyOf(const TRow& row, int column);

private:
    const std::vector<TRow*>& rowsWithKey(int column, qlonglong key);

    std::vector<std::unique_ptr<TRow>> m_rows;
    std::vector<TRow*> m_visible;
    // Rows by filter-column value; valid while m_revision is what it was built at.
    // Every change to the rows held (values, rows added or removed) bumps m_revision.
    struct KeyIndex
    {
        int column = -1;
        quint64 revision = 0;
        std::unordered_map<qlonglong, std::vector<TRow*>> rows;
    };
    KeyIndex m_index;
    quint64 m_revision = 1;
};
