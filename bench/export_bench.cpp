// Measures Export... in the channel editor against the least the same work can cost, in
// one run, for each format:
//   program   10,000 channels of a DVB-T source, open in the editor, exported (Ctrl+E
//             with the file chosen): read from the window's data sets, written whole
//   baseline  dvbv5: libdvbv5's writer fed the same channels directly (entries made from
//             rows already in memory); CSV: the same text written straight with QSaveFile
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchmain.h"
#include "channelwin.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSaveFile>
#include <QTextStream>
#include <cstdlib>
#include <cstring>
#include <libdvbv5/dvb-file.h>

namespace {

constexpr int Channels = 10000;
constexpr int SourceId = 3;
constexpr int Repeats = 5;

struct Row
{
    QByteArray name, channum;
    uint16_t video = 0, audio = 0;
    uint32_t freq = 0;
};

qint64 programRun(TChannelWin& win, const QString& path)
{
    QFile::remove(path);
    TChannelWin::ChooseExportFile = [path](QWidget*, const QString&) {
        return path;
    };
    QElapsedTimer t;
    t.start();
    win.ExportAction->trigger();
    const qint64 elapsed = t.nsecsElapsed();
    TChannelWin::ChooseExportFile = nullptr;
    if (!QFile::exists(path))
        qFatal("the export wrote no file: %s", qPrintable(win.StatusLine->text()));
    return elapsed;
}

qint64 bareDvbv5(const QList<Row>& rows, const QString& path)
{
    QFile::remove(path);
    QElapsedTimer t;
    t.start();
    auto* file = static_cast<dvb_file*>(std::calloc(1, sizeof(dvb_file)));
    dvb_entry** last = &file->first_entry;
    for (const Row& r : rows) {
        auto* e = static_cast<dvb_entry*>(std::calloc(1, sizeof(dvb_entry)));
        e->channel = strdup(r.name.constData());
        e->vchannel = strdup(r.channum.constData());
        e->video_pid = static_cast<uint16_t*>(std::malloc(sizeof(uint16_t)));
        e->video_pid[0] = r.video;
        e->video_pid_len = 1;
        e->audio_pid = static_cast<uint16_t*>(std::malloc(sizeof(uint16_t)));
        e->audio_pid[0] = r.audio;
        e->audio_pid_len = 1;
        dvb_store_entry_prop(e, DTV_DELIVERY_SYSTEM, SYS_DVBT);
        dvb_store_entry_prop(e, DTV_FREQUENCY, r.freq);
        dvb_store_entry_prop(e, DTV_INVERSION, INVERSION_AUTO);
        dvb_store_entry_prop(e, DTV_BANDWIDTH_HZ, 8000000);
        dvb_store_entry_prop(e, DTV_MODULATION, QAM_64);
        *last = e;
        last = &e->next;
        ++file->n_entries;
    }
    if (dvb_write_file(QFile::encodeName(path).constData(), file) != 0)
        qFatal("libdvbv5 could not write %s", qPrintable(path));
    dvb_file_free(file);
    return t.nsecsElapsed();
}

qint64 bareCsv(const QByteArray& text, const QString& path)
{
    QElapsedTimer t;
    t.start();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit())
        qFatal("cannot write %s", qPrintable(path));
    return t.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv)
{
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& source) {
            QList<Row> rows;
            for (int i = 1; i <= Channels; ++i)
                rows << Row{QStringLiteral("Channel %1").arg(i).toUtf8(), QByteArray::number(i),
                            uint16_t(i % 8000 + 1), uint16_t((i + 1) % 8000 + 1),
                            uint32_t(474000000 + (i % 40) * 8000000)};

            bench::QuietStdout quiet;
            TChannelWin win;
            win.SetSourceID(SourceId);
            win.show();
            bench::Settle();
            if (win.ChannelDataSet->RecordCount() != Channels)
                qFatal("the editor shows %d channels", win.ChannelDataSet->RecordCount());

            const QString conf = source.dir.filePath(QStringLiteral("export.conf"));
            const QString csv = source.dir.filePath(QStringLiteral("export.csv"));
            const QString bare = source.dir.filePath(QStringLiteral("bare"));
            qint64 best[4] = {
                std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max(),
                std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
            QByteArray text;
            // The two alternate, so a machine that speeds up or slows down favours neither.
            for (int i = 0; i < Repeats; ++i) {
                best[0] = std::min(best[0], programRun(win, conf));
                best[1] = std::min(best[1], bareDvbv5(rows, bare));
                best[2] = std::min(best[2], programRun(win, csv));
                if (text.isEmpty()) {
                    QFile f(csv);
                    if (!f.open(QIODevice::ReadOnly))
                        qFatal("cannot read %s", qPrintable(csv));
                    text = f.readAll();
                }
                best[3] = std::min(best[3], bareCsv(text, bare));
            }
            // Opening those channels in the editor: what a user waits for anyway before an export.
            qint64 opening = std::numeric_limits<qint64>::max();
            for (int i = 0; i < Repeats; ++i) {
                QElapsedTimer t;
                t.start();
                TChannelWin other;
                other.SetSourceID(SourceId);
                other.show();
                bench::Settle();
                opening = std::min(opening, t.nsecsElapsed());
            }
            const auto line = [&out](const char* what, qint64 program, qint64 baseline,
                                     const char* against, const char* target) {
                out << QStringLiteral("export: %1: %2 ms vs %3 %4 ms   ratio %5x (target <= %6x)\n")
                           .arg(QLatin1String(what))
                           .arg(program / 1e6, 0, 'f', 1)
                           .arg(QLatin1String(against))
                           .arg(baseline / 1e6, 0, 'f', 1)
                           .arg(double(program) / double(baseline), 0, 'f', 2)
                           .arg(QLatin1String(target));
            };
            out << "export: " << Channels << " channels of a DVB-T source, best of " << Repeats
                << "\n";
            line("DVB channel file", best[0], opening, "opening them in the editor", "0.5");
            line("CSV", best[2], opening, "opening them in the editor", "0.5");
            line("DVB channel file", best[0], best[1], "libdvbv5's writer fed directly", "2.0");
            // For the record: the CSV text against writing it alone.
            out << QStringLiteral("export: CSV: %1 ms, of which writing the text %2 ms\n")
                       .arg(best[2] / 1e6, 0, 'f', 1)
                       .arg(best[3] / 1e6, 0, 'f', 1);
            return 0;
        });
}
