#pragma once

#include "channelexport.h"
#include "channelrow.h"

#include <QList>
#include <QString>
#include <vector>

class TSQLClientDataSet;

/// The visible rows of `channels` (a set on the channel table) in its order, the row
/// being edited settled first.
QList<TChannelRow> ReadChannelRows(TSQLClientDataSet& channels);
/// The same for the visible rows `rows`, in the order given.
QList<TChannelRow> ReadChannelRows(TSQLClientDataSet& channels, const std::vector<int>& rows);

/// Fills in each channel's tuning values from `digital` (a set on channel_dvb, whatever
/// its filter shows), changes not saved included.
void ReadChannelTuning(QList<TChannelRow>& channels, TSQLClientDataSet& digital);

/// How many characters a text column of `set` holds: its width on the server, and no
/// more than `limit` (what the editor lets be typed into it) when that is given; 0 when
/// neither sets one.
int ColumnWidth(const TSQLClientDataSet& set, const QString& column, int limit = 0);

/// The channels of the visible rows `rows` of `channels`, in that order, as an export
/// writes them: with their digital rows from `digital` (a set on channel_dvb, whatever
/// its filter shows; null for a source without digital rows). As the window holds them:
/// changes not saved included.
TExportLineup ReadExportChannels(TSQLClientDataSet& channels, const std::vector<int>& rows,
                                 TSQLClientDataSet* digital);
