#include "lineupcheck.h"

#include "connection.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("TLineupCheck", text);
}

QString textOf(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

std::optional<int> intOf(const QVariant& v)
{
    bool ok = false;
    const int n = v.toInt(&ok);
    return v.isNull() || !ok ? std::nullopt : std::optional<int>(n);
}

/// Every row `sql` returns, each made by `make` from the query standing on it.
template <typename Row, typename Make>
QList<Row> readAll(TSQLConnection& connection, const QString& sql, Make make)
{
    QList<Row> rows;
    QSqlQuery& query = connection.Execute(sql);
    while (query.next())
        rows << make(query);
    return rows;
}

bool blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

/// What the check knows of the rows: sources, channels and cards by id, and how each
/// source is received.
struct TLineupIndex
{
    QHash<int, const TLineup::Source*> sources;
    QHash<int, const TLineup::Channel*> channels;
    QHash<int, const TLineup::Digital*> digital; // by chanid
    QHash<int, const TLineup::Card*> cards;
    QHash<int, QList<const TLineup::Input*>> inputsOfCard;
    QHash<int, QList<const TLineup::Card*>> cardsOfSource; // in the inputs' order

    explicit TLineupIndex(const TLineup& l)
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

    /// The first DVB card that receives the source, if one does.
    const TLineup::Card* dvbCardOf(int source) const
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

private:
    mutable std::optional<int> m_lastSource;
    mutable const TLineup::Card* m_lastCard = nullptr;
};

const TLineupIndex& TLineup::Index() const
{
    if (!m_index)
        m_index = std::make_shared<const TLineupIndex>(*this);
    return *m_index;
}

namespace {

using TIndex = TLineupIndex;

QString sourceWhere(const TLineup::Source& s)
{
    return tr("source \u201C%1\u201D (%2)").arg(s.name).arg(s.id);
}

QString channelWhere(const TIndex& index, const TLineup::Channel& c)
{
    const QString name = !blank(c.name) ? c.name : !blank(c.callsign) ? c.callsign : tr("no name");
    const QString number = blank(c.channum) ? tr("id %1").arg(c.id) : c.channum.trimmed();
    const TLineup::Source* s = c.sourceId ? index.sources.value(*c.sourceId) : nullptr;
    const QString channel = tr("channel \u201C%1\u201D (%2)").arg(name, number);
    return s ? sourceWhere(*s) + QStringLiteral(", ") + channel : channel;
}

QString cardWhere(const TLineup::Card& c)
{
    QStringList what;
    if (!blank(c.type))
        what << c.type;
    if (!blank(c.host))
        what << tr("on %1").arg(c.host);
    return what.isEmpty() ? tr("card %1").arg(c.id)
                          : tr("card %1 (%2)").arg(c.id).arg(what.join(QLatin1Char(' ')));
}

QString inputWhere(const TIndex& index, const TLineup::Input& i)
{
    const TLineup::Card* card = i.cardId ? index.cards.value(*i.cardId) : nullptr;
    const QString input = tr("input \u201C%1\u201D (%2)").arg(i.name).arg(i.id);
    return card ? cardWhere(*card) + QStringLiteral(", ") + input : input;
}

TProblem atSource(TProblem::Severity severity, int rule, const QString& what, const QString& where,
                  const QString& why, int source, std::optional<int> channel = std::nullopt,
                  const QString& field = {})
{
    TProblem p;
    p.severity = severity;
    p.rule = rule;
    p.what = what;
    p.where = where;
    p.why = why;
    p.target = TProblem::Target::Source;
    p.sourceId = source;
    p.chanId = channel;
    p.field = field;
    return p;
}

TProblem atCard(TProblem::Severity severity, int rule, const QString& what, const QString& where,
                const QString& why, int card, std::optional<int> input = std::nullopt,
                const QString& field = {})
{
    TProblem p = atSource(severity, rule, what, where, why, 0, std::nullopt, field);
    p.target = TProblem::Target::Card;
    p.cardId = card;
    p.inputId = input;
    return p;
}

constexpr auto Error = TProblem::Severity::Error;
constexpr auto Warning = TProblem::Severity::Warning;

} // namespace

TLineup ReadLineup(TSQLConnection& connection)
{
    TLineup l;
    l.sources = readAll<TLineup::Source>(
        connection, QStringLiteral("SELECT sourceid, name, xmltvgrabber FROM videosource"),
        [](const QSqlQuery& q) {
            return TLineup::Source{q.value(0).toInt(), textOf(q.value(1)), textOf(q.value(2))};
        });
    l.channels = readAll<TLineup::Channel>(
        connection,
        QStringLiteral("SELECT chanid, sourceid, channum, callsign, name, xmltvid FROM channel"),
        [](const QSqlQuery& q) {
            return TLineup::Channel{q.value(0).toInt(), intOf(q.value(1)),  textOf(q.value(2)),
                                    textOf(q.value(3)), textOf(q.value(4)), textOf(q.value(5))};
        });
    l.digital = readAll<TLineup::Digital>(
        connection, QStringLiteral("SELECT chanid, freq, pids FROM channel_dvb"),
        [](const QSqlQuery& q) {
            return TLineup::Digital{q.value(0).toInt(), textOf(q.value(1)), textOf(q.value(2))};
        });
    l.cards = readAll<TLineup::Card>(
        connection,
        QStringLiteral("SELECT cardid, cardtype, hostname, videodevice, dvb_type, defaultinput "
                       "FROM capturecard"),
        [](const QSqlQuery& q) {
            return TLineup::Card{q.value(0).toInt(), textOf(q.value(1)), textOf(q.value(2)),
                                 textOf(q.value(3)), textOf(q.value(4)), textOf(q.value(5))};
        });
    l.inputs = readAll<TLineup::Input>(
        connection,
        QStringLiteral("SELECT cardinputid, cardid, sourceid, inputname, startchan FROM cardinput"),
        [](const QSqlQuery& q) {
            bool ok = false;
            const qlonglong start = q.value(4).toLongLong(&ok);
            return TLineup::Input{
                q.value(0).toInt(), intOf(q.value(1)), intOf(q.value(2)), textOf(q.value(3)),
                q.value(4).isNull() || !ok ? std::nullopt : std::optional<qlonglong>(start)};
        });
    return l;
}

// --- the rules ------------------------------------------------------------------------

void CheckUnusedSources(const TLineup& l, QList<TProblem>& problems)
{
    QSet<int> used;
    for (const auto& i : l.inputs)
        if (i.sourceId)
            used.insert(*i.sourceId);
    for (const auto& s : l.sources)
        if (!used.contains(s.id))
            problems << atSource(Warning, 1, tr("No card input uses this source"), sourceWhere(s),
                                 tr("None of its channels can ever be recorded: no card "
                                    "receives them. Choose it as the channel source of an "
                                    "input in the card editor."),
                                 s.id, std::nullopt, QStringLiteral("SourceNameEdit"));
}

void CheckMissingTuning(const TLineup& l, QList<TProblem>& problems)
{
    const TIndex& index = l.Index();
    for (const auto& c : l.channels) {
        if (!c.sourceId || !index.dvbCardOf(*c.sourceId))
            continue;
        const TLineup::Digital* d = index.digital.value(c.id);
        QString what;
        QString field = QStringLiteral("FrequencyEdit");
        if (!d)
            what = tr("No DVB tuning values");
        else if (blank(d->freq) && blank(d->pids))
            what = tr("No frequency and no PIDs");
        else if (blank(d->freq))
            what = tr("No frequency");
        else if (blank(d->pids)) {
            what = tr("No PIDs");
            field = QStringLiteral("PIDsEdit");
        }
        if (!what.isEmpty())
            problems << atSource(Error, 2, what, channelWhere(index, c),
                                 tr("A DVB card cannot tune a channel without its frequency, nor "
                                    "record it without its PIDs."),
                                 *c.sourceId, c.id, field);
    }
}

void CheckFrequencies(const TLineup& l, QList<TProblem>& problems)
{
    const TIndex& index = l.Index();
    for (const auto& c : l.channels) {
        const TLineup::Card* card = c.sourceId ? index.dvbCardOf(*c.sourceId) : nullptr;
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
        QString band;
        bool plausible = false;
        // In the units a scan's import writes: Hz on the ground and cable, kHz from a
        // satellite.
        if (card->dvbType == QLatin1String("T") || card->dvbType == QLatin1String("C")) {
            band = tr("47 to 862 MHz (47000000 to 862000000 Hz)");
            plausible = f >= 47e6 && f <= 862e6;
        } else if (card->dvbType == QLatin1String("S")) {
            band = tr("950 to 2150 MHz or 10.7 to 12.75 GHz (950000 to 2150000 or 10700000 to "
                      "12750000 kHz)");
            plausible = (f >= 950e3 && f <= 2150e3) || (f >= 10.7e6 && f <= 12.75e6);
        } else {
            continue; // no delivery system to judge by
        }
        if (number && plausible)
            continue;
        const QString system = QStringLiteral("DVB-%1").arg(card->dvbType);
        problems << atSource(
            Warning, 3,
            number ? tr("Frequency %1 is outside %2 for %3").arg(d->freq.trimmed(), band, system)
                   : tr("Frequency \u201C%1\u201D is not a number").arg(d->freq),
            channelWhere(index, c),
            tr("A frequency outside the band is most likely a typing or unit "
               "mistake: tuning to it fails."),
            *c.sourceId, c.id, QStringLiteral("FrequencyEdit"));
    }
}

void CheckOrphanedTuning(const TLineup& l, QList<TProblem>& problems)
{
    const TIndex& index = l.Index();
    for (const auto& d : l.digital) {
        if (index.channels.contains(d.chanid))
            continue;
        TProblem p;
        p.severity = Warning;
        p.rule = 4;
        p.what = tr("DVB tuning values of a channel that no longer exists");
        p.where = tr("channel id %1 (no such channel: this row cannot be opened)").arg(d.chanid);
        p.why = tr("Left behind by an older tool: it belongs to no channel. Deleting the source "
                   "it belonged to, or the database row, removes it.");
        problems << p;
    }
}

void CheckChannelNumbers(const TLineup& l, QList<TProblem>& problems)
{
    const TIndex& index = l.Index();
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
        problems << atSource(Warning, 5,
                             tr("Number %1 is also the number of %2")
                                 .arg(c.channum.trimmed(), others.join(QStringLiteral(", "))),
                             channelWhere(index, c),
                             tr("A channel is chosen by its number: of channels with the same "
                                "number, only one can be reached by it."),
                             *c.sourceId, c.id, QStringLiteral("ChannumEdit"));
    }
}

