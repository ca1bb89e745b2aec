// Measures the program's start against an empty Qt window with the same title, each a
// process of its own, from its start until its window is shown and idle, on an X display
// (DISPLAY; offscreen without one):
//   program   the program's start-up with the main window listing 1,000 sources
//   baseline  bench/startup_empty
// Needs the private server: run it through bench/run.
#include "benchsupport.h"
#include "mainwin.h"
#include "startup.h"
#include "startupclock.h"

#include <QDir>
#include <QProcess>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int Sources = 1000;
constexpr int Repeats = 11;

// In the child: ends the program once its main window is shown and idle.
void endWhenShown()
{
    QTimer::singleShot(0, [] {
        if (!MainWin || !MainWin->isVisible()) {
            endWhenShown();
            return;
        }
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
        bench::ReportStarted();
        QCoreApplication::exit(0);
    });
}

qint64 run(const QString& program, const QStringList& arguments, const QString& home)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), qEnvironmentVariableIsEmpty("DISPLAY")
                                                      ? QStringLiteral("offscreen")
                                                      : QStringLiteral("xcb"));
    env.insert(QStringLiteral("KORVANE_BENCH_START"), QString::number(bench::MonotonicNs()));
    child.setProcessEnvironment(env);
    child.setStandardOutputFile(QProcess::nullDevice());
    child.start(program, arguments);
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        qFatal("%s did not start and end well", qPrintable(program));
    for (const QByteArray& line : child.readAllStandardError().split('\n'))
        if (line.startsWith("started "))
            return line.mid(8).toLongLong();
    qFatal("%s did not say when it was started", qPrintable(program));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--program") == 0)
        return RunKorvaneSetup(1, argv, [] { endWhenShown(); });

    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto module = bench::OpenModule(dir);
    QSqlDatabase db = bench::DatabaseOf(*module);
    bench::FillDigitalSource(db, 1, 10);
    QString rows;
    for (int i = 2; i <= Sources; ++i)
        rows += QStringLiteral("%1(%2, 'Source %2', 'tv_grab_de', 'unused')")
                    .arg(i > 2 ? QStringLiteral(",") : QString())
                    .arg(i);
    bench::Exec(db, QStringLiteral("INSERT INTO videosource (sourceid, name, xmltvgrabber, "
                                   "userid) VALUES ") +
                        rows);
    QDir(dir.path()).mkpath(QStringLiteral(".korvane"));
    QFile::copy(dir.filePath(QStringLiteral("mysql.txt")),
                dir.filePath(QStringLiteral(".korvane/mysql.txt")));

    const QString self = QCoreApplication::applicationFilePath();
    const QString empty = QCoreApplication::applicationDirPath() + QStringLiteral("/startup_empty");
    qint64 program = std::numeric_limits<qint64>::max(), baseline = program;
    for (int i = 0; i < Repeats; ++i) {
        baseline = std::min(baseline, run(empty, {}, dir.path()));
        program = std::min(program, run(self, {QStringLiteral("--program")}, dir.path()));
    }
    QTextStream out(stdout);
    out << "startup: " << Sources << " sources, each start a process of its own until its "
        << "window is shown and idle, on "
        << (qEnvironmentVariableIsEmpty("DISPLAY") ? "an offscreen" : "an X")
        << " display, best of " << Repeats << "\n";
    out << QStringLiteral("startup: %1 ms vs an empty window %2 ms   ratio %3x (target <= 1.5x)\n")
               .arg(program / 1e6, 0, 'f', 1)
               .arg(baseline / 1e6, 0, 'f', 1)
               .arg(double(program) / double(baseline), 0, 'f', 2);
    return 0;
}
