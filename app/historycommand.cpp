#include "historycommand.h"

#include "clientdataset.h"
#include "errors.h"
#include "sqlmodule.h"
#include "startup.h"
#include "writehistory.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

/// The texts of this file, translated as CommandLine's.
struct THistoryCommandText
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

} // namespace

int RunHistoryList(int limit, bool json)
{
    try {
        TSQLModule module(&TSQLClientDataSet::CreateSearchDataSet);
        const QString path = TWriteHistory::DefaultPath();
        QList<THistoryEntry> entries;
        if (QFileInfo::exists(path)) // no history yet: nothing written
            entries = TWriteHistory(path, module.HostName(), module.DatabaseName()).Entries(limit);
        if (json) {
            QJsonArray array;
            for (const THistoryEntry& e : entries)
                array.append(
                    QJsonObject{{QStringLiteral("id"), e.id},
                                {QStringLiteral("time"), e.time.toString(Qt::ISODate)},
                                {QStringLiteral("user"), e.user},
                                {QStringLiteral("host"), e.host},
                                {QStringLiteral("what"), e.what},
                                {QStringLiteral("rows"), e.rows},
                                {QStringLiteral("state"),
                                 e.done ? QStringLiteral("done") : QStringLiteral("unfinished")}});
            print(stdout, QString::fromUtf8(QJsonDocument(array).toJson()));
            return 0;
        }
        QString text;
        for (const THistoryEntry& e : entries)
            text += QStringLiteral("%1  %2  %3@%4  %5 (%6)%7\n")
                        .arg(e.id)
                        .arg(e.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                             e.user, e.host, e.what,
                             e.rows == 1 ? THistoryCommandText::tr("1 row")
                                         : THistoryCommandText::tr("%1 rows").arg(e.rows),
                             e.done ? QString() : THistoryCommandText::tr(", unfinished"));
        if (entries.isEmpty())
            text = THistoryCommandText::tr("Nothing has been written to this database yet.\n");
        print(stdout, text);
        return 0;
    } catch (const ENoHostName&) {
        print(stderr, NoSettingsMessage() + QLatin1Char('\n'));
    } catch (const EKorvaneError& e) {
        print(stderr,
              THistoryCommandText::tr("The history could not be read: %1").arg(e.Message()) +
                  QLatin1Char('\n'));
    }
    return 1;
}