void CheckListingIds(const TLineup& l, QList<TProblem>& problems)
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
            Warning, 6,
            count == 1 ? tr("1 channel of %1 has no listings id").arg(s.name)
                       : tr("%1 channels of %2 have no listings id").arg(count).arg(s.name),
            sourceWhere(s),
            tr("Without its listings id (XMLTV ID) a channel gets no programme "
               "guide from %1, so nothing on it can be scheduled. Listings... "
               "in the source's editor fills them in.")
                .arg(grabber),
            s.id, first, QStringLiteral("XMLTVIDEdit"));
    }
}

void CheckStartChannels(const TLineup& l, QList<TProblem>& problems)
{
    const TIndex& index = l.Index();
    for (const auto& i : l.inputs) {
        if (!i.sourceId || *i.sourceId == 0 || !i.cardId)
            continue; // fed by no source: nothing to start on
        QString what;
        if (!i.startchan || *i.startchan == 0) {
            what = tr("No start channel");
        } else {
            const TLineup::Channel* c = index.channels.value(int(*i.startchan));
            const TLineup::Source* s = index.sources.value(*i.sourceId);
            const QString source = s ? QStringLiteral("\u201C%1\u201D").arg(s->name)
                                     : tr("%1 (which does not exist)").arg(*i.sourceId);
            if (!c)
                what = tr("Start channel %1 does not exist").arg(*i.startchan);
            else if (c->sourceId != i.sourceId)
                what = tr("Start channel \u201C%1\u201D is not a channel of source %2")
                           .arg(!blank(c->name) ? c->name : c->callsign, source);
        }
        if (!what.isEmpty())
            problems << atCard(Error, 7, what, inputWhere(index, i),
                               tr("The card tunes to the input's start channel first: without "
                                  "one of the input's source it cannot start recording from it."),
                               *i.cardId, i.id, QStringLiteral("DBLookupComboBox1"));
    }
}

