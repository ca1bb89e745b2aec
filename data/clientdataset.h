#pragma once

#include "changelog.h"
#include "changerecorder.h"
#include "fielddef.h"
#include "rowstore.h"
#include "sqlmodule.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TSQLConnection;

enum class TDataSetState { Inactive, Browse, Edit, Insert };
enum class TCommandType { Table, Text };

class TSQLClientDataSet;

/// An in-memory copy of one table or one query's result over the shared connection:
/// rows as fetched, a filter evaluated in memory, a current row, an edit state and a
/// change log that ApplyUpdates writes back in one transaction.
class TSQLClientDataSet : public QObject, public TScratchDataSet
{
    Q_OBJECT

public:
    using Event = std::function<void()>;

    explicit TSQLClientDataSet(TSQLConnection& connection, QObject* parent = nullptr);
    ~TSQLClientDataSet() override;

    /// The database module's scratch set: SQL type, no command of its own.
    static std::unique_ptr<TScratchDataSet> CreateSearchDataSet(TSQLConnection& connection);

    // --- what it is opened on
    TCommandType CommandType() const { return m_commandType; }
    void SetCommandType(TCommandType type);
    const QString& CommandText() const { return m_commandText; }
    void SetCommandText(const QString& text) override;

    /// The filter: empty, or an integer equality "column=N".
    const QString& Filter() const { return m_filter; }
    void SetFilter(const QString& text);
    /// The same filter given as its column and number, with nothing to be parsed.
    void SetKeyFilter(const QString& column, qlonglong value);
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool on);

    // --- open and close
    bool Active() const { return m_state != TDataSetState::Inactive; }
    void SetActive(bool active) override;
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return m_state; }
    /// A row is being edited or inserted.
    bool IsEditing() const
    {
        return m_state == TDataSetState::Edit || m_state == TDataSetState::Insert;
    }

    // --- columns
    const QList<TFieldDef>& Fields() const { return m_fields; }
    QStringList FieldNames() const;
    /// Index of a column (case-insensitive), -1 when there is none.
    int FieldIndex(const QString& name) const;
    /// The column named `name`; nullptr when there is none (or the set is closed).
    const TFieldDef* Field(const QString& name) const;

    // --- rows and movement (over the visible rows)
    int RecordCount() const { return m_rows.Count(); }
    bool IsEmpty() const { return m_rows.IsEmpty(); }
    /// Index of the current visible row, -1 when there is none.
    int RecNo() const { return m_current; }
    void First() override;
    void Last();
    void Next();
    void Prior();
    /// Makes visible row `index` current (settling a pending row first).
    void MoveTo(int index);
    /// Makes the first visible row whose `column` holds the whole number `key` current;
    /// false, and nothing moved, when no row does.
    bool Locate(const QString& column, qlonglong key);
    bool Eof() const { return m_current < 0 || m_current >= RecordCount() - 1; }
    bool Bof() const { return m_current <= 0; }

    // --- values
    /// Value of a column of the current row (the pending values while editing); null
    /// when there is no current row.
    QVariant FieldValue(const QString& column) const override;
    /// Value of a column of visible row `row`, as displayed.
    QVariant VisibleValue(int row, int column) const;
    /// The same, without a copy (for looking through thousands of rows); valid until
    /// the set changes.
    const QVariant& VisibleCell(int row, int column) const;
    /// Which row of the set visible row `row` is: the same for as long as the row is
    /// held, whatever its values (0 for no row).
    quintptr VisibleRowIdentity(int row) const
    {
        return reinterpret_cast<quintptr>(m_rows.At(row));
    }
    /// The values of every row held whose `column` holds a whole number, by that number,
    /// whatever the filter shows: as they stand (changes not saved included; deleted rows
    /// and a row not posted yet left out). For reading all the rows that go with another
    /// set's, such as every channel's digital row.
    QHash<qlonglong, QVariantList> RowsByKey(const QString& column) const;
    /// Whether visible row `row` holds a change not yet saved: a new row, or a row
    /// whose values differ from those read.
    enum class TRowChange { None, Inserted, Modified };
    TRowChange VisibleChange(int row) const;
    /// Writes a column of the row being edited or inserted.
    void SetFieldValue(const QString& column, const QVariant& value);
    /// Whether the pending row holds values written outside OnNewRecord.
    bool Modified() const { return m_modified; }

    // --- editing
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    /// Posts a modified pending row, or discards one nobody changed.
    void CheckBrowseMode();
    /// The pending row counts as changed by the user (it will be posted, not dropped).
    void MarkModified();

    // --- change log
    int ChangeCount() const { return m_log.Count(); }
    /// The change log as the rows ApplyUpdates writes, with their values before and
    /// after (every column of the set).
    QList<TWrittenRow> PendingRows() const { return m_log.Describe(m_commandText, FieldNames()); }
    /// Whether saving would write something: a row being edited, logged changes, or a
    /// new row the user typed into (a new row nobody touched is no change).
    bool HasPendingChanges() const;
    /// Writes the change log in one transaction (or inside the connection's open
    /// one); all of it or nothing. Returns the number of errors, which is always 0:
    /// any failure is raised and leaves the change log as it was.
    int ApplyUpdates(int maxErrors);
    void CancelUpdates();
    void Refresh();

    // --- many rows at once, as one change each
    /// Deletes the visible rows `rows` (indexes), as Delete would one by one, without
    /// BeforeDelete; the first row after them becomes current.
    void DeleteRows(const std::vector<int>& rows);
    /// Deletes every row held (shown or not) whose `column` holds one of `keys`.
    void DeleteKeyed(const QString& column, const QSet<qlonglong>& keys);
    /// New values for columns of visible rows, each row changed as Post would change it
    /// (marked, logged, back to unchanged when it is as read again); the current row
    /// stays. `values` holds, for each row, its column indexes and values.
    struct TRowValues
    {
        int row;
        QList<std::pair<int, QVariant>> values;
    };
    void ChangeRows(const QList<TRowValues>& changes);

    // --- undo and redo (the window's history)
    /// Tells `recorder` of every row before it changes as the user sees it.
    void SetRecorder(TChangeRecorder* recorder) { m_recorder = recorder; }
    /// Row `row` as the user sees it (TRowImage).
    TRowImage EffectiveImage(const TRow* row) const;
    /// The current row as the user sees it: under a new row nobody typed into, the row
    /// it was started from.
    TRow* HistoryCurrentRow() const;
    /// Puts the rows of `step` as they were before it, or after it; the set is left in
    /// the browse state (its pending row settled beforehand), `AfterScroll` is not run.
    void RestoreRows(const TSetStep& step, bool after);
    /// Changes whenever the rows held are replaced or dropped (read, closed, saved,
    /// cancelled): the history's rows are these rows as long as it is the same.
    quint64 Epoch() const { return m_epoch; }

    // --- bulk changes
    /// Holds back the signals to the controls until the matching EnableControls, which
    /// sends each held-back kind once: many rows changed in a row cost the controls one
    /// refresh. The events (OnNewRecord, AfterScroll, ...) still run at once. Nests.
    void DisableControls() { ++m_controlsDisabled; }
    void EnableControls();

    /// Parameter values of the set's command (kept; this data layer binds none).
    QVariantMap Params;

    // --- events (plain callbacks, called synchronously; they may throw)
    Event OnNewRecord;
    Event BeforePost;
    Event BeforeCancel;
    Event BeforeDelete;
    Event AfterScroll;

