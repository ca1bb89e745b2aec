#pragma once

#include "recordref.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class TSQLConnection;

/// What the line-up check reads of the tables: the columns its rules look at.
struct TLineup
{
    struct Source
    {
        int id = 0;
        QString name, grabber;
    };
    struct Channel
    {
        int id = 0;
        std::optional<int> sourceId;
        QString channum, callsign, name, xmltvid;
    };
    struct Digital
    {
        int chanid = 0;
        QString freq, pids;
    };
    struct Card
    {
        int id = 0;
        QString type, host, device, dvbType, defaultInput;
    };
    struct Input
    {
        int id = 0;
        std::optional<int> cardId, sourceId;
        QString name;
        std::optional<qlonglong> startchan;
    };
    QList<Source> sources;
    QList<Channel> channels;
    QList<Digital> digital;
    QList<Card> cards;
    QList<Input> inputs;
};

/// Reads the line-up's tables once, with five SELECTs (nothing is written, nothing
/// locked). A table or column that is missing raises the database's error.
TLineup ReadLineup(TSQLConnection& connection);

/// The line-up's rows by id, and how each source is received: made once from a line-up
/// for all the rules, valid while the line-up it was made from is unchanged.
class TLineupIndex
{
public:
    explicit TLineupIndex(const TLineup& lineup);

    QHash<int, const TLineup::Source*> sources;
    QHash<int, const TLineup::Channel*> channels;
    QHash<int, const TLineup::Digital*> digital; // by chanid
    QHash<int, const TLineup::Card*> cards;
    QHash<int, QList<const TLineup::Input*>> inputsOfCard;
    QHash<int, QList<const TLineup::Card*>> cardsOfSource; // in the inputs' order

    /// The first DVB card that receives the source, if one does.
    const TLineup::Card* DvbCardOf(int source) const;

private:
    mutable std::optional<int> m_lastSource;
    mutable const TLineup::Card* m_lastCard = nullptr;
};

/// The rules, in the order they run; the numbers are those the report has always used.
enum class TRule : quint8 {
    UnusedSource = 1,  // a source no card input uses
    MissingTuning,     // a DVB channel without frequency or PIDs
    Frequency,         // a frequency outside its delivery system's band
    OrphanedTuning,    // tuning values of a channel that is gone
    SharedNumber,      // channels of one source with the same number
    MissingListingsId, // channels without a listings id where listings are fetched
    StartChannel,      // an input without a start channel of its own source
    DefaultInput,      // a card whose default input is none of its inputs
    CardWithoutInputs, // a card without inputs
    SharedDevice,      // two cards of one host on the same device
};

/// The rule's name for scripts ("unused-source"); never translated.
QString RuleName(TRule rule);

/// One thing found that would make the recorder fail, or not do what was meant.
struct TProblem
{
    enum class Severity { Error, Warning };
    Severity severity = Severity::Warning;
    TRule rule = TRule::UnusedSource;
    QString what;  // what is wrong, in plain words
    QString where; // the source and channel, or the card and input, by name and number
    QString why;   // why it matters
    // The rows it is about, where they apply: a source (and a channel of it), a card (and
    // an input of it), or the channel id of a row that belongs to no channel.
    std::optional<int> sourceId, chanId, cardId, inputId;
    // Where to go to mend it, in the source's editor (a source's problem) or the card's;
    // empty for a row nothing opens.
    TRecordRef record;
};

// The rules, each over the rows read; each adds what it finds to `problems`.
using TRuleCheck = void (*)(const TLineup&, const TLineupIndex&, QList<TProblem>&);
void CheckUnusedSources(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckMissingTuning(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckFrequencies(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckOrphanedTuning(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckChannelNumbers(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckListingIds(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckStartChannels(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckDefaultInputs(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);
void CheckCardsWithoutInputs(const TLineup& l, const TLineupIndex& index,
                             QList<TProblem>& problems);
void CheckSharedDevices(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems);

/// The check of one rule.
TRuleCheck CheckOf(TRule rule);

/// Every rule over `lineup`: errors first, then warnings, each in the rules' order.
QList<TProblem> CheckLineup(const TLineup& lineup);
