#include "recordfocus.h"

#include "binding.h"
#include "clientdataset.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr char SourceProperty[] = "korvaneBoundSource";
constexpr char FieldProperty[] = "korvaneBoundField";

bool isOn(const TSQLClientDataSet* set, const QString& table)
{
    return set && set->CommandType() == TCommandType::Table &&
           set->CommandText().compare(table, Qt::CaseInsensitive) == 0;
}

} // namespace

void binding::MarkBound(QWidget* control, TDataSource* source, const QString& field)
{
    control->setProperty(SourceProperty, QVariant::fromValue(static_cast<QObject*>(source)));
    control->setProperty(FieldProperty, field);
}

TSQLClientDataSet* DataSetOn(QWidget* window, const QString& table)
{
    for (TSQLClientDataSet* set : window->findChildren<TSQLClientDataSet*>())
        if (isOn(set, table))
            return set;
    return nullptr;
}

QWidget* BoundControl(QWidget* window, const QString& table, const QString& column)
{
    if (column.isEmpty())
        return nullptr;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QVariant field = w->property(FieldProperty);
        if (!field.isValid() || field.toString().compare(column, Qt::CaseInsensitive) != 0 ||
            !w->isVisibleTo(window))
            continue;
        const auto* source =
            qobject_cast<TDataSource*>(w->property(SourceProperty).value<QObject*>());
        if (source && isOn(source->DataSet(), table))
            return w;
    }
    return nullptr;
}

bool GoToRecord(QWidget* window, const TRecordRef& record)
{
    if (record.IsEmpty())
        return false;
    bool found = false;
    if (TSQLClientDataSet* set = DataSetOn(window, record.table); set && set->Active())
        found = record.key ? set->Locate(record.keyColumn, *record.key) : !set->IsEmpty();
    if (QWidget* control = BoundControl(window, record.columnTable, record.column))
        control->setFocus();
    return found;
}
