#include "rowreader.h"

#include "connection.h"
#include "errors.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
// MySQL's type number of TEXT and BLOB columns, as the driver reports it.
constexpr int MysqlBlobType = 252;
} // namespace

TRowsRead ReadRows(TSQLConnection& connection, const QString& sql, const QString& source)
{
    QSqlQuery& query = connection.Execute(sql);
    const QSqlRecord record = query.record();

    TRowsRead read;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        TFieldDef def;
        def.name = f.name();
        def.type = f.metaType();
        def.typeId = f.typeID();
        const int reported = def.type.id();
        SetIntegerRange(def, reported == QMetaType::UChar || reported == QMetaType::UShort ||
                                 reported == QMetaType::UInt || reported == QMetaType::ULongLong);
        // TINYINT arrives as a char type; it is a number like any other integer.
        if (def.type.id() == QMetaType::Char || def.type.id() == QMetaType::SChar ||
            def.type.id() == QMetaType::UChar)
            def.type = QMetaType(QMetaType::Int);
        def.length = f.length();
        def.autoValue = f.isAutoValue();
        def.readOnly = f.isReadOnly();
        def.blob = f.typeID() == MysqlBlobType;
        read.fields << def;
        read.fieldIndex.insert(def.name.toLower(), i);
    }

    if (query.size() > 0)
        read.rows.reserve(size_t(query.size()));
    const int n = record.count();
    // Columns whose values arrive as another type than the column's (TINYINT as char).
    QList<bool> convert;
    for (int i = 0; i < n; ++i)
        convert << (read.fields[i].type != record.field(i).metaType());
    while (query.next()) {
        auto row = std::make_unique<TRow>();
        row->original.reserve(n);
        for (int i = 0; i < n; ++i) {
            QVariant v = query.value(i);
            if (convert[i]) {
                if (v.isNull())
                    v = QVariant(read.fields[i].type);
                else
                    v.convert(read.fields[i].type);
            }
            row->original << v;
        }
        row->current = row->original;
        read.rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw EDatabaseError(query.lastError().text());
    qCDebug(lcSql).noquote() << "--" << read.rows.size() << "rows from" << source;
    return read;
}