signals:
    /// The visible rows changed (opened, closed, filtered, rows added or removed).
    void RowsChanged();
    /// The current row changed, or values of the current row changed.
    void CurrentChanged();
    void StateChanged();

private:
    // A filter as the set keeps it: a column by name and a whole number.
    struct TNamedKey
    {
        QString column;
        qlonglong value = 0;
    };

    void requireActive(const char* operation) const;
    std::optional<TNamedKey> parseFilter(const QString& text) const;
    void changeFilter(const QString& text, const std::optional<TNamedKey>& key);
    /// A filter (given as `key`, else as `text`) over the columns `fields`; throws when
    /// it cannot be evaluated over them.
    std::optional<TKeyFilter> keyFilter(const QString& text, const std::optional<TNamedKey>& key,
                                        const QHash<QString, int>& fields) const;
    /// The filter in force over `fields`, none when the set is not filtered.
    std::optional<TKeyFilter> filterOver(const QHash<QString, int>& fields) const;
    void refilter();
    void refilterDone(bool rowsChanged);
    /// Reads the rows anew and shows them under the filter; nothing changes when either
    /// fails.
    void read();
    void startNewRow(bool append);
    enum Notice : quint8 { NoticeRows = 1, NoticeCurrent = 2, NoticeState = 4 };
    /// Sends the signals of `notices`, or holds them back while controls are disabled.
    void notify(int notices);
    void finishPending(); // leaves edit/insert state, removing an unposted new row
    void setCurrent(int index, bool forceScroll);
    TRow* currentRow() const { return m_rows.At(m_current); }
    void setState(TDataSetState state);

    TSQLConnection& m_connection;
    TCommandType m_commandType = TCommandType::Table;
    QString m_commandText;
    QString m_filter;
    std::optional<TNamedKey> m_filterKey; // the filter as given by SetKeyFilter
    bool m_filtered = false;

    TDataSetState m_state = TDataSetState::Inactive;
    QList<TFieldDef> m_fields;
    QHash<QString, int> m_fieldIndex; // lower-case name -> column

    TRowStore m_rows;
    TChangeLog m_log;
    int m_current = -1;
    int m_controlsDisabled = 0;
    int m_heldNotices = 0;

    QVariantList m_buffer; // values of the row being edited or inserted
    bool m_modified = false;
    bool m_inNewRecord = false;
    TRow* m_rowBeforeInsert = nullptr; // the current row when the new row was started

    void touch(TRow* row)
    {
        if (m_recorder)
            m_recorder->Touch(*this, row);
    }
    /// Logs, unlogs and marks `row` for its values now being `values`, as Post does.
    void postValues(TRow* row, QVariantList values);
    void deleteRow(TRow* row);
    /// After rows were deleted: the view, and the row at `first` (or before) current.
    void deleted(int first);
    TChangeRecorder* m_recorder = nullptr;
    quint64 m_epoch = 0;
    /// The rows held are replaced or dropped: what was noted of them is void.
    void newEpoch()
    {
        ++m_epoch;
        if (m_recorder)
            m_recorder->Forget(*this);
    }
};

/// Controls of the given sets disabled for the guard's scope (exceptions included).
class TControlsDisabled
{
public:
    explicit TControlsDisabled(std::initializer_list<TSQLClientDataSet*> sets) : m_sets(sets)
    {
        for (TSQLClientDataSet* set : m_sets)
            set->DisableControls();
    }
    ~TControlsDisabled()
    {
        for (TSQLClientDataSet* set : m_sets)
            set->EnableControls();
    }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    std::vector<TSQLClientDataSet*> m_sets;
};
