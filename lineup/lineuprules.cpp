// The line-up check's rules: each looks at the rows read and tells what it finds in
// words a user can act on, and where to go to mend it. A rule is one entry here: its
// number, its name for scripts, its severity and its body.
#include "channelnumber.h"
#include "frequency.h"
#include "lineupcheck.h"
#include "problemplace.h"

#include <QSet>

namespace {

constexpr auto Error = TProblem::Severity::Error;
constexpr auto Warning = TProblem::Severity::Warning;

} // namespace

const QList<TRuleDef>& RuleDefs()
{
    static const QList<TRuleDef> rules{
        {TRule::UnusedSource, "unused-source", Warning,
         [](const TLineup& l, const TLineupIndex& /*index*/, QList<TProblem>& problems) {
             QSet<int> used;
             for (const auto& i : l.inputs)
                 if (i.sourceId)
                     used.insert(*i.sourceId);
             for (const auto& s : l.sources)
                 if (!used.contains(s.id))
                     problems << AtSource(
                         TLineupCheckText::tr("No card input uses this source"), SourceWhere(s),
                         TLineupCheckText::tr(
                             "None of its channels can ever be recorded: no card "
                             "receives them. Choose it as the channel source of an "
                             "input in the card editor."),
                         s.id, std::nullopt, SourceColumn(s.id, QStringLiteral("name")));
         }},
        {TRule::MissingTuning, "missing-tuning", Error,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             for (const auto& c : l.channels) {
                 if (!c.sourceId || !IsDigital(index.KindOf(*c.sourceId)))
                     continue;
                 const TLineup::Digital* d = index.digital.value(c.id);
                 QString what;
                 QString column = QStringLiteral("freq");
                 if (!d)
                     what = TLineupCheckText::tr("No DVB tuning values");
                 else if (Blank(d->freq) && Blank(d->pids))
                     what = TLineupCheckText::tr("No frequency and no PIDs");
                 else if (Blank(d->freq))
                     what = TLineupCheckText::tr("No frequency");
                 else if (Blank(d->pids)) {
                     what = TLineupCheckText::tr("No PIDs");
                     column = QStringLiteral("pids");
                 }
                 if (!what.isEmpty())
                     problems << AtSource(
                         what, ChannelWhere(index, c),
                         TLineupCheckText::tr(
                             "A DVB card cannot tune a channel without its frequency, nor "
                             "record it without its PIDs."),
                         *c.sourceId, c.id,
                         ChannelColumn(c.id, QStringLiteral("channel_dvb"), column));
             }
         }},
        {TRule::Frequency, "frequency", Warning,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             for (const auto& c : l.channels) {
                 const TCardKind kind = c.sourceId ? index.KindOf(*c.sourceId) : TCardKind::None;
                 const TFrequencyBand* band = FrequencyBandOf(kind);
                 const TLineup::Digital* d = index.digital.value(c.id);
                 if (!band || !d || Blank(d->freq))
                     continue; // no delivery system to judge by, or nothing to judge
                 // Whole numbers as a rule: read as such (a general number conversion costs
                 // many times as much, over thousands of channels).
                 bool number = false;
                 const QString freq = d->freq.trimmed();
                 double f = double(freq.toLongLong(&number));
                 if (!number)
                     f = freq.toDouble(&number);
                 const bool plausible = band->Holds(f);
                 if (number && plausible)
                     continue;
                 const QString system = CardKindName(kind);
                 problems << AtSource(
                     number
                         ? TLineupCheckText::tr("Frequency %1 is outside %2 for %3")
                               .arg(QStringLiteral("%1 (%2)").arg(freq, FrequencyText(kind, freq)),
                                    band->Text(), system)
                         : TLineupCheckText::tr("Frequency \u201C%1\u201D is not a number")
                               .arg(d->freq),
                     ChannelWhere(index, c),
                     TLineupCheckText::tr(
                         "A frequency outside the band is most likely a typing or unit "
                         "mistake: tuning to it fails."),
                     *c.sourceId, c.id,
                     ChannelColumn(c.id, QStringLiteral("channel_dvb"), QStringLiteral("freq")));
             }
         }},
        {TRule::OrphanedTuning, "orphaned-tuning", Warning,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             for (const auto& d : l.digital) {
                 if (index.channels.contains(d.chanid))
                     continue;
                 TProblem p = Unplaced(
                     TLineupCheckText::tr("DVB tuning values of a channel that no longer exists"),
                     TLineupCheckText::tr(
                         "channel id %1 (no such channel: this row cannot be opened)")
                         .arg(d.chanid),
                     TLineupCheckText::tr("Left behind by an older tool: it belongs to no channel. "
                                          "Deleting the source "
                                          "it belonged to, or the database row, removes it."));
                 p.chanId = d.chanid;
                 problems << p;
             }
         }},
        {TRule::SharedNumber, "shared-number", Warning,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             // The first channel of each source and number, and the others that have the same.
             QHash<QPair<int, QString>, qsizetype> first;
             first.reserve(l.channels.size());
             QHash<qsizetype, QList<qsizetype>> same; // the first channel -> the others
             QList<qsizetype> order;
             for (qsizetype i = 0; i < l.channels.size(); ++i) {
                 const TLineup::Channel& c = l.channels[i];
                 if (!c.sourceId || Blank(c.channum))
                     continue;
                 const QPair<int, QString> key{*c.sourceId, ChannelNumberKey(c.channum)};
                 const auto found = first.constFind(key);
                 if (found == first.constEnd()) {
                     first.insert(key, i);
                     continue;
                 }
                 auto& others = same[*found];
                 if (others.isEmpty())
                     order << *found;
                 others << i;
             }
             for (const qsizetype f : order) {
                 const TLineup::Channel& c = l.channels[f];
                 QStringList others;
                 for (const qsizetype o : same.value(f)) {
                     const TLineup::Channel& other = l.channels[o];
                     others << QStringLiteral("\u201C%1\u201D")
                                   .arg(!Blank(other.name) ? other.name : other.callsign);
                 }
                 problems << AtSource(
                     TLineupCheckText::tr("Number %1 is also the number of %2")
                         .arg(c.channum.trimmed(), others.join(QStringLiteral(", "))),
                     ChannelWhere(index, c),
                     TLineupCheckText::tr(
                         "A channel is chosen by its number: of channels with the same "
                         "number, only one can be reached by it."),
                     *c.sourceId, c.id,
                     ChannelColumn(c.id, QStringLiteral("channel"), QStringLiteral("channum")));
             }
         }},
        {TRule::MissingListingsId, "missing-listings-id", Warning,
         [](const TLineup& l, const TLineupIndex& /*index*/, QList<TProblem>& problems) {
             // The channels without an id, by source: how many, and the first.
             QHash<int, QPair<int, int>> missing;
             for (const auto& c : l.channels)
                 if (c.sourceId && Blank(c.xmltvid)) {
                     auto& m = missing[*c.sourceId];
                     if (m.first++ == 0)
                         m.second = c.id;
                 }
             for (const auto& s : l.sources) {
                 const QString grabber = s.grabber.trimmed();
                 if (grabber.isEmpty() || grabber == QLatin1String("change this") ||
                     grabber == QLatin1String("none"))
                     continue; // no listings are fetched for it
                 const auto [count, first] = missing.value(s.id);
                 if (count == 0)
                     continue;
                 problems << AtSource(
                     count == 1
                         ? TLineupCheckText::tr("1 channel of %1 has no listings id").arg(s.name)
                         : TLineupCheckText::tr("%1 channels of %2 have no listings id")
                               .arg(count)
                               .arg(s.name),
                     SourceWhere(s),
                     TLineupCheckText::tr(
                         "Without its listings id (XMLTV ID) a channel gets no programme "
                         "guide from %1, so nothing on it can be scheduled. Listings... "
                         "in the source's editor fills them in.")
                         .arg(grabber),
                     s.id, std::nullopt,
                     ChannelColumn(first, QStringLiteral("channel"), QStringLiteral("xmltvid")));
             }
         }},
        {TRule::StartChannel, "start-channel", Error,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             for (const auto& i : l.inputs) {
                 if (!i.sourceId || *i.sourceId == 0 || !i.cardId)
                     continue; // fed by no source: nothing to start on
                 QString what;
                 if (!i.startchan || *i.startchan == 0) {
                     what = TLineupCheckText::tr("No start channel");
                 } else {
                     const TLineup::Channel* c = index.channels.value(int(*i.startchan));
                     const TLineup::Source* s = index.sources.value(*i.sourceId);
                     const QString source =
                         s ? QStringLiteral("\u201C%1\u201D").arg(s->name)
                           : TLineupCheckText::tr("%1 (which does not exist)").arg(*i.sourceId);
                     if (!c)
                         what = TLineupCheckText::tr("Start channel %1 does not exist")
                                    .arg(*i.startchan);
                     else if (c->sourceId != i.sourceId)
                         what = TLineupCheckText::tr(
                                    "Start channel \u201C%1\u201D is not a channel of source %2")
                                    .arg(!Blank(c->name) ? c->name : c->callsign, source);
                 }
                 if (!what.isEmpty())
                     problems << AtCard(
                         what, InputWhere(index, i),
                         TLineupCheckText::tr(
                             "The card tunes to the input's start channel first: without "
                             "one of the input's source it cannot start recording from it."),
                         *i.cardId, i.id, InputColumn(i.id, QStringLiteral("startchan")));
             }
         }},
        {TRule::DefaultInput, "default-input", Error,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             for (const auto& c : l.cards) {
                 bool named = false;
                 for (const TLineup::Input* i : index.inputsOfCard.value(c.id))
                     named = named || (!Blank(c.defaultInput) && i->name == c.defaultInput);
                 if (named)
                     continue;
                 problems << AtCard(
                     Blank(c.defaultInput)
                         ? TLineupCheckText::tr("No default input")
                         : TLineupCheckText::tr(
                               "Default input \u201C%1\u201D is none of the card's inputs")
                               .arg(c.defaultInput),
                     CardWhere(c),
                     TLineupCheckText::tr(
                         "The card starts on its default input: naming none of its "
                         "inputs, it has nothing to record from."),
                     c.id, std::nullopt, CardColumn(c.id, QStringLiteral("defaultinput")));
             }
         }},
        {TRule::CardWithoutInputs, "card-without-inputs", Warning,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             for (const auto& c : l.cards)
                 if (index.inputsOfCard.value(c.id).isEmpty())
                     problems << AtCard(TLineupCheckText::tr("No inputs"), CardWhere(c),
                                        TLineupCheckText::tr(
                                            "A card without inputs receives no source: nothing is "
                                            "recorded with it. Add an input in its editor."),
                                        c.id, std::nullopt, CardColumn(c.id, QString()));
         }},
        {TRule::SharedDevice, "shared-device", Error,
         [](const TLineup& l, const TLineupIndex& /*index*/, QList<TProblem>& problems) {
             QHash<QPair<QString, QString>, QList<const TLineup::Card*>> byDevice;
             QList<QPair<QString, QString>> order;
             for (const auto& c : l.cards) {
                 if (Blank(c.device))
                     continue;
                 const QPair<QString, QString> key{c.host.trimmed(), c.device.trimmed()};
                 auto& same = byDevice[key];
                 if (same.isEmpty())
                     order << key;
                 same << &c;
             }
             for (const auto& key : order) {
                 const auto& same = byDevice[key];
                 if (same.size() < 2)
                     continue;
                 QStringList others;
                 for (qsizetype i = 1; i < same.size(); ++i)
                     others << QString::number(same[i]->id);
                 const TLineup::Card& first = *same.first();
                 problems << AtCard(
                     TLineupCheckText::tr("Device %1 is also that of card %2")
                         .arg(key.second, others.join(QStringLiteral(", "))),
                     CardWhere(first),
                     TLineupCheckText::tr(
                         "Two cards on one host cannot open the same device: one of them "
                         "fails to record."),
                     first.id, std::nullopt, CardColumn(first.id, QStringLiteral("videodevice")));
             }
         }},
        {TRule::MixedCardKinds, "mixed-card-kinds", Warning,
         [](const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems) {
             for (const auto& s : l.sources) {
                 const QList<TCardKind> kinds = index.KindsOf(s.id);
                 if (kinds.size() < 2)
                     continue;
                 QStringList names;
                 for (TCardKind kind : kinds)
                     names << CardKindName(kind);
                 problems << AtSource(
                     TLineupCheckText::tr("Received by cards of different kinds (%1)")
                         .arg(names.join(TLineupCheckText::tr(" and "))),
                     SourceWhere(s),
                     TLineupCheckText::tr("The channels of a source are tuned one way: its editor, "
                                          "export and check take them as %1 (the first DVB card's "
                                          "kind), so the other cards cannot tune them.")
                         .arg(CardKindName(index.KindOf(s.id))),
                     s.id, std::nullopt, SourceColumn(s.id, QStringLiteral("name")));
             }
         }},
    };
    return rules;
}
