#pragma once

#include "datasetmodel.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTableView>

class QAbstractItemModel;
class TDataSource;
class TGridViewModel;

/// A grid over a data source: titles, a row indicator, the current row of the set.
class TDBGrid : public QTableView
{
    Q_OBJECT

public:
    TDBGrid(TDataSource* source, const QList<TGridColumn>& columns, QWidget* parent = nullptr);
    /// The rows as the grid shows them (filtered and sorted by the view, see below).
    QAbstractItemModel* Model() const;
    /// The data set's visible rows, in its own order.
    TDataSetModel* DataModel() const { return m_model; }
    /// Shows only the rows whose value in one of `fields` contains `text`, ignoring
    /// case (all rows when empty). The view alone: the data set and its filter, current
    /// row and change log are untouched, and a row being edited always shows.
    void SetRowFilter(const QString& text, const QStringList& fields);
    /// Gets the rows ready to be filtered by `fields` (as the user enters the filter),
    /// so that the first letter typed finds them at once.
    void PrepareRowFilter(const QStringList& fields);
    /// The grid never gets so low that fewer than `rows` rows show.
    void SetMinimumRows(int rows);
    void SetReadOnly(bool readOnly);
    /// Ask before the Delete key deletes the current row.
    bool ConfirmDelete = false;
    /// Lets the user select several rows (click, Shift, Ctrl, Shift+arrows, Ctrl+A).
    void SetMultiSelect(bool on);
    /// The data set's visible rows the user selected, in the order the grid shows them;
    /// the current row alone when none is selected.
    std::vector<int> SelectedRows() const;
    /// Every row of the set in the order the grid shows them (sorted, as the user sorted
    /// it); the rows its row filter hides follow, in the set's order.
    std::vector<int> RowsInViewOrder() const;
    const QList<TGridColumn>& Columns() const { return m_columns; }

    /// Writes the text of an open cell editor into the row and closes the editor.
    void CommitEdit();
    /// Closes an open cell editor without writing its text.
    void CancelEdit();
    /// Whether a cell editor is open with text other than the cell's.
    bool HasUncommittedEdit() const;

signals:
    /// A row was double-clicked or Enter was pressed on it.
    void RowActivated();
    /// The text of an open cell editor changed, or the editor closed.
    void PendingEditChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followDataSet();
    QWidget* openEditor() const;
    void fitColumns();
    QPointer<TDataSource> m_source;
    QList<TGridColumn> m_columns;
    TDataSetModel* m_model;
    TGridViewModel* m_view;
    bool m_syncing = false;
    bool m_rowsWentOnPress = false; // the press settled a row away (see mousePressEvent)
    bool m_fitted = false;
    int m_viewChanging = 0; // the view is dropping, adding or reordering rows
    int m_moving = 0;       // the set is moving to the row the user made current
};

/// Writes the open cell editors of every grid in `window` into their rows.
void CommitOpenEditors(QWidget* window);
/// Closes the open cell editors of every grid in `window` without writing them.
void CancelOpenEditors(QWidget* window);
/// Whether a grid in `window` has a cell editor open with changed text.
bool HasUncommittedEdits(const QWidget* window);

/// Asks the user before a row (or `rows` rows) is deleted; true for Yes.
bool ConfirmRowDelete(QWidget* parent, int rows = 1);
