#include "writehistory.h"

#include "connection.h"
#include "errors.h"
#include "jsonrows.h"
#include "recordname.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QVarLengthArray>
#include <memory>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace {

/// The texts of this file, translated as WriteHistory's.
struct TWriteHistoryText
{
    Q_DECLARE_TR_FUNCTIONS(WriteHistory)
};

const char* kindName(TWrittenRow::Kind kind)
{
    switch (kind) {
    case TWrittenRow::Kind::Insert:
        return "insert";
    case TWrittenRow::Kind::Delete:
        return "delete";
    case TWrittenRow::Kind::Update:
        break;
    }
    return "update";
}

/// The rows' values as JSON text, the keys laid out once for each set of columns.
class TRowText
{
public:
    QString operator()(const QVariantMap& values)
    {
        if (values.isEmpty())
            return QString();
        if (!m_shape || !HasColumns(values, m_shape->Columns()))
            m_shape.emplace(values.keys());
        QVarLengthArray<const QVariant*, 64> ordered;
        for (auto i = values.begin(); i != values.end(); ++i)
            ordered.append(&i.value());
        // A typed NULL (an empty number column) stays null, not 0.
        const QJsonObject object = m_shape->Object([&ordered](qsizetype c) {
            const QVariant& v = *ordered[c];
            return v.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue::fromVariant(v);
        });
        return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }

private:
    std::optional<TJsonRows> m_shape;
};

QVariantMap fromJson(const QString& text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object().toVariantMap();
}

QString userName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    if (user.isEmpty()) // started without a login's environment
        if (const passwd* entry = getpwuid(getuid()))
            user = QString::fromLocal8Bit(entry->pw_name);
    return user;
}

/// Runs `sql` with `binds`; raises the reason when SQLite refuses it.
QSqlQuery run(QSqlDatabase& db, const QString& sql, const QVariantList& binds = {})
{
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throw EKorvaneError(q.lastError().text());
    for (const QVariant& v : binds)
        q.addBindValue(v);
    if (!q.exec())
        throw EKorvaneError(q.lastError().text());
    return q;
}

/// Opens `db` on the history file `path`; raises the reason when it cannot.
void openFile(QSqlDatabase& db, const QString& path)
{
    db.setDatabaseName(path);
    // Another copy of the program may be writing: wait for it rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open())
        throw EKorvaneError(
            TWriteHistoryText::tr("%1 cannot be opened: %2").arg(path, db.lastError().text()));
}

} // namespace

TWriteHistory* WriteHistory = nullptr;

TWriteHistory::TWriteHistory(const QString& path, const QString& dbHost, const QString& dbName)
    : m_path(path), m_dbHost(dbHost), m_dbName(dbName),
      m_connection(QStringLiteral("korvane-history-%1").arg(quintptr(this)))
{
}

TWriteHistory::~TWriteHistory()
{
    if (m_open)
        QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QString TWriteHistory::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/history.sqlite");
}

