#include "dbcontrols.h"

#include "clientdataset.h"
#include "guard.h"
#include "messagebox.h"
#include "rowfilter.h"

#include <QApplication>
#include <QCollator>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QValidator>

namespace {
QString textOf(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

// Controls may outlive their data source (a window's children are destroyed in the
// order they were made): every use goes through these, which tolerate a source gone.
TSQLClientDataSet* setOf(const QPointer<TDataSource>& source)
{
    return source ? source->DataSet() : nullptr;
}

// Whether `text` in a field of `column` means the stored `value` (a number typed with
// leading zeros, or with blanks around it).
bool StandsFor(const TFieldDef* column, const QString& text, const QVariant& value)
{
    if (!column || !column->integer || value.isNull())
        return false;
    QVariant typed;
    return CheckWholeNumber(*column, text.trimmed(), &typed) == TNumberCheck::Ok && typed == value;
}

QVariant valueOf(const QPointer<TDataSource>& source, const QString& field)
{
    return source ? source->Value(field) : QVariant();
}

bool writeTo(const QPointer<TDataSource>& source, const QString& field, const QVariant& value)
{
    return source && source->WriteField(field, value);
}
} // namespace

// --- what may be typed ------------------------------------------------------------

TFieldValidator::TFieldValidator(TDataSource* source, const QString& field, int limit,
                                 QObject* parent)
    : QValidator(parent), m_source(source), m_field(field), m_limit(limit)
{
}

const TFieldDef* TFieldValidator::Column() const
{
    TSQLClientDataSet* set = setOf(m_source);
    return set && set->Active() && !m_field.isEmpty() ? set->Field(m_field) : nullptr;
}

QValidator::State TFieldValidator::validate(QString& input, int&) const
{
    // The limit applies to what is typed, not to what is shown: a stored value longer
    // than the limit is displayed whole (QLineEdit's own maxLength would cut it, and
    // the next keystroke would write the cut text back).
    const TFieldDef* column = Column();
    // Never more than the column on the server holds: Save would fail on it.
    const int limit =
        column && column->Characters() > 0 ? std::min(m_limit, column->Characters()) : m_limit;
    if (input.size() > std::max<qsizetype>(limit, m_stored))
        return Invalid;
    if (!column || !column->integer)
        return Acceptable;
    m_check = CheckWholeNumber(*column, input.trimmed());
    switch (m_check) {
    case TNumberCheck::Ok:
        return Acceptable;
    case TNumberCheck::Incomplete:
        return Intermediate;
    case TNumberCheck::NotANumber:
    case TNumberCheck::OutOfRange:
        break;
    }
    m_refused = input;
    return Invalid;
}

bool TFieldValidator::Incomplete(const QString& text) const
{
    const TFieldDef* column = Column();
    return column && column->integer && !text.trimmed().isEmpty() &&
           CheckWholeNumber(*column, text.trimmed()) == TNumberCheck::Incomplete;
}

QString TFieldValidator::Notice(const QString& caption) const
{
    const TFieldDef* column = Column();
    if (!column || !column->integer || m_refused.isEmpty())
        return QString();
    const QString range = NumberRangeText(*column);
    if (m_check == TNumberCheck::OutOfRange)
        return tr("\u201C%1\u201D holds whole numbers %2: %3 does not fit.")
            .arg(caption, range, m_refused.trimmed());
    return tr("\u201C%1\u201D holds whole numbers %2%3.")
        .arg(caption, range,
             column->Signed() ? tr(" (digits, with a minus sign in front for less than zero)")
                              : tr(" (digits only)"));
}

namespace {
QString& lastNotice()
{
    static QString text;
    return text;
}
} // namespace

void ShowFieldNotice(QWidget* field, const QString& text)
{
    if (text.isEmpty())
        return;
    lastNotice() = text;
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), text, field);
}

QString LastFieldNotice()
{
    return lastNotice();
}

void ClearFieldNotice()
{
    lastNotice().clear();
}

