#pragma once

#include "channelrow.h"
#include "scanfile.h"

#include <QHash>
#include <QList>
#include <QString>

/// What importing a channel file does to each of its services.
enum class TImportAction { Add, Update, Skip };

/// What the columns on the server and the editor's fields hold.
struct TImportLimits
{
    int callsign = 20; // the fields' limits for the short and the long name
    int name = 20;
    int channum = 5;                   // and for the channel number
    QHash<QString, int> digitalWidths; // channel_dvb column -> characters (0: no limit)
};

struct TImportRow
{
    TScannedService service;
    TImportAction action = TImportAction::Skip;
    QString reason;   // why a service is skipped
    QString callsign; // a new channel's short and long name, shortened to the limits
    QString name;
    QString channum;    // a new channel's number: the file's VCHANNEL, when the source has
                        // no channel of that number yet, else numbered on after the highest
    QString numberNote; // why the file's VCHANNEL was not taken, when it was not
    int existing = -1;  // the channel an update replaces the digital values of (its
                        // place among the channels planned with)
};

struct TImportPlan
{
    QList<TImportRow> rows; // one a service, in file order
    int adds = 0;
    int updates = 0;
    int skips = 0;
};

/// Decides for each service of a channel file whether it becomes a new channel of the
/// source, replaces the digital values of the source's channel with the same long name,
/// or is skipped, and why: a delivery system other than the source's (`cardKind`), a
/// radio service when those are not included, a service without a name, a value that
/// does not fit its column, or the same name as a service listed before it.
TImportPlan PlanImport(const QList<TScannedService>& services, const QList<TChannelRow>& channels,
                       TCardKind cardKind, bool includeRadio, const TImportLimits& limits);
