#pragma once

#include "channelrow.h"
#include "scanfile.h"

#include <QHash>
#include <QList>

/// What matching found for one service of a channel file.
struct TServiceMatch
{
    int channel = -1;      // the channel it updates (its place among the channels), or -1
    bool sameName = false; // found by its long name, not by a looser rule or a pick
    QList<int> candidates; // when no rule found exactly one: the channels that fit equally
};

/// Matches the services `matched` (places in `services`) to the channels of a source,
/// each channel once: first the user's `picks` (a service -> a channel, -1 for none),
/// then, rule by rule over every service still open, the one channel of the same long
/// name (or of the name shortened to `nameLimit`), of the same name folded (long or
/// short), of the same PIDs. A rule that finds several channels matches none of them;
/// the service then offers the first such channels left to choose from.
QHash<int, TServiceMatch> MatchServices(const QList<TScannedService>& services,
                                        const QList<int>& matched,
                                        const QList<TChannelRow>& channels,
                                        const QHash<int, int>& picks, int nameLimit);
