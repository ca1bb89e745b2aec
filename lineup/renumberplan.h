#pragma once

#include "channelrow.h"

#include <QList>
#include <QString>
#include <QStringList>

/// What renumbering will do.
struct TRenumberPlan
{
    QStringList numbers; // the selected channels' new numbers, in their order
    QString summary;     // "11 channels: 1 to 11"
    QStringList clashes; // unselected channels that have one of the new numbers already
    QString refused;     // why it cannot be done; empty when it can
};

/// The lowest whole number the selected channels have, 1 when none has one.
qlonglong FirstNumber(const QList<TChannelRow>& channels);

/// Numbers the selected channels of `channels` (in their order; the others are the
/// source's channels they may clash with) from `first` on, `step`
/// apart; a number longer than `limit` characters is refused, naming the channel.
TRenumberPlan PlanRenumber(const QList<TChannelRow>& channels, qlonglong first, qlonglong step,
                           int limit);
