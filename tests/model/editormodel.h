#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <optional>
#include <random>

// A plain model of what a user of an editor window meant: the rows of a list as the
// user left them, the row being edited, and the rules by which a row is settled,
// cancelled, dropped or deleted. It knows nothing of the program's classes.

using Val = std::optional<QString>; // nullopt: NULL
using Values = QMap<QString, Val>;  // column -> value

inline QString Shown(const Val& v)
{
    return v.value_or(QString());
}

/// One list of rows with a current row and a pending edit, as a data set with its
/// navigator behaves: moving, inserting and saving settle the pending row (a new row
/// nobody typed into is dropped); Cancel discards it; Delete removes the current row.
struct ListModel
{
    QList<Values> rows;
    int current = -1;
    bool editing = false;
    bool isNew = false;
    bool touched = false;
    Values pending;
    QString key;                 // the column that identifies a row
    std::function<void()> moved; // runs whenever the current row may have changed
    QList<Val> selected;         // the rows selected in the grid, by key
    Val anchor;                  // the row a Shift+click selects from

    int Count() const { return int(rows.size()); }
    bool HasRow() const { return current >= 0; }
    /// A new row nobody typed into: no change yet.
    bool Blank() const { return editing && isNew && !touched; }
    /// The key of the current row as the user sees it: under a blank new row, the row
    /// it was started before.
    Val CurrentKey() const
    {
        if (Blank())
            return current + 1 < Count() ? rows[current + 1].value(key) : Val();
        return HasRow() ? Current().value(key) : Val();
    }
    int IndexOf(const Val& k) const
    {
        for (int i = 0; i < Count(); ++i)
            if (k && rows[i].value(key) == k)
                return i;
        return -1;
    }
    /// The grid selects the current row alone (its rows were read anew, or the data set
    /// moved it).
    void SelectCurrent()
    {
        selected.clear();
        if (HasRow())
            selected << Current().value(key);
        anchor = HasRow() ? Current().value(key) : Val();
    }
    /// The selected rows in the grid's order; the current row when none is.
    QList<int> SelectedRows() const
    {
        QList<int> found;
        for (int i = 0; i < Count(); ++i)
            if (selected.contains(i == current ? Current().value(key) : rows[i].value(key)))
                found << i;
        if (found.isEmpty() && HasRow())
            found << current;
        return found;
    }
    /// Values of the current row as the fields show them.
    Values Current() const { return editing ? pending : (HasRow() ? rows[current] : Values{}); }

    void Settle()
    {
        if (!editing)
            return;
        editing = false;
        if (isNew && !touched) {
            dropCurrent();
            return;
        }
        rows[current] = pending;
    }

    void Cancel()
    {
        if (!editing)
            return; // the Cancel button is disabled
        editing = false;
        if (isNew)
            dropCurrent();
    }

    void Insert(const Values& fresh)
    {
        Settle();
        const int at = HasRow() ? current : Count();
        rows.insert(at, fresh);
        current = at;
        editing = true;
        isNew = true;
        touched = false;
        pending = fresh;
        notify();
    }

    void Next()
    {
        if (current < 0 || current >= Count() - 1)
            return; // the button is disabled
        Settle();
        if (current < Count() - 1) {
            ++current;
            notify();
        }
    }

    void Prior()
    {
        if (current <= 0)
            return;
        Settle();
        if (current > 0) {
            --current;
            notify();
        }
    }

    /// A click in the grid moves only to another row; a choice in a lookup list moves
    /// the list's rows even to the current one, settling it.
    void MoveTo(int index, bool evenToCurrent = false)
    {
        if ((index == current && !evenToCurrent) || index < 0 || index >= Count())
            return;
        const Val target = rows[index].value(key);
        Settle();
        int now = -1;
        for (int i = 0; i < Count(); ++i)
            if (rows[i].value(key) == target)
                now = i;
        if (now < 0)
            now = std::min(index, Count() - 1);
        if (now != current) {
            current = now;
            notify();
        }
    }

    void Delete()
    {
        if (Count() == 0)
            return; // the button is disabled
        if (editing && isNew) {
            Cancel();
            return;
        }
        if (editing) {
            // The edit is dropped first: for a moment the row shows as stored.
            editing = false;
            notify();
        }
        const int at = current;
        rows.removeAt(at);
        current = rows.isEmpty() ? -1 : std::min(at, Count() - 1);
        notify();
    }

    /// The user changed `column` of the current row (starting an edit, or a new row
    /// when the list is empty).
    void Write(const QString& column, const Val& value, const Values& fresh)
    {
        BeginEdit(fresh);
        pending[column] = value;
        touched = true;
    }

    void BeginEdit(const Values& fresh)
    {
        if (!HasRow()) {
            // Typing into an empty list starts a new row.
            rows.append(fresh);
            current = Count() - 1;
            editing = true;
            isNew = true;
            touched = false;
            pending = fresh;
            notify();
            return;
        }
        if (!editing) {
            editing = true;
            isNew = false;
            touched = false;
            pending = rows[current];
        }
    }

    /// Deletes the selected rows (a new row being typed: that row alone).
    void DeleteSelected()
    {
        if (editing && isNew) {
            Cancel();
            return;
        }
        Settle();
        const QList<int> chosen = SelectedRows();
        if (chosen.isEmpty())
            return;
        if (chosen.size() == 1) {
            MoveTo(chosen.first());
            Delete();
            return;
        }
        for (int i = int(chosen.size()) - 1; i >= 0; --i)
            rows.removeAt(chosen[i]);
        current = rows.isEmpty() ? -1 : std::min(chosen.first(), Count() - 1);
        notify();
    }

