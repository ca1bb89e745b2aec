#include "datasetmodel.h"

#include "binding.h"
#include "clientdataset.h"

using namespace binding;

TDataSetModel::TDataSetModel(TDataSource* source, QList<TGridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_source(source), m_columns(std::move(columns))
{
    connect(source, &TDataSource::DataChanged, this, &TDataSetModel::reset);
    reset();
}

void TDataSetModel::reset()
{
    TSQLClientDataSet* set = setOf(m_source);
    const int rows = set && set->Active() ? set->RecordCount() : 0;
    // Rows that came or went are rows read anew (a selection of the rows before would
    // stand on others), even when as many came as went; changed values are not.
    std::vector<quintptr> identities(size_t(rows), 0);
    for (int r = 0; r < rows; ++r)
        identities[size_t(r)] = set->VisibleRowIdentity(r);
    if (rows != m_rows || identities != m_identities) {
        beginResetModel();
        m_rows = rows;
        m_identities = std::move(identities);
        endResetModel();
        return;
    }
    if (m_rows > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    }
}

int TDataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TDataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const
{
    TSQLClientDataSet* set = setOf(m_source);
    if (!set || !index.isValid() || index.row() >= set->RecordCount())
        return QVariant();
    const TGridColumn& column = m_columns[index.column()];
    if (column.picture && (role == PictureValueRole || role == Qt::ToolTipRole)) {
        const QString value =
            TextOf(set->VisibleValue(index.row(), set->FieldIndex(column.picture->field)));
        return role == PictureValueRole || !column.picture->tip ? QVariant(value)
                                                                : column.picture->tip(value);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const QVariant v = set->VisibleValue(index.row(), set->FieldIndex(column.field));
    return TextOf(v);
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    if (orientation == Qt::Horizontal) {
        if (role != Qt::DisplayRole)
            return QVariant();
        return section < m_columns.size() ? QVariant(m_columns[section].title) : QVariant();
    }
    // The row indicator: the current row, and whether it is being edited or inserted;
    // other rows, whether they hold changes not saved yet.
    TSQLClientDataSet* set = setOf(m_source);
    if (!set || !set->Active())
        return QString();
    const bool tip = role == Qt::ToolTipRole;
    const TSQLClientDataSet::TRowChange change = set->VisibleChange(section);
    if (section == set->RecNo()) {
        switch (set->State()) {
        case TDataSetState::Insert:
            return tip ? tr("New row, being typed") : QStringLiteral("*");
        case TDataSetState::Edit:
            return tip ? tr("Being edited") : QStringLiteral("I");
        default:
            return tip ? (change == TSQLClientDataSet::TRowChange::None
                              ? tr("Current row")
                              : tr("Current row, not saved yet"))
                       : QStringLiteral("\u25B6");
        }
    }
    switch (change) {
    case TSQLClientDataSet::TRowChange::Inserted:
        return tip ? tr("New, not saved yet") : QStringLiteral("+");
    case TSQLClientDataSet::TRowChange::Modified:
        return tip ? tr("Changed, not saved yet") : QStringLiteral("\u270E");
    default:
        break;
    }
    return QVariant();
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!ReadOnly && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

bool TDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TSQLClientDataSet* set = setOf(m_source);
    if (ReadOnly || role != Qt::EditRole || !set || !index.isValid())
        return false;
    if (index.row() != set->RecNo())
        set->MoveTo(index.row());
    return writeTo(m_source, m_columns[index.column()].field, value);
}
