#include "scanfile.h"

#include "dvbtuning.h"
#include "errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <libdvbv5/dvb-file.h>
#include <linux/dvb/frontend.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr qint64 MaxFileSize = 10 * 1024 * 1024;

/// The texts of this file, translated as ReadChannelFile's.
struct TReadChannelFileText
{
    Q_DECLARE_TR_FUNCTIONS(ReadChannelFile)
};

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw EKorvaneError(
        TReadChannelFileText::tr("The channel file \"%1\" cannot be imported: %2").arg(path, why));
}

// What the library writes to standard error while it reads: its messages about the file
// (a malformed entry and its line), which the user is to see in the error box.
class StderrCapture
{
public:
    StderrCapture()
    {
        if (!m_file.open())
            return;
        std::fflush(stderr);
        m_saved = dup(fileno(stderr));
        dup2(m_file.handle(), fileno(stderr));
    }
    ~StderrCapture() { restore(); }
    QString Text()
    {
        restore();
        m_file.seek(0);
        return QString::fromLocal8Bit(m_file.readAll()).trimmed();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, fileno(stderr));
        close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

TDvbFile readAs(const QByteArray& path, quint32 system, dvb_file_formats format)
{
    TDvbFile file(dvb_read_file_format(path.constData(), system, format));
    if (file && file->n_entries <= 0 && !file->first_entry)
        file.reset();
    return file;
}

TScannedService serviceOf(dvb_entry* entry, quint32 fallbackSystem)
{
    TScannedService s;
    s.name = QString::fromUtf8(entry->channel ? entry->channel : "").trimmed();
    s.serviceId = entry->service_id;
    uint32_t v = 0;
    s.deliverySystem =
        dvb_retrieve_entry_prop(entry, DTV_DELIVERY_SYSTEM, &v) == 0 ? v : fallbackSystem;
    // The video PID, then the audio PIDs; PID 0 stands for none.
    QStringList pids;
    for (unsigned i = 0; i < entry->video_pid_len; ++i)
        if (entry->video_pid[i])
            pids << QString::number(entry->video_pid[i]);
    s.radio = pids.isEmpty();
    for (unsigned i = 0; i < entry->audio_pid_len; ++i)
        if (entry->audio_pid[i])
            pids << QString::number(entry->audio_pid[i]);
    for (const TTuningColumn& column : TuningColumns()) {
        if (column.source == TTuningSource::Pids && !pids.isEmpty())
            s.tuning.insert(column.Name(), pids.join(QLatin1Char(',')));
        if (column.source != TTuningSource::Property ||
            dvb_retrieve_entry_prop(entry, column.property, &v) != 0 ||
            (column.property == DTV_POLARIZATION && v == POLARIZATION_OFF))
            continue;
        std::optional<QString> value = ColumnText(column, v);
        if (!value) {
            // A value no entry of the column's list stands for is stored as "AUTO".
            s.outsideLists << QStringLiteral("%1: %2").arg(column.Name()).arg(v);
            value = QStringLiteral("AUTO");
        }
        s.tuning.insert(column.Name(), *value);
    }
    if (entry->vchannel)
        s.vchannel = QString::fromUtf8(entry->vchannel).trimmed();
    return s;
}

} // namespace

QList<std::pair<QString, std::optional<QString>>> DigitalValues(const TScannedService& s)
{
    QList<std::pair<QString, std::optional<QString>>> values;
    for (const TTuningColumn& column : TuningColumns())
        if (column.source != TTuningSource::None)
            values.append({column.Name(), s.Value(column.Name())});
    return values;
}

QList<quint32> DeliverySystemsOf(TCardKind cardKind)
{
    switch (cardKind) {
    case TCardKind::DVBS:
        return {SYS_DVBS, SYS_DVBS2};
    case TCardKind::DVBT:
        return {SYS_DVBT, SYS_DVBT2};
    case TCardKind::DVBC:
        return {SYS_DVBC_ANNEX_A, SYS_DVBC_ANNEX_C};
    default:
        return {};
    }
}

QString DeliverySystemName(quint32 system)
{
    switch (system) {
    case SYS_DVBS:
        return QStringLiteral("DVB-S");
    case SYS_DVBS2:
        return QStringLiteral("DVB-S2");
    case SYS_DVBT:
        return QStringLiteral("DVB-T");
    case SYS_DVBT2:
        return QStringLiteral("DVB-T2");
    case SYS_DVBC_ANNEX_A:
    case SYS_DVBC_ANNEX_C:
        return QStringLiteral("DVB-C");
    case SYS_UNDEFINED:
        return TReadChannelFileText::tr("no delivery system");
    default:
        return TReadChannelFileText::tr("delivery system %1").arg(system);
    }
}

QList<TScannedService> ReadChannelFile(const QString& path, TCardKind cardKind)
{
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, TReadChannelFileText::tr("there is no such file."));
    if (info.isDir())
        refuse(path, TReadChannelFileText::tr("it is a folder, not a file."));
    if (!info.isFile())
        refuse(path, TReadChannelFileText::tr("it is not a regular file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, TReadChannelFileText::tr("it cannot be read (%1).").arg(file.errorString()));
    if (info.size() == 0)
        refuse(path, TReadChannelFileText::tr("it is empty."));
    if (info.size() > MaxFileSize)
        refuse(path, TReadChannelFileText::tr(
                         "it is larger than 10 MB; a channel file is a few kilobytes."));
    const QByteArray head = file.read(64 * 1024);
    if (head.contains('\0'))
        refuse(path, TReadChannelFileText::tr("it is not a text file."));
    file.close();

    const QList<quint32> systems = DeliverySystemsOf(cardKind);
    const quint32 zapSystem = systems.isEmpty() ? 0 : systems.first();
    const QByteArray name = QFile::encodeName(path);
    // Each format in turn; when none reads it, the library's words about the format the
    // file looks like are the ones to show: dvbv5 begins with "[name]", zap lines are
    // separated by colons, the "channel" format by blanks.
    dvb_file_formats looksLike = FILE_CHANNEL;
    for (const QByteArray& line : head.split('\n')) {
        const QByteArray text = line.trimmed();
        if (text.isEmpty() || text.startsWith('#'))
            continue;
        looksLike = text.startsWith('[') ? FILE_DVBV5
                    : text.contains(':') ? FILE_ZAP
                                         : FILE_CHANNEL;
        break;
    }
    QString said;
    TDvbFile read;
    const QList<std::pair<dvb_file_formats, quint32>> formats{
        {FILE_DVBV5, 0}, {FILE_CHANNEL, 0}, {FILE_ZAP, zapSystem}};
    for (const auto& [format, system] : formats) {
        if (format == FILE_ZAP && !system)
            continue;
        StderrCapture library;
        read = readAs(name, system, format);
        const QString words = library.Text();
        if (read)
            break;
        if (format == looksLike || said.isEmpty())
            said = words;
    }
    if (!read)
        refuse(path,
               said.isEmpty()
                   ? TReadChannelFileText::tr(
                         "it is no channel file of the formats dvbv5, channel or zap.")
                   : TReadChannelFileText::tr("it is no channel file the DVB library reads: %1")
                         .arg(said));

    QList<TScannedService> services;
    for (dvb_entry* entry = read->first_entry; entry; entry = entry->next)
        services << serviceOf(entry, zapSystem);
    if (services.isEmpty())
        refuse(path, TReadChannelFileText::tr("it holds no service."));
    return services;
}
