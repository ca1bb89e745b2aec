#include "clientdataset.h"

#include "connection.h"
#include "errors.h"

#include <QPointer>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace {

// MySQL's type number of TEXT and BLOB columns, as the driver reports it.
constexpr int MysqlBlobType = 252;

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a == b;
}

bool sameValues(const QVariantList& a, const QVariantList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!sameValue(a[i], b[i]))
            return false;
    return true;
}

bool isFloatType(int id)
{
    return id == QMetaType::Double || id == QMetaType::Float;
}

} // namespace

TSQLClientDataSet::TSQLClientDataSet(TSQLConnection& connection, QObject* parent)
    : QObject(parent), m_connection(connection)
{
}

TSQLClientDataSet::~TSQLClientDataSet() = default;

std::unique_ptr<TScratchDataSet> TSQLClientDataSet::CreateSearchDataSet(TSQLConnection& connection)
{
    auto set = std::make_unique<TSQLClientDataSet>(connection);
    set->setObjectName(QStringLiteral("SearchDataSet"));
    set->SetCommandType(TCommandType::Text);
    return set;
}

void TSQLClientDataSet::SetCommandType(TCommandType type)
{
    if (Active())
        throw EKorvaneError(tr("The command of an open data set cannot be changed."));
    m_commandType = type;
}

void TSQLClientDataSet::SetCommandText(const QString& text)
{
    if (Active())
        throw EKorvaneError(tr("The command of an open data set cannot be changed."));
    m_commandText = text;
}

void TSQLClientDataSet::requireActive(const char* operation) const
{
    if (!Active())
        throw EKorvaneError(tr("Cannot %1: the data set \"%2\" is not open.")
                                .arg(QLatin1String(operation), m_commandText));
}

// --- filter -------------------------------------------------------------------------

std::optional<TSQLClientDataSet::FilterExpr>
TSQLClientDataSet::parseFilter(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    static const QRegularExpression equality(
        QStringLiteral("^\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*=\\s*(-?[0-9]+)\\s*$"));
    const QRegularExpressionMatch m = equality.match(text);
    if (!m.hasMatch())
        throw EKorvaneError(tr("The filter \"%1\" is not understood: a filter compares "
                               "one column with a whole number, as in \"sourceid=5\".")
                                .arg(text));
    FilterExpr expr;
    expr.column = FieldIndex(m.captured(1));
    if (expr.column < 0)
        throw EKorvaneError(tr("The filter \"%1\" names a column that \"%2\" does not have.")
                                .arg(text, m_commandText));
    bool ok = false;
    expr.value = m.captured(2).toLongLong(&ok);
    if (!ok)
        throw EKorvaneError(tr("The number in the filter \"%1\" is too large.").arg(text));
    return expr;
}

std::optional<qlonglong> TSQLClientDataSet::keyOf(const Row& row, int column)
{
    const QVariant& v = row.current.at(column);
    if (v.isNull())
        return std::nullopt;
    // Identifier columns hold plain integers: read them without QVariant's conversion
    // machinery.
    if (v.typeId() == QMetaType::Int)
        return *static_cast<const int*>(v.constData());
    if (v.typeId() == QMetaType::LongLong)
        return *static_cast<const qlonglong*>(v.constData());
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    return ok ? std::optional<qlonglong>(n) : std::nullopt;
}

const std::vector<TSQLClientDataSet::Row*>& TSQLClientDataSet::rowsWithKey(int column,
                                                                           qlonglong key)
{
    // The rows by their value in the filter column, in storage order; rebuilt only when
    // rows changed since, so switching between filters costs the rows shown, not all.
    if (m_index.column != column || m_index.revision != m_revision) {
        m_index.rows.clear();
        for (const auto& row : m_rows)
            if (const auto k = keyOf(*row, column))
                m_index.rows[*k].push_back(row.get());
        m_index.column = column;
        m_index.revision = m_revision;
    }
    static const std::vector<Row*> none;
    const auto it = m_index.rows.find(key);
    return it == m_index.rows.end() ? none : it->second;
}

