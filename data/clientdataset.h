#pragma once

#include "fielddef.h"
#include "sqlgen.h"
#include "sqlmodule.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TSQLConnection;

enum class TDataSetState { Inactive, Browse, Edit, Insert };
enum class TCommandType { Table, Text };

class TSQLClientDataSet;

/// Writes the change logs of several data sets in one transaction: every log is
/// written or none, and a failure leaves every log as it was. Sends nothing when no
/// set has changes. Returns the number of changes written (rows added, changed or
/// deleted).
int ApplyUpdatesTogether(TSQLConnection& connection, const QList<TSQLClientDataSet*>& dataSets);

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
    int RecordCount() const { return int(m_visible.size()); }
    bool IsEmpty() const { return m_visible.empty(); }
    /// Index of the current visible row, -1 when there is none.
    int RecNo() const { return m_current; }
    void First() override;
    void Last();
    void Next();
    void Prior();
    /// Makes visible row `index` current (settling a pending row first).
    void MoveTo(int index);
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
    int ChangeCount() const { return int(m_log.size()); }
    /// Whether saving would write something: a row being edited, logged changes, or a
    /// new row the user typed into (a new row nobody touched is no change).
    bool HasPendingChanges() const;
    /// Writes the change log in one transaction (or inside the connection's open
    /// one); all of it or nothing. Returns the number of errors, which is always 0:
    /// any failure is raised and leaves the change log as it was.
    int ApplyUpdates(int maxErrors);
    void CancelUpdates();
    void Refresh();

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
    enum class RowStatus : quint8 { Unchanged, Modified, Inserted, Deleted, Pending };
    struct Row
    {
        QVariantList original; // as read from the server (empty for new rows)
        QVariantList current;  // as posted
        RowStatus status = RowStatus::Unchanged;
    };

    struct FilterExpr
    {
        int column = -1;
        qlonglong value = 0;
    };

    void requireActive(const char* operation) const;
    std::optional<FilterExpr> parseFilter(const QString& text) const;
    void refilterDone(bool rowsChanged);
    static std::optional<qlonglong> keyOf(const Row& row, int column);
    const std::vector<Row*>& rowsWithKey(int column, qlonglong key);
    void rebuildVisible();
    void startNewRow(bool append);
    enum Notice : quint8 { NoticeRows = 1, NoticeCurrent = 2, NoticeState = 4 };
    /// Sends the signals of `notices`, or holds them back while controls are disabled.
    void notify(int notices);
    void indexPosted(Row* row, std::optional<qlonglong> keyBefore, bool inserted);
    void finishPending(); // leaves edit/insert state, removing an unposted new row
    void setCurrent(int index, bool forceScroll);
    Row* currentRow() const;
    void logRow(Row* row);
    void unlogRow(Row* row);
    QVariant coerce(int column, const QVariant& value) const;
    TStatement statementFor(const Row& row, const QString& table, const QString& quote,
                            const QList<TColumnInfo>& columns) const;
    void fetch();
    void mergeWritten(const std::vector<Row*>& written);
    void setState(TDataSetState state);

    TSQLConnection& m_connection;
    TCommandType m_commandType = TCommandType::Table;
    QString m_commandText;
    QString m_filter;
    bool m_filtered = false;

    TDataSetState m_state = TDataSetState::Inactive;
    QList<TFieldDef> m_fields;
    QHash<QString, int> m_fieldIndex; // lower-case name -> column

    std::vector<std::unique_ptr<Row>> m_rows;
    std::vector<Row*> m_visible;
    std::vector<Row*> m_log;
    int m_current = -1;

    // Rows by filter-column value; valid while m_revision is what it was built at.
    // Every change to the rows held (values, rows added or removed) bumps m_revision.
    struct KeyIndex
    {
        int column = -1;
        quint64 revision = 0;
        std::unordered_map<qlonglong, std::vector<Row*>> rows;
    };
    KeyIndex m_index;
    int m_controlsDisabled = 0;
    int m_heldNotices = 0;
    quint64 m_revision = 1;

    QVariantList m_buffer; // values of the row being edited or inserted
    bool m_modified = false;
    bool m_inNewRecord = false;
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
