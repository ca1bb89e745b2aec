#pragma once

#include "cardkind.h"

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
    std::optional<QString> freq, pids, pol, symbolRate, inversion, bandwidth, hpCodeRate,
        lpCodeRate, modulation, transmissionMode, guardInterval, hierarchy;
    /// The channel number the file gives the service (VCHANNEL: a logical channel
    /// number some broadcasters send, or ours from an export); empty when none.
    QString vchannel;
    /// Values of the file that no entry of the column's list stands for, stored as
    /// "AUTO" (as "column: value").
    QStringList outsideLists;
};

/// The `channel_dvb` columns a service gives values for, with those values.
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
