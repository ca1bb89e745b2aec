#include "connection.h"

#include "errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <algorithm>

Q_LOGGING_CATEGORY(lcSql, "korvane.sql", QtWarningMsg)

namespace {

TSQLConnection::StatementListener& listener()
{
    static TSQLConnection::StatementListener l;
    return l;
}

// Client library errors meaning the server is no longer there.
bool isConnectionLost(int code)
{
    return code == 2006 || code == 2013;
}

int nativeCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : 0;
}

QString messageOf(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

} // namespace

TSQLConnection::TSQLConnection(const QString& connectionName) : m_name(connectionName)
{
    // The parameter list as designed; start-up replaces or removes the last two.
    m_params = {{QStringLiteral("DriverName"), QStringLiteral("MySQL")},
                {QStringLiteral("BlobSize"), QStringLiteral("-1")},
                {QStringLiteral("ErrorResourceFile"), QStringLiteral("./DbxMySqlErr.msg")},
                {QStringLiteral("LocaleCode"), QStringLiteral("0000")},
                {QStringLiteral("Database"), QStringLiteral("korvanedb")},
                {QStringLiteral("User_Name"), QStringLiteral("korvane")}};
    QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_name);
}

TSQLConnection::~TSQLConnection()
{
    m_prepared.clear();
    m_adhoc.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QString TSQLConnection::ParamValue(const QString& name) const
{
    for (const Param& p : m_params)
        if (p.first == name)
            return p.second;
    return QString();
}

void TSQLConnection::SetParam(const QString& name, const QString& value)
{
    for (qsizetype i = 0; i < m_params.size(); ++i) {
        if (m_params[i].first != name)
            continue;
        if (value.isEmpty())
            m_params.removeAt(i);
        else
            m_params[i].second = value;
        return;
    }
    if (!value.isEmpty())
        m_params.append({name, value});
}

bool TSQLConnection::Connected() const
{
    return QSqlDatabase::database(m_name, false).isOpen();
}

void TSQLConnection::Open()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        return;
    db.setHostName(ParamValue(QStringLiteral("HostName")));
    db.setDatabaseName(ParamValue(QStringLiteral("Database")));
    db.setUserName(ParamValue(QStringLiteral("User_Name")));
    db.setPassword(ParamValue(QStringLiteral("Password")));
    const QString port = ParamValue(QStringLiteral("Port"));
    db.setPort(port.isEmpty() ? -1 : port.toInt());
    // Matched rows, not changed rows: an UPDATE that rewrites the same values still
    // counts, so a count of 0 really means the row is gone or was changed.
    // A server that does not answer (a host that drops packets, a firewall, a stopped
    // server) fails within seconds instead of freezing the program for minutes.
    db.setConnectOptions(QStringLiteral("CLIENT_FOUND_ROWS;MYSQL_OPT_CONNECT_TIMEOUT=%1;"
                                        "MYSQL_OPT_READ_TIMEOUT=%2;MYSQL_OPT_WRITE_TIMEOUT=%2")
                             .arg(ConnectTimeoutSeconds)
                             .arg(ReadWriteTimeoutSeconds));
    qCDebug(lcSql).noquote() << "connect" << db.userName() << "@" << db.hostName() << "/"
                             << db.databaseName();
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db.close();
        throw EDatabaseError(QCoreApplication::translate("TSQLConnection",
                                                         "Cannot connect to the database server "
                                                         "on host \"%1\": %2")
                                 .arg(db.hostName(), messageOf(error)),
                             nativeCode(error));
    }
    m_inTransaction = false;
    m_maxPacket = 0;
    // Refuse values a column cannot hold instead of cutting or replacing them.
    QSqlQuery init(db);
    const QString mode = QStringLiteral("SET SESSION sql_mode = CONCAT_WS(',', @@SESSION.sql_mode, "
                                        "'STRICT_ALL_TABLES')");
    trace(mode, {});
    if (!init.exec(mode)) {
        const QSqlError error = init.lastError();
        db.close();
        throw EDatabaseError(messageOf(error), nativeCode(error));
    }
}

void TSQLConnection::Close()
{
    m_afterCommit.clear();
    m_characterLengths.clear(); // the next connection may reach another database
    m_prepared.clear();
    m_adhoc.reset();
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.close();
    m_inTransaction = false;
}

void TSQLConnection::trace(const QString& sql, const QVariantList& binds) const
{
    if (listener())
        listener()(sql, binds);
    if (lcSql().isDebugEnabled()) {
        if (binds.isEmpty())
            qCDebug(lcSql).noquote() << sql;
        else
            qCDebug(lcSql).noquote() << sql << "--" << binds;
    }
}

void TSQLConnection::fail(const QSqlError& error, const QString& context)
{
    const int code = nativeCode(error);
    if (isConnectionLost(code)) {
        // The connection is gone even though the driver still calls it open: drop it,
        // so the next access opens a new one. An open transaction died with it.
        Close();
    }
    QString message = messageOf(error);
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    if (isConnectionLost(code))
        message =
            QCoreApplication::translate("TSQLConnection", "%1 (database server on host \"%2\")")
                .arg(message, ParamValue(QStringLiteral("HostName")));
    throw EDatabaseError(message, code);
}

