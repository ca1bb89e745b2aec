#pragma once

#include "channelrow.h"
#include "scanfile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// What importing a channel file does with each of its services, and with each channel
/// of the source that no service matched.
enum class TImportAction {
    Add,       // a new channel
    Update,    // the matched channel's tuning values become the file's
    Unchanged, // the matched channel's tuning values are the file's already
    Renamed,   // matched by a folded name, its PIDs or the user's pick, under another name
    Choose,    // several channels fit equally: the user picks one, or none
    Skip,      // not imported, and why
    Vanished   // a channel of the source that no service matched ("not in the file")
};

/// What the columns on the server and the editor's fields hold.
struct TImportLimits
{
    int callsign = 20; // the fields' limits for the short and the long name
    int name = 20;
    int channum = 5;                   // and for the channel number
    QHash<QString, int> digitalWidths; // channel_dvb column -> characters (0: no limit)
};

/// What the user decided in the review, which the plan follows.
struct TImportChoices
{
    bool includeRadio = true;
    bool takeFileNames = false; // a renamed channel takes the file's name as its long name
    /// A service (its place in the file) and the channel (its place among the channels)
    /// it is to update, or -1 for a new channel, overriding what matching found.
    QHash<int, int> picks = {};
};

struct TImportRow
{
    int serviceIndex = -1; // the service's place in the file; -1 for a vanished channel
    TScannedService service;
    TImportAction action = TImportAction::Skip;
    QString reason;         // why a service is skipped
    QString callsign;       // a new channel's short and long name, shortened to the limits
    QString name;           // (and a renamed channel's new long name, when it takes it)
    QString channum;        // a new channel's number: the file's VCHANNEL, when the source has
                            // no channel of that number yet, else numbered on after the highest
    QString numberNote;     // why the file's VCHANNEL was not taken, when it was not
    int existing = -1;      // the channel matched (or vanished): its place among the channels
    QList<int> candidates;  // the channels that fit equally (Choose)
    QStringList changes;    // what changes in the matched channel's tuning values
    bool newTuning = false; // the matched channel has no tuning values yet

    /// Whether importing the row changes the line-up (what a tick means).
    bool Tickable() const;
    /// Whether the review ticks the row from the start.
    bool TickedFirst() const;
};

struct TImportPlan
{
    QList<TImportRow> rows; // one a service, in file order, then the vanished channels
    int adds = 0, updates = 0, renamed = 0, unchanged = 0, choose = 0, skips = 0, vanished = 0;
};

/// Decides for each service of a channel file what becomes of it, matching it to a
/// channel of the source by the first rule that finds exactly one (each channel matched
/// once): the same long name, the same name folded as the listings match folds names
/// (the long or the short name), the same PIDs. A service is skipped, and why, when it
/// is of a delivery system other than the source's (`cardKind`), a radio service when
/// those are not included, without a name, of the same name as a service listed before
/// it, or has a value that does not fit its column. The source's channels no service
/// matched are listed after the services, unless the file holds no service the source
/// receives.
TImportPlan PlanImport(const QList<TScannedService>& services, const QList<TChannelRow>& channels,
                       TCardKind cardKind, const TImportChoices& choices,
                       const TImportLimits& limits);
