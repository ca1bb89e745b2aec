// Snapshots of the line-up: a backup of it kept before the first write of each day.
#include "writehistory.h"

#include "errors.h"
#include "savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <zlib.h>

namespace {

/// The texts of this file, translated as WriteHistory's.
struct TSnapshotText
{
    Q_DECLARE_TR_FUNCTIONS(WriteHistory)
};

QByteArray gzip(const QByteArray& data)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw EKorvaneError(TSnapshotText::tr("The snapshot cannot be compressed."));
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw EKorvaneError(TSnapshotText::tr("The snapshot cannot be compressed."));
    return out;
}

QByteArray gunzip(const QByteArray& data, const QString& path)
{
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK)
        throw EKorvaneError(TSnapshotText::tr("%1 cannot be read.").arg(path));
    QByteArray out;
    char buffer[65536];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        if (out.size() > MaxBackupBytes)
            break;
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END && out.size() <= MaxBackupBytes)
        throw EKorvaneError(
            TSnapshotText::tr("%1 is damaged: it cannot be uncompressed.").arg(path));
    return out;
}

} // namespace

std::function<QDateTime()> TWriteHistory::Clock = [] {
    return QDateTime::currentDateTime();
};

QString TWriteHistory::snapshotFolder() const
{
    // One folder a database, named so that any host and database name makes a file name.
    const QByteArray name = QUrl::toPercentEncoding(m_dbHost + QLatin1Char('@') + m_dbName, "@");
    return QFileInfo(m_path).absolutePath() + QStringLiteral("/snapshots/") +
           QString::fromLatin1(name);
}

QString TWriteHistory::SnapshotBeforeWrite(TSQLConnection& connection)
{
    const QDateTime now = Clock();
    const QString folder = snapshotFolder();
    const QString path =
        folder + QLatin1Char('/') + now.date().toString(Qt::ISODate) + QStringLiteral(".json.gz");
    if (QFileInfo::exists(path))
        return QString();
    if (!QDir().mkpath(folder))
        throw EKorvaneError(TSnapshotText::tr("The folder %1 cannot be made.").arg(folder));
    for (const QString& f : {QFileInfo(folder).absolutePath(), folder})
        QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TLineupBackup backup = ReadLineupBackup(connection, m_dbHost, m_dbName);
    backup.time = now.toUTC();
    try {
        SaveWhole(path, gzip(LineupBackupJson(backup)));
    } catch (const EKorvaneError& e) {
        throw EKorvaneError(
            TSnapshotText::tr("The snapshot %1 could not be written: %2").arg(path, e.Message()));
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    // The last ones kept.
    const QStringList kept = QDir(folder).entryList({QStringLiteral("*.json.gz")}, QDir::Files,
                                                    QDir::Name | QDir::Reversed);
    for (qsizetype i = KeepSnapshots; i < kept.size(); ++i)
        QFile::remove(folder + QLatin1Char('/') + kept[i]);
    return path;
}

QList<TSnapshot> TWriteHistory::Snapshots() const
{
    const QString folder = snapshotFolder();
    QList<TSnapshot> snapshots;
    for (const QFileInfo& f : QDir(folder).entryInfoList({QStringLiteral("*.json.gz")}, QDir::Files,
                                                         QDir::Name | QDir::Reversed))
        snapshots << TSnapshot{
            f.absoluteFilePath(),
            QDate::fromString(f.fileName().section(QLatin1Char('.'), 0, 0), Qt::ISODate),
            f.lastModified().toUTC()};
    return snapshots;
}

TLineupBackup TWriteHistory::ReadSnapshot(const QString& path, TSQLConnection& connection)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKorvaneError(
            TSnapshotText::tr("%1 cannot be read: %2").arg(path, file.errorString()));
    return ParseLineupBackup(gunzip(file.readAll(), path), path, connection);
}
