#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QStringList>

/// Rows of one set of columns as JSON objects. The keys are laid out once, in an object
/// every row starts from, so that a row only fills in its values: many thousand rows are
/// made at a fraction of the cost of inserting each key anew.
class TJsonRows
{
public:
    explicit TJsonRows(const QStringList& columns);

    const QStringList& Columns() const { return m_columns; }

    /// The object of one row: `valueOf(c)` gives the value of column `c` (an index into
    /// Columns()); a null value stays null.
    template <typename ValueOf> QJsonObject Object(ValueOf valueOf) const
    {
        QJsonObject object = m_template;
        qsizetype at = 0;
        for (auto i = object.begin(); i != object.end(); ++i, ++at) {
            const QJsonValue value = valueOf(m_columnAt[at]);
            if (!value.isNull())
                i.value() = value;
        }
        return object;
    }

private:
    QStringList m_columns;
    QJsonObject m_template;      // every column, null
    QList<qsizetype> m_columnAt; // the column at each place of the object
};
