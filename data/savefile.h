#pragma once

#include <QByteArray>
#include <QString>

/// Writes `bytes` to `path` whole or not at all: a file there keeps its old contents
/// unless every byte reached the disk. Raises EKorvaneError with the system's reason.
void SaveWhole(const QString& path, const QByteArray& bytes);
