#pragma once

#include "rowfilter.h"

#include <QCollator>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>
#include <vector>

class TDataSource;

/// How a grid orders two values of a column: whole numbers as numbers and before any
/// text, text as `collator` orders it. Negative, 0 or positive.
int CompareCells(const QString& left, const QString& right, const QCollator& collator);

/// The rows as a grid shows them: those its row filter lets through (and the row being
/// edited), in the order of the column the user sorted by, else in the data set's.
class TGridViewModel : public QSortFilterProxyModel
{
public:
    TGridViewModel(TDataSource* source, QObject* parent);

    /// `model` must be the grid's TDataSetModel.
    void setSourceModel(QAbstractItemModel* model) override;
    void PrepareRowFilter(const QStringList& fields);
    void SetRowFilter(const QString& text, const QStringList& fields);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    void find();

    QPointer<TDataSource> m_source;
    QString m_text;
    TRowFilter m_filter;
    std::vector<bool> m_matches; // by the set's row, as last found
    int m_editing = -1;          // the row being edited then, shown whatever it holds
    bool m_rereading = false;
    QCollator m_collator;
};
