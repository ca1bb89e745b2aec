#pragma once

#include <QList>
#include <QString>
#include <memory>
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

    /// The rows by id and how each source is received: made once, for all the rules.
    const struct TLineupIndex& Index() const;

private:
    mutable std::shared_ptr<const TLineupIndex> m_index;
};

/// Reads the line-up's tables once (nothing is written). A table or column that is
/// missing raises the database's error.
TLineup ReadLineup(TSQLConnection& connection);

/// One thing found that would make the recorder fail, or not do what was meant.
struct TProblem
{
    enum class Severity { Error, Warning };
    Severity severity = Severity::Warning;
    int rule = 0;
    QString what;  // what is wrong, in plain words
    QString where; // the source and channel, or the card and input, by name and number
    QString why;   // why it matters
    // Where to go to mend it: a source (and a channel of it) or a card (and an input of
    // it), with the field in question; none for a row nothing opens.
    enum class Target { None, Source, Card };
    Target target = Target::None;
    int sourceId = 0, cardId = 0;
    std::optional<int> chanId, inputId;
    QString field; // the object name of the field to focus, if any
};

// The rules, each over the rows read; each adds what it finds to `problems`.
void CheckUnusedSources(const TLineup& lineup, QList<TProblem>& problems);      // 1
void CheckMissingTuning(const TLineup& lineup, QList<TProblem>& problems);      // 2
void CheckFrequencies(const TLineup& lineup, QList<TProblem>& problems);        // 3
void CheckOrphanedTuning(const TLineup& lineup, QList<TProblem>& problems);     // 4
void CheckChannelNumbers(const TLineup& lineup, QList<TProblem>& problems);     // 5
void CheckListingIds(const TLineup& lineup, QList<TProblem>& problems);         // 6
void CheckStartChannels(const TLineup& lineup, QList<TProblem>& problems);      // 7
void CheckDefaultInputs(const TLineup& lineup, QList<TProblem>& problems);      // 8
void CheckCardsWithoutInputs(const TLineup& lineup, QList<TProblem>& problems); // 9
void CheckSharedDevices(const TLineup& lineup, QList<TProblem>& problems);      // 10

/// Every rule over `lineup`: errors first, then warnings, each in the rules' order.
QList<TProblem> CheckLineup(const TLineup& lineup);
