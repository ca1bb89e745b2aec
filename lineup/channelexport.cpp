#include "channelexport.h"

#include "savefile.h"

#include "dvbtuning.h"
#include "errors.h"
#include "fielddef.h"
#include "scanfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <cstdlib>
#include <cstring>
#include <libdvbv5/dvb-file.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

/// The texts of this file, translated as ExportChannels's.
struct TExportChannelsText
{
    Q_DECLARE_TR_FUNCTIONS(ExportChannels)
};

[[noreturn]] void cannotWrite(const QString& path, const QString& why)
{
    throw EKorvaneError(TExportChannelsText::tr(
                            "The channels could not be exported to \"%1\": %2 Nothing was written.")
                            .arg(path, why));
}

/// Writes `bytes` to `path` whole or not at all; "-" is standard output.
void writeWhole(const QString& path, const QByteArray& bytes)
{
    if (path == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
            !out.flush())
            cannotWrite(path, out.errorString());
        return;
    }
    try {
        SaveWhole(path, bytes);
    } catch (const EKorvaneError& e) {
        cannotWrite(path, e.Message() + QLatin1Char('.'));
    }
}

/// Appends `value` to `text` as a CSV field: in double quotes, inner ones doubled, when
/// it holds a comma, a double quote or a line break.
void appendField(QString& text, QStringView value)
{
    const char16_t* begin = value.utf16();
    const char16_t* end = begin + value.size();
    const char16_t* p = begin;
    // ',' is the highest of the four: most characters are passed over at one comparison.
    while (p != end && (*p > u',' || (*p != u',' && *p != u'"' && *p != u'\r' && *p != u'\n')))
        ++p;
    if (p == end) {
        text += value;
        return;
    }
    text += u'"';
    for (const QChar c : value) {
        if (c == u'"')
            text += u'"';
        text += c;
    }
    text += u'"';
}

QString textAt(const QVariantList& values, int index)
{
    return index < 0 || index >= values.size() ? QString() : TextOf(values.at(index));
}

// --- the DVB channel file, through libdvbv5 -------------------------------------------

char* copyOf(QStringView text)
{
    return strdup(text.toUtf8().constData());
}

/// The PIDs of the column ("101,102 103"): the numbers a PID can be, in their order.
QList<uint16_t> pidsOf(QStringView text)
{
    QList<uint16_t> pids;
    uint n = 0;
    bool digits = false, ok = true;
    const auto end = [&] {
        if (digits && ok && n > 0 && n < 0x2000)
            pids << uint16_t(n);
        n = 0;
        digits = false;
        ok = true;
    };
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() < 128) {
            n = n * 10 + uint(c.unicode() - u'0');
            ok = ok && n < 0x2000;
            digits = true;
        } else if (c == u',' || c == u';' || c.isSpace()) {
            end();
        } else {
            ok = false;
        }
    }
    end();
    return pids;
}

uint16_t* pidArray(const QList<uint16_t>& pids)
{
    auto* array = static_cast<uint16_t*>(std::calloc(size_t(pids.size()), sizeof(uint16_t)));
    for (qsizetype i = 0; i < pids.size(); ++i)
        array[i] = pids[i];
    return array;
}

/// A tuning column's place among a line-up's columns, and the value its text stands for
/// in the library (the texts repeat from channel to channel: the last one is kept).
struct TColumnPlace
{
    const TTuningColumn* column;
    int index;
    mutable QString lastText;
    mutable std::optional<quint32> lastValue;

    std::optional<quint32> ValueOf(const QString& text) const
    {
        if (text != lastText || lastText.isNull()) {
            lastText = text.isNull() ? QStringLiteral("") : text;
            lastValue = PropertyValue(*column, text);
        }
        return lastValue;
    }
};

/// Where the DVB channel file's values are among a line-up's tuning columns.
struct TColumnPlaces
{
    int freq = -1, pids = -1;
    QList<TColumnPlace> tuning; // the library's columns

    explicit TColumnPlaces(const TExportLineup& lineup)
        : freq(lineup.TuningIndex(QStringLiteral("freq"))),
          pids(lineup.TuningIndex(QStringLiteral("pids")))
    {
        for (const TTuningColumn& column : TuningColumns())
            if (column.source != TTuningSource::Property)
                continue;
            else if (const int i = lineup.TuningIndex(column.Name()); i >= 0)
                tuning.append({&column, i, QString(), std::nullopt});
    }

    bool HasTuning(const TExportChannel& c) const
    {
        return !QStringView(textAt(c.tuning, freq)).trimmed().isEmpty();
    }
};

/// One entry of the file for a channel with tuning values.
dvb_entry* entryOf(const TExportChannel& c, const TColumnPlaces& places, quint32 system)
{
    auto* entry = static_cast<dvb_entry*>(std::calloc(1, sizeof(dvb_entry)));
    // The entry's name stands between brackets on a line of its own.
    // (Views, not copies: thousands of channels.)
    QStringView name = QStringView(c.name).trimmed();
    if (name.isEmpty())
        name = QStringView(c.callsign).trimmed();
    if (name.contains(u'\r') || name.contains(u'\n') || name.contains(u']')) {
        QString plain = name.toString();
        for (QChar& ch : plain)
            if (ch == u'\r' || ch == u'\n' || ch == u']')
                ch = u' ';
        entry->channel = copyOf(plain);
    } else {
        entry->channel = copyOf(name);
    }
    if (const QStringView number = QStringView(c.channum).trimmed(); !number.isEmpty())
        entry->vchannel = copyOf(number);
    const QList<uint16_t> pids = pidsOf(textAt(c.tuning, places.pids));
    if (!pids.isEmpty()) {
        entry->video_pid = pidArray(pids.mid(0, 1));
        entry->video_pid_len = 1;
    }
    if (pids.size() > 1) {
        entry->audio_pid = pidArray(pids.mid(1));
        entry->audio_pid_len = unsigned(pids.size() - 1);
    }
    dvb_store_entry_prop(entry, DTV_DELIVERY_SYSTEM, system);
    for (const TColumnPlace& place : places.tuning)
        if (const auto value = place.ValueOf(textAt(c.tuning, place.index)))
            dvb_store_entry_prop(entry, place.column->property, *value);
    return entry;
}

