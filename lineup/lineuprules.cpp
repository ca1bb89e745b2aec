// The line-up check's rules: each looks at the rows read and tells what it finds in
// words a user can act on, and where to go to mend it.
#include "frequency.h"
#include "lineupcheck.h"

#include <QCoreApplication>
#include <QSet>

namespace {

/// The texts of this file, translated as TLineupCheck's.
struct TLineupCheckText
{
    Q_DECLARE_TR_FUNCTIONS(TLineupCheck)
};

bool blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

namespace {

using TIndex = TLineupIndex;

QString sourceWhere(const TLineup::Source& s)
{
    return TLineupCheckText::tr("source \u201C%1\u201D (%2)").arg(s.name).arg(s.id);
}

QString channelWhere(const TIndex& index, const TLineup::Channel& c)
{
    const QString name = !blank(c.name)       ? c.name
                         : !blank(c.callsign) ? c.callsign
                                              : TLineupCheckText::tr("no name");
    const QString number =
        blank(c.channum) ? TLineupCheckText::tr("id %1").arg(c.id) : c.channum.trimmed();
    const TLineup::Source* s = c.sourceId ? index.sources.value(*c.sourceId) : nullptr;
    const QString channel = TLineupCheckText::tr("channel \u201C%1\u201D (%2)").arg(name, number);
    return s ? sourceWhere(*s) + QStringLiteral(", ") + channel : channel;
}

QString cardWhere(const TLineup::Card& c)
{
    QStringList what;
    if (!blank(c.type))
        what << c.type;
    if (!blank(c.host))
        what << TLineupCheckText::tr("on %1").arg(c.host);
    return what.isEmpty()
               ? TLineupCheckText::tr("card %1").arg(c.id)
               : TLineupCheckText::tr("card %1 (%2)").arg(c.id).arg(what.join(QLatin1Char(' ')));
}

QString inputWhere(const TIndex& index, const TLineup::Input& i)
{
    const TLineup::Card* card = i.cardId ? index.cards.value(*i.cardId) : nullptr;
    const QString input = TLineupCheckText::tr("input \u201C%1\u201D (%2)").arg(i.name).arg(i.id);
    return card ? cardWhere(*card) + QStringLiteral(", ") + input : input;
}

// The records a problem leads to, and the column in question.
TRecordRef sourceColumn(int source, const QString& column)
{
    return {QStringLiteral("videosource"), QStringLiteral("sourceid"), source,
            QStringLiteral("videosource"), column};
}

TRecordRef channelColumn(int channel, const QString& table, const QString& column)
{
    return {QStringLiteral("channel"), QStringLiteral("chanid"), channel, table, column};
}

TRecordRef cardColumn(int card, const QString& column)
{
    return {QStringLiteral("capturecard"), QStringLiteral("cardid"), card,
            QStringLiteral("capturecard"), column};
}

TRecordRef inputColumn(int input, const QString& column)
{
    return {QStringLiteral("cardinput"), QStringLiteral("cardinputid"), input,
            QStringLiteral("cardinput"), column};
}

TProblem problem(TProblem::Severity severity, TRule rule, const QString& what, const QString& where,
                 const QString& why, TRecordRef record = {})
{
    TProblem p;
    p.severity = severity;
    p.rule = rule;
    p.what = what;
    p.where = where;
    p.why = why;
    p.record = std::move(record);
    return p;
}

TProblem atSource(TProblem::Severity severity, TRule rule, const QString& what,
                  const QString& where, const QString& why, int source, std::optional<int> channel,
                  TRecordRef record)
{
    TProblem p = problem(severity, rule, what, where, why, std::move(record));
    p.sourceId = source;
    p.chanId = channel;
    return p;
}

TProblem atCard(TProblem::Severity severity, TRule rule, const QString& what, const QString& where,
                const QString& why, int card, std::optional<int> input, TRecordRef record)
{
    TProblem p = problem(severity, rule, what, where, why, std::move(record));
    p.cardId = card;
    p.inputId = input;
    return p;
}

constexpr auto Error = TProblem::Severity::Error;
constexpr auto Warning = TProblem::Severity::Warning;

} // namespace

// --- the rules ------------------------------------------------------------------------

void CheckUnusedSources(const TLineup& l, const TLineupIndex& /*index*/, QList<TProblem>& problems)
{
    QSet<int> used;
    for (const auto& i : l.inputs)
        if (i.sourceId)
            used.insert(*i.sourceId);
    for (const auto& s : l.sources)
        if (!used.contains(s.id))
            problems << atSource(
                Warning, TRule::UnusedSource,
                TLineupCheckText::tr("No card input uses this source"), sourceWhere(s),
                TLineupCheckText::tr("None of its channels can ever be recorded: no card "
                                     "receives them. Choose it as the channel source of an "
                                     "input in the card editor."),
                s.id, std::nullopt, sourceColumn(s.id, QStringLiteral("name")));
}

void CheckMissingTuning(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems)
{
    for (const auto& c : l.channels) {
        if (!c.sourceId || !index.DvbCardOf(*c.sourceId))
            continue;
        const TLineup::Digital* d = index.digital.value(c.id);
        QString what;
        QString column = QStringLiteral("freq");
        if (!d)
            what = TLineupCheckText::tr("No DVB tuning values");
        else if (blank(d->freq) && blank(d->pids))
            what = TLineupCheckText::tr("No frequency and no PIDs");
        else if (blank(d->freq))
            what = TLineupCheckText::tr("No frequency");
        else if (blank(d->pids)) {
            what = TLineupCheckText::tr("No PIDs");
            column = QStringLiteral("pids");
        }
        if (!what.isEmpty())
            problems << atSource(
                Error, TRule::MissingTuning, what, channelWhere(index, c),
                TLineupCheckText::tr("A DVB card cannot tune a channel without its frequency, nor "
                                     "record it without its PIDs."),
                *c.sourceId, c.id, channelColumn(c.id, QStringLiteral("channel_dvb"), column));
    }
}

void CheckFrequencies(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems)
{
    for (const auto& c : l.channels) {
        const TLineup::Card* card = c.sourceId ? index.DvbCardOf(*c.sourceId) : nullptr;
        const TLineup::Digital* d = index.digital.value(c.id);
        if (!card || !d || blank(d->freq))
            continue;
        // Whole numbers as a rule: read as such (a general number conversion costs
        // many times as much, over thousands of channels).
        bool number = false;
        const QString freq = d->freq.trimmed();
        double f = double(freq.toLongLong(&number));
        if (!number)
            f = freq.toDouble(&number);
        // In the units a scan's import writes: Hz on the ground and cable, kHz from a
        // satellite.
        const TCardKind kind = CardKindOf(QStringLiteral("DVB"), card->dvbType);
        QString band;
        if (kind == TCardKind::DVBT || kind == TCardKind::DVBC)
            band = TLineupCheckText::tr("47 to 862 MHz (47000000 to 862000000 Hz)");
        else if (kind == TCardKind::DVBS)
            band = TLineupCheckText::tr("950 to 2150 MHz or 10.7 to 12.75 GHz (950000 to "
                                        "2150000 or 10700000 to 12750000 kHz)");
        else
            continue; // no delivery system to judge by
        const bool plausible = InFrequencyBand(kind, f);
        if (number && plausible)
            continue;
        const QString system = QStringLiteral("DVB-%1").arg(card->dvbType);
        problems << atSource(
            Warning, TRule::Frequency,
            number ? TLineupCheckText::tr("Frequency %1 is outside %2 for %3")
                         .arg(QStringLiteral("%1 (%2)").arg(freq, FrequencyText(kind, freq)), band,
                              system)
                   : TLineupCheckText::tr("Frequency \u201C%1\u201D is not a number").arg(d->freq),
            channelWhere(index, c),
            TLineupCheckText::tr("A frequency outside the band is most likely a typing or unit "
                                 "mistake: tuning to it fails."),
            *c.sourceId, c.id,
            channelColumn(c.id, QStringLiteral("channel_dvb"), QStringLiteral("freq")));
    }
}

void CheckOrphanedTuning(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems)
{
    for (const auto& d : l.digital) {
        if (index.channels.contains(d.chanid))
            continue;
        TProblem p = problem(
            Warning, TRule::OrphanedTuning,
            TLineupCheckText::tr("DVB tuning values of a channel that no longer exists"),
            TLineupCheckText::tr("channel id %1 (no such channel: this row cannot be opened)")
                .arg(d.chanid),
            TLineupCheckText::tr(
                "Left behind by an older tool: it belongs to no channel. Deleting the source "
                "it belonged to, or the database row, removes it."));
        p.chanId = d.chanid;
        problems << p;
    }
}

void CheckChannelNumbers(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems)
{
    // The first channel of each source and number, and the others that have the same.
    QHash<QPair<int, QString>, qsizetype> first;
    first.reserve(l.channels.size());
    QHash<qsizetype, QList<qsizetype>> same; // the first channel -> the others
    QList<qsizetype> order;
    for (qsizetype i = 0; i < l.channels.size(); ++i) {
        const TLineup::Channel& c = l.channels[i];
        if (!c.sourceId || blank(c.channum))
            continue;
        const QPair<int, QString> key{*c.sourceId, c.channum.trimmed()};
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
                          .arg(!blank(other.name) ? other.name : other.callsign);
        }
        problems << atSource(
            Warning, TRule::SharedNumber,
            TLineupCheckText::tr("Number %1 is also the number of %2")
                .arg(c.channum.trimmed(), others.join(QStringLiteral(", "))),
            channelWhere(index, c),
            TLineupCheckText::tr("A channel is chosen by its number: of channels with the same "
                                 "number, only one can be reached by it."),
            *c.sourceId, c.id,
            channelColumn(c.id, QStringLiteral("channel"), QStringLiteral("channum")));
    }
}

