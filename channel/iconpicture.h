#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

/// How far an icon is to be trusted: what a file or a server may send before it is
/// refused, and how long a server may take.
namespace IconLimits {
constexpr qint64 FileBytes = 2 * 1024 * 1024;
constexpr qint64 FetchBytes = 1024 * 1024;
constexpr int Pixels = 4096;  // wide or high
constexpr int FetchMs = 5000; // a whole transfer
constexpr int Fetches = 4;    // at a time
constexpr int Readers = 2;    // files read and pictures decoded at a time
constexpr int Kept = 128;     // pictures are kept at most this wide and high
} // namespace IconLimits

/// A picture decoded from bytes, or why there is none.
struct TIconPicture
{
    QImage image;
    QString why; // empty when the image is there
};

/// Decodes an icon's bytes, in the formats Qt reads by itself, refusing pictures wider
/// or higher than IconLimits::Pixels; the picture is made to fit in `box` (never larger
/// than it was).
TIconPicture DecodeIcon(const QByteArray& bytes, QSize box);
/// Reads an icon file: a regular file of at most IconLimits::FileBytes, decoded.
TIconPicture ReadIconFile(const QString& path, QSize box);
/// Why the file cannot be an icon, looking at its kind, size and header only (no
/// decoding); nothing when it can be.
std::optional<QString> IconFileProblem(const QString& path);

/// Where an icon value says the picture is.
struct TIconSource
{
    enum Kind { None, File, Web, Unusable } kind = None;
    QString where; // the file's path, or the web address
};
/// An icon value as stored: a local path (absolute or starting with "~/"), a file:
/// address, an http or https address; empty or "none" for none.
TIconSource IconSourceOf(const QString& value);
