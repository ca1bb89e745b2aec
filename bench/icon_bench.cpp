// Measures the channel list's icons against the same list without them, in one run:
//   open     10,000 channels of a DVB-T source opened in the editor, until the window
//            is idle (every picture asked for read and drawn)
//   scroll   the whole list scrolled from top to bottom a page at a time, each page
//            painted, until the window is idle
//   review   Icons... on the folder of those 10,000 pictures, from the folder chosen to
//            the review shown (at most 2 seconds), against listing the folder's names
// With icons, every channel has a picture file of its own (a 220x132 PNG); without, the
// same channels have none. Needs the private server and an offscreen display: run it
// through bench/run.
#include "benchmain.h"
#include "channelwin.h"
#include "dbgrid.h"
#include "iconstore.h"
#include "iconswin.h"

#include <QApplication>
#include <QBuffer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <QTextStream>
#include <QTimer>
#include <limits>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 7;

/// Until the window has nothing left to do, the icons read in the background included.
void idle(TChannelWin& win)
{
    bench::Settle();
    while (!win.Icons->Idle())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    bench::Settle();
}

struct Times
{
    qint64 open = 0, scroll = 0;
};

Times run()
{
    Times t;
    QElapsedTimer clock;
    clock.start();
    TChannelWin win;
    win.resize(795, 580);
    win.SetSourceID(SourceId);
    win.show();
    idle(win);
    t.open = clock.nsecsElapsed();
    if (win.ChannelDataSet->RecordCount() != Channels)
        qFatal("the editor shows %d channels", win.ChannelDataSet->RecordCount());

    QScrollBar* bar = win.ChannelGrid->verticalScrollBar();
    clock.restart();
    for (int at = bar->minimum(); at <= bar->maximum(); at += bar->pageStep()) {
        bar->setValue(at);
        win.ChannelGrid->viewport()->repaint();
    }
    idle(win);
    t.scroll = clock.nsecsElapsed();
    win.ChannelDataSet->CancelUpdates();
    return t;
}

/// Icons... on `folder`, until its review shows; the review is then cancelled.
qint64 review(const QString& folder)
{
    TChannelWin win;
    win.SetSourceID(SourceId);
    win.show();
    bench::Settle();
    QElapsedTimer clock;
    qint64 shown = 0;
    int rows = 0;
    TChannelWin::ChooseFolder = [&](QWidget*) {
        QTimer::singleShot(0, [&] {
            auto* review = qobject_cast<TIconsWin*>(QApplication::activeModalWidget());
            if (!review)
                qFatal("no review");
            bench::Settle();
            shown = clock.nsecsElapsed();
            rows = review->Table->model()->rowCount();
            review->reject();
        });
        clock.start();
        return folder;
    };
    win.IconsAction->trigger();
    TChannelWin::ChooseFolder = nullptr;
    if (rows != Channels)
        qFatal("the review shows %d channels", rows);
    return shown;
}

qint64 bareListing(const QString& folder)
{
    QElapsedTimer clock;
    clock.start();
    int files = 0;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        it.next();
        ++files;
    }
    if (files != Channels)
        qFatal("%d files", files);
    return clock.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv)
{
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& source) {
            qputenv("XDG_CACHE_HOME",
                    QFile::encodeName(source.dir.filePath(QStringLiteral("cache"))));

            QByteArray png;
            {
                QImage picture(220, 132, QImage::Format_RGB32);
                picture.fill(Qt::darkBlue);
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                picture.save(&buffer, "PNG");
            }
            const QString folder = source.dir.filePath(QStringLiteral("picons"));
            QDir().mkpath(folder);
            for (int i = 1; i <= Channels; ++i) {
                QFile f(QStringLiteral("%1/c%2.png").arg(folder).arg(i));
                if (!f.open(QIODevice::WriteOnly) || f.write(png) != png.size())
                    qFatal("cannot write %s", qPrintable(f.fileName()));
            }
            const QString withIcons =
                QStringLiteral("UPDATE channel SET icon = CONCAT('%1/c', chanid, '.png')")
                    .arg(folder);
            const QString withoutIcons = QStringLiteral("UPDATE channel SET icon = NULL");

            bench::QuietStdout quiet;
            Times best[2] = {
                {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()},
                {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()}};
            // The two alternate, so a machine that speeds up or slows down favours neither.
            for (int i = 0; i < Repeats; ++i)
                for (int icons : {0, 1}) {
                    bench::Exec(source.conn, icons ? withIcons : withoutIcons);
                    const Times t = run();
                    best[icons].open = std::min(best[icons].open, t.open);
                    best[icons].scroll = std::min(best[icons].scroll, t.scroll);
                }
            qint64 shown = std::numeric_limits<qint64>::max();
            qint64 listed = std::numeric_limits<qint64>::max();
            bench::Exec(source.conn, withoutIcons);
            for (int i = 0; i < 3; ++i) {
                shown = std::min(shown, review(folder));
                listed = std::min(listed, bareListing(folder));
            }
            const auto line = [&out](const char* what, qint64 program, qint64 baseline,
                                     double target) {
                out << QStringLiteral(
                           "icons: %1: %2 ms vs %3 ms without icons   ratio %4x (target <= %5x)\n")
                           .arg(QLatin1String(what))
                           .arg(program / 1e6, 0, 'f', 1)
                           .arg(baseline / 1e6, 0, 'f', 1)
                           .arg(double(program) / double(baseline), 0, 'f', 2)
                           .arg(target);
            };
            out << "icons: " << Channels
                << " channels, every one with a picture file of its own, best of " << Repeats
                << "\n";
            line("open until idle", best[1].open, best[0].open, 1.2);
            line("scroll top to bottom", best[1].scroll, best[0].scroll, 1.5);
            out << QStringLiteral(
                       "icons: Icons... on a folder of %1 pictures: the review in %2 ms "
                       "(target <= 2000 ms), %3x of listing the folder's names (%4 ms)\n")
                       .arg(Channels)
                       .arg(shown / 1e6, 0, 'f', 1)
                       .arg(double(shown) / double(listed), 0, 'f', 1)
                       .arg(listed / 1e6, 0, 'f', 1);
            return 0;
        });
}
