#include "clientdataset.h"

#include "connection.h"
#include "errors.h"
#include "rowreader.h"

#include <QPointer>
#include <QRegularExpression>
#include <algorithm>

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

std::optional<TSQLClientDataSet::TNamedKey>
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
    TNamedKey key{m.captured(1)};
    bool ok = false;
    key.value = m.captured(2).toLongLong(&ok);
    if (!ok)
        throw EKorvaneError(tr("The number in the filter \"%1\" is too large.").arg(text));
    return key;
}

std::optional<TKeyFilter> TSQLClientDataSet::keyFilter(const QString& text,
                                                       const std::optional<TNamedKey>& given,
                                                       const QHash<QString, int>& fields) const
{
    const auto key = given ? given : parseFilter(text);
    if (!key)
        return std::nullopt;
    const int column = fields.value(key->column.toLower(), -1);
    if (column < 0)
        throw EKorvaneError(tr("The filter \"%1\" names a column that \"%2\" does not have.")
                                .arg(text, m_commandText));
    return TKeyFilter{column, key->value};
}

std::optional<TKeyFilter> TSQLClientDataSet::filterOver(const QHash<QString, int>& fields) const
{
    return m_filtered ? keyFilter(m_filter, m_filterKey, fields) : std::nullopt;
}

void TSQLClientDataSet::refilter()
{
    m_rows.Refilter(filterOver(m_fieldIndex), m_state == TDataSetState::Insert);
}

void TSQLClientDataSet::SetFilter(const QString& text)
{
    changeFilter(text, std::nullopt);
}

void TSQLClientDataSet::SetKeyFilter(const QString& column, qlonglong value)
{
    changeFilter(QStringLiteral("%1=%2").arg(column).arg(value), TNamedKey{column, value});
}

void TSQLClientDataSet::changeFilter(const QString& text, const std::optional<TNamedKey>& key)
{
    if (!Active() || !m_filtered) {
        m_filter = text;
        m_filterKey = key;
        return;
    }
    keyFilter(text, key,
              m_fieldIndex); // refuse a filter we cannot evaluate before touching anything
    CheckBrowseMode();
    const bool changed = text != m_filter;
    m_filter = text;
    m_filterKey = key;
    if (changed)
        refilter();
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
        keyFilter(m_filter, m_filterKey, m_fieldIndex);
    CheckBrowseMode();
    m_filtered = on;
    refilter();
    refilterDone(true);
}

void TSQLClientDataSet::refilterDone(bool rowsChanged)
{
    // Whatever the filter shows now, the first of it is current.
    if (rowsChanged) {
        m_current = -1;
        notify(NoticeRows);
    }
    setCurrent(m_rows.IsEmpty() ? -1 : 0, true);
}

// --- open and close ---------------------------------------------------------------

void TSQLClientDataSet::read()
{
    const QString sql = m_commandType == TCommandType::Table
                            ? OpenStatement(m_commandText, m_connection.QuoteChar())
                            : m_commandText;
    TRowsRead read = ReadRows(m_connection, sql, m_commandText);
    // The filter is checked against the columns read before anything is replaced: a
    // filter column gone from the table leaves the set as it was.
    const auto filter = filterOver(read.fieldIndex);
    newEpoch();
    m_fields = std::move(read.fields);
    m_fieldIndex = std::move(read.fieldIndex);
    m_log.Clear();
    m_rows.Reset(std::move(read.rows), filter);
}

void TSQLClientDataSet::SetActive(bool active)
{
    if (active == Active())
        return;
    if (!active) {
        // Closing drops the rows: never with changes the user has not saved or discarded.
        if (!m_log.IsEmpty() || (IsEditing() && m_modified))
            throw EKorvaneError(tr("\"%1\" holds changes that are not saved yet; save or "
                                   "discard them before it is closed.")
                                    .arg(m_commandText));
        newEpoch();
        m_log.Clear();
        m_rows.Clear();
        m_fields.clear();
        m_fieldIndex.clear();
        m_buffer.clear();
        m_modified = false;
        m_current = -1;
        setState(TDataSetState::Inactive);
        notify(NoticeRows | NoticeCurrent);
        return;
    }
    read();
    m_current = m_rows.IsEmpty() ? -1 : 0;
    setState(TDataSetState::Browse);
    notify(NoticeRows | NoticeCurrent);
    if (!m_rows.IsEmpty() && AfterScroll)
        AfterScroll();
}

