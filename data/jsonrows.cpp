#include "jsonrows.h"

TJsonRows::TJsonRows(const QStringList& columns) : m_columns(columns)
{
    for (const QString& c : columns)
        m_template.insert(c, QJsonValue());
    // The object keeps its keys in an order of its own.
    for (auto i = m_template.constBegin(); i != m_template.constEnd(); ++i)
        m_columnAt << columns.indexOf(i.key());
}
