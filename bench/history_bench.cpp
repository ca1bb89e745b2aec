// Measures changing many channels at once, and taking it back, against opening them, in
// one run, on a DVB-T source of 10,000 channels each with its digital row:
//   open       the channel editor opened on the source (and shown)
//   delete     every channel selected (Ctrl+A) and deleted, with its digital row
//   undo       that delete undone
//   renumber   every channel selected and renumbered from 2 (from the click on Renumber)
//   undo       that renumbering undone
// each until the window has nothing left to do. And the memory a history of 100 steps
// holds (90 names typed, 6 renumberings of 100 channels, 2 deletes of 50, 2 renumberings
// of all 10,000), against the memory the opened channels hold.
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchmain.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
#include "messagebox.h"
#include "renumberwin.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <malloc.h>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 3;

std::size_t heapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}

// Renumber... on the rows selected now, from `first`; the time from the click on
// Renumber until the window is idle.
qint64 renumber(TChannelWin& win, int first)
{
    QElapsedTimer clicked;
    QTimer::singleShot(0, &win, [&] {
        auto* dialog = qobject_cast<TRenumberWin*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no renumber dialog");
        dialog->FirstEdit->setValue(first);
        clicked.start();
        dialog->RenumberButton->click();
    });
    win.RenumberAction->trigger();
    bench::Settle();
    return clicked.nsecsElapsed();
}

template <typename Action> qint64 timed(Action action)
{
    QElapsedTimer t;
    t.start();
    action();
    bench::Settle();
    return t.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv)
{
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& /*source*/) {
            qint64 open = std::numeric_limits<qint64>::max();
            qint64 del = open, undoDel = open, ren = open, undoRen = open;
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

                win.ChannelGrid->selectAll();
                del = std::min(del, timed([&] { win.DeleteSelectedChannels(); }));
                if (win.ChannelDataSet->RecordCount() != 0 ||
                    win.DVBDataSet->ChangeCount() != Channels)
                    qFatal("the delete left %d channels", win.ChannelDataSet->RecordCount());
                undoDel = std::min(undoDel, timed([&] { win.History->Undo(); }));
                if (win.ChannelDataSet->RecordCount() != Channels || win.isDirty())
                    qFatal("the undo left %d channels", win.ChannelDataSet->RecordCount());

                win.ChannelGrid->selectAll();
                ren = std::min(ren, renumber(win, 2)); // (numbered 1 up already)
                if (win.ChannelDataSet->ChangeCount() != Channels)
                    qFatal("the renumbering changed %d channels",
                           win.ChannelDataSet->ChangeCount());
                undoRen = std::min(undoRen, timed([&] { win.History->Undo(); }));
                if (win.isDirty())
                    qFatal("the undo left changes");
                MessageBox::QueueAnswer(MessageBox::Button::No);
                win.close();
            }

            // --- memory
            std::size_t rowsHeld = 0, history = 0;
            int steps = 0;
            {
                bench::QuietStdout quiet;
                TChannelWin win;
                const std::size_t before = heapInUse();
                win.SetSourceID(SourceId);
                win.show();
                bench::Settle();
                rowsHeld = heapInUse() - before;
                const std::size_t opened = heapInUse();
                TSQLClientDataSet& set = *win.ChannelDataSet;
                const int name = set.FieldIndex(QStringLiteral("name"));
                auto selectRows = [&](int from, int count) {
                    QItemSelection selection;
                    for (int r = from; r < from + count; ++r) {
                        const QModelIndex index = win.ChannelGrid->Model()->index(r, 0);
                        selection.select(index, index);
                    }
                    win.ChannelGrid->selectionModel()->select(
                        selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                };
                for (int i = 0; i < 100; ++i) {
                    if (i % 50 == 49) {
                        win.ChannelGrid->selectAll();
                        renumber(win, 2 + i);
                    } else if (i % 20 == 9) {
                        selectRows(i * 37 % (set.RecordCount() - 100), 50);
                        win.DeleteSelectedChannels();
                    } else if (i % 15 == 7) {
                        selectRows(i * 53 % (set.RecordCount() - 100), 100);
                        renumber(win, 1000 + i);
                    } else {
                        // A name typed, as a field's edit ends: the row, one value, the step.
                        set.MoveTo(i * 97 % set.RecordCount());
                        set.Edit();
                        set.SetFieldValue(set.Fields()[name].name,
                                          QStringLiteral("Renamed %1").arg(i));
                        win.History->EndStep(QStringLiteral("Long name"));
                    }
                }
                bench::Settle();
                steps = win.History->Stack()->count();
                history = heapInUse() - opened;
                MessageBox::QueueAnswer(MessageBox::Button::No);
                win.close();
            }

            auto ms = [](qint64 ns) {
                return QString::number(ns / 1e6, 'f', 1);
            };
            auto ratio = [open](qint64 ns) {
                return QString::number(double(ns) / double(open), 'f', 2);
            };
            out << "history: " << Channels << " channels with their digital rows, best of "
                << Repeats << ", each step until the window has nothing left to do\n";
            out << QStringLiteral("history: opening the channels %1 ms\n").arg(ms(open));
            for (const auto& [what, ns] :
                 {std::pair{QStringLiteral("select all and delete"), del},
                  std::pair{QStringLiteral("undo the delete"), undoDel},
                  std::pair{QStringLiteral("renumber all"), ren},
                  std::pair{QStringLiteral("undo the renumbering"), undoRen}})
                out << QStringLiteral("history: %1 %2 ms   ratio %3x of opening (target <= 1x)\n")
                           .arg(what, ms(ns), ratio(ns));
            out << QStringLiteral(
                       "history: %1 steps hold %2 MiB vs the opened channels %3 MiB   ratio "
                       "%4x (target <= 2x)\n")
                       .arg(steps)
                       .arg(history / 1048576.0, 0, 'f', 1)
                       .arg(rowsHeld / 1048576.0, 0, 'f', 1)
                       .arg(double(history) / double(rowsHeld), 0, 'f', 2);
            return 0;
        });
}