QString FieldCaption(QWidget* field)
{
    if (!field)
        return QString();
    for (QLabel* label : field->window()->findChildren<QLabel*>())
        if (label->buddy() == field) {
            QString text = label->text();
            return text.remove(QLatin1Char('&'));
        }
    return field->accessibleName().isEmpty() ? field->objectName() : field->accessibleName();
}

// --- TDataSource ------------------------------------------------------------------

TDataSource::TDataSource(TSQLClientDataSet* dataSet, QObject* parent) : QObject(parent)
{
    SetDataSet(dataSet);
}

void TDataSource::SetDataSet(TSQLClientDataSet* dataSet)
{
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_dataSet = dataSet;
    if (dataSet) {
        m_connections
            << connect(dataSet, &TSQLClientDataSet::RowsChanged, this, &TDataSource::DataChanged)
            << connect(dataSet, &TSQLClientDataSet::CurrentChanged, this, &TDataSource::DataChanged)
            << connect(dataSet, &TSQLClientDataSet::StateChanged, this, &TDataSource::DataChanged);
    }
    emit DataChanged();
}

bool TDataSource::WriteField(const QString& field, const QVariant& value)
{
    if (BeforeWrite && AutoEdit)
        BeforeWrite();
    if (!m_dataSet || !m_dataSet->Active())
        return false;
    const TDataSetState state = m_dataSet->State();
    if (state != TDataSetState::Edit && state != TDataSetState::Insert) {
        if (!AutoEdit)
            return false;
        m_dataSet->Edit(); // starts a row when the set has none
    }
    m_dataSet->SetFieldValue(field, value);
    return true;
}

QVariant TDataSource::Value(const QString& field) const
{
    if (!m_dataSet || !m_dataSet->Active() || field.isEmpty())
        return QVariant();
    return m_dataSet->FieldValue(field);
}

// --- TDataSetModel ----------------------------------------------------------------

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
    if (rows != m_rows) {
        beginResetModel();
        m_rows = rows;
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
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const QVariant v =
        set->VisibleValue(index.row(), set->FieldIndex(m_columns[index.column()].field));
    return textOf(v);
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

// --- TDBGrid ----------------------------------------------------------------------

namespace {

// Cell editors that obey their column's limits, and write nothing when the text is
// left as it was (an empty cell holding NULL stays NULL).
class TGridDelegate : public QStyledItemDelegate
{
public:
    TGridDelegate(TDBGrid* grid, TDataSource* source)
        : QStyledItemDelegate(grid), m_grid(grid), m_source(source)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        const TGridColumn& column = m_grid->Columns().at(index.column());
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        auto* validator = new TFieldValidator(m_source, column.field,
                                              column.limit > 0 ? column.limit : 65535, editor);
        editor->setValidator(validator);
        QObject::connect(editor, &QLineEdit::textEdited, m_grid, &TDBGrid::PendingEditChanged);
        QObject::connect(editor, &QLineEdit::inputRejected, editor, [editor, validator, column] {
            ShowFieldNotice(editor, validator->Notice(column.title));
        });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        line->setProperty("originalText", text);
        if (auto* validator =
                qobject_cast<TFieldValidator*>(const_cast<QValidator*>(line->validator())))
            validator->SetStoredLength(text.size());
        line->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = line->text();
        if (text == line->property("originalText").toString())
            return;
        auto* validator = qobject_cast<const TFieldValidator*>(line->validator());
        if (validator && validator->Incomplete(text))
            return; // a lone "-": nothing the column could hold
        Guarded(m_grid, [&] { model->setData(index, text, Qt::EditRole); });
        line->setProperty("originalText", text);
    }

protected:
    // Tab in a cell writes it and leaves the grid, as Tab does everywhere else.
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                QKeyEvent tab(QEvent::KeyPress, key->key(), key->modifiers());
                QCoreApplication::sendEvent(m_grid, &tab);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

    // A cell's text is laid out once per distinct text and font, not at every paint:
    // scrolling and filtering thousands of rows repaint the same few hundred texts.
    // Texts that need shortening (or span lines) are drawn the usual way.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = cell.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        const QString text = cell.text;
        cell.text.clear();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget)
                               .adjusted(margin, 0, -margin, 0);
        const QStaticText* laid = laidOut(text, cell.font);
        if (!laid || laid->size().width() > area.width()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget); // all but the text
        QPalette::ColorGroup group =
            cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
            group = QPalette::Inactive;
        painter->save();
        painter->setFont(cell.font);
        painter->setPen(cell.palette.color(group, cell.state & QStyle::State_Selected
                                                      ? QPalette::HighlightedText
                                                      : QPalette::Text));
        const QRect at =
            QStyle::alignedRect(cell.direction, cell.displayAlignment, laid->size().toSize(), area);
        painter->drawStaticText(at.topLeft(), *laid);
        painter->restore();
    }