void TSQLClientDataSet::rebuildVisible()
{
    const auto filter = m_filtered ? parseFilter(m_filter) : std::nullopt;
    const int column = filter ? filter->column : -1;
    const qlonglong key = filter ? filter->value : 0;
    m_visible.clear();
    if (column >= 0 && m_state != TDataSetState::Insert) {
        for (Row* row : rowsWithKey(column, key))
            if (row->status != RowStatus::Deleted)
                m_visible.push_back(row);
        return;
    }
    m_visible.reserve(m_rows.size());
    for (const auto& row : m_rows) {
        if (row->status == RowStatus::Deleted)
            continue;
        // A row being inserted stays visible until it is settled.
        if (row->status == RowStatus::Pending || column < 0 || keyOf(*row, column) == key)
            m_visible.push_back(row.get());
    }
}

void TSQLClientDataSet::SetFilter(const QString& text)
{
    if (!Active() || !m_filtered) {
        m_filter = text;
        return;
    }
    parseFilter(text); // refuse a filter we cannot evaluate before touching anything
    CheckBrowseMode();
    const bool changed = text != m_filter;
    m_filter = text;
    if (changed)
        rebuildVisible();
    refilterDone(changed);
}

void TSQLClientDataSet::SetFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (!Active()) {
        m_filtered = on;
        return;
    }
    if (on)
        parseFilter(m_filter);
    CheckBrowseMode();
    m_filtered = on;
    rebuildVisible();
    refilterDone(true);
}

void TSQLClientDataSet::refilterDone(bool rowsChanged)
{
    // Whatever the filter shows now, the first of it is current.
    if (rowsChanged) {
        m_current = -1;
        notify(NoticeRows);
    }
    setCurrent(m_visible.empty() ? -1 : 0, true);
}

// --- open and close ---------------------------------------------------------------

void TSQLClientDataSet::fetch()
{
    const QString sql = m_commandType == TCommandType::Table
                            ? OpenStatement(m_commandText, m_connection.QuoteChar())
                            : m_commandText;
    QSqlQuery& query = m_connection.Execute(sql);
    const QSqlRecord record = query.record();

    QList<TFieldDef> fields;
    QHash<QString, int> index;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        TFieldDef def;
        def.name = f.name();
        def.type = f.metaType();
        def.typeId = f.typeID();
        const int reported = def.type.id();
        SetIntegerRange(def, reported == QMetaType::UChar || reported == QMetaType::UShort ||
                                 reported == QMetaType::UInt || reported == QMetaType::ULongLong);
        // TINYINT arrives as a char type; it is a number like any other integer.
        if (def.type.id() == QMetaType::Char || def.type.id() == QMetaType::SChar ||
            def.type.id() == QMetaType::UChar)
            def.type = QMetaType(QMetaType::Int);
        def.length = f.length();
        def.autoValue = f.isAutoValue();
        def.readOnly = f.isReadOnly();
        def.blob = f.typeID() == MysqlBlobType;
        fields << def;
        index.insert(def.name.toLower(), i);
    }

    std::vector<std::unique_ptr<Row>> rows;
    if (query.size() > 0)
        rows.reserve(size_t(query.size()));
    const int n = record.count();
    // Columns whose values arrive as another type than the column's (TINYINT as char).
    QList<bool> convert;
    for (int i = 0; i < n; ++i)
        convert << (fields[i].type != record.field(i).metaType());
    while (query.next()) {
        auto row = std::make_unique<Row>();
        row->original.reserve(n);
        for (int i = 0; i < n; ++i) {
            QVariant v = query.value(i);
            if (convert[i]) {
                if (v.isNull())
                    v = QVariant(fields[i].type);
                else
                    v.convert(fields[i].type);
            }
            row->original << v;
        }
        row->current = row->original;
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw EDatabaseError(query.lastError().text());
    qCDebug(lcSql).noquote() << "--" << rows.size() << "rows from" << m_commandText;

    m_fields = std::move(fields);
    m_fieldIndex = std::move(index);
    m_rows = std::move(rows);
    ++m_revision;
    m_log.clear();
}