QSqlQuery& TSQLConnection::attempt(const QString& sql, const QVariantList& binds, QSqlError& error)
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    trace(sql, binds);
    bool ok = true;
    QSqlQuery* query;
    if (binds.isEmpty()) {
        m_adhoc = std::make_unique<QSqlQuery>(db);
        query = m_adhoc.get();
        query->setForwardOnly(true);
        ok = query->exec(sql);
        ++m_queriesSent;
    } else {
        if (m_prepared.size() >= 32 && !m_prepared.count(sql))
            m_prepared.clear();
        auto& cached = m_prepared[sql];
        bool prepared = true;
        if (!cached) {
            cached = std::make_unique<QSqlQuery>(db);
            cached->setForwardOnly(true);
            prepared = ok = cached->prepare(sql);
            ++m_queriesSent;
        }
        query = cached.get();
        if (ok) {
            // Bind values are added anew for every execution of a prepared statement.
            for (const QVariant& v : binds)
                query->addBindValue(v);
            ok = query->exec();
            ++m_queriesSent;
        }
        error = ok ? QSqlError() : query->lastError();
        if (!prepared) {
            // Keep no statement that never prepared; hand back a query holding the error.
            m_adhoc = std::move(cached);
            m_prepared.erase(sql);
            return *m_adhoc;
        }
        return *query;
    }
    error = ok ? QSqlError() : query->lastError();
    return *query;
}

QSqlQuery& TSQLConnection::run(const QString& sql, const QVariantList& binds)
{
    if (m_inTransaction && !Connected())
        throw EDatabaseError(QCoreApplication::translate(
                                 "TSQLConnection", "The connection to the database was lost."),
                             2013);
    Open();
    QSqlError error;
    QElapsedTimer waited;
    waited.start();
    QSqlQuery* query = &attempt(sql, binds, error);
    if (error.type() == QSqlError::NoError)
        return *query;
    // Outside a transaction, a statement that found the connection gone is sent once
    // more on a new connection. Inside one it is never replayed: the transaction died
    // with the connection, and the caller must fail and roll back. Nor is one that
    // waited out the read timeout: the server is not answering, and the user is told
    // so now rather than after another wait.
    const bool timedOut = waited.elapsed() >= (ReadWriteTimeoutSeconds - 1) * 1000;
    if (!m_inTransaction && !timedOut && isConnectionLost(nativeCode(error))) {
        Close();
        Open();
        query = &attempt(sql, binds, error);
        if (error.type() == QSqlError::NoError)
            return *query;
    }
    fail(error, QString());
}

int TSQLConnection::ExecuteDirect(const QString& sql)
{
    return run(sql, {}).numRowsAffected();
}

QSqlQuery& TSQLConnection::Execute(const QString& sql, const QVariantList& binds)
{
    return run(sql, binds);
}

void TSQLConnection::GetFieldNames(const QString& table, QStringList& list)
{
    // The driver's own record() swallows errors; a missing table must be reported.
    QSqlQuery& query = run(QStringLiteral("select * from ") + QuoteChar() + table + QuoteChar() +
                               QStringLiteral(" limit 0"),
                           {});
    const QSqlRecord record = query.record();
    list.clear();
    for (int i = 0; i < record.count(); ++i)
        list << record.fieldName(i);
}

int TSQLConnection::CharacterLength(const QString& table, const QString& column)
{
    // Every text column of the database in one query, the first time one is asked for.
    if (m_characterLengths.isEmpty()) {
        QSqlQuery& query =
            run(QStringLiteral("SELECT table_name, column_name, CHARACTER_MAXIMUM_LENGTH FROM "
                               "information_schema.columns WHERE table_schema = DATABASE() AND "
                               "CHARACTER_MAXIMUM_LENGTH IS NOT NULL"),
                {});
        while (query.next())
            m_characterLengths.insert(query.value(0).toString() + QLatin1Char('.') +
                                          query.value(1).toString(),
                                      int(std::min<qlonglong>(query.value(2).toLongLong(), 65535)));
        // Asked: a database without text columns is not asked again.
        m_characterLengths.insert(QString(), 0);
    }
    return m_characterLengths.value(table + QLatin1Char('.') + column, 0);
}

QString TSQLConnection::QuoteChar() const
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.driver())
        return QString();
    const QString probe = db.driver()->escapeIdentifier(QStringLiteral("x"), QSqlDriver::TableName);
    if (probe.size() == 3 && probe.at(1) == QLatin1Char('x'))
        return probe.left(1);
    return QString();
}

void TSQLConnection::StartTransaction()
{
    if (m_inTransaction)
        throw EKorvaneError(
            QCoreApplication::translate("TSQLConnection", "A transaction is already open."));
    run(QStringLiteral("START TRANSACTION"), {});
    m_inTransaction = true;
}

void TSQLConnection::Commit()
{
    if (!m_inTransaction)
        return;
    try {
        run(QStringLiteral("COMMIT"), {});
    } catch (...) {
        Rollback();
        throw;
    }
    m_inTransaction = false;
    auto actions = std::move(m_afterCommit);
    m_afterCommit.clear();
    for (auto& action : actions)
        action();
}

void TSQLConnection::AfterCommit(std::function<void()> action)
{
    if (!m_inTransaction)
        action();
    else
        m_afterCommit.push_back(std::move(action));
}

void TSQLConnection::Rollback()
{
    m_afterCommit.clear();
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    // A rollback on a connection that is gone has nothing to undo; the server dropped
    // the transaction when the connection died.
    if (!Connected())
        return;
    try {
        run(QStringLiteral("ROLLBACK"), {});
    } catch (const EDatabaseError&) {
    }
}

void TSQLConnection::SetStatementListener(StatementListener l)
{
    listener() = std::move(l);
}
