#pragma once

#include "connection.h"
#include "settings.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

/// What the identifier allocator needs of its scratch query: the client data set
/// that plays this part lives in the data layer, which builds on this one.
class TScratchDataSet
{
public:
    virtual ~TScratchDataSet() = default;
    virtual void SetActive(bool active) = 0;
    virtual void SetCommandText(const QString& text) = 0;
    virtual void First() = 0;
    virtual QVariant FieldValue(const QString& column) const = 0;
};

/// The database module: the shared connection `Conn`, the scratch data set
/// `SearchDataSet`, the four connection values read at start-up, and `GetNewID`.
class TSQLModule
{
public:
    using ScratchFactory = std::function<std::unique_ptr<TScratchDataSet>(TSQLConnection&)>;

    /// Loads the components, then runs DataModuleCreate over `configLocations`.
    /// Raises ENoHostName when no settings file gives a host name, EBadSetting naming
    /// the file when its DBPort is no port.
    explicit TSQLModule(const ScratchFactory& makeSearchDataSet,
                        const QStringList& configLocations = DefaultConfigLocations());
    ~TSQLModule();
    TSQLModule(const TSQLModule&) = delete;
    TSQLModule& operator=(const TSQLModule&) = delete;

    /// The next identifier for `field` of `table`: above the table's largest and
    /// above every identifier this process handed out for a column of that name.
    int GetNewID(const QString& table, const QString& field);
    /// As above, and also above the largest `field` in each of `linkedTables`: rows of
    /// those tables that name an identifier (even rows whose owner is gone) must never
    /// be taken over by a new row.
    int GetNewID(const QString& table, const QString& field, const QStringList& linkedTables);
    /// `count` new identifiers in a row, as that many calls of GetNewID one after the
    /// other would hand them out, asking the database once: returns the first, the
    /// others follow it. For many rows added at once (a scan's import).
    int GetNewIDs(const QString& table, const QString& field, const QStringList& linkedTables,
                  int count);

    const QString& HostName() const { return FHostName; }
    const QString& DatabaseName() const { return FDatabaseName; }
    const QString& UserName() const { return FUserName; }
    const QString& Password() const { return FPassword; }
    /// The server's port (DBPort); 0 for the client library's default.
    int Port() const { return FPort; }

    std::unique_ptr<TSQLConnection> Conn;
    std::unique_ptr<TScratchDataSet> SearchDataSet;

private:
    void DataModuleCreate(const QStringList& configLocations);
    int maxIn(const QString& table, const QString& field);

    QString FHostName;
    QString FDatabaseName;
    QString FUserName;
    QString FPassword;
    int FPort = 0;
};

/// The one database module of the program, set while it exists.
extern TSQLModule* SQLModule;