void CheckListingIds(const TLineup& l, const TLineupIndex& /*index*/, QList<TProblem>& problems)
{
    // The channels without an id, by source: how many, and the first.
    QHash<int, QPair<int, int>> missing;
    for (const auto& c : l.channels)
        if (c.sourceId && blank(c.xmltvid)) {
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
        problems << atSource(
            Warning, TRule::MissingListingsId,
            count == 1 ? TLineupCheckText::tr("1 channel of %1 has no listings id").arg(s.name)
                       : TLineupCheckText::tr("%1 channels of %2 have no listings id")
                             .arg(count)
                             .arg(s.name),
            sourceWhere(s),
            TLineupCheckText::tr("Without its listings id (XMLTV ID) a channel gets no programme "
                                 "guide from %1, so nothing on it can be scheduled. Listings... "
                                 "in the source's editor fills them in.")
                .arg(grabber),
            s.id, std::nullopt,
            channelColumn(first, QStringLiteral("channel"), QStringLiteral("xmltvid")));
    }
}

void CheckStartChannels(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems)
{
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
                what = TLineupCheckText::tr("Start channel %1 does not exist").arg(*i.startchan);
            else if (c->sourceId != i.sourceId)
                what = TLineupCheckText::tr(
                           "Start channel \u201C%1\u201D is not a channel of source %2")
                           .arg(!blank(c->name) ? c->name : c->callsign, source);
        }
        if (!what.isEmpty())
            problems << atCard(Error, TRule::StartChannel, what, inputWhere(index, i),
                               TLineupCheckText::tr(
                                   "The card tunes to the input's start channel first: without "
                                   "one of the input's source it cannot start recording from it."),
                               *i.cardId, i.id, inputColumn(i.id, QStringLiteral("startchan")));
    }
}

