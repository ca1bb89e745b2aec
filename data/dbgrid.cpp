#include "dbgrid.h"

#include "binding.h"
#include "clientdataset.h"
#include "griddelegate.h"
#include "gridview.h"
#include "guard.h"
#include "messagebox.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <algorithm>
#include <utility>

using namespace binding;

namespace {

class TRowIndicator : public QHeaderView
{
public:
    explicit TRowIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
    {
        setSectionsClickable(true);
        setHighlightSections(true);
    }

protected:
    QSize sectionSizeFromContents(int) const override { return {width(), defaultSectionSize()}; }
};

} // namespace

TDBGrid::TDBGrid(TDataSource* source, const QList<TGridColumn>& columns, QWidget* parent)
    : QTableView(parent), m_source(source), m_columns(columns),
      m_model(new TDataSetModel(source, columns, this)), m_view(new TGridViewModel(source, this))
{
    m_view->setSourceModel(m_model);
    // While the view drops, reorders or re-reads rows, the current cell it picks on the
    // way is its own business: the data set's current row stays, and the grid shows it
    // again afterwards. (Connected before the view's own slots, so that they run first.)
    auto hold = [this] {
        ++m_viewChanging;
    };
    auto release = [this] {
        if (--m_viewChanging == 0)
            followDataSet();
    };
    connect(m_view, &QAbstractItemModel::rowsAboutToBeRemoved, this, hold);
    connect(m_view, &QAbstractItemModel::rowsRemoved, this, release);
    connect(m_view, &QAbstractItemModel::rowsAboutToBeInserted, this, hold);
    connect(m_view, &QAbstractItemModel::rowsInserted, this, release);
    connect(m_view, &QAbstractItemModel::layoutAboutToBeChanged, this, hold);
    connect(m_view, &QAbstractItemModel::layoutChanged, this, release);
    connect(m_view, &QAbstractItemModel::modelAboutToBeReset, this, hold);
    connect(m_view, &QAbstractItemModel::modelReset, this, release);
    setVerticalHeader(new TRowIndicator(this)); // before the model, which it then gets too
    setModel(m_view);
    setItemDelegate(NewGridDelegate(this, source));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    // Tab leaves the grid for the next control; the arrow keys move within it.
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setResizeContentsPrecision(200);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(18);
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns[i].width);
    // A click on a column title sorts the view by it; the list starts in the set's order.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    connect(source, &TDataSource::DataChanged, this, &TDBGrid::followDataSet);
    connect(m_view, &QAbstractItemModel::modelReset, this, &TDBGrid::fitColumns);
    connect(itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &TDBGrid::PendingEditChanged,
            Qt::QueuedConnection);
    fitColumns();
    followDataSet();
}

QAbstractItemModel* TDBGrid::Model() const
{
    return m_view;
}

void TDBGrid::PrepareRowFilter(const QStringList& fields)
{
    m_view->PrepareRowFilter(fields);
}

void TDBGrid::SetRowFilter(const QString& text, const QStringList& fields)
{
    m_view->SetRowFilter(text, fields);
    followDataSet();
    // The rows are laid out now rather than on the next turn of the event loop, so the
    // grid is painted once per letter typed, not twice.
    executeDelayedItemsLayout();
}

void TDBGrid::SetMinimumRows(int rows)
{
    setMinimumHeight(horizontalHeader()->sizeHint().height() +
                     rows * verticalHeader()->defaultSectionSize() + 4); // and the frame
}

void TDBGrid::fitColumns()
{
    // Once there are rows: each column but the last (which takes the rest) is as wide as
    // its title and contents, and never narrower than designed.
    if (m_fitted || m_model->rowCount() == 0)
        return;
    m_fitted = true;
    for (int i = 0; i + 1 < m_columns.size(); ++i)
        setColumnWidth(i, std::max({m_columns[i].width, sizeHintForColumn(i),
                                    horizontalHeader()->sectionSizeHint(i)}));
}

void TDBGrid::SetMultiSelect(bool on)
{
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                        : QAbstractItemView::SingleSelection);
}