void TSQLClientDataSet::SetActive(bool active)
{
    if (active == Active())
        return;
    if (!active) {
        // Closing drops the rows: never with changes the user has not saved or discarded.
        if (!m_log.empty() || (IsEditing() && m_modified))
            throw EKorvaneError(tr("\"%1\" holds changes that are not saved yet; save or "
                                   "discard them before it is closed.")
                                    .arg(m_commandText));
        m_index = {};
        ++m_revision;
        m_rows.clear();
        m_visible.clear();
        m_log.clear();
        m_fields.clear();
        m_fieldIndex.clear();
        m_buffer.clear();
        m_modified = false;
        m_current = -1;
        setState(TDataSetState::Inactive);
        notify(NoticeRows | NoticeCurrent);
        return;
    }
    fetch();
    try {
        rebuildVisible();
    } catch (...) {
        m_rows.clear();
        m_fields.clear();
        m_fieldIndex.clear();
        throw;
    }
    m_current = m_visible.empty() ? -1 : 0;
    setState(TDataSetState::Browse);
    notify(NoticeRows | NoticeCurrent);
    if (!m_visible.empty() && AfterScroll)
        AfterScroll();
}

void TSQLClientDataSet::setState(TDataSetState state)
{
    if (state == m_state)
        return;
    m_state = state;
    notify(NoticeState);
}

QStringList TSQLClientDataSet::FieldNames() const
{
    QStringList names;
    for (const TFieldDef& f : m_fields)
        names << f.name;
    return names;
}

int TSQLClientDataSet::FieldIndex(const QString& name) const
{
    return m_fieldIndex.value(name.toLower(), -1);
}

const TFieldDef* TSQLClientDataSet::Field(const QString& name) const
{
    const int i = FieldIndex(name);
    return i < 0 ? nullptr : &m_fields[i];
}

// --- movement ---------------------------------------------------------------------

TSQLClientDataSet::Row* TSQLClientDataSet::currentRow() const
{
    if (m_current < 0 || m_current >= RecordCount())
        return nullptr;
    return m_visible[size_t(m_current)];
}

void TSQLClientDataSet::setCurrent(int index, bool forceScroll)
{
    Row* before = currentRow();
    m_current = index;
    notify(NoticeCurrent);
    if ((forceScroll || currentRow() != before) && AfterScroll)
        AfterScroll();
}

void TSQLClientDataSet::First()
{
    requireActive("move to the first row");
    CheckBrowseMode();
    setCurrent(m_visible.empty() ? -1 : 0, true);
}

void TSQLClientDataSet::Last()
{
    requireActive("move to the last row");
    CheckBrowseMode();
    setCurrent(RecordCount() - 1, false);
}

void TSQLClientDataSet::Next()
{
    requireActive("move to the next row");
    CheckBrowseMode();
    if (m_current < RecordCount() - 1)
        setCurrent(m_current + 1, false);
}

void TSQLClientDataSet::Prior()
{
    requireActive("move to the previous row");
    CheckBrowseMode();
    if (m_current > 0)
        setCurrent(m_current - 1, false);
}

void TSQLClientDataSet::MoveTo(int index)
{
    requireActive("move");
    if (index < 0 || index >= RecordCount())
        return;
    Row* target = m_visible[size_t(index)];
    CheckBrowseMode(); // may remove a new row nobody typed into, shifting the rows
    const auto it = std::find(m_visible.begin(), m_visible.end(), target);
    const int now =
        it == m_visible.end() ? std::min(index, RecordCount() - 1) : int(it - m_visible.begin());
    setCurrent(now, false);
}

// --- values -----------------------------------------------------------------------

QVariant TSQLClientDataSet::FieldValue(const QString& column) const
{
    const int i = FieldIndex(column);
    if (i < 0) {
        if (!Active())
            return QVariant();
        throw EKorvaneError(
            tr("The data set \"%1\" has no column \"%2\".").arg(m_commandText, column));
    }
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        return m_buffer.at(i);
    const Row* row = currentRow();
    return row ? row->current.at(i) : QVariant();
}

QVariant TSQLClientDataSet::VisibleValue(int row, int column) const
{
    return VisibleCell(row, column);
}

const QVariant& TSQLClientDataSet::VisibleCell(int row, int column) const
{
    static const QVariant none;
    if (row < 0 || row >= RecordCount() || column < 0 || column >= m_fields.size())
        return none;
    if (row == m_current && (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert))
        return m_buffer.at(column);
    return m_visible[size_t(row)]->current.at(column);
}

