#pragma once

#include "listingsmatch.h"

#include <QList>
#include <QString>

/// A file of a picon folder (one picture a channel, named after it).
struct TIconFile
{
    QString path; // full path
    QString name; // file name, as the folder lists it
};

/// The files of `folder` (not of its subfolders, nor hidden ones) in the order of their
/// names. Throws EKorvaneError, naming the folder, when it is missing or cannot be read.
QList<TIconFile> ReadIconFolder(const QString& folder);

/// The file each channel's icon is, in the order of `channels`, -1 for none: the file
/// whose name without its extension folds (FoldName) to the channel's long name, else
/// to its short name. "ABC TV HD" finds "abctvhd.png" and "ABC TV HD.png", never
/// "abctv.png". When several do, a PNG comes first, then the first by name.
QList<int> MatchIcons(const QList<TChannelRow>& channels, const QList<TIconFile>& files);
