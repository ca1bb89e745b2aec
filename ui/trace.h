#pragma once

#include <QString>

/// Writes one trace line to standard output and flushes it at once, so it keeps its
/// place among everything else the program prints.
void Trace(const QString& line);

/// Writes the same trace line `times` times (one for each row of a change of many
/// rows), flushed once.
void Trace(const QString& line, int times);
