#include "lineupcheck.h"

#include <algorithm>
#include <iterator>

TLineupIndex::TLineupIndex(const TLineup& l)
{
    channels.reserve(l.channels.size());
    digital.reserve(l.digital.size());
    for (const auto& s : l.sources)
        sources.insert(s.id, &s);
    for (const auto& c : l.channels)
        channels.insert(c.id, &c);
    for (const auto& d : l.digital)
        digital.insert(d.chanid, &d);
    for (const auto& c : l.cards)
        cards.insert(c.id, &c);
    for (const auto& i : l.inputs) {
        if (i.cardId)
            inputsOfCard[*i.cardId] << &i;
        if (i.sourceId && i.cardId)
            if (const auto* card = cards.value(*i.cardId);
                card && !cardsOfSource[*i.sourceId].contains(card))
                cardsOfSource[*i.sourceId] << card;
    }
}

const TLineup::Card* TLineupIndex::DvbCardOf(int source) const
{
    // Channels come source by source: the last answer is asked again, mostly.
    if (source == m_lastSource)
        return m_lastCard;
    m_lastSource = source;
    m_lastCard = nullptr;
    for (const TLineup::Card* card : cardsOfSource.value(source))
        if (card->type == QLatin1String("DVB")) {
            m_lastCard = card;
            break;
        }
    return m_lastCard;
}

namespace {

// The rules in the order they run (that of TRule), with their names for scripts.
struct TRuleEntry
{
    TRule rule;
    const char* name;
    TRuleCheck check;
};
constexpr TRuleEntry Rules[] = {
    {TRule::UnusedSource, "unused-source", CheckUnusedSources},
    {TRule::MissingTuning, "missing-tuning", CheckMissingTuning},
    {TRule::Frequency, "frequency", CheckFrequencies},
    {TRule::OrphanedTuning, "orphaned-tuning", CheckOrphanedTuning},
    {TRule::SharedNumber, "shared-number", CheckChannelNumbers},
    {TRule::MissingListingsId, "missing-listings-id", CheckListingIds},
    {TRule::StartChannel, "start-channel", CheckStartChannels},
    {TRule::DefaultInput, "default-input", CheckDefaultInputs},
    {TRule::CardWithoutInputs, "card-without-inputs", CheckCardsWithoutInputs},
    {TRule::SharedDevice, "shared-device", CheckSharedDevices},
};

constexpr bool inOrder()
{
    for (int i = 0; i < int(std::size(Rules)); ++i)
        if (int(Rules[i].rule) != i + 1)
            return false;
    return true;
}
static_assert(inOrder(), "Rules follows TRule, one entry a rule");

const TRuleEntry& entryOf(TRule rule)
{
    return Rules[int(rule) - 1];
}

} // namespace

QString RuleName(TRule rule)
{
    return QLatin1String(entryOf(rule).name);
}

TRuleCheck CheckOf(TRule rule)
{
    return entryOf(rule).check;
}

QList<TProblem> CheckLineup(const TLineup& lineup)
{
    const TLineupIndex index(lineup);
    QList<TProblem> problems;
    for (const TRuleEntry& entry : Rules)
        entry.check(lineup, index, problems);
    std::stable_sort(problems.begin(), problems.end(), [](const TProblem& a, const TProblem& b) {
        return a.severity == TProblem::Severity::Error && b.severity != TProblem::Severity::Error;
    });
    return problems;
}
