#include "lineuprefs.h"

#include "lineuptables.h"

#include <QJsonArray>
#include <map>
#include <set>

namespace {

/// A column naming a row of another table by its key.
struct TReferenceColumn
{
    const char* table;
    const char* column;
    const char* to;
    const char* what;
};

constexpr TReferenceColumn References[] = {
    {"channel", "sourceid", "videosource", QT_TRANSLATE_NOOP("LineupBackup", "source")},
    {"channel_dvb", "chanid", "channel", QT_TRANSLATE_NOOP("LineupBackup", "channel")},
    {"cardinput", "cardid", "capturecard", QT_TRANSLATE_NOOP("LineupBackup", "card")},
    {"cardinput", "sourceid", "videosource", QT_TRANSLATE_NOOP("LineupBackup", "source")},
    {"cardinput", "startchan", "channel", QT_TRANSLATE_NOOP("LineupBackup", "start channel")}};

} // namespace

QList<TDanglingReference> DanglingReferences(const TLineupBackup& backup)
{
    QHash<QString, QSet<qlonglong>> keys;
    for (const TLineupTable& table : LineupTables()) {
        QSet<qlonglong>& k = keys[table.name];
        for (const QVariantList& values : backup.tables.value(table.name))
            k.insert(values.first().toLongLong());
    }
    QList<TDanglingReference> found;
    for (const TReferenceColumn& ref : References) {
        const TLineupTable* table = LineupTable(QLatin1String(ref.table));
        const qsizetype column = table->columns.indexOf(QLatin1String(ref.column));
        const QSet<qlonglong>& there = keys[QLatin1String(ref.to)];
        const QList<QVariantList> rows = backup.tables.value(table->name);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const QVariant& v = rows[r].at(column);
            if (!v.isNull() && v.toLongLong() != 0 && !there.contains(v.toLongLong()))
                found << TDanglingReference{table->name, r, QLatin1String(ref.column), ref.what,
                                            v.toLongLong()};
        }
    }
    return found;
}

QJsonObject DanglingList(const QList<TDanglingReference>& references)
{
    std::map<QString, std::set<qlonglong>> values;
    for (const TDanglingReference& r : references)
        values[r.Name()].insert(r.value);
    QJsonObject list;
    for (const auto& [name, named] : values) {
        QJsonArray array;
        for (const qlonglong v : named)
            array.append(v);
        list.insert(name, array);
    }
    return list;
}

QHash<QString, QSet<qlonglong>> ReadDanglingList(const QJsonObject& list, bool* ok)
{
    QSet<QString> names;
    for (const TReferenceColumn& ref : References)
        names.insert(QLatin1String(ref.table) + QLatin1Char('.') + QLatin1String(ref.column));
    QHash<QString, QSet<qlonglong>> read;
    *ok = false;
    for (auto i = list.begin(); i != list.end(); ++i) {
        if (!names.contains(i.key()) || !i.value().isArray())
            return {};
        for (const QJsonValue v : i.value().toArray()) {
            if (!v.isDouble() || v.toDouble() != double(qlonglong(v.toDouble())))
                return {};
            read[i.key()].insert(qlonglong(v.toDouble()));
        }
    }
    *ok = true;
    return read;
}
