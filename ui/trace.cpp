#include "trace.h"

#include <algorithm>
#include <cstdio>

void Trace(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void Trace(const QString& line, int times)
{
    const QByteArray bytes = (line.toUtf8() + '\n').repeated(std::max(times, 0));
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
