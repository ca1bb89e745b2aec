#pragma once

// The benchmarks' common start: an application with windows, the report on standard
// output, and the program's module on the private server with a DVB-T source filled.
#include "benchsupport.h"

#include <QApplication>
#include <QTextStream>
#include <functional>

namespace bench {

/// Runs `body` with the report's stream and source `sourceId` of `channels` channels;
/// returns what it returns (the process's exit status).
inline int Main(int argc, char** argv, int sourceId, int channels,
                const std::function<int(QTextStream& out, TDigitalSource& source)>& body)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    TDigitalSource source(sourceId, channels);
    return body(out, source);
}

} // namespace bench
