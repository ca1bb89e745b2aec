#pragma once

#include "statement.h"

#include <QHash>
#include <QList>
#include <QLoggingCategory>
#include <QPair>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

Q_DECLARE_LOGGING_CATEGORY(lcSql)

/// The one MySQL connection of the program. Holds its parameter list in order,
/// opens on first use and, after a failed open, tries again at the next access.
/// Every statement it sends goes to the `korvane.sql` logging category.
class TSQLConnection
{
public:
    using Param = QPair<QString, QString>;
    using StatementListener = std::function<void(const QString& sql, const QVariantList& binds)>;

    /// How long connecting may take, and how long one read or write of a statement may
    /// wait for the server, before it counts as a failure.
    static constexpr int ConnectTimeoutSeconds = 10;
    static constexpr int ReadWriteTimeoutSeconds = 60;

    explicit TSQLConnection(const QString& connectionName = QStringLiteral("MySQLConnection"));
    ~TSQLConnection();
    TSQLConnection(const TSQLConnection&) = delete;
    TSQLConnection& operator=(const TSQLConnection&) = delete;

    const QString& ConnectionName() const { return m_name; }

    /// The parameter list in its order.
    const QList<Param>& Params() const { return m_params; }
    QString ParamValue(const QString& name) const;
    /// Replaces the parameter's line or appends one; an empty value removes the line.
    void SetParam(const QString& name, const QString& value);

    bool Connected() const;
    /// Opens the connection unless it is open; raises EDatabaseError on failure.
    void Open();
    void Close();

    /// Sends one statement that returns no rows; returns the rows it matched.
    int ExecuteDirect(const QString& sql);
    /// Prepares `sql`, binds `binds` to its "?" markers in order and runs it. The
    /// query belongs to the connection and stays valid until the next statement.
    QSqlQuery& Execute(const QString& sql, const QVariantList& binds = {});
    /// Runs `statements`, none of which returns rows, in as few queries as the server
    /// takes: several statements a query, each with its values written into its text by
    /// the driver's own escaping, a query holding at most MaxBatchStatements and staying
    /// under the server's max_allowed_packet. Every statement is traced as if sent alone.
    /// Once a query has run, `matched(i, rows)` is called for each of its statements in
    /// order; an exception it raises stops before the next query. A statement the server
    /// refuses raises the server's error, and those after it are not run.
    void ExecuteBatch(const std::vector<TStatement>& statements,
                      const std::function<void(size_t index, int matched)>& matched = {});
    static constexpr int MaxBatchStatements = 1000;
    static constexpr qsizetype MaxBatchBytes = 2 * 1024 * 1024;
    /// How many queries this connection has sent, each a round trip to the server.
    qint64 QueriesSent() const { return m_queriesSent; }

    /// Column names of `table`, in table order. Raises the server's error when the
    /// table does not exist.
    void GetFieldNames(const QString& table, QStringList& list);
    /// How many characters a text column of `table` holds on the server (0 when the
    /// column is not a text column or does not exist). Asked once per connection,
    /// for every column at once.
    int CharacterLength(const QString& table, const QString& column);
    /// The quote character the driver uses for object names (empty when none).
    QString QuoteChar() const;

    void StartTransaction();
    /// Commits, then runs what was registered with AfterCommit.
    void Commit();
    /// Rolls back and forgets what was registered with AfterCommit.
    void Rollback();
    bool InTransaction() const { return m_inTransaction; }
    /// Runs `action` once the open transaction has been committed; dropped when it is
    /// rolled back or the connection is lost.
    void AfterCommit(std::function<void()> action);

    /// Records every statement sent, for tests; pass an empty function to stop.
    static void SetStatementListener(StatementListener listener);

private:
    void trace(const QString& sql, const QVariantList& binds) const;
    [[noreturn]] void fail(const class QSqlError& error, const QString& context);
    QSqlQuery& run(const QString& sql, const QVariantList& binds);
    QSqlQuery& attempt(const QString& sql, const QVariantList& binds, class QSqlError& error);
    /// The longest query text, in bytes, a batch may send on the open connection.
    qsizetype batchBytes();
    /// Sends `statements[first, first + count)` as one query; returns their matched rows.
    std::vector<int> sendBatch(const std::vector<QByteArray>& texts, size_t first, size_t count);

    QString m_name;
    QList<Param> m_params;
    // Prepared statements by text: a save sends the same INSERT or UPDATE text many
    // times, and preparing it once saves a round trip per row.
    std::map<QString, std::unique_ptr<QSqlQuery>> m_prepared;
    std::unique_ptr<QSqlQuery> m_adhoc;
    bool m_inTransaction = false;
    std::vector<std::function<void()>> m_afterCommit;
    QHash<QString, int> m_characterLengths; // "table.column" -> characters
    qint64 m_queriesSent = 0;
    qint64 m_maxPacket = 0; // the server's max_allowed_packet, once asked
};