QByteArray dvbv5Of(const TExportLineup& lineup, TCardKind kind, int& written)
{
    const quint32 system = DeliverySystemsOf(kind).value(0);
    const TColumnPlaces places(lineup);
    TDvbFile file(static_cast<dvb_file*>(std::calloc(1, sizeof(dvb_file))));
    dvb_entry** last = &file->first_entry;
    for (const TExportChannel& c : lineup.channels) {
        if (!places.HasTuning(c))
            continue;
        *last = entryOf(c, places, system);
        last = &(*last)->next;
        ++file->n_entries;
    }
    written = file->n_entries;
    // The library writes to a file name: a file of ours in memory, which is then written
    // to its place whole.
    const int memory = memfd_create("korvane-export", MFD_CLOEXEC);
    const auto close = qScopeGuard([memory] {
        if (memory >= 0)
            ::close(memory);
    });
    const QByteArray name = "/proc/self/fd/" + QByteArray::number(memory);
    if (memory < 0 || dvb_write_file(name.constData(), file.get()) != 0)
        throw EKorvaneError(
            TExportChannelsText::tr("The DVB library could not write the channel file."));
    QFile out;
    if (!out.open(memory, QIODevice::ReadOnly) || !out.seek(0))
        throw EKorvaneError(
            TExportChannelsText::tr("The DVB library could not write the channel file."));
    return out.readAll();
}

} // namespace

TExportFormat ExportFormatOf(const QString& path)
{
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? TExportFormat::Csv
                                                                     : TExportFormat::Dvbv5;
}

std::optional<TExportFormat> ExportFormatNamed(const QString& name)
{
    if (name == QLatin1String("dvbv5"))
        return TExportFormat::Dvbv5;
    if (name == QLatin1String("csv"))
        return TExportFormat::Csv;
    return std::nullopt;
}

QString TExportResult::Summary(const QString& path) const
{
    QString text =
        written == 1
            ? TExportChannelsText::tr("1 channel exported to \"%1\".").arg(path)
            : TExportChannelsText::tr("%1 channels exported to \"%2\".").arg(written).arg(path);
    if (leftOut == 1)
        text += QLatin1Char(' ') +
                TExportChannelsText::tr("1 channel without DVB tuning values was left out.");
    else if (leftOut > 1)
        text += QLatin1Char(' ') +
                TExportChannelsText::tr("%1 channels without DVB tuning values were left out.")
                    .arg(leftOut);
    return text;
}

QByteArray CsvOf(const TExportLineup& lineup, TCardKind kind)
{
    const QList<const TTuningColumn*> pane = PaneColumnsOf(kind);
    QList<int> places;
    for (const TTuningColumn* column : pane)
        places << lineup.TuningIndex(column->Name());
    QString text;
    text.reserve(64 + lineup.channels.size() * (64 + 16 * pane.size()));
    const QStringList header{TExportChannelsText::tr("No."), TExportChannelsText::tr("Short name"),
                             TExportChannelsText::tr("Long name"),
                             TExportChannelsText::tr("XMLTV ID"), TExportChannelsText::tr("Icon")};
    for (const QString& caption : header) {
        appendField(text, caption);
        text += u',';
    }
    for (const TTuningColumn* column : pane) {
        appendField(text, column->Caption());
        text += u',';
    }
    text.chop(1);
    text += u"\r\n";
    for (const TExportChannel& c : lineup.channels) {
        for (const QString* value : {&c.channum, &c.callsign, &c.name, &c.xmltvid, &c.icon}) {
            appendField(text, *value);
            text += u',';
        }
        for (const int place : places) {
            if (place >= 0 && place < c.tuning.size())
                appendField(text, TextOf(c.tuning.at(place)));
            text += u',';
        }
        text.chop(1);
        text += u"\r\n";
    }
    return text.toUtf8();
}

TExportResult ExportChannels(const TExportLineup& lineup, TCardKind kind, TExportFormat format,
                             const QString& path)
{
    TExportResult result;
    QByteArray bytes;
    const qsizetype count = lineup.channels.size();
    if (format == TExportFormat::Csv) {
        bytes = CsvOf(lineup, kind);
        result.written = int(count);
    } else {
        if (!IsDigital(kind))
            cannotWrite(path, TExportChannelsText::tr(
                                  "no DVB card receives this source, so its channels have no "
                                  "DVB tuning values. Export them as CSV instead."));
        bytes = dvbv5Of(lineup, kind, result.written);
        result.leftOut = int(count) - result.written;
        if (result.written == 0)
            cannotWrite(
                path, count == 0
                          ? TExportChannelsText::tr("there are no channels to export.")
                          : TExportChannelsText::tr("none of the channels has DVB tuning values."));
    }
    writeWhole(path, bytes);
    return result;
}
