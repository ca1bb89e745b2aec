#include "backupcommand.h"

#include "clientdataset.h"
#include "errors.h"
#include "historycommand.h"
#include "lineupbackup.h"
#include "lineuprestore.h"
#include "sqlmodule.h"
#include "startup.h"
#include "takeback.h"
#include "writehistory.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

/// The texts of this file, translated as CommandLine's.
struct TBackupCommandText
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

/// Runs `work` on the database the settings name: its status, or 1 with the reason.
template <typename Work> int onDatabase(Work work)
{
    try {
        TSQLModule module(&TSQLClientDataSet::CreateSearchDataSet);
        return work(module);
    } catch (const ENoHostName&) {
        print(stderr, NoSettingsMessage() + QLatin1Char('\n'));
    } catch (const EKorvaneError& e) {
        print(stderr, e.Message() + QLatin1Char('\n'));
    }
    return 1;
}

} // namespace

int RunBackup(const QString& path)
{
    return onDatabase([&path](TSQLModule& module) {
        const TLineupBackup backup =
            ReadLineupBackup(*module.Conn, module.HostName(), module.DatabaseName());
        const QByteArray json = LineupBackupJson(backup);
        if (path == QLatin1String("-")) {
            if (std::fwrite(json.constData(), 1, size_t(json.size()), stdout) !=
                    size_t(json.size()) ||
                std::fflush(stdout) != 0)
                throw EKorvaneError(
                    TBackupCommandText::tr("The backup could not be written to standard output."));
        } else {
            SaveLineupBackup(json, path); // whole or not at all
        }
        print(stderr,
              TBackupCommandText::tr("%1 rows of the line-up backed up to %2.\n")
                  .arg(backup.RowCount())
                  .arg(path == QLatin1String("-") ? TBackupCommandText::tr("standard output")
                                                  : path));
        return 0;
    });
}

int RunRestore(const QString& path, bool dryRun)
{
    return onDatabase([&](TSQLModule& module) {
        // The file is read and checked while the line-up is read.
        std::future<TLineupBackup> file = LoadLineupBackupLater(path, *module.Conn);
        const TLineupBackup now =
            ReadLineupBackup(*module.Conn, module.HostName(), module.DatabaseName());
        const TLineupBackup then = file.get();
        const QList<TWrittenRow> rows = RestoreRows(now, then);
        if (rows.isEmpty()) {
            print(stdout,
                  TBackupCommandText::tr("The line-up already holds what %1 holds.\n").arg(path));
            return 0;
        }
        print(stdout, RestoreLines(rows, now, then).join(QLatin1Char('\n')) + QLatin1Char('\n') +
                          RestoreSummary(rows) + QLatin1Char('\n'));
        if (dryRun)
            return 2;
        TTakeBack restore(
            TBackupCommandText::tr("Restore the line-up from %1").arg(QFileInfo(path).fileName()),
            rows, TTakeBack::Purpose::Restore);
        restore.Read(*module.Conn, &now);
        for (qsizetype i = 0; i < restore.Items().size(); ++i)
            restore.SetTicked(i, true);
        TWriteHistory history(TWriteHistory::DefaultPath(), module.HostName(),
                              module.DatabaseName());
        const QString historyError = WriteRecorded(*module.Conn, history, restore);
        print(stdout, TBackupCommandText::tr("Restored from %1.\n").arg(path));
        if (!historyError.isEmpty())
            print(
                stderr,
                TBackupCommandText::tr("The history could not be written: %1\n").arg(historyError));
        return 0;
    });
}
