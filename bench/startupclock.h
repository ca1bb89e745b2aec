#pragma once

// How long a child of startup_bench took from the moment its parent started it (the
// monotonic clock's reading in KORVANE_BENCH_START, in ns) until now, written to
// standard error as "started <ns>".
#include <QByteArray>
#include <cstdio>
#include <ctime>

namespace bench {

inline qint64 MonotonicNs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

inline void ReportStarted()
{
    const qint64 start = qgetenv("KORVANE_BENCH_START").toLongLong();
    std::fprintf(stderr, "started %lld\n", static_cast<long long>(MonotonicNs() - start));
    std::fflush(stderr);
}

} // namespace bench