void CheckDefaultInputs(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems)
{
    for (const auto& c : l.cards) {
        bool named = false;
        for (const TLineup::Input* i : index.inputsOfCard.value(c.id))
            named = named || (!blank(c.defaultInput) && i->name == c.defaultInput);
        if (named)
            continue;
        problems << atCard(
            Error, TRule::DefaultInput,
            blank(c.defaultInput)
                ? TLineupCheckText::tr("No default input")
                : TLineupCheckText::tr("Default input \u201C%1\u201D is none of the card's inputs")
                      .arg(c.defaultInput),
            cardWhere(c),
            TLineupCheckText::tr("The card starts on its default input: naming none of its "
                                 "inputs, it has nothing to record from."),
            c.id, std::nullopt, cardColumn(c.id, QStringLiteral("defaultinput")));
    }
}

void CheckCardsWithoutInputs(const TLineup& l, const TLineupIndex& index, QList<TProblem>& problems)
{
    for (const auto& c : l.cards)
        if (index.inputsOfCard.value(c.id).isEmpty())
            problems << atCard(
                Warning, TRule::CardWithoutInputs, TLineupCheckText::tr("No inputs"), cardWhere(c),
                TLineupCheckText::tr("A card without inputs receives no source: nothing is "
                                     "recorded with it. Add an input in its editor."),
                c.id, std::nullopt, cardColumn(c.id, QString()));
}

void CheckSharedDevices(const TLineup& l, const TLineupIndex& /*index*/, QList<TProblem>& problems)
{
    QHash<QPair<QString, QString>, QList<const TLineup::Card*>> byDevice;
    QList<QPair<QString, QString>> order;
    for (const auto& c : l.cards) {
        if (blank(c.device))
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
        problems << atCard(
            Error, TRule::SharedDevice,
            TLineupCheckText::tr("Device %1 is also that of card %2")
                .arg(key.second, others.join(QStringLiteral(", "))),
            cardWhere(first),
            TLineupCheckText::tr("Two cards on one host cannot open the same device: one of them "
                                 "fails to record."),
            first.id, std::nullopt, cardColumn(first.id, QStringLiteral("videodevice")));
    }
}
