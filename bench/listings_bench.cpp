// Measures Listings... in the channel editor against the least the same work can cost,
// in one run:
//   read     from the file chosen to the review shown: a source of 2,000 channels and a
//            listings file of 2,000 channels followed by 300,000 programmes (about
//            100 MB), plain and gzip-compressed; against a bare QXmlStreamReader pass
//            over the same file (the gzip one: over the stream zlib decompresses) that
//            collects the same channel elements
//   apply    Apply with all 2,000 rows ticked, against opening those 2,000 channels
// Needs the private server and an offscreen display: run it through bench/run.
#include "benchmain.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "listingswin.h"
#include "messagebox.h"
#include "sqlmodule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QXmlStreamReader>
#include <algorithm>
#include <zlib.h>

namespace {

constexpr int Channels = 2000;
constexpr int Programmes = 300000;
constexpr int SourceId = 3;
constexpr int Repeats = 3;

QByteArray channelElements()
{
    QByteArray xml;
    for (int i = 1; i <= Channels; ++i)
        xml += QStringLiteral("  <channel id=\"ch%1.listings.example\">\n"
                              "    <display-name lang=\"en\">Channel %1</display-name>\n"
                              "    <display-name lang=\"de\">Kanal %1</display-name>\n"
                              "    <icon src=\"https://logos.example/ch%1.png\"/>\n"
                              "  </channel>\n")
                   .arg(i)
                   .toUtf8();
    return xml;
}

QByteArray programme(int i)
{
    return QStringLiteral("  <programme start=\"2026120%1%2 +0100\" stop=\"2026120%1%3 +0100\" "
                          "channel=\"ch%4.listings.example\">\n"
                          "    <title lang=\"en\">Programme %5</title>\n"
                          "    <desc lang=\"en\">What happens in programme %5 &amp; why: a "
                          "description of the usual length, a sentence or two long.</desc>\n"
                          "    <category lang=\"en\">Documentary</category>\n"
                          "  </programme>\n")
        .arg(1 + i % 7)
        .arg(100000 + i % 800000, 6, 10, QLatin1Char('0'))
        .arg(100000 + (i + 1) % 800000, 6, 10, QLatin1Char('0'))
        .arg(1 + i % Channels)
        .arg(i)
        .toUtf8();
}

// The listings file, written plain and gzip-compressed.
void writeListings(const QString& plain, const QString& compressed)
{
    QFile f(plain);
    gzFile z = gzopen(QFile::encodeName(compressed).constData(), "wb6");
    if (!f.open(QIODevice::WriteOnly) || !z)
        qFatal("cannot write the listings files");
    auto write = [&](const QByteArray& bytes) {
        f.write(bytes);
        gzwrite(z, bytes.constData(), unsigned(bytes.size()));
    };
    write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
          "<tv generator-info-name=\"bench\">\n");
    write(channelElements());
    QByteArray block;
    for (int i = 0; i < Programmes; ++i) {
        block += programme(i);
        if (block.size() > (1 << 20)) {
            write(block);
            block.clear();
        }
    }
    write(block + "</tv>\n");
    gzclose(z);
}

struct Collected
{
    QString id;
    QStringList names;
    QString icon;
};

// The bare pass: every token read, the channel elements collected.
int collect(QXmlStreamReader& r, const std::function<bool()>& more)
{
    QList<Collected> channels;
    while (true) {
        const auto token = r.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (r.error() == QXmlStreamReader::PrematureEndOfDocumentError && more())
                continue;
            break;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (r.name() == QLatin1String("channel")) {
            channels << Collected{r.attributes().value(QLatin1String("id")).toString(), {}, {}};
        } else if (!channels.isEmpty() && r.name() == QLatin1String("display-name")) {
            channels.last().names << r.readElementText();
        } else if (!channels.isEmpty() && r.name() == QLatin1String("icon")) {
            channels.last().icon = r.attributes().value(QLatin1String("src")).toString();
        }
    }
    return int(channels.size());
}

qint64 barePlain(const QString& path)
{
    QElapsedTimer t;
    t.start();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QXmlStreamReader r(&f);
    if (collect(r, [] { return false; }) != Channels)
        qFatal("the bare pass missed channels");
    return t.nsecsElapsed();
}

qint64 bareGzip(const QString& path)
{
    QElapsedTimer t;
    t.start();
    gzFile z = gzopen(QFile::encodeName(path).constData(), "rb");
    gzbuffer(z, 256 * 1024);
    QXmlStreamReader r;
    QByteArray chunk(256 * 1024, Qt::Uninitialized);
    auto more = [&] {
        const int n = gzread(z, chunk.data(), unsigned(chunk.size()));
        if (n <= 0)
            return false;
        r.addData(chunk.left(n));
        return true;
    };
    more();
    if (collect(r, more) != Channels)
        qFatal("the bare pass missed channels");
    gzclose(z);
    return t.nsecsElapsed();
}

