#include "lineupcheck.h"

#include <algorithm>

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

QString RuleName(TRule rule)
{
    switch (rule) {
    case TRule::UnusedSource:
        return QStringLiteral("unused-source");
    case TRule::MissingTuning:
        return QStringLiteral("missing-tuning");
    case TRule::Frequency:
        return QStringLiteral("frequency");
    case TRule::OrphanedTuning:
        return QStringLiteral("orphaned-tuning");
    case TRule::SharedNumber:
        return QStringLiteral("shared-number");
    case TRule::MissingListingsId:
        return QStringLiteral("missing-listings-id");
    case TRule::StartChannel:
        return QStringLiteral("start-channel");
    case TRule::DefaultInput:
        return QStringLiteral("default-input");
    case TRule::CardWithoutInputs:
        return QStringLiteral("card-without-inputs");
    case TRule::SharedDevice:
        return QStringLiteral("shared-device");
    }
    return QString();
}

TRuleCheck CheckOf(TRule rule)
{
    switch (rule) {
    case TRule::UnusedSource:
        return CheckUnusedSources;
    case TRule::MissingTuning:
        return CheckMissingTuning;
    case TRule::Frequency:
        return CheckFrequencies;
    case TRule::OrphanedTuning:
        return CheckOrphanedTuning;
    case TRule::SharedNumber:
        return CheckChannelNumbers;
    case TRule::MissingListingsId:
        return CheckListingIds;
    case TRule::StartChannel:
        return CheckStartChannels;
    case TRule::DefaultInput:
        return CheckDefaultInputs;
    case TRule::CardWithoutInputs:
        return CheckCardsWithoutInputs;
    case TRule::SharedDevice:
        return CheckSharedDevices;
    }
    return nullptr;
}

QList<TProblem> CheckLineup(const TLineup& lineup)
{
    const TLineupIndex index(lineup);
    QList<TProblem> problems;
    for (int r = int(TRule::UnusedSource); r <= int(TRule::SharedDevice); ++r)
        CheckOf(TRule(r))(lineup, index, problems);
    std::stable_sort(problems.begin(), problems.end(), [](const TProblem& a, const TProblem& b) {
        return a.severity == TProblem::Severity::Error && b.severity != TProblem::Severity::Error;
    });
    return problems;
}