    /// Rows as a save writes them (the pending row settled).
    QList<Values> Saved() const
    {
        ListModel copy = *this;
        copy.moved = nullptr;
        copy.Settle();
        return copy.rows;
    }

private:
    void dropCurrent()
    {
        const int at = current;
        rows.removeAt(at);
        current = rows.isEmpty() ? -1 : std::min(at, Count() - 1);
        notify();
    }
    void notify()
    {
        if (moved)
            moved();
    }
};

/// The one row an editor is about (the source, the card): as saved, and as being edited.
struct HeadRow
{
    Values values; // as settled
    Values pending;
    Values saved; // as the last save wrote it
    bool editing = false;

    Values Now() const { return editing ? pending : values; }
    void Load(const Values& v)
    {
        values = saved = v;
        editing = false;
    }
    void Write(const QString& column, const Val& value)
    {
        if (!editing) {
            pending = values;
            editing = true;
        }
        pending[column] = value;
    }
    void Cancel() { editing = false; }
    /// Settled and written, as a save does.
    void Save()
    {
        if (editing)
            values = pending;
        editing = false;
        saved = values;
    }
    bool Dirty() const { return editing || values != saved; }
};

/// What the user types into a field, and what the field makes of it.
struct Typing
{
    QString text; // the field's text afterwards
    bool wrote = false;
    Val value; // the value written last (when wrote)
};

/// Whole numbers of a signed 32-bit column.
inline bool FitsInt(const QString& text)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    return ok && n >= -2147483648LL && n <= 2147483647LL;
}

inline QString Canonical(const QString& number)
{
    return QString::number(number.toLongLong());
}

/// Keystrokes appended at the end of `start` (after clearing it when asked), each
/// accepted or refused as the field's rules say.
inline Typing SimulateTyping(const QString& start, const QString& typed, bool clear, int limit,
                             bool number)
{
    Typing t;
    t.text = start;
    auto accept = [&](const QString& candidate) {
        t.text = candidate;
        if (number && candidate == QLatin1String("-"))
            return; // on its way to a negative number: nothing written yet
        t.wrote = true;
        if (number)
            t.value = candidate.isEmpty() ? Val() : Val(Canonical(candidate));
        else
            t.value = candidate;
    };
    if (clear && !t.text.isEmpty())
        accept(QString());
    for (QChar c : typed) {
        const QString candidate = t.text + c;
        if (candidate.size() > limit)
            continue;
        if (number) {
            const bool minus = candidate == QLatin1String("-");
            bool digits = !candidate.isEmpty();
            for (int i = 0; i < candidate.size(); ++i)
                if (!(candidate[i].isDigit() || (i == 0 && candidate[i] == QLatin1Char('-'))))
                    digits = false;
            if (!minus && !(digits && FitsInt(candidate)))
                continue;
        }
        accept(candidate);
    }
    return t;
}

/// Random choices with a fixed seed, so that a failing run can be replayed.
struct Dice
{
    std::mt19937 gen;
    explicit Dice(unsigned seed) : gen(seed) {}
    int Below(int n) { return n <= 0 ? 0 : int(std::uniform_int_distribution<int>(0, n - 1)(gen)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T> const T& Pick(const QList<T>& list)
    {
        return list[Below(int(list.size()))];
    }

    /// Text a user might type: letters, digits and blanks, now and then an accented
    /// letter, now and then past any limit.
    QString Text()
    {
        static const QString chars =
            QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-,./");
        const int length = Chance(15) ? 20 + Below(50) : Below(12);
        QString s;
        for (int i = 0; i < length; ++i)
            s += chars[Below(int(chars.size()))];
        return s;
    }

    /// What a user types into a number field: digits, a minus, numbers too large,
    /// and now and then letters.
    QString Number()
    {
        switch (Below(6)) {
        case 0:
            return QStringLiteral("99999999999");
        case 1:
            return QStringLiteral("-") + QString::number(Below(100000));
        case 2:
            return QStringLiteral("4294967296");
        case 3:
            return QStringLiteral("12ab");
        default:
            return QString::number(Below(70000));
        }
    }
};

/// What the user saw at one moment, settled as a move would settle it: the editor's own
/// row, the list's rows and its current row (by key).
struct Snapshot
{
    Values head;
    QList<Values> rows;
    Val current;
    bool operator==(const Snapshot& o) const { return head == o.head && rows == o.rows; }
    bool operator!=(const Snapshot& o) const { return !(*this == o); }
};

inline Snapshot Snap(const HeadRow& head, const ListModel& list)
{
    return {head.Now(), list.Saved(), list.CurrentKey()};
}

/// The steps a user can undo and redo, as the user made them: an action that changed
/// what the user sees is a step; typing into one field, until another action, is one.
struct HistoryModel
{
    struct Step
    {
        Snapshot before, after;
    };
    QList<Step> undo, redo;
    std::optional<Snapshot> open; // what was there before the step being made
    QString typing;               // the field the step being made types into

    /// The step being made is over (`now` is what is there).
    void Close(const Snapshot& now)
    {
        if (open && *open != now) {
            undo << Step{*open, now};
            redo.clear();
        }
        open.reset();
        typing.clear();
    }
    void Clear()
    {
        undo.clear();
        redo.clear();
        open.reset();
        typing.clear();
    }
};

/// Puts `to` back in place of what `head` and `list` hold, as an undo or redo does: the
/// pending row settled first, the current row back where the list's rows changed.
inline void Restore(HeadRow& head, ListModel& list, const Snapshot& to, bool rowsChanged)
{
    list.Settle();
    head.values = to.head;
    head.editing = false;
    if (!rowsChanged)
        return;
    list.rows = to.rows;
    list.editing = false;
    const int at = list.IndexOf(to.current);
    list.current =
        at >= 0 ? at : (list.rows.isEmpty() ? -1 : std::clamp(list.current, 0, list.Count() - 1));
}
