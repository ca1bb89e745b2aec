#pragma once

#include <QHash>
#include <QString>
#include <optional>

/// A channel of a source as the line-up tools see it: its place in the editor's list and
/// the values they look at (a null value read as the empty text). The one description of
/// a channel that importing, matching listings and icons, renumbering and exporting start
/// from.
struct TChannelRow
{
    int row = -1; // the visible row of the editor's channel set
    QString chanid, channum, callsign, name, xmltvid, icon;
    bool selected = false; // chosen by the user (renumbering numbers these)
    /// Its tuning row's values by channel_dvb column (a null value as none); empty when
    /// it has no tuning row, or they were not read.
    QHash<QString, std::optional<QString>> tuning = {};

    /// Its name for messages: the long name, else the short name, else "channel <id>".
    QString Label() const;
};
