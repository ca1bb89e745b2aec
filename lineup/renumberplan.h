#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// A channel of the source as renumbering sees it.
struct TRenumberChannel
{
    QString name;    // for messages
    QString channum; // its number now
    bool selected = false;
};

/// What renumbering will do.
struct TRenumberPlan
{
    QStringList numbers; // the selected channels' new numbers, in their order
    QString summary;     // "11 channels: 1 to 11"
    QStringList clashes; // unselected channels that have one of the new numbers already
    QString refused;     // why it cannot be done; empty when it can
};

/// The lowest whole number the selected channels have, 1 when none has one.
qlonglong FirstNumber(const QList<TRenumberChannel>& channels);

/// Numbers the selected channels of `channels` (in their order) from `first` on, `step`
/// apart; a number longer than `limit` characters is refused, naming the channel.
TRenumberPlan PlanRenumber(const QList<TRenumberChannel>& channels, qlonglong first, qlonglong step,
                           int limit);