private:
    const QStaticText* laidOut(const QString& text, const QFont& font) const
    {
        if (text.isEmpty())
            return nullptr;
        for (QChar c : text)
            if (c.unicode() < 0x20)
                return nullptr; // line breaks and tabs: the usual way
        if (font != m_font || m_laidOut.size() > 4096) {
            m_laidOut.clear();
            m_font = font;
        }
        auto it = m_laidOut.find(text);
        if (it == m_laidOut.end()) {
            QStaticText laid(text);
            laid.setTextFormat(Qt::PlainText);
            laid.prepare(QTransform(), font);
            it = m_laidOut.insert(text, laid);
        }
        return &*it;
    }

    TDBGrid* m_grid;
    QPointer<TDataSource> m_source;
    mutable QFont m_font;
    mutable QHash<QString, QStaticText> m_laidOut;
};

// The row indicator column: as wide as set, every row as high as the grid's rows (its
// marks never make a row larger), so nothing is measured when the rows change.
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

// The rows as a grid shows them: those its row filter lets through (and the row being
// edited), in the order of the column the user sorted by, else in the data set's.
class TGridViewModel : public QSortFilterProxyModel
{
public:
    TGridViewModel(TDataSource* source, QObject* parent)
        : QSortFilterProxyModel(parent), m_source(source)
    {
        m_collator.setNumericMode(true); // "9" before "10"
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    void setSourceModel(QAbstractItemModel* model) override
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

    void PrepareRowFilter(const QStringList& fields)
    {
        m_filter.SetFields(fields);
        if (TSQLClientDataSet* set = setOf(m_source); set && set->Active())
            m_filter.Prepare(*set);
    }

    void SetRowFilter(const QString& text, const QStringList& fields)
    {
        if (text == m_text && fields == m_filter.Fields())
            return;
        m_text = text;
        m_filter.SetFields(fields);
        find();
        // The views start afresh instead of dropping rows range by range, which costs
        // them far more with thousands of rows.
        m_rereading = true;
        static_cast<TDataSetModel*>(sourceModel())->Reread();
        m_rereading = false;
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
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

    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        return m_collator.compare(left.data().toString(), right.data().toString()) < 0;
    }

private:
    void find()
    {
        TSQLClientDataSet* set = setOf(m_source);
        const bool active = set && set->Active();
        m_matches = !m_text.isEmpty() && active ? m_filter.Find(*set, m_text) : std::vector<bool>();
        m_editing = active && set->IsEditing() ? set->RecNo() : -1;
    }

    QPointer<TDataSource> m_source;
    QString m_text;
    TRowFilter m_filter;
    std::vector<bool> m_matches; // by the set's row, as last found
    int m_editing = -1;          // the row being edited then, shown whatever it holds
    bool m_rereading = false;
    QCollator m_collator;
};

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
    setItemDelegate(new TGridDelegate(this, source));
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
    if (m_viewChanging > 0)
        return; // again once the view has settled
    TSQLClientDataSet* set = setOf(m_source);
    const int row = set && set->Active() ? set->RecNo() : -1;
    const QModelIndex target =
        row < 0 ? QModelIndex()
                : m_view->mapFromSource(m_model->index(row, std::max(0, currentIndex().column())));
    if (currentIndex() == target)
        return;
    m_syncing = true;
    setCurrentIndex(target);
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
        if (!Guarded(this, [&] { set->MoveTo(row); }))
            followDataSet();
    }
}

