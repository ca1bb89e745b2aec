#pragma once

#include "channelrow.h"
#include "xmltvfile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

/// A name as matching compares it: case ignored, accents removed (é as e), and every
/// character but letters, digits and "+" dropped ("9Gem  newcastle" -> "9gemnewcastle").
QString FoldName(QStringView name);

/// What matching found for a channel.
enum class TMatchState {
    Kept,      // its listings id is one of the file's: nothing changes
    Matched,   // its long or short name is a name of exactly one listed channel
    Choose,    // several listed channels fit equally
    Suggested, // no exact fit, but a looser rule finds one likely channel
    OtherId,   // it has a listings id the file does not list
    NoMatch,
};

/// What matching proposes for one channel.
struct TChannelMatch
{
    TMatchState state = TMatchState::NoMatch;
    int fit = -1;          // the listed channel proposed (or kept), -1 for none
    QList<int> candidates; // the listed channels that fit equally (state Choose)
};

/// The listed channels by the names they go by, folded; built once, so that matching
/// a channel costs the names it shares words with, not every listed channel.
class TListingsIndex
{
public:
    explicit TListingsIndex(const QList<TListedChannel>& listed);
    /// The listed channel with this id, -1 when there is none.
    int WithId(const QString& id) const { return m_byId.value(id, -1); }
    TChannelMatch Match(const TChannelRow& channel) const;

private:
    struct Name
    {
        int channel;
        QStringList words; // folded words without quality words, sorted, unique
        QString digits;    // the digits and "+" of the name, in order
    };
    QList<int> exact(const QString& name) const;
    /// Listed channels with a name of the same words as `name` (quality words aside),
    /// and, when `sharing` is set, those whose names hold all of its words or whose words
    /// are all among its.
    QList<int> loose(const QString& name, bool sharing) const;

    QHash<QString, int> m_byId;
    QHash<QString, QList<int>> m_byName; // folded name -> listed channels
    QList<Name> m_names;
    QHash<QString, QList<int>> m_byWord; // folded word -> entries of m_names
};

/// What matching each channel of a source finds, in the order of `channels`.
QList<TChannelMatch> MatchListings(const QList<TChannelRow>& channels,
                                   const QList<TListedChannel>& listed);

/// How wide the columns the match fills in are (characters).
struct TListingsLimits
{
    int xmltvid = 64;
    int icon = 255;
};

/// What Apply writes into one channel.
struct TListingsChange
{
    int channel = -1; // index into the channels the window was given
    QString xmltvid;
    std::optional<QString> icon; // set when the channel's empty icon is filled
};