std::vector<int> TDBGrid::SelectedRows() const
{
    std::vector<std::pair<int, int>> rows; // as shown, in the set
    if (selectionModel())
        for (const QModelIndex& index : selectionModel()->selectedRows())
            rows.emplace_back(index.row(), m_view->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    std::vector<int> selected;
    for (const auto& [shown, row] : rows)
        if (row >= 0)
            selected.push_back(row);
    if (selected.empty())
        if (TSQLClientDataSet* set = setOf(m_source); set && set->Active() && set->RecNo() >= 0)
            selected.push_back(set->RecNo());
    return selected;
}

std::vector<int> TDBGrid::RowsInViewOrder() const
{
    std::vector<int> rows;
    TSQLClientDataSet* set = setOf(m_source);
    if (!set || !set->Active())
        return rows;
    std::vector<bool> shown(size_t(set->RecordCount()), false);
    for (int r = 0; r < m_view->rowCount(); ++r)
        if (const int row = m_view->mapToSource(m_view->index(r, 0)).row();
            row >= 0 && row < set->RecordCount() && !shown[size_t(row)]) {
            shown[size_t(row)] = true;
            rows.push_back(row);
        }
    for (int row = 0; row < set->RecordCount(); ++row)
        if (!shown[size_t(row)])
            rows.push_back(row);
    return rows;
}

void TDBGrid::SetReadOnly(bool readOnly)
{
    m_model->ReadOnly = readOnly;
    setEditTriggers(readOnly
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
}

QWidget* TDBGrid::openEditor() const
{
    if (state() != QAbstractItemView::EditingState)
        return nullptr;
    return indexWidget(currentIndex());
}

void TDBGrid::CommitEdit()
{
    if (QWidget* editor = openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TDBGrid::CancelEdit()
{
    if (QWidget* editor = openEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool TDBGrid::HasUncommittedEdit() const
{
    auto* line = qobject_cast<QLineEdit*>(openEditor());
    return line && line->text() != line->property("originalText").toString();
}

void CommitOpenEditors(QWidget* window)
{
    for (TDBGrid* grid : window->findChildren<TDBGrid*>())
        grid->CommitEdit();
}

void CancelOpenEditors(QWidget* window)
{
    for (TDBGrid* grid : window->findChildren<TDBGrid*>())
        grid->CancelEdit();
}

bool HasUncommittedEdits(const QWidget* window)
{
    const auto grids = window->findChildren<TDBGrid*>();
    return std::any_of(grids.begin(), grids.end(),
                       [](const TDBGrid* grid) { return grid->HasUncommittedEdit(); });
}

void TDBGrid::followDataSet()
{
    if (m_viewChanging > 0 || m_moving > 0)
        return; // again once the view has settled, or the set has moved
    TSQLClientDataSet* set = setOf(m_source);
    const int row = set && set->Active() ? set->RecNo() : -1;
    const QModelIndex target =
        row < 0 ? QModelIndex()
                : m_view->mapFromSource(m_model->index(row, std::max(0, currentIndex().column())));
    if (currentIndex() == target)
        return;
    m_syncing = true;
    setCurrentIndex(target);
    // The set moved: its row alone is selected, whatever keys are held (an undo by
    // Ctrl+Z must not toggle rows in and out).
    if (target.isValid() && selectionMode() == QAbstractItemView::ExtendedSelection)
        selectionModel()->select(target,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || m_viewChanging > 0 || !current.isValid())
        return;
    TSQLClientDataSet* set = setOf(m_source);
    const int row = m_view->mapToSource(current).row();
    if (set && set->Active() && row >= 0 && set->RecNo() != row) {
        // Moving posts a pending row first; should that fail, the row stays current.
        // While the set gets there, the grid is where the user put it already: what the
        // set tells on the way (the row left, posted) moves nothing back.
        ++m_moving;
        const bool moved = Guarded(this, [&] { set->MoveTo(row); });
        --m_moving;
        if (!moved || set->RecNo() != m_view->mapToSource(currentIndex()).row())
            followDataSet();
    }
}

bool ConfirmRowDelete(QWidget* parent, int rows)
{
    return MessageBox::Ask(MessageBox::Kind::Confirmation, QObject::tr("Delete"),
                           rows > 1 ? QObject::tr("Delete the %1 selected records?").arg(rows)
                                    : QObject::tr("Delete the selected record?"),
                           {MessageBox::Button::Cancel, MessageBox::Button::Yes},
                           MessageBox::Button::Cancel, parent) == MessageBox::Button::Yes;
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    // Tab with nowhere else to go stays put: it neither types nor opens a cell.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    if (state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (currentIndex().isValid())
                emit RowActivated();
            return;
        }
        if (event->key() == Qt::Key_Delete && !m_model->ReadOnly) {
            TSQLClientDataSet* set = setOf(m_source);
            if (set && set->Active() && !set->IsEmpty() &&
                (!ConfirmDelete || ConfirmRowDelete(this, int(SelectedRows().size()))))
                Guarded(this, [this, set] {
                    m_source->UserStep(tr("Delete"), [this, set] {
                        m_source->OnDelete ? m_source->OnDelete() : set->Delete();
                    });
                });
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void TDBGrid::mousePressEvent(QMouseEvent* event)
{
    const int rows = m_view->rowCount();
    QTableView::mousePressEvent(event);
    // Moving to the row clicked settled the row left, and a new row nobody typed into
    // went: the rows moved under the pointer, and what it swept over is no selection.
    // The row clicked is current (the set found it again); it alone is selected.
    m_rowsWentOnPress = m_view->rowCount() != rows;
    if (m_rowsWentOnPress && currentIndex().isValid() && selectionModel())
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    // A press on a row already selected leaves the selection to the release (a drag may
    // follow), which then selects what is under the pointer: after the rows moved, another
    // row or none. The row clicked stays the one selected.
    if (std::exchange(m_rowsWentOnPress, false) && currentIndex().isValid() && selectionModel())
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_model->ReadOnly) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid()) {
            // The double-clicked row is the one acted on.
            if (currentIndex().row() != index.row())
                setCurrentIndex(index);
            emit RowActivated();
        }
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}
