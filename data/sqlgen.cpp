#include "sqlgen.h"

#include "errors.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

bool isPlainUpperName(const QString& name)
{
    for (QChar c : name) {
        const bool ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                        (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('_');
        if (!ok)
            return false;
    }
    return true;
}

bool wrappedIn(const QString& name, QChar c)
{
    return name.startsWith(c) || name.endsWith(c);
}

QVariant typedNull(const TColumnInfo& column)
{
    return QVariant(column.type);
}

QString quoted(const QString& quote, const QString& name)
{
    return quote + name + quote;
}

// Appends the WHERE lines that find the row as it was read.
void appendWhere(QStringList& lines, QVariantList& binds, const QString& quote,
                 const QList<TColumnInfo>& columns, const QVariantList& oldValues)
{
    QStringList conditions;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const TColumnInfo& column = columns[i];
        if (!column.whereEligible)
            continue;
        const QVariant& old = oldValues.at(i);
        if (old.isNull()) {
            conditions << QStringLiteral(" ") + quoted(quote, column.name) +
                              QStringLiteral(" is null and");
        } else {
            conditions << QStringLiteral(" ") + quoted(quote, column.name) +
                              QStringLiteral(" = ? and");
            binds << old;
        }
    }
    if (conditions.isEmpty())
        throw EDatabaseError(QCoreApplication::translate(
            "TSQLClientDataSet",
            "No key specified: the table has no column that can identify a row, so the "
            "change cannot be written."));
    conditions.last().chop(4); // the trailing " and"
    lines << QStringLiteral("where");
    lines << conditions;
}

} // namespace

QString QuoteTableName(const QString& table, const QString& quote, bool forApply)
{
    if (wrappedIn(table, QLatin1Char('"')))
        return table;
    if (forApply && (wrappedIn(table, QLatin1Char('\'')) || wrappedIn(table, QLatin1Char('`'))))
        return table;
    if (isPlainUpperName(table))
        return table;
    return quoted(quote, table);
}

QString OpenStatement(const QString& table, const QString& quote)
{
    return QStringLiteral(" select * from ") + QuoteTableName(table, quote, false);
}

TStatement InsertStatement(const QString& table, const QString& quote,
                           const QList<TColumnInfo>& columns, const QVariantList& newValues)
{
    TStatement st;
    QString names;
    QString values;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (!columns[i].updatable)
            continue;
        names += quoted(quote, columns[i].name) + QStringLiteral(", ");
        const QVariant& v = newValues.at(i);
        if (v.isNull()) {
            values += QStringLiteral("null, ");
        } else {
            values += QStringLiteral("?, ");
            st.binds << v;
        }
    }
    names.chop(2);
    values.chop(2);
    st.text =
        QStringList{QStringLiteral("insert into ") + QuoteTableName(table, quote, true),
                    QStringLiteral("  (") + names + QStringLiteral(")"), QStringLiteral("values"),
                    QStringLiteral("  (") + values + QStringLiteral(")")}
            .join(QLatin1Char('\n'));
    return st;
}

TStatement UpdateStatement(const QString& table, const QString& quote,
                           const QList<TColumnInfo>& columns, const QVariantList& oldValues,
                           const QVariantList& newValues, const QList<bool>& changed)
{
    TStatement st;
    QStringList lines{QStringLiteral("update ") + QuoteTableName(table, quote, true) +
                      QStringLiteral("  set")};
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (!changed.at(i) || !columns[i].updatable)
            continue;
        lines << QStringLiteral(" ") + quoted(quote, columns[i].name) + QStringLiteral(" = ?,");
        const QVariant& v = newValues.at(i);
        st.binds << (v.isNull() ? typedNull(columns[i]) : v);
    }
    if (lines.size() > 1)
        lines.last().chop(1);
    appendWhere(lines, st.binds, quote, columns, oldValues);
    st.text = lines.join(QLatin1Char('\n'));
    return st;
}

TStatement DeleteStatement(const QString& table, const QString& quote,
                           const QList<TColumnInfo>& columns, const QVariantList& oldValues)
{
    TStatement st;
    QStringList lines{QStringLiteral("delete from ") + QuoteTableName(table, quote, true) +
                      QStringLiteral(" ")};
    appendWhere(lines, st.binds, quote, columns, oldValues);
    st.text = lines.join(QLatin1Char('\n'));
    return st;
}
