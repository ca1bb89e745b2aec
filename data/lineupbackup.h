#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>
#include <future>

class TSQLConnection;

/// The line-up as a backup holds it: the rows of its five tables, each row its values in
/// the order of the table's columns (numbers as whole numbers, text as text, NULL null).
struct TLineupBackup
{
    QString host;
    QString database;
    QDateTime time; // UTC
    QHash<QString, QList<QVariantList>> tables;

    int RowCount() const;
};

/// A file larger than this is not read.
constexpr qint64 MaxBackupBytes = qint64(256) * 1024 * 1024;

/// The line-up of `connection`'s database as it is now, named by `host` and `database`
/// (raises the database's error, or names a column the table lacks).
TLineupBackup ReadLineupBackup(TSQLConnection& connection, const QString& host,
                               const QString& database);

/// The backup as its file holds it: {"format": "korvane-setup line-up", "version": 1,
/// "database": {...}, "time": ..., "tables": {...}}.
QByteArray LineupBackupJson(const TLineupBackup& backup);

/// The backup in `data`, read from the file `file`, checked for every row to fit the
/// tables of `connection`'s database and to name only what the file holds; raises
/// EKorvaneError naming the file and what is wrong with it.
TLineupBackup ParseLineupBackup(const QByteArray& data, const QString& file,
                                TSQLConnection& connection);

/// Writes `json` to `path` whole or not at all (a file there stays as it was when it
/// cannot be written); raises the reason.
void SaveLineupBackup(const QByteArray& json, const QString& path);

/// The backup in the file `path`, checked as ParseLineupBackup checks it (a file over
/// 256 MB is not read).
TLineupBackup LoadLineupBackup(const QString& path, TSQLConnection& connection);

/// LoadLineupBackup in a thread of its own, so that the caller may read the database
/// meanwhile: the future gives the backup, or raises what is wrong with the file.
std::future<TLineupBackup> LoadLineupBackupLater(const QString& path, TSQLConnection& connection);
