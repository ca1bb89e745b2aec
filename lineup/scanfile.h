#pragma once

#include "cardkind.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

/// One service of a channel file written by the DVB tools' scanner, with its tuning
/// values already in the form the `channel_dvb` columns hold.
struct TScannedService
{
    QString name;
    int serviceId = 0;
    bool radio = false; // no video PID
    quint32 deliverySystem = 0;
    /// The file's tuning values by channel_dvb column, as the column stores them; a
    /// column the file gives no value for is missing.
    QHash<QString, QString> tuning;
    /// The value of `column`; none when the file gives it none.
    std::optional<QString> Value(const QString& column) const
    {
        const auto found = tuning.constFind(column);
        return found == tuning.constEnd() ? std::nullopt : std::optional<QString>(*found);
    }
    /// The channel number the file gives the service (VCHANNEL: a logical channel
    /// number some broadcasters send, or ours from an export); empty when none.
    QString vchannel;
    /// Values of the file that no entry of the column's list stands for, stored as
    /// "AUTO" (as "column: value").
    QStringList outsideLists;
};

/// The `channel_dvb` columns a channel file gives values for, with the service's values
/// (none for a column it gives no value for), in the tuning columns' order.
QList<std::pair<QString, std::optional<QString>>> DigitalValues(const TScannedService& service);

/// The delivery systems a source's card kind receives (2 DVB-S, 3 DVB-T, 4 DVB-C).
QList<quint32> DeliverySystemsOf(TCardKind cardKind);
/// "DVB-T2" and the like, for messages.
QString DeliverySystemName(quint32 system);

/// Reads a channel file with libdvbv5, in any format it reads: dvbv5 (what dvbv5-scan
/// writes), the legacy "channel" format and the legacy "zap" format (which holds no
/// delivery system: it is taken from `cardKind`). Raises EKorvaneError naming the file
/// when it is no channel file, empty, binary, over 10 MB, unreadable or a directory, or
/// when the library refuses it (its message is given).
QList<TScannedService> ReadChannelFile(const QString& path, TCardKind cardKind);