struct Run
{
    qint64 shown = 0;   // the review shown, from the file chosen
    qint64 applied = 0; // Apply of every row, from the click
};

// Listings... on `path`; Apply when `apply`, else Cancel. The editor is opened anew
// and closed discarding, so every run starts from the same rows.
Run programRun(const QString& path, bool apply, qint64* open)
{
    bench::QuietStdout quiet;
    Run run;
    QElapsedTimer t;
    t.start();
    TChannelWin win;
    win.SetSourceID(SourceId);
    win.show();
    bench::Settle();
    if (open)
        *open = t.nsecsElapsed();
    if (win.ChannelDataSet->RecordCount() != Channels)
        qFatal("the editor shows %d channels", win.ChannelDataSet->RecordCount());
    TChannelWin::ChooseFile = [path](QWidget*) {
        return path;
    };
    QElapsedTimer click;
    QTimer::singleShot(0, &win, [&] {
        auto* review = qobject_cast<TListingsWin*>(QApplication::activeModalWidget());
        if (!review)
            qFatal("no review opened");
        run.shown = t.nsecsElapsed();
        if (!review->CountsLabel->text().startsWith(QStringLiteral("2000 matched")))
            qFatal("the review says %s", qPrintable(review->CountsLabel->text()));
        click.start();
        (apply ? review->ApplyButton : review->CancelButton)->click();
    });
    t.restart();
    win.ListingsAction->trigger();
    if (apply)
        run.applied = click.nsecsElapsed();
    TChannelWin::ChooseFile = nullptr;
    if (win.ChannelDataSet->ChangeCount() != (apply ? Channels : 0))
        qFatal("Apply changed %d channels", win.ChannelDataSet->ChangeCount());
    MessageBox::QueueAnswer(MessageBox::Button::No);
    win.close();
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::Main(
        argc, argv, SourceId, Channels, [](QTextStream& out, bench::TDigitalSource& source) {
            QTemporaryDir& dir = source.dir;
            const QString plain = dir.filePath(QStringLiteral("listings.xml"));
            const QString compressed = dir.filePath(QStringLiteral("listings.xml.gz"));
            writeListings(plain, compressed);

            qint64 programPlain = std::numeric_limits<qint64>::max(), basePlain = programPlain;
            qint64 programGzip = programPlain, baseGzip = programPlain;
            qint64 apply = programPlain, open = programPlain;
            // Program and baseline alternate, so a machine that speeds up or slows down favours
            // neither.
            for (int i = 0; i < Repeats; ++i) {
                programPlain = std::min(programPlain, programRun(plain, false, nullptr).shown);
                basePlain = std::min(basePlain, barePlain(plain));
                programGzip = std::min(programGzip, programRun(compressed, false, nullptr).shown);
                baseGzip = std::min(baseGzip, bareGzip(compressed));
                qint64 opened = 0;
                apply = std::min(apply, programRun(plain, true, &opened).applied);
                open = std::min(open, opened);
            }
            auto ms = [](qint64 ns) {
                return QString::number(ns / 1e6, 'f', 1);
            };
            auto ratio = [](qint64 a, qint64 b) {
                return QString::number(double(a) / double(b), 'f', 2);
            };
            out << "listings: " << Channels << " channels, a file of " << Channels
                << " channels and " << Programmes << " programmes ("
                << QFileInfo(plain).size() / (1 << 20) << " MB, "
                << QFileInfo(compressed).size() / (1 << 20) << " MB gzip), best of " << Repeats
                << "\n";
            out << QStringLiteral(
                       "listings: plain file to review shown %1 ms vs bare reader pass %2 ms"
                       "   ratio %3x (target <= 1.5x)\n")
                       .arg(ms(programPlain), ms(basePlain), ratio(programPlain, basePlain));
            out << QStringLiteral("listings: gzip file to review shown %1 ms vs bare pass over the "
                                  "decompressed stream %2 ms   ratio %3x (target <= 1.5x)\n")
                       .arg(ms(programGzip), ms(baseGzip), ratio(programGzip, baseGzip));
            out << QStringLiteral(
                       "listings: Apply of %1 ticked rows %2 ms vs opening the %1 channels "
                       "%3 ms   ratio %4x (target <= 1x)\n")
                       .arg(Channels)
                       .arg(ms(apply), ms(open), ratio(apply, open));
            return 0;
        });
}