TSQLClientDataSet::TRowChange TSQLClientDataSet::VisibleChange(int row) const
{
    if (row < 0 || row >= RecordCount())
        return TRowChange::None;
    switch (m_visible[size_t(row)]->status) {
    case RowStatus::Inserted:
    case RowStatus::Pending:
        return TRowChange::Inserted;
    case RowStatus::Modified:
        return TRowChange::Modified;
    default:
        return TRowChange::None;
    }
}

QVariant TSQLClientDataSet::coerce(int column, const QVariant& value) const
{
    const TFieldDef& f = m_fields[column];
    const int type = f.type.id();
    if (value.isNull())
        return QVariant(f.type);
    if (f.integer) {
        // Checked against the column's range: a number the column cannot hold is
        // refused here, never wrapped into another number on the way to the server.
        const QString text = value.toString().trimmed();
        QVariant number;
        switch (CheckWholeNumber(f, text, &number)) {
        case TNumberCheck::Ok:
            return number;
        case TNumberCheck::Incomplete:
            if (text.isEmpty())
                return QVariant(f.type);
            [[fallthrough]];
        case TNumberCheck::NotANumber:
            throw ERefusedValue(tr("\"%1\" is not a whole number; the column \"%2\" holds "
                                   "whole numbers %3.")
                                    .arg(text, f.name, NumberRangeText(f)),
                                f.name);
        case TNumberCheck::OutOfRange:
            throw ERefusedValue(tr("%1 is too large for the column \"%2\", which holds whole "
                                   "numbers %3.")
                                    .arg(text, f.name, NumberRangeText(f)),
                                f.name);
        }
    }
    if (isFloatType(type) && value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return QVariant(f.type);
        bool ok = false;
        QVariant converted = text.toDouble(&ok);
        if (!ok || !converted.convert(f.type))
            throw ERefusedValue(
                tr("\"%1\" is not a number; the column \"%2\" holds numbers.").arg(text, f.name),
                f.name);
        return converted;
    }
    if (type == QMetaType::QString && value.typeId() != QMetaType::QString)
        return value.toString();
    return value;
}

void TSQLClientDataSet::SetFieldValue(const QString& column, const QVariant& value)
{
    requireActive("change a value");
    const int i = FieldIndex(column);
    if (i < 0)
        throw EKorvaneError(
            tr("The data set \"%1\" has no column \"%2\".").arg(m_commandText, column));
    if (m_state != TDataSetState::Edit && m_state != TDataSetState::Insert)
        throw EKorvaneError(tr("The data set \"%1\" is not being edited.").arg(m_commandText));
    const QVariant v = coerce(i, value);
    if (sameValue(m_buffer.at(i), v) && m_buffer.at(i).typeId() == v.typeId())
        return;
    m_buffer[i] = v;
    if (!m_inNewRecord)
        m_modified = true;
    notify(NoticeCurrent);
}

// --- editing ----------------------------------------------------------------------

bool TSQLClientDataSet::HasPendingChanges() const
{
    if (!Active())
        return false;
    return m_state == TDataSetState::Edit || !m_log.empty() ||
           (m_state == TDataSetState::Insert && m_modified);
}

void TSQLClientDataSet::MarkModified()
{
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        m_modified = true;
}

