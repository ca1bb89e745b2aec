// Measures the channel filter against opening the channels it filters, in one run:
//   open    the channel editor opened on a source of 10,000 channels (and shown)
//   filter  one letter typed into "Filter channels", until the list shows the result
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchsupport.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "sqlmodule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 5;

void key(QWidget* w, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir dir;
    const auto module = bench::OpenModule(dir);
    QSqlDatabase conn = bench::DatabaseOf(*module);
    bench::FillDigitalSource(conn, SourceId, Channels);

    qint64 open = std::numeric_limits<qint64>::max();
    qint64 letter = std::numeric_limits<qint64>::max();
    int shown = 0;
    for (int i = 0; i < Repeats; ++i) {
        bench::QuietStdout quiet;
        QElapsedTimer t;
        t.start();
        TChannelWin win;
        win.SetSourceID(SourceId);
        win.show();
        QApplication::processEvents();
        open = std::min(open, t.nsecsElapsed());
        if (win.ChannelDataSet->RecordCount() != Channels)
            qFatal("the editor shows %d channels", win.ChannelDataSet->RecordCount());

        auto* filter = win.findChild<QLineEdit*>(QStringLiteral("ChannelFilterEdit"));
        filter->setFocus();
        QApplication::processEvents(); // the focus moved (and painted) before typing
        // A letter that narrows 10,000 channels to the thousand with a 7 in them, and
        // each of the letters after it.
        for (const QString& typed : {QStringLiteral("7"), QStringLiteral("3")}) {
            t.restart();
            key(filter, typed[0].unicode(), typed);
            const qint64 filtered = t.nsecsElapsed();
            QApplication::processEvents();
            if (qEnvironmentVariableIsSet("KORVANE_BENCH_DETAIL"))
                fprintf(stderr, "letter %s: filtered %.2f ms, shown %.2f ms\n", qPrintable(typed),
                        filtered / 1e6, t.nsecsElapsed() / 1e6);
            letter = std::min(letter, t.nsecsElapsed());
            shown = win.ChannelGrid->Model()->rowCount();
        }
        key(filter, Qt::Key_Escape, QString());
        if (win.ChannelGrid->Model()->rowCount() != Channels)
            qFatal("Escape left %d rows", win.ChannelGrid->Model()->rowCount());
    }
    out << "filter: " << Channels << " channels, best of " << Repeats << "\n";
    out << QStringLiteral("filter: one letter %1 ms = %2% of opening the channels (%3 ms), "
                          "%4 rows shown (target <= 5%)\n")
               .arg(letter / 1e6, 0, 'f', 2)
               .arg(100.0 * double(letter) / double(open), 0, 'f', 2)
               .arg(open / 1e6, 0, 'f', 1)
               .arg(shown);
    return 0;
}
