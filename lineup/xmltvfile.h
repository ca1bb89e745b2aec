#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// A channel of a listings file: its id, the names it goes by, and its icon.
struct TListedChannel
{
    QString id;
    QStringList names; // every <display-name>, whatever its language, in file order
    QString icon;      // the src of its first <icon>, empty when it has none
};

/// Reads the channels of an XMLTV listings file (what a grabber's --list-channels prints,
/// or a whole listings file), plain or gzip-compressed, told apart by its content. Reads
/// as a stream: programmes are passed over, never kept, and channels after them are
/// found too. External entities are never fetched and entity expansion is bounded.
/// Raises EKorvaneError naming the file and what is wrong with it: missing, a
/// directory, unreadable, empty, a damaged or truncated gzip file, no XML, no <tv>
/// root, no channels, a reference to an external entity.
QList<TListedChannel> ReadListingsFile(const QString& path);