QSqlDatabase TWriteHistory::database()
{
    if (m_open)
        return QSqlDatabase::database(m_connection, false);
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        throw EKorvaneError(TWriteHistoryText::tr("The folder %1 cannot be made.").arg(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    openFile(db, m_path);
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    // Two programs opening a new file at once: the one that finds it locked tries again.
    for (int attempt = 0;; ++attempt) {
        try {
            run(db, QStringLiteral("PRAGMA journal_mode=WAL"));
            run(db, QStringLiteral("CREATE TABLE IF NOT EXISTS entries (id INTEGER PRIMARY KEY "
                                   "AUTOINCREMENT, dbhost TEXT, dbname TEXT, time TEXT, user "
                                   "TEXT, host TEXT, window TEXT, what TEXT, rows INTEGER, bytes "
                                   "INTEGER, done INTEGER)"));
            run(db, QStringLiteral("CREATE TABLE IF NOT EXISTS rows (entry INTEGER, seq INTEGER, "
                                   "kind TEXT, tbl TEXT, keycolumn TEXT, key TEXT, before TEXT, "
                                   "after TEXT, PRIMARY KEY (entry, seq))"));
            run(db, QStringLiteral(
                        "CREATE INDEX IF NOT EXISTS entries_db ON entries (dbhost, dbname)"));
            break;
        } catch (const EKorvaneError& e) {
            if (attempt < 100 && e.Message().contains(QLatin1String("locked"))) {
                QThread::msleep(20);
                continue;
            }
            db.close();
            throw;
        }
    }
    m_open = true;
    prune();
    return db;
}

namespace {

/// Writes an entry of `rows` into the history `db` as one transaction: its id.
qint64 writeEntry(QSqlDatabase& db, const QString& dbHost, const QString& dbName,
                  const QString& window, const QString& what, const QList<TWrittenRow>& rows)
{
    // The file's write lock from the start: another writer is waited for, not failed on.
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        qint64 bytes = 0;
        QSqlQuery entry = run(
            db,
            QStringLiteral("INSERT INTO entries (dbhost, dbname, time, user, host, window, what, "
                           "rows, bytes, done) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0)"),
            {dbHost, dbName, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
             userName(), QSysInfo::machineHostName(), window, what, rows.size()});
        const qint64 id = entry.lastInsertId().toLongLong();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO rows VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        TRowText json;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const TWrittenRow& r = rows[i];
            const QString before = json(r.before), after = json(r.after);
            bytes += before.size() + after.size() + 32;
            for (const QVariant& v :
                 {QVariant(id), QVariant(i), QVariant(QString::fromLatin1(kindName(r.kind))),
                  QVariant(r.table), QVariant(r.keyColumn), QVariant(r.key.toString()),
                  before.isNull() ? QVariant() : QVariant(before),
                  after.isNull() ? QVariant() : QVariant(after)})
                insert.addBindValue(v);
            if (!insert.exec())
                throw EKorvaneError(insert.lastError().text());
        }
        run(db, QStringLiteral("UPDATE entries SET bytes = ? WHERE id = ?"), {bytes, id});
        run(db, QStringLiteral("COMMIT"));
        return id;
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

} // namespace

qint64 TWriteHistory::Begin(const QString& window, const QString& what,
                            const QList<TWrittenRow>& rows)
{
    QSqlDatabase db = database();
    return writeEntry(db, m_dbHost, m_dbName, window, what, rows);
}

std::future<qint64> TWriteHistory::BeginLater(const QString& window, const QString& what,
                                              const QList<TWrittenRow>& rows)
{
    database(); // the file made and pruned, and its driver loaded, here
    // A connection of the thread's own on the same file: the entry is written while the
    // database writes, and waited for before it commits.
    return std::async(std::launch::async, [path = m_path, host = m_dbHost, name = m_dbName,
                                           connection = m_connection + QStringLiteral("-later"),
                                           window, what, rows] {
        const auto write = [&] {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            const std::shared_ptr<void> closed(nullptr, [&db](void*) { db.close(); });
            openFile(db, path);
            return writeEntry(db, host, name, window, what, rows);
        };
        qint64 id = 0;
        try {
            id = write();
        } catch (...) {
            QSqlDatabase::removeDatabase(connection);
            throw;
        }
        QSqlDatabase::removeDatabase(connection);
        return id;
    });
}

void TWriteHistory::Done(qint64 id)
{
    QSqlDatabase db = database();
    run(db, QStringLiteral("UPDATE entries SET done = 1 WHERE id = ?"), {id});
}

void TWriteHistory::Drop(qint64 id)
{
    QSqlDatabase db = database();
    run(db, QStringLiteral("DELETE FROM rows WHERE entry = ?"), {id});
    run(db, QStringLiteral("DELETE FROM entries WHERE id = ?"), {id});
}

int TWriteHistory::Settle(TSQLConnection& connection)
{
    QSqlDatabase db = database();
    QList<qint64> unfinished;
    QSqlQuery q = run(db,
                      QStringLiteral("SELECT id FROM entries WHERE done = 0 AND dbhost = ? AND "
                                     "dbname = ?"),
                      {m_dbHost, m_dbName});
    while (q.next())
        unfinished << q.value(0).toLongLong();
    for (const qint64 id : unfinished) {
        bool committed = true;
        for (const TWrittenRow& row : Rows(id)) {
            // Only the line-up's tables, by their keys: nothing else is asked for.
            if (RecordName::KeyColumn(row.table) != row.keyColumn) {
                committed = false;
                break;
            }
            QSqlQuery& now = connection.Execute(
                QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(row.table, row.keyColumn),
                {row.key});
            const bool present = now.next();
            if (row.kind == TWrittenRow::Kind::Delete) {
                committed = !present;
            } else {
                committed = present;
                for (auto c = row.after.begin(); committed && c != row.after.end(); ++c)
                    committed = RecordName::Same(now.value(c.key()), c.value());
            }
            if (!committed)
                break;
        }
        if (committed)
            Done(id);
        else
            Drop(id);
    }
    return int(unfinished.size());
}

QList<THistoryEntry> TWriteHistory::Entries(int limit)
{
    QSqlDatabase db = database();
    QSqlQuery q = run(db,
                      QStringLiteral("SELECT id, time, user, host, window, what, rows, done FROM "
                                     "entries WHERE dbhost = ? AND dbname = ? ORDER BY id DESC "
                                     "LIMIT ?"),
                      {m_dbHost, m_dbName, limit > 0 ? limit : -1});
    QList<THistoryEntry> entries;
    while (q.next()) {
        THistoryEntry e;
        e.id = q.value(0).toLongLong();
        e.time = QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs);
        e.time.setTimeSpec(Qt::UTC);
        e.user = q.value(2).toString();
        e.host = q.value(3).toString();
        e.window = q.value(4).toString();
        e.what = q.value(5).toString();
        e.rows = q.value(6).toInt();
        e.done = q.value(7).toInt() != 0;
        entries << e;
    }
    return entries;
}

QList<TWrittenRow> TWriteHistory::Rows(qint64 id)
{
    QSqlDatabase db = database();
    QSqlQuery q = run(db,
                      QStringLiteral("SELECT kind, tbl, keycolumn, key, before, after FROM rows "
                                     "WHERE entry = ? ORDER BY seq"),
                      {id});
    QList<TWrittenRow> rows;
    while (q.next()) {
        TWrittenRow r;
        const QString kind = q.value(0).toString();
        r.kind = kind == QLatin1String("insert")   ? TWrittenRow::Kind::Insert
                 : kind == QLatin1String("delete") ? TWrittenRow::Kind::Delete
                                                   : TWrittenRow::Kind::Update;
        r.table = q.value(1).toString();
        r.keyColumn = q.value(2).toString();
        r.key = q.value(3);
        r.before = fromJson(q.value(4).toString());
        r.after = fromJson(q.value(5).toString());
        rows << r;
    }
    return rows;
}

void TWriteHistory::prune()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    const QString cutoff =
        QDateTime::currentDateTimeUtc().addDays(-KeepDays).toString(Qt::ISODateWithMs);
    QList<qint64> dropped;
    QSqlQuery q = run(db, QStringLiteral("SELECT id, time, bytes FROM entries ORDER BY id DESC"));
    qint64 kept = 0;
    while (q.next()) {
        kept += q.value(2).toLongLong();
        if (q.value(1).toString() < cutoff || kept > KeepBytes)
            dropped << q.value(0).toLongLong();
    }
    q.finish();
    if (dropped.isEmpty())
        return;
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    for (const qint64 id : dropped) {
        run(db, QStringLiteral("DELETE FROM rows WHERE entry = ?"), {id});
        run(db, QStringLiteral("DELETE FROM entries WHERE id = ?"), {id});
    }
    run(db, QStringLiteral("COMMIT"));
}