bool ConfirmRowDelete(QWidget* parent)
{
    return MessageBox::Ask(MessageBox::Kind::Confirmation, QObject::tr("Delete"),
                           QObject::tr("Delete the selected record?"),
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
                (!ConfirmDelete || ConfirmRowDelete(this)))
                Guarded(this, [set] { set->Delete(); });
            return;
        }
    }
    QTableView::keyPressEvent(event);
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

// --- TDBNavigator -----------------------------------------------------------------

TDBNavigator::TDBNavigator(TDataSource* source, int buttons, QWidget* parent)
    : QWidget(parent), m_source(source)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QList<std::tuple<Button, QString, QString>> all{
        {Prior, QStringLiteral("Prior"), QStringLiteral("\u25C0")},
        {Next, QStringLiteral("Next"), QStringLiteral("\u25B6")},
        {Insert, QStringLiteral("Insert"), QStringLiteral("+")},
        {Delete, QStringLiteral("Delete"), QStringLiteral("\u2212")},
        {Cancel, QStringLiteral("Cancel"), QStringLiteral("\u2716")},
        {Post, QStringLiteral("Post"), QStringLiteral("\u2714")}};
    for (const auto& [b, name, glyph] : all) {
        if (!(buttons & b))
            continue;
        auto* push = new QPushButton(glyph, this);
        push->setObjectName(QStringLiteral("Navigator") + name);
        push->setAccessibleName(name);
        push->setToolTip(name);
        push->setFocusPolicy(Qt::NoFocus);
        push->setFixedWidth(36);
        layout->addWidget(push);
        m_buttons << qMakePair(b, push);
        connect(push, &QPushButton::clicked, this, [this, b = b] {
            TSQLClientDataSet* set = setOf(m_source);
            if (!set || !set->Active())
                return;
            Guarded(this, [&] {
                switch (b) {
                case Prior:
                    set->Prior();
                    break;
                case Next:
                    set->Next();
                    break;
                case Insert:
                    set->Insert();
                    break;
                case Delete:
                    if (!set->IsEmpty() && (!ConfirmDelete || ConfirmRowDelete(this)))
                        set->Delete();
                    break;
                case Cancel:
                    set->Cancel();
                    break;
                case Post:
                    set->Post();
                    break;
                }
            });
        });
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(source, &TDataSource::DataChanged, this, &TDBNavigator::updateButtons);
    updateButtons();
}

QPushButton* TDBNavigator::ButtonFor(Button b) const
{
    for (const auto& [button, push] : m_buttons)
        if (button == b)
            return push;
    return nullptr;
}

void TDBNavigator::updateButtons()
{
    TSQLClientDataSet* set = setOf(m_source);
    const bool active = set && set->Active();
    const bool editing = active && set->IsEditing();
    for (const auto& [b, push] : m_buttons) {
        bool on = active;
        switch (b) {
        case Prior:
            on = active && !set->Bof();
            break;
        case Next:
            on = active && !set->Eof();
            break;
        case Delete:
            on = active && !set->IsEmpty();
            break;
        case Cancel:
        case Post:
            on = editing;
            break;
        case Insert:
            break;
        }
        push->setEnabled(on);
    }
}

// --- TDBEdit ----------------------------------------------------------------------

TDBEdit::TDBEdit(TDataSource* source, const QString& field, int maxLength, QWidget* parent)
    : QLineEdit(parent), m_source(source), m_field(field)
{
    m_validator = new TFieldValidator(source, field, maxLength, this);
    setValidator(m_validator);
    connect(source, &TDataSource::DataChanged, this, [this] { display(); });
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::write);
    connect(this, &QLineEdit::inputRejected, this,
            [this] { ShowFieldNotice(this, m_validator->Notice(FieldCaption(this))); });
    display();
}

void TDBEdit::write(const QString& text)
{
    // A lone "-" is on its way to a negative number: it stays in the field, and nothing
    // is written until it is one.
    if (m_validator->Incomplete(text))
        return;
    // While the value travels to the row, the row shows its old value for a moment
    // (starting the edit): the text being typed is not rewritten with it.
    bool written = false;
    m_writing = true;
    Guarded(this, [&] { written = !m_field.isEmpty() && writeTo(m_source, m_field, text); });
    m_writing = false;
    display(/*force=*/!written); // refused or not editable: the stored value again
}

