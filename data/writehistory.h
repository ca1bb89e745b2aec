#pragma once

#include "lineupbackup.h"
#include "writtenrow.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <future>

class TSQLConnection;

/// One write of the line-up as the history keeps it.
struct THistoryEntry
{
    qint64 id = 0;
    QDateTime time; // UTC
    QString user;
    QString host;
    QString window;
    QString what;
    int rows = 0;
    bool done = false;
};

/// A copy of the line-up kept before the first write of a day.
struct TSnapshot
{
    QString path;
    QDate day;      // the day of the first change it was kept for
    QDateTime time; // UTC, when it was taken
};

/// The history of every write this program made to the line-up tables, kept in a SQLite
/// file of the user's own (folder 0700, file 0600), one file for every database, the
/// entries keyed by the database's host and name. An entry is written before the write
/// commits and marked done after it; one left unfinished (the program ended between the
/// two) is settled by the next Settle. Entries older than 180 days, and the oldest beyond
/// 100 MB, are dropped. Two programs may write one file at once.
class TWriteHistory
{
public:
    /// The history at `path` for the database `dbName` on `dbHost`; opened at first use.
    TWriteHistory(const QString& path, const QString& dbHost, const QString& dbName);
    ~TWriteHistory();
    TWriteHistory(const TWriteHistory&) = delete;
    TWriteHistory& operator=(const TWriteHistory&) = delete;

    /// The database the entries are of.
    const QString& Host() const { return m_dbHost; }
    const QString& Database() const { return m_dbName; }

    /// The file in the user's data folder.
    static QString DefaultPath();

    /// Records a write about to commit; returns its entry's id. Raises EKorvaneError with
    /// the reason when the history cannot be written.
    qint64 Begin(const QString& window, const QString& what, const QList<TWrittenRow>& rows);
    /// Begin in a thread of its own, so that the entry is written while the database
    /// write goes on; the future gives its id (or raises the reason) and is to be waited
    /// for before the write commits. Raises at once when the file cannot be opened.
    std::future<qint64> BeginLater(const QString& window, const QString& what,
                                   const QList<TWrittenRow>& rows);
    /// The write of entry `id` committed.
    void Done(qint64 id);
    /// The write of entry `id` did not happen.
    void Drop(qint64 id);

    /// Settles the entries left unfinished: done when `connection`'s database holds their
    /// after values, dropped otherwise. Returns how many were settled.
    int Settle(TSQLConnection& connection);

    /// The entries of this database, newest first (at most `limit` when positive).
    QList<THistoryEntry> Entries(int limit = 0);
    /// The rows of entry `id`, in the order they were written.
    QList<TWrittenRow> Rows(qint64 id);

    /// Before a write: when there is no snapshot of the database from today (by Clock's
    /// local date), keeps its line-up as it is now, gzip-compressed, in the folder
    /// snapshots/ beside the history, the last KeepSnapshots of each database kept.
    /// Returns the file written (empty when today's is there); raises the reason when it
    /// cannot be written.
    QString SnapshotBeforeWrite(TSQLConnection& connection);
    /// The snapshots of this database, newest first.
    QList<TSnapshot> Snapshots() const;
    /// The line-up a snapshot holds, checked as a backup file is.
    static TLineupBackup ReadSnapshot(const QString& path, TSQLConnection& connection);
    /// The time now, as snapshots take it (tests give their own).
    static std::function<QDateTime()> Clock;

    static constexpr int KeepDays = 180;
    static constexpr int KeepSnapshots = 30;
    static constexpr qint64 KeepBytes = 100 * 1024 * 1024;

private:
    class QSqlDatabase database();
    QString snapshotFolder() const;
    void prune();

    QString m_path;
    QString m_dbHost;
    QString m_dbName;
    QString m_connection;
    bool m_open = false;
};

/// The history the program's writes go to (none: they are not recorded).
extern TWriteHistory* WriteHistory;
