// What an icon value names and what its bytes hold: where to read it from, and the
// picture decoded within the limits, or why there is none.
#include "iconpicture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

namespace {

/// The reasons a picture is not shown, translated as the icon store's.
struct TIconPictureText
{
    Q_DECLARE_TR_FUNCTIONS(TIconStore)
};

/// The formats Qt reads by itself: nothing a plug-in of another package brings.
bool OwnFormat(const QByteArray& format)
{
    static const QList<QByteArray> formats{"png", "jpeg", "jpg", "gif", "bmp", "ico",
                                           "pbm", "pgm",  "ppm", "xbm", "xpm"};
    return formats.contains(format.toLower());
}

QString tooLarge(QSize size)
{
    return TIconPictureText::tr("Too large to show: %1x%2 pixels (at most %3x%3)")
        .arg(size.width())
        .arg(size.height())
        .arg(IconLimits::Pixels);
}

/// Why `path` cannot be read as an icon file before anything of it is read: missing,
/// a link to nowhere, not a regular file (a folder, a pipe that would never end), too big.
std::optional<QString> fileKindProblem(const QFileInfo& file)
{
    const QString path = file.filePath();
    if (!file.exists())
        return file.isSymLink()
                   ? TIconPictureText::tr("A link that leads nowhere or in a circle: %1").arg(path)
                   : TIconPictureText::tr("No such file: %1").arg(path);
    if (file.isDir())
        return TIconPictureText::tr("A folder, not a picture: %1").arg(path);
    if (!file.isFile())
        return TIconPictureText::tr("Not a plain file: %1").arg(path);
    if (file.size() > IconLimits::FileBytes)
        return TIconPictureText::tr("Too large to show: %1 is %2 MB (at most %3 MB)")
            .arg(path)
            .arg(double(file.size()) / (1024 * 1024), 0, 'f', 1)
            .arg(IconLimits::FileBytes / (1024 * 1024));
    return std::nullopt;
}

} // namespace

TIconPicture DecodeIcon(const QByteArray& bytes, QSize box)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (format.isEmpty())
        return {{}, TIconPictureText::tr("Not an image")};
    if (!OwnFormat(format))
        return {{},
                TIconPictureText::tr("Not an image format read here: %1")
                    .arg(QString::fromLatin1(format))};
    buffer.seek(0);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.width() > IconLimits::Pixels || size.height() > IconLimits::Pixels)
        return {{}, tooLarge(size)};
    // JPEG decodes smaller by itself; the others are scaled after, which costs half of
    // what their readers' own scaling does.
    const bool large = size.width() > box.width() || size.height() > box.height();
    if (size.isValid() && large && (format == "jpeg" || format == "jpg"))
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1}));
    QImage image = reader.read();
    if (image.isNull())
        return {{}, TIconPictureText::tr("A damaged picture: %1").arg(reader.errorString())};
    // Formats that do not say their size before they are read.
    if (image.width() > IconLimits::Pixels || image.height() > IconLimits::Pixels)
        return {{}, tooLarge(image.size())};
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return {image, {}};
}

TIconPicture ReadIconFile(const QString& path, QSize box)
{
    const QFileInfo info(path);
    if (const auto problem = fileKindProblem(info))
        return {{}, *problem};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, TIconPictureText::tr("Cannot be read: %1 (%2)").arg(path, file.errorString())};
    // It may have grown since it was looked at: never more than the limit is read.
    const QByteArray bytes = file.read(IconLimits::FileBytes + 1);
    if (bytes.size() > IconLimits::FileBytes)
        return {{},
                TIconPictureText::tr("Too large to show: %1 is over %2 MB")
                    .arg(path)
                    .arg(IconLimits::FileBytes / (1024 * 1024))};
    return DecodeIcon(bytes, box);
}

std::optional<QString> IconFileProblem(const QString& path)
{
    if (const auto problem = fileKindProblem(QFileInfo(path)))
        return problem;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TIconPictureText::tr("Cannot be read: %1 (%2)").arg(path, file.errorString());
    QImageReader reader(&file);
    if (reader.format().isEmpty())
        return TIconPictureText::tr("Not an image");
    if (!OwnFormat(reader.format()))
        return TIconPictureText::tr("Not an image format read here: %1")
            .arg(QString::fromLatin1(reader.format()));
    const QSize size = reader.size();
    if (size.width() > IconLimits::Pixels || size.height() > IconLimits::Pixels)
        return tooLarge(size);
    return std::nullopt;
}

TIconSource IconSourceOf(const QString& value)
{
    const QString v = value.trimmed();
    if (v.isEmpty() || v == QLatin1String("none"))
        return {TIconSource::None, {}};
    if (v.startsWith(QLatin1Char('/')))
        return {TIconSource::File, v};
    if (v.startsWith(QLatin1String("~/")))
        return {TIconSource::File, QDir::homePath() + v.mid(1)};
    const QUrl url(v, QUrl::StrictMode);
    if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
        return {TIconSource::File, url.toLocalFile()};
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty() &&
        (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        return {TIconSource::Web, url.toString()};
    return {TIconSource::Unusable, v};
}