void CheckDefaultInputs(const TLineup& l, QList<TProblem>& problems)
{
    const TIndex& index = l.Index();
    for (const auto& c : l.cards) {
        bool named = false;
        for (const TLineup::Input* i : index.inputsOfCard.value(c.id))
            named = named || (!blank(c.defaultInput) && i->name == c.defaultInput);
        if (named)
            continue;
        problems << atCard(Error, 8,
                           blank(c.defaultInput)
                               ? tr("No default input")
                               : tr("Default input \u201C%1\u201D is none of the card's inputs")
                                     .arg(c.defaultInput),
                           cardWhere(c),
                           tr("The card starts on its default input: naming none of its "
                              "inputs, it has nothing to record from."),
                           c.id, std::nullopt, QStringLiteral("DBLookupComboBox3"));
    }
}

void CheckCardsWithoutInputs(const TLineup& l, QList<TProblem>& problems)
{
    const TIndex& index = l.Index();
    for (const auto& c : l.cards)
        if (index.inputsOfCard.value(c.id).isEmpty())
            problems << atCard(Warning, 9, tr("No inputs"), cardWhere(c),
                               tr("A card without inputs receives no source: nothing is "
                                  "recorded with it. Add an input in its editor."),
                               c.id);
}

void CheckSharedDevices(const TLineup& l, QList<TProblem>& problems)
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
        problems << atCard(Error, 10,
                           tr("Device %1 is also that of card %2")
                               .arg(key.second, others.join(QStringLiteral(", "))),
                           cardWhere(first),
                           tr("Two cards on one host cannot open the same device: one of them "
                              "fails to record."),
                           first.id, std::nullopt,
                           first.type == QLatin1String("DVB") ? QStringLiteral("DBComboBox3")
                                                              : QStringLiteral("DBComboBox5"));
    }
}

QList<TProblem> CheckLineup(const TLineup& lineup)
{
    QList<TProblem> problems;
    for (auto rule : {CheckUnusedSources, CheckMissingTuning, CheckFrequencies, CheckOrphanedTuning,
                      CheckChannelNumbers, CheckListingIds, CheckStartChannels, CheckDefaultInputs,
                      CheckCardsWithoutInputs, CheckSharedDevices})
        rule(lineup, problems);
    std::stable_sort(problems.begin(), problems.end(), [](const TProblem& a, const TProblem& b) {
        return a.severity == TProblem::Severity::Error && b.severity != TProblem::Severity::Error;
    });
    return problems;
}