void TSQLClientDataSet::Refresh()
{
    requireActive("re-read");
    if (!m_log.IsEmpty() || (m_modified && m_state != TDataSetState::Browse))
        throw EKorvaneError(tr("\"%1\" holds changes that are not saved yet; save or "
                               "discard them before the list is read again.")
                                .arg(m_commandText));
    CheckBrowseMode();
    const int index = m_current;
    read();
    m_current = m_rows.IsEmpty() ? -1 : std::clamp(index, 0, RecordCount() - 1);
    notify(NoticeRows | NoticeCurrent);
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

void TSQLClientDataSet::setCurrent(int index, bool forceScroll)
{
    TRow* before = currentRow();
    // The edit of the row left is over: noted before the move, on the row it was made.
    if (m_rows.At(index) != before && m_recorder)
        m_recorder->Moved(*this);
    m_current = index;
    notify(NoticeCurrent);
    if ((forceScroll || currentRow() != before) && AfterScroll)
        AfterScroll();
}

void TSQLClientDataSet::First()
{
    requireActive("move to the first row");
    CheckBrowseMode();
    setCurrent(m_rows.IsEmpty() ? -1 : 0, true);
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
    TRow* target = m_rows.At(index);
    if (!target)
        return;
    CheckBrowseMode(); // may remove a new row nobody typed into, shifting the rows
    const int now = m_rows.IndexOf(target);
    setCurrent(now < 0 ? std::min(index, RecordCount() - 1) : now, false);
}

bool TSQLClientDataSet::Locate(const QString& column, qlonglong key)
{
    const int c = FieldIndex(column);
    for (int r = 0; c >= 0 && r < RecordCount(); ++r)
        if (const QVariant& v = VisibleCell(r, c); !v.isNull() && v.toLongLong() == key) {
            MoveTo(r);
            return true;
        }
    return false;
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
    if (IsEditing())
        return m_buffer.at(i);
    const TRow* row = currentRow();
    return row ? row->current.at(i) : QVariant();
}

QVariant TSQLClientDataSet::VisibleValue(int row, int column) const
{
    return VisibleCell(row, column);
}

const QVariant& TSQLClientDataSet::VisibleCell(int row, int column) const
{
    static const QVariant none;
    const TRow* shown = m_rows.At(row);
    if (!shown || column < 0 || column >= m_fields.size())
        return none;
    if (row == m_current && IsEditing())
        return m_buffer.at(column);
    return shown->current.at(column);
}

TSQLClientDataSet::TRowChange TSQLClientDataSet::VisibleChange(int row) const
{
    const TRow* shown = m_rows.At(row);
    switch (shown ? shown->status : TRowStatus::Unchanged) {
    case TRowStatus::Inserted:
    case TRowStatus::Pending:
        return TRowChange::Inserted;
    case TRowStatus::Modified:
        return TRowChange::Modified;
    default:
        return TRowChange::None;
    }
}

void TSQLClientDataSet::SetFieldValue(const QString& column, const QVariant& value)
{
    requireActive("change a value");
    const int i = FieldIndex(column);
    if (i < 0)
        throw EKorvaneError(
            tr("The data set \"%1\" has no column \"%2\".").arg(m_commandText, column));
    if (!IsEditing())
        throw EKorvaneError(tr("The data set \"%1\" is not being edited.").arg(m_commandText));
    const QVariant v = CoerceValue(m_fields[i], value);
    if (SameValue(m_buffer.at(i), v) && m_buffer.at(i).typeId() == v.typeId())
        return;
    if (!m_inNewRecord)
        touch(currentRow());
    m_buffer[i] = v;
    if (!m_inNewRecord)
        m_modified = true;
    notify(NoticeCurrent);
}

// --- signals ----------------------------------------------------------------------

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
