#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QValidator>
#include <QVariant>
#include <functional>

#include "clientdataset.h"

class QWidget;

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
    /// Deletes as the user asked (the navigator's Delete, the Delete key in a grid):
    /// when set, instead of deleting the current row (the window may delete the rows the
    /// user selected).
    std::function<void()> OnDelete;
    /// Runs a user's action on the rows as one step of the window's history, called
    /// `text`; when not set, the action just runs.
    std::function<void(const QString& text, const std::function<void()>& action)> RunStep;
    void UserStep(const QString& text, const std::function<void()>& action)
    {
        RunStep ? RunStep(text, action) : action();
    }

    /// Writes `value` into `field` of the current row, putting the set into the edit
    /// state first (or starting a row when it has none). Returns false when the
    /// source does not allow editing.
    bool WriteField(const QString& field, const QVariant& value);
    /// The current row's value, null when there is no set or no row.
    QVariant Value(const QString& field) const;

signals:
    /// The data set, its rows, its current row or its values changed.
    void DataChanged();
    /// `control` finished an edit: a field left or Enter pressed in it, an entry chosen,
    /// a box checked.
    void EditFinished(QWidget* control);

private:
    QPointer<TSQLClientDataSet> m_dataSet;
    QList<QMetaObject::Connection> m_connections;
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
