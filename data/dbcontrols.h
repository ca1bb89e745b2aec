#pragma once

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QValidator>
#include <QWidget>

#include "clientdataset.h"

class QPushButton;
class QSortFilterProxyModel;

/// Links data-bound controls to a client data set. With AutoEdit off, typing into a
/// control never puts the set into the edit state.
class TDataSource : public QObject
{
    Q_OBJECT

public:
    explicit TDataSource(TSQLClientDataSet* dataSet = nullptr, QObject* parent = nullptr);
    TSQLClientDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TSQLClientDataSet* dataSet);
    bool AutoEdit = true;
    /// Runs before a control writes a value (the window may prepare rows it needs).
    std::function<void()> BeforeWrite;

    /// Writes `value` into `field` of the current row, putting the set into the edit
    /// state first (or starting a row when it has none). Returns false when the
    /// source does not allow editing.
    bool WriteField(const QString& field, const QVariant& value);
    /// The current row's value, null when there is no set or no row.
    QVariant Value(const QString& field) const;

signals:
    /// The data set, its rows, its current row or its values changed.
    void DataChanged();

private:
    QPointer<TSQLClientDataSet> m_dataSet;
    QList<QMetaObject::Connection> m_connections;
};

/// A column of a grid: field, title, width in pixels and, for editable grids, how
/// many characters a cell takes (0: no limit of its own).
struct TGridColumn
{
    QString field;
    QString title;
    int width = 64;
    int limit = 0;
};

/// What a user may type into a control bound to a column: at most `limit` characters
/// (a stored value that is longer is shown whole and never grows), and, for a
/// whole-number column, only a number the column can hold. A keystroke it refuses
/// leaves the text as it was; Notice() says why.
class TFieldValidator : public QValidator
{
    Q_OBJECT

public:
    TFieldValidator(TDataSource* source, const QString& field, int limit, QObject* parent);
    State validate(QString& input, int& pos) const override;
    void SetLimit(int limit) { m_limit = limit; }
    int Limit() const { return m_limit; }
    void SetField(const QString& field) { m_field = field; }
    void SetStoredLength(qsizetype length) { m_stored = length; }
    /// The column, when the data set is open and has it.
    const TFieldDef* Column() const;
    /// Why the last refused text was refused, naming the field by `caption`.
    QString Notice(const QString& caption) const;
    /// Whether `text` is on its way to a number but is none yet (a lone "-").
    bool Incomplete(const QString& text) const;

private:
    QPointer<TDataSource> m_source;
    QString m_field;
    int m_limit;
    qsizetype m_stored = 0;
    mutable QString m_refused;
    mutable TNumberCheck m_check = TNumberCheck::Ok;
};

/// Shows why a typed value was refused, over the field that refused it, and keeps the
/// text for tests and screen readers.
void ShowFieldNotice(QWidget* field, const QString& text);
/// The last notice shown, empty when none since ClearFieldNotice().
QString LastFieldNotice();
void ClearFieldNotice();
/// The caption of the label that names `field` (its buddy), without the mnemonic mark.
QString FieldCaption(QWidget* field);

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
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followDataSet();
    QWidget* openEditor() const;
    void fitColumns();
    QPointer<TDataSource> m_source;
    QList<TGridColumn> m_columns;
    TDataSetModel* m_model;
    class TGridViewModel* m_view;
    bool m_syncing = false;
    bool m_fitted = false;
    int m_viewChanging = 0; // the view is dropping, adding or reordering rows
};

/// Writes the open cell editors of every grid in `window` into their rows.
void CommitOpenEditors(QWidget* window);
/// Closes the open cell editors of every grid in `window` without writing them.
void CancelOpenEditors(QWidget* window);
/// Whether a grid in `window` has a cell editor open with changed text.
bool HasUncommittedEdits(const QWidget* window);

/// Asks the user before a row is deleted; true for Yes.
bool ConfirmRowDelete(QWidget* parent);

/// Buttons that move through, add, delete, cancel and post rows.
class TDBNavigator : public QWidget
{
    Q_OBJECT

public:
    enum Button { Prior = 1, Next = 2, Insert = 4, Delete = 8, Cancel = 16, Post = 32 };
    TDBNavigator(TDataSource* source, int buttons, QWidget* parent = nullptr);
    QPushButton* ButtonFor(Button b) const;
    bool ConfirmDelete = true;

private:
    void updateButtons();
    QPointer<TDataSource> m_source;
    QList<QPair<Button, QPushButton*>> m_buttons;
};

/// An edit field bound to a column, with a length limit.
class TDBEdit : public QLineEdit
{
    Q_OBJECT

public:
    TDBEdit(TDataSource* source, const QString& field, int maxLength = 32767,
            QWidget* parent = nullptr);
    void SetField(const QString& field);
    const QString& Field() const { return m_field; }
    /// How many characters the user may type.
    int Limit() const { return m_validator->Limit(); }
    void SetLimit(int limit) { m_validator->SetLimit(limit); }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void display(bool force = false);
    void write(const QString& text);
    QPointer<TDataSource> m_source;
    QString m_field;
    TFieldValidator* m_validator;
    bool m_writing = false;
};

/// A read-only text showing a column.
class TDBText : public QLabel
{
    Q_OBJECT

public:
    TDBText(TDataSource* source, const QString& field, QWidget* parent = nullptr);

private:
    QPointer<TDataSource> m_source;
    QString m_field;
};

/// A drop-down list bound to a column: choice only, or editable (stores typed text).
class TDBComboBox : public QComboBox
{
    Q_OBJECT

public:
    TDBComboBox(TDataSource* source, const QString& field, const QStringList& items,
                bool choiceOnly, QWidget* parent = nullptr);
    const QString& Field() const { return m_field; }
    /// Whether it shows a stored value its list lacks (as an extra entry, in italics).
    bool ShowsOutsideValue() const { return m_outside; }

private:
    void display();
    void write(const QString& text);
    void showOutside(const QString& text);
    QPointer<TDataSource> m_source;
    QString m_field;
    TFieldValidator* m_validator = nullptr;
    bool m_writing = false;
    bool m_outside = false; // the first entry is a stored value outside the list
};

/// A lookup list: shows the list column(s) of the list source's row whose key equals
/// the column's value, and stores the key of the row chosen.
class TDBLookupComboBox : public QComboBox
{
    Q_OBJECT

public:
    TDBLookupComboBox(TDataSource* source, const QString& field, TDataSource* listSource,
                      const QString& keyField, const QString& listFields,
                      QWidget* parent = nullptr);

private:
    void rebuild();
    void display();
    void choose(int index);
    QPointer<TDataSource> m_source;
    QString m_field;
    QPointer<TDataSource> m_list;
    QString m_keyField;
    QStringList m_listFields;
    bool m_updating = false;
};

/// A check box bound to a column with its checked and unchecked values.
class TDBCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    TDBCheckBox(TDataSource* source, const QString& field, const QString& checkedValue,
                const QString& uncheckedValue, const QString& caption, QWidget* parent = nullptr);

private:
    void display();
    QPointer<TDataSource> m_source;
    QString m_field;
    QString m_checked;
    QString m_unchecked;
};
