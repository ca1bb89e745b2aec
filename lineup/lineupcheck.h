#pragma once

#include "cardkind.h"
#include "recordref.h"

#include <QHash>
#include <QList>
#include <QString>
#include <functional>
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

    /// The kind the source is received as (SourceCardKind of the cards whose inputs
    /// name it); None when no card receives it.
    TCardKind KindOf(int source) const;
    /// The kinds of the cards that receive the source (ReceivingKinds).
    QList<TCardKind> KindsOf(int source) const;

private:
    QList<TReceivingCard> receivingCards(int source) const;
    mutable std::optional<int> m_lastSource;
    mutable TCardKind m_lastKind = TCardKind::None;
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
    MixedCardKinds,    // a source received by cards of different kinds
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

/// A rule's body: looks at the rows read and adds what it finds to `problems`.
using TRuleBody = void (*)(const TLineup&, const TLineupIndex&, QList<TProblem>&);

/// A rule of the check, declared once: its number, its name for scripts ("unused-source",
/// never translated), the severity of what it finds, and its body.
struct TRuleDef
{
    TRule rule;
    const char* name;
    TProblem::Severity severity;
    TRuleBody body;
};
/// The rules, in the order they run (that of TRule).
const QList<TRuleDef>& RuleDefs();

/// The check of one rule: its body, the problems it adds marked with its rule and
/// severity.
using TRuleCheck = std::function<void(const TLineup&, const TLineupIndex&, QList<TProblem>&)>;
TRuleCheck CheckOf(TRule rule);

/// Every rule over `lineup`: errors first, then warnings, each in the rules' order.
QList<TProblem> CheckLineup(const TLineup& lineup);
