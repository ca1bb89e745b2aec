#pragma once

#include "sqlmodule.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

/// A caption as the user reads it: the mnemonic's mark taken out ("S&ave" -> "Save").
QString Caption(const QString& text);

/// Fixed style, locale and message boxes answered by the test: call at the start of
/// initTestCase().
void InitTestEnvironment();

/// A fresh database of its own on the private test server, with the schema loaded
/// (and the sample rows when asked), a mysql.txt naming it, and a second client
/// ("another user") for checks and for changes made behind the program's back.
class TestDatabase
{
public:
    explicit TestDatabase(const QString& name, bool withSample = false);
    ~TestDatabase();

    /// Drops and re-creates the tables (and the sample rows when asked).
    void Reset(bool withSample);

    /// Creates the program's database module on this database.
    std::unique_ptr<TSQLModule> CreateModule() const;
    /// A settings file that names this database.
    QString ConfigPath() const { return m_configPath; }

    // The second client.
    void Exec(const QString& sql);
    QVariant Scalar(const QString& sql);
    int Count(const QString& table, const QString& where = QString());
    /// Rows of a query, each as its values joined with "|" (null shown as "NULL").
    QStringList Rows(const QString& sql);

    const QString& Name() const { return m_name; }

    /// Adds to the sample line-up a satellite source 9 "Astra" received by the DVB-S card
    /// 5 through its input 7 (no channels).
    void AddSatelliteSource();

    static QString SocketPath();
    static QString User();
    static QString Password();

    /// Stops and starts the test server again (its data kept), as a crash or an
    /// administrator's restart would.
    static void RestartServer();

private:
    void runScript(const QString& path);
    std::unique_ptr<class QSqlQuery> run(const QString& sql);

    QString m_name;
    QString m_connection;
    QTemporaryDir m_dir;
    QString m_configPath;
};

/// Records the statements the program sends while it lives.
class StatementRecorder
{
public:
    StatementRecorder();
    ~StatementRecorder();
    QStringList Texts() const;
    /// Texts without the session set-up and transaction statements.
    QStringList Changes() const;
    /// Changes without the reads (SELECT): what was written.
    QStringList Writes() const;
    QList<QVariantList> Binds() const;
    void Clear();

private:
    struct Entry
    {
        QString text;
        QVariantList binds;
    };
    std::shared_ptr<QList<Entry>> m_entries;
};

/// Captures what the program writes to standard output while it lives.
class StdoutCapture
{
public:
    StdoutCapture();
    ~StdoutCapture();
    /// Stops capturing (once) and returns the lines written.
    QStringList Lines();

private:
    int m_saved = -1;
    QString m_path;
    QTemporaryDir m_dir;
};

class TSQLClientDataSet;
class TSQLConnection;
class QObject;

/// A data set of the program opened on `table`, filtered by `filter` when one is given.
TSQLClientDataSet* OpenDataSet(TSQLConnection& connection, const QString& table,
                               const QString& filter = {}, QObject* parent = nullptr);

/// Edits the current row of `set`, writing each column's value, and posts it.
void PostChange(TSQLClientDataSet& set, std::initializer_list<std::pair<QString, QVariant>> values);
/// Appends a row to `set` holding the values given, and posts it.
void PostNewRow(TSQLClientDataSet& set, std::initializer_list<std::pair<QString, QVariant>> values);

/// What every test on the server holds: its database and the program's module on it.
/// A test class derives from it besides QObject.
class ServerFixture
{
protected:
    /// In initTestCase: the test environment, a fresh database `name` (with the sample
    /// rows when asked) and the program's module on it.
    void StartServer(const QString& name, bool withSample = false);
    /// Before a test: the tables as new, and no message box remembered.
    void FreshTables(bool withSample);

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TSQLModule> module;
};

/// What the real program did when run.
struct ProgramRun
{
    int status = -1;
    QString out;
    QString err;
};

/// Runs the program `binary` with `arguments` on `db`'s database, its HOME and
/// XDG_DATA_HOME in `home` (so its history and snapshots are there); `inChild`, when
/// given, runs in the child before the program starts (a resource limit, say).
ProgramRun RunProgram(const QString& binary, const TestDatabase& db, const QString& home,
                      const QStringList& arguments, const std::function<void()>& inChild = {});
