#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QRect;
class TDataSource;

/// A picture a grid column draws before its text, made from a field of the row (a
/// channel's icon before its name). Drawn only for the rows painted, so that a grid of
/// thousands of rows asks for the few in view.
struct TGridPicture
{
    QString field;
    QSize size; // the room it takes before the text
    /// Draws the picture for the field's `value` into `room`.
    std::function<void(QPainter& painter, const QRect& room, const QString& value)> paint;
    /// The cell's tooltip for the field's `value`.
    std::function<QString(const QString& value)> tip;
};

/// A column of a grid: field, title, width in pixels and, for editable grids, how
/// many characters a cell takes (0: no limit of its own).
struct TGridColumn
{
    QString field;
    QString title;
    int width = 64;
    int limit = 0;
    std::shared_ptr<const TGridPicture> picture = nullptr;
};

/// The visible rows of a data set as a table, one column per grid column.
class TDataSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// The value of the field a column's picture is made from (a role of its own).
    static constexpr int PictureValueRole = Qt::UserRole + 1;

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
    std::vector<quintptr> m_identities; // which rows of the set the rows are
};
