// Measures the program over a network against the same work over the local socket, in
// one run, on a DVB-T source of 10,000 channels each with its digital row. The network
// is a relay on 127.0.0.1 that delays every byte by 1 ms each way (a 2 ms round trip,
// an ordinary Wi-Fi link) and counts the round trips:
//   open       the channel editor opened on the source and shown
//   renumber   every channel renumbered, then Save (the Save timed)
//   import     2,000 new channels imported from a scan, then Save (the Save timed)
//   windows    the round trips of opening the main window and each editor
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchmain.h"
#include "cardwin.h"
#include "channelwin.h"
#include "dbgrid.h"
#include "importwin.h"
#include "mainwin.h"
#include "messagebox.h"
#include "relay.h"
#include "renumberwin.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int Channels = 10000;
constexpr int Services = 2000;
constexpr int SourceId = 3;
constexpr int Repeats = 3;

bench::TRelay* relay = nullptr;

// The program's connection over the relay, or over the local socket.
void connectVia(bool network)
{
    TSQLConnection& conn = *SQLModule->Conn;
    conn.Close();
    conn.SetParam(QStringLiteral("HostName"),
                  network ? QStringLiteral("127.0.0.1") : QStringLiteral("localhost"));
    conn.SetParam(QStringLiteral("Port"), network ? QString::number(relay->Port()) : QString());
    conn.Open();
    relay->ResetRoundTrips();
}

struct Figure
{
    qint64 ns = std::numeric_limits<qint64>::max();
    qint64 trips = 0;
    void take(qint64 t, qint64 r)
    {
        if (t < ns)
            ns = t;
        trips = std::max(trips, r);
    }
};

void writeScan(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QTextStream out(&f);
    for (int i = 0; i < Services; ++i)
        out << "[New " << i << "]\n\tSERVICE_ID = " << 20000 + i << "\n\tVIDEO_PID = " << 100 + i
            << "\n\tAUDIO_PID = " << 3000 + i
            << "\n\tFREQUENCY = " << 474000000 + (i / 8 % 40) * 8000000
            << "\n\tMODULATION = QAM/64\n\tBANDWIDTH_HZ = 8000000\n\tINVERSION = AUTO\n"
            << "\tDELIVERY_SYSTEM = DVBT\n";
}

std::unique_ptr<TChannelWin> openEditor(Figure& open)
{
    bench::QuietStdout quiet;
    const qint64 before = relay->RoundTrips();
    QElapsedTimer t;
    t.start();
    auto win = std::make_unique<TChannelWin>();
    win->SetSourceID(SourceId);
    win->show();
    bench::Settle();
    open.take(t.nsecsElapsed(), relay->RoundTrips() - before);
    if (win->ChannelDataSet->RecordCount() != Channels)
        qFatal("the editor shows %d channels", win->ChannelDataSet->RecordCount());
    return win;
}

// Save, timed, with its round trips.
void save(TChannelWin& win, Figure& figure)
{
    bench::QuietStdout quiet;
    const qint64 before = relay->RoundTrips();
    QElapsedTimer t;
    t.start();
    win.ApplyAction->trigger();
    figure.take(t.nsecsElapsed(), relay->RoundTrips() - before);
    if (win.isWindowModified())
        qFatal("the save failed");
}

void renumber(TChannelWin& win, int first)
{
    bench::QuietStdout quiet;
    win.ChannelGrid->selectAll();
    QTimer::singleShot(0, &win, [first] {
        auto* dialog = qobject_cast<TRenumberWin*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no renumber dialog");
        dialog->FirstEdit->setValue(first);
        dialog->RenumberButton->click();
    });
    win.RenumberAction->trigger();
    if (win.ChannelDataSet->ChangeCount() != Channels)
        qFatal("the renumbering changed %d channels", win.ChannelDataSet->ChangeCount());
}

