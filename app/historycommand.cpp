#include "historycommand.h"

#include "clientdataset.h"
#include "errors.h"
#include "lineupwriter.h"
#include "sqlmodule.h"
#include "startup.h"
#include "takeback.h"
#include "writehistory.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <memory>

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

int RunTakeBack(qint64 id, bool dryRun)
{
    using State = TTakeBack::TItem::State;
    try {
        TSQLModule module(&TSQLClientDataSet::CreateSearchDataSet);
        TWriteHistory history(TWriteHistory::DefaultPath(), module.HostName(),
                              module.DatabaseName());
        history.Settle(*module.Conn);
        THistoryEntry entry;
        for (const THistoryEntry& e : history.Entries())
            if (e.id == id)
                entry = e;
        if (entry.id == 0)
            throw EKorvaneError(
                THistoryCommandText::tr("There is no entry %1 in the history of this database "
                                        "(--history lists them).")
                    .arg(id));
        TTakeBack takeBack(entry.what, history.Rows(id));
        takeBack.Read(*module.Conn);
        QString plan;
        QStringList changed;
        for (const TTakeBack::TItem& item : takeBack.Items()) {
            plan +=
                QStringLiteral("%1: %2\n").arg(item.record, item.ticked ? item.action : item.note);
            if (item.state == State::ChangedSince || item.state == State::CannotReturn)
                changed << QStringLiteral("  %1: %2").arg(item.record, item.note);
        }
        print(stdout, plan);
        if (!changed.isEmpty()) {
            print(stderr, (changed.size() == 1
                               ? THistoryCommandText::tr("Nothing was taken back: 1 record "
                                                         "changed since the entry:")
                               : THistoryCommandText::tr("Nothing was taken back: %1 records "
                                                         "changed since the entry:")
                                     .arg(changed.size())) +
                              QLatin1Char('\n') + changed.join(QLatin1Char('\n')) +
                              QLatin1Char('\n'));
            return 2;
        }
        const int count = takeBack.TickedCount();
        if (dryRun) {
            print(stdout, (count == 1 ? THistoryCommandText::tr("Would take back 1 record; "
                                                                "nothing was written.")
                                      : THistoryCommandText::tr("Would take back %1 records; "
                                                                "nothing was written.")
                                            .arg(count)) +
                              QLatin1Char('\n'));
            return 0;
        }
        const QString historyError = WriteRecorded(*module.Conn, history, takeBack);
        print(stdout,
              (count == 1 ? THistoryCommandText::tr("Taken back: %1 (1 record).").arg(entry.what)
                          : THistoryCommandText::tr("Taken back: %1 (%2 records).")
                                .arg(entry.what)
                                .arg(count)) +
                  QLatin1Char('\n'));
        if (!historyError.isEmpty())
            print(
                stderr,
                THistoryCommandText::tr("The history could not be written: %1").arg(historyError) +
                    QLatin1Char('\n'));
        return 0;
    } catch (const EChangedMeanwhile& e) {
        print(stderr, e.Message() + QLatin1Char('\n'));
        return 2;
    } catch (const ENoHostName&) {
        print(stderr, NoSettingsMessage() + QLatin1Char('\n'));
    } catch (const EKorvaneError& e) {
        print(stderr, THistoryCommandText::tr("Nothing was taken back: %1").arg(e.Message()) +
                          QLatin1Char('\n'));
    }
    return 1;
}

QString WriteRecorded(TSQLConnection& connection, TWriteHistory& history, TTakeBack& takeBack)
{
    WriteHistory = &history; // the write is an entry of its own
    const std::shared_ptr<void> unset(nullptr, [](void*) { WriteHistory = nullptr; });
    TLineupWriter writer(connection, THistoryCommandText::tr("Command line"));
    writer.TakeBack(takeBack);
    return writer.HistoryError();
}