void TDBEdit::SetField(const QString& field)
{
    m_field = field;
    m_validator->SetField(field);
    display(true);
}

void TDBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Typing is over: show the value as stored ("007" as 7, a lone "-" as before).
    display(true);
}

void TDBEdit::display(bool force)
{
    if (m_writing)
        return;
    const QVariant value = valueOf(m_source, m_field);
    const QString text = textOf(value);
    m_validator->SetStoredLength(text.size());
    if (text == this->text())
        return;
    // The text being typed is not rewritten under the cursor while it stands for the
    // value stored ("007" for 7); leaving the field shows the value as stored.
    if (!force && StandsFor(m_validator->Column(), this->text(), value))
        return;
    setText(text);
}

// --- TDBText ----------------------------------------------------------------------

TDBText::TDBText(TDataSource* source, const QString& field, QWidget* parent)
    : QLabel(parent), m_source(source), m_field(field)
{
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto display = [this] {
        setText(textOf(valueOf(m_source, m_field)));
    };
    connect(source, &TDataSource::DataChanged, this, display);
    display();
}

// --- TDBComboBox ------------------------------------------------------------------

namespace {

// Long lists open 20 entries high, not over the whole screen; typing the first letters
// of an entry jumps to it.
void OpenTwentyHigh(QComboBox* list)
{
    list->setMaxVisibleItems(20);
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

} // namespace

TDBComboBox::TDBComboBox(TDataSource* source, const QString& field, const QStringList& items,
                         bool choiceOnly, QWidget* parent)
    : QComboBox(parent), m_source(source), m_field(field)
{
    setEditable(!choiceOnly);
    addItems(items);
    if (!choiceOnly) {
        setInsertPolicy(QComboBox::NoInsert);
        // No inline completion: it shows a whole entry while only the letters typed
        // reach the row, and the field must show what Save writes.
        setCompleter(nullptr);
        m_validator = new TFieldValidator(source, field, 65535, this);
        lineEdit()->setValidator(m_validator);
        connect(lineEdit(), &QLineEdit::textEdited, this, &TDBComboBox::write);
        connect(lineEdit(), &QLineEdit::inputRejected, this,
                [this] { ShowFieldNotice(this, m_validator->Notice(FieldCaption(this))); });
    }
    OpenTwentyHigh(this);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!(m_outside && index == 0)) // the stored value outside the list is kept as it is
            write(itemText(index));
    });
    connect(source, &TDataSource::DataChanged, this, &TDBComboBox::display);
    display();
}

void TDBComboBox::showOutside(const QString& text)
{
    // A value another program stored is shown as it is, marked, as an extra entry
    // above the list (Down goes on to the list's first entry), and kept until the user
    // picks an entry of the list.
    const int listed = findText(text);
    const bool outside = !text.isEmpty() && (listed < 0 || (m_outside && listed == 0));
    if (m_outside && (!outside || itemText(0) != text)) {
        removeItem(0);
        m_outside = false;
    }
    if (outside && !m_outside) {
        insertItem(0, text);
        QFont italic = font();
        italic.setItalic(true);
        setItemData(0, italic, Qt::FontRole);
        setItemData(0, tr("Stored, but not in the list"), Qt::ToolTipRole);
        m_outside = true;
    }
    QFont shown = font();
    shown.setItalic(m_outside && findText(text) == 0);
    setFont(shown);
    setToolTip(m_outside ? tr("\"%1\" is stored but is not in the list: it is kept unless "
                              "you choose another entry")
                               .arg(text)
                         : QString());
}

void TDBComboBox::write(const QString& text)
{
    if (m_validator && m_validator->Incomplete(text))
        return;
    m_writing = true;
    Guarded(this, [&] { writeTo(m_source, m_field, text); });
    m_writing = false;
    display(); // written or refused: the list shows what is stored
}

