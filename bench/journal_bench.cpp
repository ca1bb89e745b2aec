// The history of writes, timed on 10,000 channels of a DVB-T source:
//   save       every channel renumbered and saved, with the history and without it
//   take back  that Save's entry taken back (read, checked, written, itself an entry),
//              against the Save
//   window     the History window opened on 1,000 entries of 100 rows each
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchmain.h"
#include "historywin.h"
#include "lineupwriter.h"
#include "takeback.h"
#include "writehistory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <algorithm>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 5;
constexpr int WindowEntries = 1000;
constexpr int WindowRows = 100;

// Every channel of the source renumbered from `first` up, and saved: the Save's time.
qint64 renumberAndSave(TSQLConnection& conn, int first)
{
    TSQLClientDataSet set(conn);
    set.SetCommandText(QStringLiteral("channel"));
    set.SetFiltered(true);
    set.SetFilter(QStringLiteral("sourceid=%1").arg(SourceId));
    set.SetActive(true);
    for (int r = 0; r < set.RecordCount(); ++r) {
        set.MoveTo(r);
        set.Edit();
        set.SetFieldValue(QStringLiteral("channum"), QString::number(first + r));
        set.Post();
    }
    QElapsedTimer timer;
    timer.start();
    const int written = TLineupWriter(conn, QStringLiteral("Channels"),
                                      QStringLiteral("Renumber %1 channels").arg(Channels))
                            .Save({&set});
    const qint64 ns = timer.nsecsElapsed();
    if (written != Channels)
        qFatal("the Save wrote %d channels", written);
    return ns;
}

// The newest entry taken back, every record ticked: its time.
qint64 takeBackNewest(TSQLConnection& conn, TWriteHistory& history)
{
    QElapsedTimer timer;
    timer.start();
    const THistoryEntry entry = history.Entries(1).value(0);
    TTakeBack takeBack(entry.what, history.Rows(entry.id));
    takeBack.Read(conn);
    if (takeBack.TickedCount() != Channels)
        qFatal("%d of %d records ticked", takeBack.TickedCount(), Channels);
    TLineupWriter(conn, QStringLiteral("History")).TakeBack(takeBack);
    return timer.nsecsElapsed();
}

// A history of `entries` renumberings of `rows` channels each.
void fillHistory(TWriteHistory& history)
{
    QList<TWrittenRow> rows;
    for (int r = 1; r <= WindowRows; ++r) {
        TWrittenRow row;
        row.table = QStringLiteral("channel");
        row.keyColumn = QStringLiteral("chanid");
        row.key = r;
        row.before = {{QStringLiteral("chanid"), r},
                      {QStringLiteral("channum"), QString::number(r)},
                      {QStringLiteral("name"), QStringLiteral("Channel %1").arg(r)},
                      {QStringLiteral("sourceid"), SourceId}};
        row.after = row.before;
        row.after.insert(QStringLiteral("channum"), QString::number(r + 100));
        rows << row;
    }
    for (int e = 0; e < WindowEntries; ++e)
        history.Done(history.Begin(QStringLiteral("Channels"),
                                   QStringLiteral("Renumber %1 channels").arg(WindowRows), rows));
}

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& source) {
            TSQLConnection& conn = *source.module->Conn;
            TWriteHistory history(source.dir.filePath(QStringLiteral("history.sqlite")),
                                  QStringLiteral("localhost"), QStringLiteral("bench"));
            qint64 bare = std::numeric_limits<qint64>::max(), kept = bare, takenBack = bare;
            int first = 2;
            for (int i = 0; i < Repeats; ++i) {
                WriteHistory = nullptr;
                bare = std::min(bare, renumberAndSave(conn, first++));
                WriteHistory = &history;
                kept = std::min(kept, renumberAndSave(conn, first++));
                takenBack = std::min(takenBack, takeBackNewest(conn, history));
            }
            WriteHistory = nullptr;

            TWriteHistory many(source.dir.filePath(QStringLiteral("many/history.sqlite")),
                               QStringLiteral("localhost"), QStringLiteral("bench"));
            fillHistory(many);
            qint64 window = std::numeric_limits<qint64>::max();
            for (int i = 0; i < Repeats; ++i) {
                QElapsedTimer timer;
                timer.start();
                {
                    TWriteHistory reopened(
                        source.dir.filePath(QStringLiteral("many/history.sqlite")),
                        QStringLiteral("localhost"), QStringLiteral("bench"));
                    THistoryWin win(&reopened, conn);
                    win.Reload();
                    win.show();
                    bench::Settle();
                    if (win.EntryTable->rowCount() != WindowEntries)
                        qFatal("the window lists %d entries", win.EntryTable->rowCount());
                    window = std::min(window, timer.nsecsElapsed());
                }
            }

            out << "journal: " << Channels << " channels renumbered and saved, best of " << Repeats
                << "\n";
            out << QStringLiteral("journal: save with the history %1 ms vs without %2 ms   "
                                  "ratio %3x (target <= 1.15x)\n")
                       .arg(ms(kept), 0, 'f', 1)
                       .arg(ms(bare), 0, 'f', 1)
                       .arg(double(kept) / double(bare), 0, 'f', 2);
            out << QStringLiteral("journal: take back %1 ms vs the save %2 ms   ratio %3x "
                                  "(target <= 1.5x)\n")
                       .arg(ms(takenBack), 0, 'f', 1)
                       .arg(ms(kept), 0, 'f', 1)
                       .arg(double(takenBack) / double(kept), 0, 'f', 2);
            out << QStringLiteral("journal: History window with %1 entries of %2 rows open in "
                                  "%3 ms (target <= 300 ms)\n")
                       .arg(WindowEntries)
                       .arg(WindowRows)
                       .arg(ms(window), 0, 'f', 1);
            out.flush();
            return 0;
        });
}
