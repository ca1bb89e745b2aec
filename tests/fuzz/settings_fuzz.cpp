// libFuzzer target for the settings-file reader: any bytes at a settings location
// must parse without a crash, and what comes out keeps the format's rules.
#include "settings.h"

#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>

namespace {

const QString& scratchFile()
{
    static const QString path = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/korvane-fuzz-%1").arg(getpid());
        QDir().mkpath(dir);
        return dir + QStringLiteral("/mysql.txt");
    }();
    return path;
}

void require(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile f(scratchFile());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    settings_t settings;
    ReadConfigFile(scratchFile(), settings);
    for (const auto& [key, value] : settings) {
        // A key never holds "=" and never starts a comment; no line break survives;
        // a key, its "=" and its value come from one piece of at most 999 bytes.
        require(key.find('=') == std::string::npos);
        require(key.empty() || key.front() != '#');
        require(key.find('\n') == std::string::npos && value.find('\n') == std::string::npos);
        require(key.size() + 1 + value.size() <= 999);
    }
    return 0;
}
