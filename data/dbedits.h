#pragma once

#include "datasource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QStringList>

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
