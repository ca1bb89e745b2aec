// The History window's files: the line-up backed up to a file, and restored from one.
#include "historywin.h"

#include "lineupbackup.h"
#include "lineuprestore.h"
#include "takeback.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

std::function<QString(QWidget*)> THistoryWin::ChooseBackupFile = [](QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, THistoryWin::tr("Back up the line-up"),
                                        QStringLiteral("lineup.json"),
                                        THistoryWin::tr("Line-up backups (*.json)"));
};

std::function<QString(QWidget*)> THistoryWin::ChooseRestoreFile = [](QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, THistoryWin::tr("Restore the line-up"), QString(),
                                        THistoryWin::tr("Line-up backups (*.json)"));
};

void THistoryWin::BackUp()
{
    const QString path = ChooseBackupFile(this);
    if (path.isEmpty())
        return;
    const TLineupBackup backup =
        ReadLineupBackup(m_connection, m_history ? m_history->Host() : QString(),
                         m_history ? m_history->Database() : QString());
    SaveLineupBackup(LineupBackupJson(backup), path);
    SummaryLabel->setText(tr("%1 rows of the line-up backed up to %2.")
                              .arg(backup.RowCount())
                              .arg(QFileInfo(path).fileName()));
}

void THistoryWin::RestoreFromFile()
{
    const QString path = ChooseRestoreFile(this);
    if (path.isEmpty())
        return;
    restore(LoadLineupBackup(path, m_connection),
            tr("Restore the line-up from %1").arg(QFileInfo(path).fileName()));
}

void THistoryWin::restore(const TLineupBackup& then, const QString& what)
{
    const TLineupBackup now = ReadLineupBackup(m_connection, QString(), QString());
    const QList<TWrittenRow> rows = RestoreRows(now, then);
    if (rows.isEmpty()) {
        SummaryLabel->setText(tr("The line-up is already as it was then: nothing to restore."));
        return;
    }
    TTakeBack restore(what, rows, TTakeBack::Purpose::Restore);
    restore.Read(m_connection, &now);
    review(restore, tr("Restore the line-up"), tr("Restored: %1.").arg(what));
}
