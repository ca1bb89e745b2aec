#include "lineupbackup.h"

#include "connection.h"
#include "errors.h"
#include "jsonrows.h"
#include "lineuprefs.h"
#include "lineuptables.h"
#include "savefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlQuery>
#include <QVarLengthArray>
#include <functional>

namespace {

/// The texts of this file, translated as LineupBackup's.
struct TLineupBackupText
{
    Q_DECLARE_TR_FUNCTIONS(LineupBackup)
};

const QString Format = QStringLiteral("korvane-setup line-up");
constexpr int Version = 1;

/// A value as a backup holds it.
QVariant stored(const QVariant& value, bool number)
{
    if (value.isNull())
        return QVariant();
    return number ? QVariant(value.toLongLong()) : QVariant(value.toString());
}

/// What is wrong with the file, as the user reads it.
[[noreturn]] void refuse(const QString& file, const QString& what)
{
    throw EKorvaneError(TLineupBackupText::tr("%1 cannot be restored: %2").arg(file, what));
}

/// Where a value stands: "channel, row 3, column name".
QString place(const QString& table, qsizetype row, const QString& column = {})
{
    return column.isEmpty()
               ? TLineupBackupText::tr("%1, row %2").arg(table).arg(row + 1)
               : TLineupBackupText::tr("%1, row %2, column %3").arg(table).arg(row + 1).arg(column);
}

/// A column of a table as a backup's values are checked against it.
struct TColumnCheck
{
    QString name;
    QByteArray key; // the name, for looking it up in a row
    int width = 0;  // of a text column in the database, in characters (0: no limit)
    bool number = false;
    bool small = false; // TINYINT
};

/// The value of `column` checked against the database's column: raises what is wrong.
QVariant checked(const QJsonValue& value, const TLineupTable& table, const TColumnCheck& check,
                 qsizetype row, const QString& file)
{
    const QString& column = check.name;
    const int width = check.width;
    if (value.isNull())
        return QVariant();
    if (value.isUndefined())
        refuse(file, TLineupBackupText::tr("%1 is missing").arg(place(table.name, row, column)));
    if (check.number) {
        const bool small = check.small;
        const double min = small ? -128 : -2147483648.0, max = small ? 127 : 2147483647.0;
        const double n = value.toDouble();
        if (!value.isDouble() || n != double(qlonglong(n)))
            refuse(file,
                   TLineupBackupText::tr("%1: %2 is not a whole number")
                       .arg(place(table.name, row, column),
                            QString::fromUtf8(
                                QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
                                .mid(1)
                                .chopped(1)));
        if (n < min || n > max)
            refuse(file, TLineupBackupText::tr("%1: %2 is out of the column's range (%3 to %4)")
                             .arg(place(table.name, row, column))
                             .arg(qlonglong(n))
                             .arg(qlonglong(min))
                             .arg(qlonglong(max)));
        return qlonglong(n);
    }
    if (!value.isString())
        refuse(file,
               TLineupBackupText::tr("%1: a text is expected").arg(place(table.name, row, column)));
    const QString text = value.toString();
    // The column counts characters, not UTF-16 units: an emoji is one.
    if (width > 0 && text.size() > width && text.toUcs4().size() > width)
        refuse(file, TLineupBackupText::tr("%1: %2 characters are wider than the column (%3)")
                         .arg(place(table.name, row, column))
                         .arg(text.toUcs4().size())
                         .arg(width));
    return text;
}

} // namespace

int TLineupBackup::RowCount() const
{
    int count = 0;
    for (const QList<QVariantList>& rows : tables)
        count += int(rows.size());
    return count;
}

TLineupBackup ReadLineupBackup(TSQLConnection& connection, const QString& host,
                               const QString& database)
{
    TLineupBackup backup;
    backup.host = host;
    backup.database = database;
    backup.time = QDateTime::currentDateTimeUtc();
    for (const TLineupTable& table : LineupTables()) {
        QSqlQuery& q = connection.Execute(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                .arg(table.columns.join(QStringLiteral(", ")), table.name, table.Key()));
        QList<QVariantList>& rows = backup.tables[table.name];
        QList<bool> number;
        for (const QString& c : table.columns)
            number << table.IsNumber(c);
        while (q.next()) {
            QVariantList values;
            values.reserve(table.columns.size());
            for (int c = 0; c < table.columns.size(); ++c)
                values << stored(q.value(c), number[c]);
            rows << values;
        }
    }
    return backup;
}

QByteArray LineupBackupJson(const TLineupBackup& backup)
{
    QJsonObject tables;
    for (const TLineupTable& table : LineupTables()) {
        const TJsonRows shape(table.columns);
        QList<bool> number;
        for (const QString& c : table.columns)
            number << table.IsNumber(c);
        QJsonArray rows;
        for (const QVariantList& values : backup.tables.value(table.name))
            rows.append(shape.Object([&values, &number](qsizetype c) {
                const QVariant& v = values.at(c);
                return v.isNull()     ? QJsonValue(QJsonValue::Null)
                       : number.at(c) ? QJsonValue(v.toLongLong())
                                      : QJsonValue(v.toString());
            }));
        tables.insert(table.name, rows);
    }
    QJsonObject root{
        {QStringLiteral("format"), Format},
        {QStringLiteral("version"), Version},
        {QStringLiteral("database"), QJsonObject{{QStringLiteral("host"), backup.host},
                                                 {QStringLiteral("name"), backup.database}}},
        {QStringLiteral("time"), backup.time.toString(Qt::ISODate)},
        {QStringLiteral("tables"), tables}};
    // What the line-up names without the row, so that the file restores it as it was.
    const QJsonObject dangling = DanglingList(DanglingReferences(backup));
    if (!dangling.isEmpty())
        root.insert(QStringLiteral("dangling"), dangling);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

namespace {

/// How many characters a text column holds, by table and column (0: not a text column).
using TWidthOf = std::function<int(const QString& table, const QString& column)>;

TLineupBackup parse(const QByteArray& data, const QString& file, const TWidthOf& widthOf);

/// The file at `path`, not over 256 MB.
QByteArray readFile(const QString& path)
{
    if (QFileInfo(path).size() > MaxBackupBytes)
        refuse(path, TLineupBackupText::tr("it is larger than 256 MB"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKorvaneError(
            TLineupBackupText::tr("%1 cannot be read: %2").arg(path, file.errorString()));
    return file.readAll();
}

} // namespace

TLineupBackup ParseLineupBackup(const QByteArray& data, const QString& file,
                                TSQLConnection& connection)
{
    return parse(data, file, [&connection](const QString& table, const QString& column) {
        return connection.CharacterLength(table, column);
    });
}

TLineupBackup LoadLineupBackup(const QString& path, TSQLConnection& connection)
{
    return ParseLineupBackup(readFile(path), path, connection);
}

std::future<TLineupBackup> LoadLineupBackupLater(const QString& path, TSQLConnection& connection)
{
    // The widths asked for here: the thread does not touch the connection.
    QHash<QString, int> widths;
    for (const TLineupTable& table : LineupTables())
        for (const QString& c : table.columns)
            widths.insert(table.name + QLatin1Char('.') + c,
                          connection.CharacterLength(table.name, c));
    return std::async(std::launch::async, [path, widths] {
        return parse(readFile(path), path, [&widths](const QString& table, const QString& column) {
            return widths.value(table + QLatin1Char('.') + column);
        });
    });
}

namespace {

TLineupBackup parse(const QByteArray& data, const QString& file, const TWidthOf& widthOf)
{
    if (data.size() > MaxBackupBytes)
        refuse(file, TLineupBackupText::tr("it is larger than 256 MB"));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError) {
        // Cut short: the text ends where more was to come.
        if (error.offset >= data.trimmed().size() - 1 && !data.trimmed().isEmpty())
            refuse(file, TLineupBackupText::tr("the file is cut short (it ends at byte %1)")
                             .arg(data.size()));
        refuse(file, TLineupBackupText::tr("it is not JSON (%1 at byte %2)")
                         .arg(error.errorString())
                         .arg(error.offset));
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != Format)
        refuse(file, TLineupBackupText::tr("it is not a line-up backup of this program"));
    const int version = root.value(QStringLiteral("version")).toInt(0);
    if (version > Version)
        refuse(file, TLineupBackupText::tr("it is of a newer version (%1) than this program reads "
                                           "(%2)")
                         .arg(version)
                         .arg(Version));
    if (version != Version)
        refuse(file, TLineupBackupText::tr("it has no version this program reads"));

    TLineupBackup backup;
    const QJsonObject database = root.value(QStringLiteral("database")).toObject();
    backup.host = database.value(QStringLiteral("host")).toString();
    backup.database = database.value(QStringLiteral("name")).toString();
    backup.time = QDateTime::fromString(root.value(QStringLiteral("time")).toString(), Qt::ISODate);
    const QJsonObject tables = root.value(QStringLiteral("tables")).toObject();
    for (auto t = tables.begin(); t != tables.end(); ++t)
        if (!LineupTable(t.key()))
            refuse(file,
                   TLineupBackupText::tr("the table %1 is not one of the line-up").arg(t.key()));
    for (const TLineupTable& table : LineupTables()) {
        if (!tables.value(table.name).isArray())
            refuse(file, TLineupBackupText::tr("the table %1 is missing").arg(table.name));
        const QJsonArray rows = tables.value(table.name).toArray();
        QList<QVariantList>& kept = backup.tables[table.name];
        kept.reserve(rows.size());
        QSet<qlonglong> keys;
        QList<TColumnCheck> checks;
        for (const QString& c : table.columns)
            checks << TColumnCheck{c, c.toLatin1(), widthOf(table.name, c), table.IsNumber(c),
                                   table.smallNumbers.contains(c)};
        for (qsizetype r = 0; r < rows.size(); ++r) {
            if (!rows.at(r).isObject())
                refuse(file, TLineupBackupText::tr("%1 is not a row").arg(place(table.name, r)));
            const QJsonObject row = rows.at(r).toObject();
            QVariantList values;
            values.reserve(table.columns.size());
            qsizetype found = 0;
            QVarLengthArray<QJsonValue, 16> given;
            for (const TColumnCheck& c : checks) {
                given.append(row.value(QLatin1StringView(c.key)));
                found += given.back().isUndefined() ? 0 : 1;
            }
            // A key the row holds beyond the known columns is named first.
            if (found != row.size())
                for (auto c = row.begin(); c != row.end(); ++c)
                    if (!table.columns.contains(c.key()))
                        refuse(file, TLineupBackupText::tr("%1: the column %2 is not known")
                                         .arg(place(table.name, r), c.key()));
            for (qsizetype c = 0; c < checks.size(); ++c)
                values << checked(given[c], table, checks[c], r, file);
            if (values.first().isNull())
                refuse(
                    file,
                    TLineupBackupText::tr("%1 has no %2").arg(place(table.name, r), table.Key()));
            const qlonglong key = values.first().toLongLong();
            if (keys.contains(key))
                refuse(file, TLineupBackupText::tr("two rows of %1 have the id %2")
                                 .arg(table.name)
                                 .arg(key));
            keys.insert(key);
            kept << values;
        }
    }
    // Every row names only what the file holds (0 and no value name nothing), or what the
    // line-up already named without the row when it was backed up, as the file lists it.
    const QString danglingKey = QStringLiteral("dangling");
    bool understood = false;
    const QHash<QString, QSet<qlonglong>> listed =
        ReadDanglingList(root.value(danglingKey).toObject(), &understood);
    if (root.contains(danglingKey) && (!root.value(danglingKey).isObject() || !understood))
        refuse(file, TLineupBackupText::tr("its list of dangling references is not understood"));
    for (const TDanglingReference& r : DanglingReferences(backup))
        if (!listed.value(r.Name()).contains(r.value))
            refuse(file, TLineupBackupText::tr("%1: its %2 %3 is not in the file")
                             .arg(place(r.table, r.row),
                                  QCoreApplication::translate("LineupBackup", r.what))
                             .arg(r.value));
    return backup;
}

} // namespace

void SaveLineupBackup(const QByteArray& json, const QString& path)
{
    try {
        SaveWhole(path, json);
    } catch (const EKorvaneError& e) {
        throw EKorvaneError(
            TLineupBackupText::tr("%1 could not be written: %2").arg(path, e.Message()));
    }
}