void import(TChannelWin& win, const QString& path)
{
    bench::QuietStdout quiet;
    TChannelWin::ChooseFile = [path](QWidget*) {
        return path;
    };
    QTimer::singleShot(0, &win, [] {
        auto* preview = qobject_cast<TImportWin*>(QApplication::activeModalWidget());
        if (!preview)
            qFatal("no preview opened");
        preview->ImportButton->click();
    });
    win.ImportAction->trigger();
    TChannelWin::ChooseFile = nullptr;
    if (win.ChannelDataSet->RecordCount() != Channels + Services)
        qFatal("the import added %d channels", win.ChannelDataSet->RecordCount() - Channels);
}

// The round trips of `open` on a new connection, as the first window of a start.
qint64 tripsOf(const std::function<void()>& open)
{
    QApplication::closeAllWindows();
    bench::Settle();
    connectVia(true);
    bench::QuietStdout quiet;
    const qint64 before = relay->RoundTrips();
    open();
    bench::Settle();
    return relay->RoundTrips() - before;
}

QString line(const QString& what, const Figure& network, const Figure& local, double target)
{
    const double ratio = double(network.ns) / double(local.ns);
    return QStringLiteral("remote: %1 %2 ms over the network vs %3 ms over the socket   ratio "
                          "%4x (target <= %5x), %6 round trips\n")
        .arg(what)
        .arg(network.ns / 1e6, 0, 'f', 1)
        .arg(local.ns / 1e6, 0, 'f', 1)
        .arg(ratio, 0, 'f', 2)
        .arg(target)
        .arg(network.trips);
}

} // namespace

int main(int argc, char** argv)
{
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& source) {
            bench::TRelay network(qEnvironmentVariable("MYSQL_UNIX_PORT"), 1);
            relay = &network;
            const QString scan = source.dir.filePath(QStringLiteral("new.conf"));
            writeScan(scan);

            Figure open[2], renumbered[2], imported[2];
            int first = 2;
            for (int i = 0; i < Repeats; ++i)
                for (const bool overNetwork : {false, true}) {
                    connectVia(overNetwork);
                    auto win = openEditor(open[overNetwork]);
                    renumber(*win, first++);
                    save(*win, renumbered[overNetwork]);
                    import(*win, scan);
                    save(*win, imported[overNetwork]);
                    bench::Exec(
                        source.conn,
                        QStringLiteral("DELETE FROM channel_dvb WHERE chanid > %1").arg(Channels));
                    bench::Exec(
                        source.conn,
                        QStringLiteral("DELETE FROM channel WHERE chanid > %1").arg(Channels));
                    win->close();
                }

            const qint64 mainTrips = tripsOf([] {
                auto* main = new TMainWin;
                main->setAttribute(Qt::WA_DeleteOnClose);
                main->show();
            });
            const qint64 channelTrips = tripsOf([] {
                auto* win = new TChannelWin;
                win->setAttribute(Qt::WA_DeleteOnClose);
                win->SetSourceID(SourceId);
                win->show();
            });
            const qint64 cardTrips = tripsOf([] {
                auto* win = new TCardWin;
                win->setAttribute(Qt::WA_DeleteOnClose);
                win->SetCardID(4);
                win->show();
            });

            out << "remote: " << Channels << " channels with their digital rows, a relay adding "
                << "1 ms each way, best of " << Repeats << "\n";
            out << line(QStringLiteral("opening the channel editor"), open[1], open[0], 1.5);
            out << line(QStringLiteral("saving all renumbered"), renumbered[1], renumbered[0], 3);
            out << line(QStringLiteral("saving %1 imported").arg(Services), imported[1],
                        imported[0], 3);
            out << QStringLiteral("remote: round trips opening the main window %1, the channel "
                                  "editor %2, the card editor %3 (target <= 10 each)\n")
                       .arg(mainTrips)
                       .arg(channelTrips)
                       .arg(cardTrips);
            out << QStringLiteral("remote: round trips saving all renumbered %1 (target <= "
                                  "100)\n")
                       .arg(renumbered[1].trips);
            out.flush();
            QApplication::closeAllWindows();
            return 0;
        });
}