int ApplyUpdatesTogether(TSQLConnection& connection, const QList<TSQLClientDataSet*>& dataSets)
{
    // Settle pending rows first: a posting row may post rows of another set.
    int changes = 0;
    for (TSQLClientDataSet* set : dataSets)
        if (set->Active())
            set->CheckBrowseMode();
    for (TSQLClientDataSet* set : dataSets)
        if (set->Active())
            changes += set->ChangeCount();
    if (changes == 0)
        return 0;
    connection.StartTransaction();
    try {
        for (TSQLClientDataSet* set : dataSets)
            if (set->Active())
                set->ApplyUpdates(0);
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
    return changes;
}

void TSQLClientDataSet::CheckBrowseMode()
{
    if (m_state != TDataSetState::Edit && m_state != TDataSetState::Insert)
        return;
    if (m_modified)
        Post();
    else
        Cancel();
}

void TSQLClientDataSet::Append()
{
    startNewRow(true);
}
void TSQLClientDataSet::Insert()
{
    startNewRow(false);
}

void TSQLClientDataSet::startNewRow(bool append)
{
    requireActive("add a row");
    CheckBrowseMode();
    Row* before = currentRow();
    auto row = std::make_unique<Row>();
    row->status = RowStatus::Pending;
    for (const TFieldDef& f : m_fields)
        row->current << QVariant(f.type);
    Row* pending = row.get(); // holds no key until posted: the key index stays valid

    if (append || !before) {
        m_rows.push_back(std::move(row));
        m_visible.push_back(pending);
        m_current = RecordCount() - 1;
    } else {
        const auto at = std::find_if(m_rows.begin(), m_rows.end(),
                                     [before](const auto& r) { return r.get() == before; });
        m_rows.insert(at, std::move(row));
        m_visible.insert(m_visible.begin() + m_current, pending);
    }
    m_buffer = pending->current;
    m_modified = false;
    setState(TDataSetState::Insert);
    notify(NoticeRows | NoticeCurrent);

    m_inNewRecord = true;
    try {
        if (OnNewRecord)
            OnNewRecord();
    } catch (...) {
        m_inNewRecord = false;
        // Leave the set as it was before the new row started.
        if (m_state == TDataSetState::Insert && currentRow() == pending) {
            finishPending();
            const auto it = std::find(m_visible.begin(), m_visible.end(), before);
            m_current = it == m_visible.end() ? -1 : int(it - m_visible.begin());
            notify(NoticeRows | NoticeCurrent);
        }
        throw;
    }
    m_inNewRecord = false;
    // A handler may have settled the new row itself (through another data set).
    if (AfterScroll)
        AfterScroll();
}

void TSQLClientDataSet::finishPending()
{
    if (m_state == TDataSetState::Insert) {
        // An unposted row holds no key: the key index never listed it.
        Row* pending = currentRow();
        m_visible.erase(std::find(m_visible.begin(), m_visible.end(), pending));
        m_rows.erase(std::find_if(m_rows.begin(), m_rows.end(),
                                  [pending](const auto& r) { return r.get() == pending; }));
    }
    m_buffer.clear();
    m_modified = false;
    setState(TDataSetState::Browse);
}

void TSQLClientDataSet::Edit()
{
    requireActive("edit");
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        return;
    if (m_visible.empty()) {
        Append();
        return;
    }
    m_buffer = currentRow()->current;
    m_modified = false;
    setState(TDataSetState::Edit);
}

void TSQLClientDataSet::Post()
{
    requireActive("post");
    if (m_state != TDataSetState::Edit && m_state != TDataSetState::Insert)
        return;
    if (BeforePost)
        BeforePost();
    if (m_state != TDataSetState::Edit && m_state != TDataSetState::Insert)
        return; // the handler settled the row itself
    Row* row = currentRow();
    const bool inserted = m_state == TDataSetState::Insert;
    const auto keyBefore =
        inserted || m_index.column < 0 ? std::nullopt : keyOf(*row, m_index.column);
    if (inserted) {
        row->current = m_buffer;
        row->status = RowStatus::Inserted;
        logRow(row);
    } else if (!sameValues(m_buffer, row->current)) {
        row->current = m_buffer;
        if (row->status == RowStatus::Unchanged) {
            row->status = RowStatus::Modified;
            logRow(row);
        } else if (row->status == RowStatus::Modified && sameValues(row->current, row->original)) {
            // Every value is back as it was read: nothing left to write.
            row->status = RowStatus::Unchanged;
            row->current = row->original;
            unlogRow(row);
        }
    }
    indexPosted(row, keyBefore, inserted);
    m_buffer.clear();
    m_modified = false;
    setState(TDataSetState::Browse);
    notify(NoticeCurrent);
}

void TSQLClientDataSet::notify(int notices)
{
    if (m_controlsDisabled > 0) {
        m_heldNotices |= notices;
        return;
    }
    if (notices & NoticeRows)
        emit RowsChanged();
    if (notices & NoticeCurrent)
        emit CurrentChanged();
    if (notices & NoticeState)
        emit StateChanged();
}

void TSQLClientDataSet::EnableControls()
{
    if (m_controlsDisabled == 0 || --m_controlsDisabled > 0)
        return;
    const int held = std::exchange(m_heldNotices, 0);
    notify(held);
}

void TSQLClientDataSet::indexPosted(Row* row, std::optional<qlonglong> keyBefore, bool inserted)
{
    // Rows added one after another (an import, typing in a list) would otherwise rebuild
    // the whole index for every row: an appended row joins the end of its key's rows
    // (storage order), and an edit that keeps the key leaves the index as it is.
    if (m_index.column < 0 || m_index.revision != m_revision)
        return;
    const auto key = keyOf(*row, m_index.column);
    if (inserted && m_rows.back().get() == row) {
        if (key)
            m_index.rows[*key].push_back(row);
    } else if (inserted || key != keyBefore) {
        ++m_revision;
    }
}

void TSQLClientDataSet::Cancel()
{
    requireActive("cancel");
    if (m_state != TDataSetState::Edit && m_state != TDataSetState::Insert)
        return;
    if (BeforeCancel)
        BeforeCancel();
    if (m_state != TDataSetState::Edit && m_state != TDataSetState::Insert)
        return;
    const bool wasInsert = m_state == TDataSetState::Insert;
    const int index = m_current;
    finishPending();
    if (wasInsert) {
        notify(NoticeRows);
        m_current = -2; // force the scroll: the current row is gone
        setCurrent(m_visible.empty() ? -1 : std::min(index, RecordCount() - 1), true);
    } else {
        notify(NoticeCurrent);
    }
}

void TSQLClientDataSet::Delete()
{
    requireActive("delete");
    if (m_state == TDataSetState::Insert) {
        Cancel();
        return;
    }
    if (m_visible.empty())
        throw EDatabaseError(tr("Cannot perform this operation on an empty data set."));
    if (BeforeDelete)
        BeforeDelete();
    Row* row = currentRow();
    if (!row)
        return;
    if (m_state == TDataSetState::Edit) {
        m_buffer.clear();
        m_modified = false;
        setState(TDataSetState::Browse);
    }
    const int index = m_current;
    ++m_revision;
    m_visible.erase(m_visible.begin() + index);
    if (row->status == RowStatus::Inserted) {
        // Never written: forgetting it is all the delete needs.
        unlogRow(row);
        m_rows.erase(std::find_if(m_rows.begin(), m_rows.end(),
                                  [row](const auto& r) { return r.get() == row; }));
    } else {
        if (row->status == RowStatus::Modified)
            row->current = row->original;
        row->status = RowStatus::Deleted;
        logRow(row);
    }
    notify(NoticeRows);
    m_current = -2;
    setCurrent(m_visible.empty() ? -1 : std::min(index, RecordCount() - 1), true);
}

// --- change log -------------------------------------------------------------------

void TSQLClientDataSet::logRow(Row* row)
{
    if (std::find(m_log.begin(), m_log.end(), row) == m_log.end())
        m_log.push_back(row);
}

void TSQLClientDataSet::unlogRow(Row* row)
{
    m_log.erase(std::remove(m_log.begin(), m_log.end(), row), m_log.end());
}

TStatement TSQLClientDataSet::statementFor(const Row& row, const QString& table,
                                           const QString& quote,
                                           const QList<TColumnInfo>& columns) const
{
    switch (row.status) {
    case RowStatus::Inserted:
        return InsertStatement(table, quote, columns, row.current);
    case RowStatus::Modified: {
        QList<bool> changed;
        for (qsizetype i = 0; i < columns.size(); ++i)
            changed << !sameValue(row.original[i], row.current[i]);
        return UpdateStatement(table, quote, columns, row.original, row.current, changed);
    }
    case RowStatus::Deleted:
        return DeleteStatement(table, quote, columns, row.original);
    case RowStatus::Unchanged:
    case RowStatus::Pending:
        break;
    }
    throw EKorvaneError(tr("Internal error: a row in the change log has no change."));
}

int TSQLClientDataSet::ApplyUpdates(int maxErrors)
{
    Q_UNUSED(maxErrors); // any error ends the apply: the whole log is written or none of it
    requireActive("save");
    CheckBrowseMode();
    if (m_log.empty())
        return 0;
    if (m_commandType != TCommandType::Table)
        throw EKorvaneError(tr("The result of a query cannot be saved."));

    const QString quote = m_connection.QuoteChar();
    QList<TColumnInfo> columns;
    for (const TFieldDef& f : m_fields)
        columns << TColumnInfo{f.name, f.type, f.Updatable(), f.WhereEligible()};

    // Build every statement before sending any: a log that cannot be written fully
    // must not be written in part.
    std::vector<TStatement> statements;
    statements.reserve(m_log.size());
    for (const Row* row : m_log)
        statements.push_back(statementFor(*row, m_commandText, quote, columns));

    // Inside a caller's transaction the caller commits or rolls back; otherwise this
    // apply is a transaction of its own.
    const bool ownTransaction = !m_connection.InTransaction();
    if (ownTransaction)
        m_connection.StartTransaction();
    try {
        for (size_t i = 0; i < statements.size(); ++i) {
            QSqlQuery& q = m_connection.Execute(statements[i].text, statements[i].binds);
            if (m_log[i]->status == RowStatus::Inserted)
                continue;
            const int matched = q.numRowsAffected();
            if (matched == 1)
                continue;
            const Row& row = *m_log[i];
            const QString key =
                columns.isEmpty() ? QString()
                                  : QStringLiteral("%1 = %2").arg(columns.first().name,
                                                                  row.original.first().toString());
            if (matched == 0)
                throw EDatabaseError(tr("The record was changed or deleted by another "
                                        "user since it was read. (table %1, %2)")
                                         .arg(m_commandText, key));
            throw EDatabaseError(tr("The change would affect %1 rows of table %2 "
                                    "instead of one (%3); nothing was written.")
                                     .arg(matched)
                                     .arg(m_commandText, key));
        }
        if (ownTransaction)
            m_connection.Commit();
    } catch (...) {
        if (ownTransaction)
            m_connection.Rollback();
        throw;
    }

    // The log is done with once the transaction is committed: at once when this apply
    // owned it, otherwise when the caller commits.
    QPointer<TSQLClientDataSet> self(this);
    std::vector<Row*> written = m_log;
    m_connection.AfterCommit([self, written] {
        if (self)
            self->mergeWritten(written);
    });
    return 0;
}

void TSQLClientDataSet::mergeWritten(const std::vector<Row*>& written)
{
    ++m_revision;
    // Only rows still logged as they were written: a set that was closed or whose log
    // was cancelled meanwhile has nothing to merge.
    for (Row* row : written) {
        const auto logged = std::find(m_log.begin(), m_log.end(), row);
        if (logged == m_log.end())
            continue;
        m_log.erase(logged);
        if (row->status == RowStatus::Deleted) {
            m_rows.erase(std::find_if(m_rows.begin(), m_rows.end(),
                                      [row](const auto& r) { return r.get() == row; }));
        } else {
            row->original = row->current;
            row->status = RowStatus::Unchanged;
        }
    }
    notify(NoticeCurrent);
}

void TSQLClientDataSet::CancelUpdates()
{
    if (!Active())
        return;
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        Cancel();
    Row* before = currentRow();
    ++m_revision;
    for (Row* row : m_log) {
        if (row->status == RowStatus::Inserted) {
            if (row == before)
                before = nullptr;
            m_rows.erase(std::find_if(m_rows.begin(), m_rows.end(),
                                      [row](const auto& r) { return r.get() == row; }));
        } else {
            row->current = row->original;
            row->status = RowStatus::Unchanged;
        }
    }
    m_log.clear();
    const int index = m_current;
    rebuildVisible();
    notify(NoticeRows);
    const auto it = std::find(m_visible.begin(), m_visible.end(), before);
    int now = it != m_visible.end() ? int(it - m_visible.begin())
                                    : std::min(std::max(index, 0), RecordCount() - 1);
    m_current = before ? now : -2;
    setCurrent(now, false);
}

void TSQLClientDataSet::Refresh()
{
    requireActive("re-read");
    if (!m_log.empty() || (m_modified && m_state != TDataSetState::Browse))
        throw EKorvaneError(tr("\"%1\" holds changes that are not saved yet; save or "
                               "discard them before the list is read again.")
                                .arg(m_commandText));
    CheckBrowseMode();
    const int index = m_current;
    fetch();
    rebuildVisible();
    m_current = m_visible.empty() ? -1 : std::clamp(index, 0, RecordCount() - 1);
    notify(NoticeRows | NoticeCurrent);
}
