// Measures the channel filter against opening the channels it filters, in one run:
//   open    the channel editor opened on a source of 10,000 channels (and shown)
//   filter  one letter typed into "Filter channels", until the list shows the result:
//           the first letter (all 10,000 looked at) and the one after it; and entering
//           the field, when the rows are gathered for filtering
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchmain.h"
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
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& /*source*/) {
            qint64 open = std::numeric_limits<qint64>::max();
            qint64 first = std::numeric_limits<qint64>::max(); // "7" on all 10,000
            qint64 next = std::numeric_limits<qint64>::max();  // "3" after it
            qint64 enter = std::numeric_limits<qint64>::max(); // the field entered before typing
            int shown = 0;
            for (int i = 0; i < Repeats; ++i) {
                bench::QuietStdout quiet;
                QElapsedTimer t;
                t.start();
                TChannelWin win;
                win.SetSourceID(SourceId);
                win.show();
                bench::Settle();
                open = std::min(open, t.nsecsElapsed());
                if (win.ChannelDataSet->RecordCount() != Channels)
                    qFatal("the editor shows %d channels", win.ChannelDataSet->RecordCount());

                auto* filter = win.findChild<QLineEdit*>(QStringLiteral("ChannelFilterEdit"));
                t.restart();
                filter->setFocus(); // the rows get ready to be filtered
                bench::Settle();
                enter = std::min(enter, t.nsecsElapsed());
                // A letter that narrows 10,000 channels to the thousands with a 7 in them, and
                // the letter after it.
                for (const QString& typed : {QStringLiteral("7"), QStringLiteral("3")}) {
                    t.restart();
                    key(filter, typed[0].unicode(), typed);
                    const qint64 filtered = t.nsecsElapsed();
                    bench::Settle();
                    if (qEnvironmentVariableIsSet("KORVANE_BENCH_DETAIL"))
                        fprintf(stderr, "letter %s: filtered %.2f ms, shown %.2f ms\n",
                                qPrintable(typed), filtered / 1e6, t.nsecsElapsed() / 1e6);
                    qint64& best = typed == QLatin1String("7") ? first : next;
                    best = std::min(best, t.nsecsElapsed());
                    shown = win.ChannelGrid->Model()->rowCount();
                }
                key(filter, Qt::Key_Escape, QString());
                if (win.ChannelGrid->Model()->rowCount() != Channels)
                    qFatal("Escape left %d rows", win.ChannelGrid->Model()->rowCount());
            }
            auto percent = [open](qint64 part) {
                return 100.0 * double(part) / double(open);
            };
            out << "filter: " << Channels << " channels, best of " << Repeats
                << ", each step until the window has nothing left to do\n";
            out << QStringLiteral(
                       "filter: first letter %1 ms = %2% of opening the channels (%3 ms) "
                       "(target <= 5%)\n")
                       .arg(first / 1e6, 0, 'f', 2)
                       .arg(percent(first), 0, 'f', 2)
                       .arg(open / 1e6, 0, 'f', 1);
            out << QStringLiteral("filter: next letter %1 ms = %2%, %3 rows shown\n")
                       .arg(next / 1e6, 0, 'f', 2)
                       .arg(percent(next), 0, 'f', 2)
                       .arg(shown);
            out << QStringLiteral("filter: entering the field (the rows made ready) %1 ms = %2%\n")
                       .arg(enter / 1e6, 0, 'f', 2)
                       .arg(percent(enter), 0, 'f', 2);
            return 0;
        });
}
