// What a take-back reads and writes: the entry's records as they stand, and the
// statements that return them to their values before the entry.
#include "takeback.h"

#include "connection.h"
#include "recordname.h"

#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace {

using Kind = TWrittenRow::Kind;

/// A value read back from the history as the server takes it: whole numbers as such.
QVariant bindable(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::Double) {
        const double d = value.toDouble();
        if (d == double(qlonglong(d)))
            return qlonglong(d);
    }
    return value;
}

/// The columns of `row` whose values the write changed, among `known`.
QStringList changedColumns(const TWrittenRow& row, const QStringList& known)
{
    QStringList columns = RecordName::ChangedColumns(row);
    columns.removeIf([&known](const QString& c) { return !known.contains(c); });
    return columns;
}

bool sameRow(const std::optional<QVariantMap>& a, const std::optional<QVariantMap>& b)
{
    if (!a || !b)
        return !a == !b;
    for (auto c = a->begin(); c != a->end(); ++c)
        if (!RecordName::Same(c.value(), b->value(c.key())))
            return false;
    return true;
}

/// The columns of `values` among `known`, in order, with their values as the server
/// takes them.
void knownValues(const QVariantMap& values, const QSet<QString>& known, QStringList& columns,
                 QVariantList& binds)
{
    for (auto c = values.begin(); c != values.end(); ++c)
        if (known.contains(c.key())) {
            columns << c.key();
            binds << bindable(c.value());
        }
}

constexpr qsizetype KeysAQuery = 1000;
constexpr int InsertsAStatement = 500;

} // namespace

TTakeBack::TRowsByKey TTakeBack::byTableAndKey(const QList<qsizetype>& rows) const
{
    TRowsByKey wanted;
    for (const qsizetype r : rows) {
        const TWrittenRow& row = m_rows[r];
        bool ok = false;
        const qlonglong key = row.key.toLongLong(&ok);
        if (ok && RecordName::KeyColumn(row.table) == row.keyColumn)
            wanted[row.table][key] << r;
    }
    return wanted;
}

QHash<qsizetype, TTakeBack::TNow> TTakeBack::readNow(TSQLConnection& connection,
                                                     const QList<qsizetype>& rows, bool lock)
{
    // The rows of each table, asked for a thousand keys at a time.
    const TRowsByKey wanted = byTableAndKey(rows);
    QHash<qsizetype, TNow> now;
    for (auto table = wanted.begin(); table != wanted.end(); ++table) {
        const QList<qlonglong> keys = table.value().keys();
        const QString keyColumn = RecordName::KeyColumn(table.key());
        for (qsizetype from = 0; from < keys.size(); from += KeysAQuery) {
            const qsizetype count = std::min(KeysAQuery, keys.size() - from);
            QVariantList binds;
            for (qsizetype k = from; k < from + count; ++k)
                binds << keys[k];
            QStringList marks(count, QStringLiteral("?"));
            QSqlQuery& q =
                connection.Execute(QStringLiteral("SELECT * FROM %1 WHERE %2 IN (%3)%4")
                                       .arg(table.key(), keyColumn, marks.join(QLatin1Char(',')),
                                            lock ? QStringLiteral(" FOR UPDATE") : QString()),
                                   binds);
            const QSqlRecord record = q.record();
            QStringList& columns = m_columns[table.key()];
            if (columns.isEmpty())
                for (int c = 0; c < record.count(); ++c)
                    columns << record.fieldName(c);
            while (q.next()) {
                QVariantMap values;
                for (int c = 0; c < record.count(); ++c)
                    values.insert(record.fieldName(c), q.value(c));
                for (const qsizetype r : table.value().value(values.value(keyColumn).toLongLong()))
                    now.insert(r, values);
            }
        }
    }
    return now;
}

QList<qsizetype> TTakeBack::appeared(TSQLConnection& connection, const QList<qsizetype>& rows) const
{
    // One question a table: its keys from the lowest asked for to the highest.
    const TRowsByKey wanted = byTableAndKey(rows);
    QList<qsizetype> found;
    for (auto table = wanted.begin(); table != wanted.end(); ++table) {
        const QList<qlonglong> keys = table.value().keys();
        const auto [low, high] = std::minmax_element(keys.begin(), keys.end());
        const QString keyColumn = RecordName::KeyColumn(table.key());
        QSqlQuery& q =
            connection.Execute(QStringLiteral("SELECT %2 FROM %1 WHERE %2 BETWEEN ? AND ?")
                                   .arg(table.key(), keyColumn),
                               {*low, *high});
        while (q.next())
            found += table.value().value(q.value(0).toLongLong());
    }
    return found;
}

void TTakeBack::Recheck(TSQLConnection& connection)
{
    // The rows there are locked until the write commits; one that was not there is only
    // looked for (its insert fails should another have come meanwhile).
    const QList<qsizetype> rows = tickedRows();
    QList<qsizetype> present, absent;
    for (const qsizetype r : rows)
        (m_now.value(r) ? present : absent) << r;
    const QHash<qsizetype, TNow> now = readNow(connection, present, true);
    const QList<qsizetype> back = appeared(connection, absent);
    const QSet<qsizetype> checked(rows.begin(), rows.end()), came(back.begin(), back.end());
    QStringList changed;
    for (const TItem& item : m_items)
        if (item.ticked)
            for (const qsizetype r : item.rows)
                if (checked.contains(r) &&
                    (m_now.value(r) ? !sameRow(m_now.value(r), now.value(r)) : came.contains(r))) {
                    changed << item.record;
                    break;
                }
    if (!changed.isEmpty())
        throw EChangedMeanwhile(changed);
}

