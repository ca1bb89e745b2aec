#include "savefile.h"

#include "errors.h"

#include <QSaveFile>

void SaveWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EKorvaneError(file.errorString());
    // Every byte on the disk before the file takes the old one's place: a disk that
    // fills up lets part of a write through, which commit() alone does not tell.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw EKorvaneError(why);
    }
    if (!file.commit())
        throw EKorvaneError(file.errorString());
}
