#include "lineuprestore.h"

#include "lineuptables.h"
#include "recordname.h"

#include <QCoreApplication>

namespace {

/// The texts of this file, translated as LineupRestore's.
struct TLineupRestoreText
{
    Q_DECLARE_TR_FUNCTIONS(LineupRestore)
};

using Kind = TWrittenRow::Kind;

QVariantMap valuesOf(const TLineupTable& table, const QVariantList& values)
{
    QVariantMap map;
    for (qsizetype c = 0; c < table.columns.size(); ++c)
        map.insert(table.columns[c], values.value(c));
    return map;
}

QHash<qlonglong, const QVariantList*> byKey(const QList<QVariantList>& rows)
{
    QHash<qlonglong, const QVariantList*> keys;
    keys.reserve(rows.size());
    for (const QVariantList& row : rows)
        keys.insert(row.first().toLongLong(), &row);
    return keys;
}

bool same(const QVariantList& a, const QVariantList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype c = 0; c < a.size(); ++c)
        if (!RecordName::Same(a[c], b[c]))
            return false;
    return true;
}

/// Finds a row of `table` by its id in either backup, `first` asked first.
struct TNames
{
    const TLineupBackup& first;
    const TLineupBackup& second;
    QHash<QString, QHash<qlonglong, const QVariantList*>> keys[2];

    const QVariantList* find(const QString& table, qlonglong id)
    {
        for (int side = 0; side < 2; ++side) {
            auto& index = keys[side][table];
            if (index.isEmpty())
                index = byKey((side ? second : first).tables.value(table));
            if (const QVariantList* row = index.value(id))
                return row;
        }
        return nullptr;
    }
    QString quoted(const QVariant& v) { return QStringLiteral("\"%1\"").arg(v.toString()); }

    QString record(const QString& table, qlonglong id)
    {
        const QVariantList* row = find(table, id);
        const QVariantList values = row ? *row : QVariantList();
        if (table == QLatin1String("videosource"))
            return TLineupRestoreText::tr("source %1 %2").arg(id).arg(quoted(values.value(1)));
        if (table == QLatin1String("channel")) {
            if (!row) // tuning values left by a deleted channel
                return TLineupRestoreText::tr("channel #%1").arg(id);
            const QVariantList* source =
                find(QStringLiteral("videosource"), values.value(3).toLongLong());
            return TLineupRestoreText::tr("channel %1 %2 (source %3)")
                .arg(values.value(1).toString(), quoted(values.value(5)),
                     source ? source->value(1).toString() : values.value(3).toString());
        }
        if (table == QLatin1String("channel_dvb"))
            return TLineupRestoreText::tr("tuning values of %1")
                .arg(record(QStringLiteral("channel"), id));
        if (table == QLatin1String("capturecard"))
            return TLineupRestoreText::tr("card %1 %2 on %3")
                .arg(QString::number(id), values.value(4).toString(), quoted(values.value(7)));
        return TLineupRestoreText::tr("input %1 %2 (card %3)")
            .arg(QString::number(id), quoted(values.value(3)), values.value(1).toString());
    }
};

} // namespace

QList<TWrittenRow> RestoreRows(const TLineupBackup& now, const TLineupBackup& then)
{
    QList<TWrittenRow> rows;
    for (const TLineupTable& table : LineupTables()) {
        const QList<QVariantList>& nowRows = now.tables.value(table.name);
        const QList<QVariantList>& thenRows = then.tables.value(table.name);
        const auto nowKeys = byKey(nowRows);
        const auto thenKeys = byKey(thenRows);
        auto row = [&](Kind kind, const QVariant& key) {
            TWrittenRow r;
            r.kind = kind;
            r.table = table.name;
            r.keyColumn = table.Key();
            r.key = key;
            return r;
        };
        for (const QVariantList& values : thenRows) {
            const QVariantList* current = nowKeys.value(values.first().toLongLong());
            if (!current) {
                TWrittenRow r = row(Kind::Delete, values.first());
                r.before = valuesOf(table, values);
                rows << r;
            } else if (!same(*current, values)) {
                TWrittenRow r = row(Kind::Update, values.first());
                r.before = valuesOf(table, values);
                r.after = valuesOf(table, *current);
                rows << r;
            }
        }
        for (const QVariantList& values : nowRows)
            if (!thenKeys.contains(values.first().toLongLong())) {
                TWrittenRow r = row(Kind::Insert, values.first());
                r.after = valuesOf(table, values);
                rows << r;
            }
    }
    return rows;
}

QStringList RestoreLines(const QList<TWrittenRow>& rows, const TLineupBackup& now,
                         const TLineupBackup& then)
{
    TNames names{then, now, {}};
    QStringList lines;
    for (const TWrittenRow& r : rows) {
        const QString record = names.record(r.table, r.key.toLongLong());
        if (r.kind == Kind::Delete) {
            lines << QStringLiteral("+ ") + record;
        } else if (r.kind == Kind::Insert) {
            lines << QStringLiteral("- ") + record;
        } else {
            QStringList changes;
            for (auto c = r.after.begin(); c != r.after.end(); ++c)
                if (!RecordName::Same(c.value(), r.before.value(c.key())))
                    changes << QStringLiteral("%1 %2 -> %3")
                                   .arg(c.key(), RecordName::Value(c.value()),
                                        RecordName::Value(r.before.value(c.key())));
            lines << QStringLiteral("~ %1: %2").arg(record, changes.join(QStringLiteral(", ")));
        }
    }
    return lines;
}

QString RestoreSummary(const QList<TWrittenRow>& rows)
{
    int add = 0, remove = 0, change = 0;
    for (const TWrittenRow& r : rows)
        (r.kind == Kind::Delete ? add : r.kind == Kind::Insert ? remove : change)++;
    return TLineupRestoreText::tr("%1 to add, %2 to delete, %3 to change")
        .arg(add)
        .arg(remove)
        .arg(change);
}
