#include "sqlmodule.h"

#include "errors.h"

#include <QCoreApplication>
#include <map>

TSQLModule* SQLModule = nullptr;

namespace {
// Last identifier handed out per column name, for the life of the process. Keyed by
// column alone: a new row lives only in a change log until it is saved, and two
// unsaved rows must never share an id.
std::map<QString, int>& idMemory()
{
    static std::map<QString, int> memory;
    return memory;
}
} // namespace

TSQLModule::TSQLModule(const ScratchFactory& makeSearchDataSet, const QStringList& configLocations)
    : Conn(std::make_unique<TSQLConnection>())
{
    SearchDataSet = makeSearchDataSet(*Conn);
    DataModuleCreate(configLocations);
    SQLModule = this;
}

TSQLModule::~TSQLModule()
{
    if (SQLModule == this)
        SQLModule = nullptr;
    FHostName.clear();
    FDatabaseName.clear();
    FUserName.clear();
    FPassword.clear();
    FPort = 0;
    SearchDataSet.reset();
    Conn.reset();
}

void TSQLModule::DataModuleCreate(const QStringList& configLocations)
{
    settings_t settings;
    ReadConfig(settings, configLocations);
    FHostName = SettingValue(settings, "DBHostName");
    FDatabaseName = SettingValue(settings, "DBName");
    FUserName = SettingValue(settings, "DBUserName");
    FPassword = SettingValue(settings, "DBPassword");
    if (FHostName.isEmpty())
        throw ENoHostName();
    // An optional port, for a server that does not listen on the usual one; missing or
    // empty: the client library's default.
    const QString port = SettingValue(settings, "DBPort").trimmed();
    bool number = false;
    FPort = port.isEmpty() ? 0 : port.toInt(&number);
    if (!port.isEmpty() && (!number || FPort < 1 || FPort > 65535))
        throw EBadSetting(QCoreApplication::translate(
                              "TSQLModule", "The DBPort \"%1\" in %2 is no port: give a number "
                                            "from 1 to 65535, or leave it out for the default.")
                              .arg(port, SettingSource(configLocations, "DBPort")));
    Conn->SetParam(QStringLiteral("HostName"), FHostName);
    Conn->SetParam(QStringLiteral("Database"), FDatabaseName);
    Conn->SetParam(QStringLiteral("User_Name"), FUserName);
    Conn->SetParam(QStringLiteral("Password"), FPassword);
    Conn->SetParam(QStringLiteral("Port"), FPort > 0 ? QString::number(FPort) : QString());
}

int TSQLModule::maxIn(const QString& table, const QString& field)
{
    SearchDataSet->SetActive(false);
    SearchDataSet->SetCommandText(QStringLiteral("SELECT MAX(") + field +
                                  QStringLiteral(") FROM ") + table);
    SearchDataSet->SetActive(true);
    SearchDataSet->First();
    const QVariant max =
        SearchDataSet->FieldValue(QStringLiteral("MAX(") + field + QStringLiteral(")"));
    // An empty table has no maximum: its first row gets 1.
    return max.isNull() ? 0 : max.toInt();
}

int TSQLModule::GetNewID(const QString& table, const QString& field)
{
    return GetNewID(table, field, {});
}

int TSQLModule::GetNewID(const QString& table, const QString& field,
                         const QStringList& linkedTables)
{
    int m = maxIn(table, field);
    for (const QString& linked : linkedTables)
        m = std::max(m, maxIn(linked, field));
    int result = m + 1;
    auto& memory = idMemory();
    const auto it = memory.find(field);
    if (it != memory.end())
        result = std::max(result, it->second + 1);
    memory[field] = result;
    return result;
}

int TSQLModule::GetNewIDs(const QString& table, const QString& field,
                          const QStringList& linkedTables, int count)
{
    const int first = GetNewID(table, field, linkedTables);
    // Nobody else asks in between: every id of the block is remembered as handed out.
    if (count > 1)
        idMemory()[field] = first + count - 1;
    return first;
}