std::vector<TStatement> TTakeBack::Statements(QStringList* records, QList<int>* rowsOf) const
{
    QHash<qsizetype, QString> recordOf;
    for (const TItem& item : m_items)
        for (const qsizetype r : item.rows)
            recordOf.insert(r, item.record);
    QHash<QString, QSet<QString>> knownOf;
    for (auto t = m_columns.begin(); t != m_columns.end(); ++t)
        knownOf.insert(t.key(), QSet<QString>(t.value().begin(), t.value().end()));
    std::vector<TStatement> statements;
    QList<int> counts;
    // The statement before, when it inserts: its table and columns, and one row's markers.
    QString lastTable;
    QStringList lastColumns;
    QString values;
    for (const qsizetype r : tickedRows()) {
        const TWrittenRow& row = m_rows[r];
        const QStringList known = m_columns.value(row.table);
        TStatement s;
        switch (row.kind) {
        case Kind::Insert:
            s.text = QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(row.table, row.keyColumn);
            break;
        case Kind::Update: {
            QStringList sets;
            for (const QString& c : changedColumns(row, known)) {
                sets << c + QStringLiteral(" = ?");
                s.binds << bindable(row.before.value(c));
            }
            if (sets.isEmpty())
                continue;
            s.text = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                         .arg(row.table, sets.join(QStringLiteral(", ")), row.keyColumn);
            break;
        }
        case Kind::Delete: {
            // A row of the columns of the row before, every one known, joins its
            // statement without looking them up.
            const bool asBefore = row.table == lastTable && HasColumns(row.before, lastColumns);
            if (asBefore && counts.last() < InsertsAStatement) {
                TStatement& last = statements.back();
                last.text += QStringLiteral(", ");
                last.text += values;
                for (const QVariant& v : row.before)
                    last.binds << bindable(v);
                ++counts.last();
                continue;
            }
            QStringList columns;
            knownValues(row.before, knownOf.value(row.table), columns, s.binds);
            // Rows brought back into one table go in together, up to InsertsAStatement.
            if (row.table == lastTable && columns == lastColumns &&
                counts.last() < InsertsAStatement) {
                statements.back().text += QStringLiteral(", ") + values;
                statements.back().binds += s.binds;
                ++counts.last();
                continue;
            }
            values = QStringLiteral("(%1)").arg(
                QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
            s.text = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                         .arg(row.table, columns.join(QStringLiteral(", "))) +
                     values;
            lastTable = row.table;
            lastColumns = columns;
            break;
        }
        }
        if (row.kind != Kind::Delete)
            lastTable.clear();
        counts << 1;
        if (row.kind != Kind::Delete)
            s.binds << bindable(row.key);
        statements.push_back(s);
        if (records)
            *records << recordOf.value(r);
    }
    if (rowsOf)
        *rowsOf = counts;
    return statements;
}

QList<TWrittenRow> TTakeBack::Written() const
{
    QHash<QString, QSet<QString>> knownOf;
    for (auto t = m_columns.begin(); t != m_columns.end(); ++t)
        knownOf.insert(t.key(), QSet<QString>(t.value().begin(), t.value().end()));
    QList<TWrittenRow> written;
    const QList<qsizetype> rows = tickedRows();
    written.reserve(rows.size());
    for (const qsizetype r : rows) {
        const TWrittenRow& row = m_rows[r];
        const QSet<QString>& known = knownOf[row.table];
        const TNow& now = m_now.value(r);
        TWrittenRow w;
        w.table = row.table;
        w.keyColumn = row.keyColumn;
        w.key = bindable(row.key);
        switch (row.kind) {
        case Kind::Insert:
            w.kind = Kind::Delete;
            w.before = now.value_or(QVariantMap());
            break;
        case Kind::Update:
            w.kind = Kind::Update;
            w.before = now.value_or(QVariantMap());
            w.after = w.before;
            for (const QString& c : RecordName::ChangedColumns(row))
                if (known.contains(c))
                    w.after.insert(c, bindable(row.before.value(c)));
            break;
        case Kind::Delete: {
            w.kind = Kind::Insert;
            // The row as it was, shared when every column is known and a value as such.
            bool asIs = true;
            for (auto c = row.before.begin(); c != row.before.end() && asIs; ++c)
                asIs = known.contains(c.key()) && c.value().metaType().id() != QMetaType::Double;
            if (asIs) {
                w.after = row.before;
                break;
            }
            for (auto c = row.before.begin(); c != row.before.end(); ++c)
                if (known.contains(c.key()))
                    w.after.insert(c.key(), bindable(c.value()));
            break;
        }
        }
        written << w;
    }
    return written;
}
