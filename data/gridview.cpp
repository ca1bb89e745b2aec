#include "gridview.h"

#include "binding.h"
#include "clientdataset.h"
#include "datasetmodel.h"

using namespace binding;

TGridViewModel::TGridViewModel(TDataSource* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source)
{
    m_collator.setNumericMode(true); // "9" before "10"
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

void TGridViewModel::setSourceModel(QAbstractItemModel* model)
{
    // Rows read anew or changed: what matched before says nothing about them. (Found
    // again before the proxy, connected after this, looks at the rows.)
    auto again = [this] {
        if (m_rereading)
            return;
        m_filter.Forget();
        find();
    };
    connect(model, &QAbstractItemModel::modelReset, this, again);
    connect(model, &QAbstractItemModel::dataChanged, this, again);
    QSortFilterProxyModel::setSourceModel(model);
}

void TGridViewModel::PrepareRowFilter(const QStringList& fields)
{
    m_filter.SetFields(fields);
    if (TSQLClientDataSet* set = setOf(m_source); set && set->Active())
        m_filter.Prepare(*set);
}

void TGridViewModel::SetRowFilter(const QString& text, const QStringList& fields)
{
    if (text == m_text && fields == m_filter.Fields())
        return;
    m_text = text;
    m_filter.SetFields(fields);
    find();
    // The views start afresh instead of dropping rows range by range, which costs them
    // far more with thousands of rows.
    m_rereading = true;
    static_cast<TDataSetModel*>(sourceModel())->Reread();
    m_rereading = false;
}

bool TGridViewModel::filterAcceptsRow(int row, const QModelIndex&) const
{
    if (m_text.isEmpty())
        return true;
    // Every row was looked at when the text or the rows last changed.
    if (size_t(row) < m_matches.size())
        return m_matches[size_t(row)] || row == m_editing;
    TSQLClientDataSet* set = setOf(m_source);
    return !set || !set->Active() || m_filter.Holds(*set, row, m_text) ||
           (set->IsEditing() && row == set->RecNo());
}

int CompareCells(const QString& left, const QString& right, const QCollator& collator)
{
    // The collator's numeric mode does nothing in the C locale (where many servers and
    // containers run): numbers are told apart here, in every locale alike.
    bool leftNumber = false, rightNumber = false;
    const qlonglong l = left.trimmed().toLongLong(&leftNumber);
    const qlonglong r = right.trimmed().toLongLong(&rightNumber);
    if (leftNumber && rightNumber && l != r)
        return l < r ? -1 : 1;
    if (leftNumber != rightNumber)
        return leftNumber ? -1 : 1; // numbers first, then text
    return collator.compare(left, right);
}

bool TGridViewModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return CompareCells(left.data().toString(), right.data().toString(), m_collator) < 0;
}

void TGridViewModel::find()
{
    TSQLClientDataSet* set = setOf(m_source);
    const bool active = set && set->Active();
    m_matches = !m_text.isEmpty() && active ? m_filter.Find(*set, m_text) : std::vector<bool>();
    m_editing = active && set->IsEditing() ? set->RecNo() : -1;
}
