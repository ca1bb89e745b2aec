#include "dbcontrols.h"

#include "clientdataset.h"
#include "messagebox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
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

QVariant valueOf(const QPointer<TDataSource>& source, const QString& field)
{
    return source ? source->Value(field) : QVariant();
}

bool writeTo(const QPointer<TDataSource>& source, const QString& field, const QVariant& value)
{
    return source && source->WriteField(field, value);
}
} // namespace

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
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? QVariant(m_columns[section].title) : QVariant();
    // The row indicator: the current row, and whether it is being edited or inserted.
    TSQLClientDataSet* set = setOf(m_source);
    if (!set || section != set->RecNo())
        return QString();
    switch (set->State()) {
    case TDataSetState::Insert:
        return QStringLiteral("*");
    case TDataSetState::Edit:
        return QStringLiteral("I");
    default:
        return QStringLiteral("\u25B6");
    }
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

TDBGrid::TDBGrid(TDataSource* source, const QList<TGridColumn>& columns, QWidget* parent)
    : QTableView(parent), m_source(source), m_model(new TDataSetModel(source, columns, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(18);
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns[i].width);
    connect(source, &TDataSource::DataChanged, this, &TDBGrid::followDataSet);
    followDataSet();
}

void TDBGrid::SetReadOnly(bool readOnly)
{
    m_model->ReadOnly = readOnly;
    setEditTriggers(readOnly
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
}

void TDBGrid::followDataSet()
{
    TSQLClientDataSet* set = setOf(m_source);
    const int row = set && set->Active() ? set->RecNo() : -1;
    if (currentIndex().row() == row)
        return;
    m_syncing = true;
    if (row < 0)
        setCurrentIndex(QModelIndex());
    else
        setCurrentIndex(m_model->index(row, std::max(0, currentIndex().column())));
    m_syncing = false;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid())
        return;
    TSQLClientDataSet* set = setOf(m_source);
    if (set && set->Active() && set->RecNo() != current.row()) {
        try {
            set->MoveTo(current.row()); // posts a pending row first
        } catch (...) {
            followDataSet();
            throw;
        }
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
                set->Delete();
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
                if (set->IsEmpty())
                    break;
                if (!ConfirmDelete || ConfirmRowDelete(this))
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
    const bool editing =
        active && (set->State() == TDataSetState::Edit || set->State() == TDataSetState::Insert);
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

// Limits what the user types, not what is shown: a stored value longer than the limit is
// displayed whole (QLineEdit's own maxLength would cut it, and the next keystroke would
// write the cut text back). Such a value never grows beyond its stored length.
class TTypingLimit : public QValidator
{
public:
    TTypingLimit(QObject* parent, int limit) : QValidator(parent), m_limit(limit) {}
    void SetStoredLength(qsizetype length) { m_stored = length; }
    State validate(QString& input, int&) const override
    {
        return input.size() <= std::max<qsizetype>(m_limit, m_stored) ? Acceptable : Invalid;
    }

private:
    int m_limit;
    qsizetype m_stored = 0;
};

TDBEdit::TDBEdit(TDataSource* source, const QString& field, int maxLength, QWidget* parent)
    : QLineEdit(parent), m_source(source), m_field(field), m_limit(maxLength)
{
    m_typingLimit = new TTypingLimit(this, maxLength);
    setValidator(m_typingLimit);
    connect(source, &TDataSource::DataChanged, this, &TDBEdit::display);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_field.isEmpty() || !writeTo(m_source, m_field, text))
            display(); // not editable: show the stored value again
    });
    display();
}

void TDBEdit::SetField(const QString& field)
{
    m_field = field;
    display();
}

void TDBEdit::display()
{
    const QString text = textOf(valueOf(m_source, m_field));
    m_typingLimit->SetStoredLength(text.size());
    if (text != this->text())
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

TDBComboBox::TDBComboBox(TDataSource* source, const QString& field, const QStringList& items,
                         bool choiceOnly, QWidget* parent)
    : QComboBox(parent), m_source(source), m_field(field)
{
    setEditable(!choiceOnly);
    addItems(items);
    if (!choiceOnly) {
        setInsertPolicy(QComboBox::NoInsert);
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
            if (!writeTo(m_source, m_field, text))
                display();
        });
    }
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!writeTo(m_source, m_field, itemText(index)))
            display();
    });
    connect(source, &TDataSource::DataChanged, this, &TDBComboBox::display);
    display();
}

void TDBComboBox::display()
{
    const QString text = textOf(valueOf(m_source, m_field));
    const QSignalBlocker block(this);
    if (isEditable()) {
        if (currentText() != text) {
            const int i = findText(text);
            setCurrentIndex(i);
            setEditText(text);
        }
    } else {
        // A stored value that is not in the list shows as no choice.
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
    const QVariant key = list->VisibleValue(index, list->FieldIndex(m_keyField));
    // Store the key first, then move the list source: its after-scroll handlers see
    // the row already pointing at the chosen entry.
    if (!writeTo(m_source, m_field, key)) {
        display();
        return;
    }
    m_updating = true;
    try {
        list->MoveTo(index);
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
    display();
}

// --- TDBCheckBox ------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(TDataSource* source, const QString& field, const QString& checkedValue,
                         const QString& uncheckedValue, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent), m_source(source), m_field(field), m_checked(checkedValue),
      m_unchecked(uncheckedValue)
{
    connect(this, &QCheckBox::clicked, this, [this](bool on) {
        if (!writeTo(m_source, m_field, on ? m_checked : m_unchecked))
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
