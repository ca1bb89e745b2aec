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

QList<TReceivingCard> TLineupIndex::receivingCards(int source) const
{
    QList<TReceivingCard> receiving;
    for (const TLineup::Card* card : cardsOfSource.value(source))
        receiving << TReceivingCard{card->id, CardKindOf(card->type, card->dvbType)};
    return receiving;
}

TCardKind TLineupIndex::KindOf(int source) const
{
    // Channels come source by source: the last answer is asked again, mostly.
    if (source != m_lastSource) {
        m_lastSource = source;
        m_lastKind = SourceCardKind(receivingCards(source));
    }
    return m_lastKind;
}

QList<TCardKind> TLineupIndex::KindsOf(int source) const
{
    return ReceivingKinds(receivingCards(source));
}

namespace {

const TRuleDef& defOf(TRule rule)
{
    const QList<TRuleDef>& rules = RuleDefs();
    Q_ASSERT(int(rule) >= 1 && int(rule) <= rules.size() && rules[int(rule) - 1].rule == rule);
    return rules[int(rule) - 1];
}

void run(const TRuleDef& def, const TLineup& lineup, const TLineupIndex& index,
         QList<TProblem>& problems)
{
    const qsizetype before = problems.size();
    def.body(lineup, index, problems);
    for (qsizetype i = before; i < problems.size(); ++i) {
        problems[i].rule = def.rule;
        problems[i].severity = def.severity;
    }
}

} // namespace

QString RuleName(TRule rule)
{
    return QLatin1String(defOf(rule).name);
}

TRuleCheck CheckOf(TRule rule)
{
    const TRuleDef& def = defOf(rule);
    return [&def](const TLineup& lineup, const TLineupIndex& index, QList<TProblem>& problems) {
        run(def, lineup, index, problems);
    };
}

QList<TProblem> CheckLineup(const TLineup& lineup)
{
    const TLineupIndex index(lineup);
    QList<TProblem> problems;
    for (const TRuleDef& def : RuleDefs())
        run(def, lineup, index, problems);
    std::stable_sort(problems.begin(), problems.end(), [](const TProblem& a, const TProblem& b) {
        return a.severity == TProblem::Severity::Error && b.severity != TProblem::Severity::Error;
    });
    return problems;
}
