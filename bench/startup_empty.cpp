// The least a start can cost: an empty Qt window with the program's title, shown, and
// the program ending once it is idle. startup_bench times it against the program.
#include "startupclock.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Korvane Setup"));
    window.show();
    QTimer::singleShot(0, &app, [] {
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
        bench::ReportStarted();
        QCoreApplication::exit(0);
    });
    return app.exec();
}
