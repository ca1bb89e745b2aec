#pragma once

#include "datasource.h"

#include <QPointer>
#include <QString>
#include <QVariant>

class TSQLClientDataSet;
struct TFieldDef;

// How a bound control reaches its data. Controls may outlive their data source (a
// window's children are destroyed in the order they were made): every use goes through
// these, which tolerate a source gone.
namespace binding {

inline TSQLClientDataSet* setOf(const QPointer<TDataSource>& source)
{
    return source ? source->DataSet() : nullptr;
}

/// Whether `text` in a field of `column` means the stored `value` (a number typed with
/// leading zeros, or with blanks around it).
bool StandsFor(const TFieldDef* column, const QString& text, const QVariant& value);

inline QVariant valueOf(const QPointer<TDataSource>& source, const QString& field)
{
    return source ? source->Value(field) : QVariant();
}

inline bool writeTo(const QPointer<TDataSource>& source, const QString& field,
                    const QVariant& value)
{
    return source && source->WriteField(field, value);
}

/// Notes on `control` that it shows `field` of `source`'s data set, so the record's
/// column can be found in a window (BoundControl).
void MarkBound(QWidget* control, TDataSource* source, const QString& field);

} // namespace binding
