#include "settings.h"

#include <QFile>
#include <QFileInfo>

namespace {
// A line is read in pieces of at most this many bytes; the rest of a longer line is
// read as a line of its own.
constexpr qint64 MaxLineBytes = 999;
} // namespace

void ReadConfigFile(const QString& path, settings_t& settings)
{
    // Only regular files (or links to them): QFile happily "opens" a directory, and
    // reading a FIFO or a device could block the start-up for ever.
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;

    char buffer[MaxLineBytes + 1];
    for (;;) {
        const qint64 n = file.readLine(buffer, sizeof buffer);
        if (n <= 0)
            break;
        std::string line(buffer, static_cast<size_t>(n));
        if (line.back() == '\n')
            line.pop_back(); // only the newline: a carriage return stays in the line
        if (line.empty() || line.front() == '#')
            continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        settings[line.substr(0, eq)] = line.substr(eq + 1);
    }
}

QStringList DefaultConfigLocations()
{
    QStringList locations{QStringLiteral("/usr/local/share/korvane/mysql.txt"),
                          QStringLiteral("/usr/share/korvane/mysql.txt"),
                          QStringLiteral("/etc/korvane/mysql.txt")};
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        locations << QString::fromLocal8Bit(home) + QStringLiteral("/.korvane/mysql.txt");
    return locations;
}

void ReadConfig(settings_t& settings, const QStringList& locations)
{
    for (const QString& path : locations)
        ReadConfigFile(path, settings);
}

QString SettingSource(const QStringList& locations, const char* key)
{
    for (auto it = locations.crbegin(); it != locations.crend(); ++it) {
        settings_t one;
        ReadConfigFile(*it, one);
        if (one.count(key) > 0)
            return *it;
    }
    return QString();
}

QString SettingValue(const settings_t& settings, const char* key)
{
    const auto it = settings.find(key);
    if (it == settings.end())
        return QString();
    return QString::fromUtf8(it->second.data(), qsizetype(it->second.size()));
}
