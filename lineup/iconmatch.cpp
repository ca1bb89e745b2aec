#include "iconmatch.h"

#include "errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace {

/// The texts of the icon match.
struct TIconMatchText
{
    Q_DECLARE_TR_FUNCTIONS(IconMatch)
};

QString foldedFileName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return FoldName(dot > 0 ? QStringView(name).left(dot) : QStringView(name));
}

bool isPng(const TIconFile& file)
{
    return file.name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

} // namespace

QList<TIconFile> ReadIconFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        throw EKorvaneError(TIconMatchText::tr("The folder \"%1\" does not exist.").arg(folder));
    if (!info.isDir())
        throw EKorvaneError(TIconMatchText::tr("\"%1\" is not a folder.").arg(folder));
    if (!info.isReadable() || !info.isExecutable())
        throw EKorvaneError(
            TIconMatchText::tr("The folder \"%1\" cannot be read: you may not list its files.")
                .arg(folder));
    QList<TIconFile> files;
    // Names only: what each file holds is looked at when its row is shown.
    QDirIterator it(folder, QDir::Files | QDir::System);
    while (it.hasNext()) {
        it.next();
        files << TIconFile{it.filePath(), it.fileName()};
    }
    std::sort(files.begin(), files.end(),
              [](const TIconFile& a, const TIconFile& b) { return a.name < b.name; });
    return files;
}

QList<int> MatchIcons(const QList<TChannelRow>& channels, const QList<TIconFile>& files)
{
    QHash<QString, int> byName; // folded name -> the file preferred for it
    for (int i = 0; i < files.size(); ++i) {
        const QString folded = foldedFileName(files[i].name);
        if (folded.isEmpty())
            continue;
        auto it = byName.find(folded);
        if (it == byName.end())
            byName.insert(folded, i);
        else if (isPng(files[i]) && !isPng(files[*it]))
            *it = i;
    }
    QList<int> found;
    found.reserve(channels.size());
    for (const TChannelRow& channel : channels) {
        int file = -1;
        for (const QString& name : {channel.name, channel.callsign}) {
            const QString folded = FoldName(name);
            if (!folded.isEmpty() && (file = byName.value(folded, -1)) >= 0)
                break;
        }
        found << file;
    }
    return found;
}
