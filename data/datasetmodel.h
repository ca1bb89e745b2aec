#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>

class TDataSource;

/// A column of a grid: field, title, width in pixels and, for editable grids, how
/// many characters a cell takes (0: no limit of its own).
struct TGridColumn
{
    QString field;
    QString title;
    int width = 64;
    int limit = 0;
};

/// The visible rows of a data set as a table, one column per grid column.
class TDataSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    TDataSetModel(TDataSource* source, QList<TGridColumn> columns, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool ReadOnly = false;
    /// Tells the views that every row may differ (cheaper for them than many ranges of
    /// rows added and removed).
    void Reread()
    {
        beginResetModel();
        endResetModel();
    }

private:
    void reset();
    QPointer<TDataSource> m_source;
    QList<TGridColumn> m_columns;
    int m_rows = 0;
};
