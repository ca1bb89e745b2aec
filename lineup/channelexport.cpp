#include "channelexport.h"

#include "dvbtuning.h"
#include "errors.h"
#include "scanfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <libdvbv5/dvb-file.h>
#include <memory>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ExportChannels", text);
}

[[noreturn]] void cannotWrite(const QString& path, const QString& why)
{
    throw EKorvaneError(
        tr("The channels could not be exported to \"%1\": %2 Nothing was written.").arg(path, why));
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        cannotWrite(path, file.errorString() + QLatin1Char('.'));
    // Every byte on the disk before the file takes the old one's place: a disk that
    // fills up lets part of a write through, which commit() alone does not tell.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        cannotWrite(path, why + QLatin1Char('.'));
    }
    if (!file.commit())
        cannotWrite(path, file.errorString() + QLatin1Char('.'));
}

QString csvField(const QString& value)
{
    static const QRegularExpression special(QStringLiteral("[,\"\r\n]"));
    if (!value.contains(special))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool hasTuning(const TExportChannel& c)
{
    return c.tuning && !c.tuning->value(QStringLiteral("freq")).trimmed().isEmpty();
}

// --- the DVB channel file, through libdvbv5 -------------------------------------------

struct FileDeleter
{
    void operator()(dvb_file* file) const { dvb_file_free(file); }
};

char* copyOf(const QString& text)
{
    return strdup(text.toUtf8().constData());
}

/// The PIDs of the column ("101,102 103"): numbers a PID can be, in their order.
QList<uint16_t> pidsOf(const QString& text)
{
    QList<uint16_t> pids;
    for (const QString& part :
         text.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint n = part.toUInt(&ok);
        if (ok && n > 0 && n < 0x2000)
            pids << uint16_t(n);
    }
    return pids;
}

uint16_t* pidArray(const QList<uint16_t>& pids)
{
    auto* array = static_cast<uint16_t*>(std::calloc(size_t(pids.size()), sizeof(uint16_t)));
    for (qsizetype i = 0; i < pids.size(); ++i)
        array[i] = pids[i];
    return array;
}

/// One entry of the file for a channel with tuning values.
dvb_entry* entryOf(const TExportChannel& c, quint32 system)
{
    auto* entry = static_cast<dvb_entry*>(std::calloc(1, sizeof(dvb_entry)));
    // The entry's name stands between brackets on a line of its own.
    QString name = !c.name.trimmed().isEmpty() ? c.name : c.callsign;
    name.replace(QRegularExpression(QStringLiteral("[\r\n\\]]")), QStringLiteral(" "));
    entry->channel = copyOf(name.trimmed());
    if (!c.channum.trimmed().isEmpty())
        entry->vchannel = copyOf(c.channum.trimmed());
    const QList<uint16_t> pids = pidsOf(c.tuning->value(QStringLiteral("pids")));
    if (!pids.isEmpty()) {
        entry->video_pid = pidArray(pids.mid(0, 1));
        entry->video_pid_len = 1;
    }
    if (pids.size() > 1) {
        entry->audio_pid = pidArray(pids.mid(1));
        entry->audio_pid_len = unsigned(pids.size() - 1);
    }
    dvb_store_entry_prop(entry, DTV_DELIVERY_SYSTEM, system);
    for (const TTuningColumn& column : TuningColumns())
        if (const auto value =
                PropertyValue(column, c.tuning->value(QLatin1String(column.column)))) {
            dvb_store_entry_prop(entry, column.property, *value);
        }
    return entry;
}

QByteArray dvbv5Of(const QList<TExportChannel>& channels, TCardKind kind, int& written)
{
    const quint32 system = DeliverySystemsOf(kind).value(0);
    std::unique_ptr<dvb_file, FileDeleter> file(
        static_cast<dvb_file*>(std::calloc(1, sizeof(dvb_file))));
    dvb_entry** last = &file->first_entry;
    for (const TExportChannel& c : channels) {
        if (!hasTuning(c))
            continue;
        *last = entryOf(c, system);
        last = &(*last)->next;
        ++file->n_entries;
    }
    written = file->n_entries;
    // The library writes to a file name: a private folder of ours, then the bytes go to
    // their place whole.
    QTemporaryDir dir;
    const QString scratch = dir.filePath(QStringLiteral("channels.conf"));
    if (!dir.isValid() || dvb_write_file(QFile::encodeName(scratch).constData(), file.get()) != 0)
        throw EKorvaneError(tr("The DVB library could not write the channel file."));
    QFile out(scratch);
    if (!out.open(QIODevice::ReadOnly))
        throw EKorvaneError(tr("The DVB library could not write the channel file."));
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
    QString text = written == 1 ? tr("1 channel exported to \"%1\".").arg(path)
                                : tr("%1 channels exported to \"%2\".").arg(written).arg(path);
    if (leftOut == 1)
        text += QLatin1Char(' ') + tr("1 channel without DVB tuning values was left out.");
    else if (leftOut > 1)
        text += QLatin1Char(' ') +
                tr("%1 channels without DVB tuning values were left out.").arg(leftOut);
    return text;
}

QByteArray CsvOf(const QList<TExportChannel>& channels, TCardKind kind)
{
    const QList<TPaneColumn> pane = PaneColumnsOf(kind);
    QStringList header{tr("No."), tr("Short name"), tr("Long name"), tr("XMLTV ID"), tr("Icon")};
    for (const TPaneColumn& column : pane)
        header << column.caption;
    QString text;
    const auto line = [&text](const QStringList& fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += csvField(fields[i]);
        }
        text += QLatin1String("\r\n");
    };
    line(header);
    for (const TExportChannel& c : channels) {
        QStringList fields{c.channum, c.callsign, c.name, c.xmltvid, c.icon};
        for (const TPaneColumn& column : pane)
            fields << (c.tuning ? c.tuning->value(column.column) : QString());
        line(fields);
    }
    return text.toUtf8();
}

TExportResult ExportChannels(const QList<TExportChannel>& channels, TCardKind kind,
                             TExportFormat format, const QString& path)
{
    TExportResult result;
    QByteArray bytes;
    if (format == TExportFormat::Csv) {
        bytes = CsvOf(channels, kind);
        result.written = int(channels.size());
    } else {
        if (!IsDigital(kind))
            cannotWrite(path, tr("no DVB card receives this source, so its channels have no "
                                 "DVB tuning values. Export them as CSV instead."));
        bytes = dvbv5Of(channels, kind, result.written);
        result.leftOut = int(channels.size()) - result.written;
        if (result.written == 0)
            cannotWrite(path, channels.isEmpty()
                                  ? tr("there are no channels to export.")
                                  : tr("none of the channels has DVB tuning values."));
    }
    writeWhole(path, bytes);
    return result;
}