void TDBComboBox::display()
{
    const QVariant value = valueOf(m_source, m_field);
    const QString text = textOf(value);
    const QSignalBlocker block(this);
    if (isEditable()) {
        // What the user is typing stays as typed while it travels to the row, and
        // while it stands for the value stored.
        if (m_writing)
            return;
        if (currentText() != text &&
            !StandsFor(m_validator ? m_validator->Column() : nullptr, currentText(), value)) {
            const int i = findText(text);
            setCurrentIndex(i);
            setEditText(text);
        }
    } else {
        showOutside(text);
        setCurrentIndex(findText(text));
    }
}

// --- TDBLookupComboBox ------------------------------------------------------------

TDBLookupComboBox::TDBLookupComboBox(TDataSource* source, const QString& field,
                                     TDataSource* listSource, const QString& keyField,
                                     const QString& listFields, QWidget* parent)
    : QComboBox(parent), m_source(source), m_field(field), m_list(listSource), m_keyField(keyField),
      m_listFields(listFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
{
    setEditable(false);
    OpenTwentyHigh(this); // thousands of channels
    connect(listSource, &TDataSource::DataChanged, this, &TDBLookupComboBox::rebuild);
    connect(source, &TDataSource::DataChanged, this, &TDBLookupComboBox::display);
    connect(this, &QComboBox::activated, this, &TDBLookupComboBox::choose);
    rebuild();
}

void TDBLookupComboBox::rebuild()
{
    if (m_updating)
        return;
    QStringList items;
    TSQLClientDataSet* list = setOf(m_list);
    if (list && list->Active()) {
        for (int r = 0; r < list->RecordCount(); ++r) {
            QStringList parts;
            for (const QString& f : m_listFields)
                parts << textOf(list->VisibleValue(r, list->FieldIndex(f)));
            items << parts.join(QStringLiteral("   "));
        }
    }
    QStringList now;
    for (int i = 0; i < count(); ++i)
        now << itemText(i);
    if (now != items) {
        const QSignalBlocker block(this);
        clear();
        addItems(items);
    }
    display();
}

void TDBLookupComboBox::display()
{
    const QVariant value = valueOf(m_source, m_field);
    int found = -1;
    TSQLClientDataSet* list = setOf(m_list);
    if (!value.isNull() && list && list->Active()) {
        const int key = list->FieldIndex(m_keyField);
        for (int r = 0; r < list->RecordCount() && found < 0; ++r)
            if (textOf(list->VisibleValue(r, key)) == value.toString())
                found = r;
    }
    const QSignalBlocker block(this);
    setCurrentIndex(found);
}

void TDBLookupComboBox::choose(int index)
{
    TSQLClientDataSet* list = setOf(m_list);
    if (!list || !list->Active() || index < 0 || index >= list->RecordCount())
        return;
    Guarded(this, [&] {
        const QVariant key = list->VisibleValue(index, list->FieldIndex(m_keyField));
        // Store the key first, then move the list source: its after-scroll handlers see
        // the row already pointing at the chosen entry.
        if (!writeTo(m_source, m_field, key))
            return;
        m_updating = true;
        try {
            list->MoveTo(index);
        } catch (...) {
            m_updating = false;
            throw;
        }
        m_updating = false;
    });
    // Moving may have settled rows of the list source (a new row nobody typed into
    // goes away): show its rows as they are now.
    rebuild();
}

// --- TDBCheckBox ------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(TDataSource* source, const QString& field, const QString& checkedValue,
                         const QString& uncheckedValue, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent), m_source(source), m_field(field), m_checked(checkedValue),
      m_unchecked(uncheckedValue)
{
    connect(this, &QCheckBox::clicked, this, [this](bool on) {
        bool written = false;
        Guarded(this, [&] { written = writeTo(m_source, m_field, on ? m_checked : m_unchecked); });
        if (!written)
            display();
    });
    connect(source, &TDataSource::DataChanged, this, &TDBCheckBox::display);
    display();
}

void TDBCheckBox::display()
{
    const QSignalBlocker block(this);
    setChecked(textOf(valueOf(m_source, m_field)) == m_checked);
}
