#include "problemplace.h"

bool Blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

QString SourceWhere(const TLineup::Source& s)
{
    return TLineupCheckText::tr("source \u201C%1\u201D (%2)").arg(s.name).arg(s.id);
}

QString ChannelWhere(const TLineupIndex& index, const TLineup::Channel& c)
{
    const QString name = !Blank(c.name)       ? c.name
                         : !Blank(c.callsign) ? c.callsign
                                              : TLineupCheckText::tr("no name");
    const QString number =
        Blank(c.channum) ? TLineupCheckText::tr("id %1").arg(c.id) : c.channum.trimmed();
    const TLineup::Source* s = c.sourceId ? index.sources.value(*c.sourceId) : nullptr;
    const QString channel = TLineupCheckText::tr("channel \u201C%1\u201D (%2)").arg(name, number);
    return s ? SourceWhere(*s) + QStringLiteral(", ") + channel : channel;
}

QString CardWhere(const TLineup::Card& c)
{
    QStringList what;
    if (!Blank(c.type))
        what << c.type;
    if (!Blank(c.host))
        what << TLineupCheckText::tr("on %1").arg(c.host);
    return what.isEmpty()
               ? TLineupCheckText::tr("card %1").arg(c.id)
               : TLineupCheckText::tr("card %1 (%2)").arg(c.id).arg(what.join(QLatin1Char(' ')));
}

QString InputWhere(const TLineupIndex& index, const TLineup::Input& i)
{
    const TLineup::Card* card = i.cardId ? index.cards.value(*i.cardId) : nullptr;
    const QString input = TLineupCheckText::tr("input \u201C%1\u201D (%2)").arg(i.name).arg(i.id);
    return card ? CardWhere(*card) + QStringLiteral(", ") + input : input;
}

// The records a problem leads to, and the column in question.
TRecordRef SourceColumn(int source, const QString& column)
{
    return {QStringLiteral("videosource"), QStringLiteral("sourceid"), source,
            QStringLiteral("videosource"), column};
}

TRecordRef ChannelColumn(int channel, const QString& table, const QString& column)
{
    return {QStringLiteral("channel"), QStringLiteral("chanid"), channel, table, column};
}

TRecordRef CardColumn(int card, const QString& column)
{
    return {QStringLiteral("capturecard"), QStringLiteral("cardid"), card,
            QStringLiteral("capturecard"), column};
}

TRecordRef InputColumn(int input, const QString& column)
{
    return {QStringLiteral("cardinput"), QStringLiteral("cardinputid"), input,
            QStringLiteral("cardinput"), column};
}

TProblem Unplaced(const QString& what, const QString& where, const QString& why)
{
    TProblem p;
    p.what = what;
    p.where = where;
    p.why = why;
    return p;
}

namespace {

TProblem problem(const QString& what, const QString& where, const QString& why, TRecordRef record)
{
    TProblem p;
    p.what = what;
    p.where = where;
    p.why = why;
    p.record = std::move(record);
    return p;
}

} // namespace

TProblem AtSource(const QString& what, const QString& where, const QString& why, int source,
                  std::optional<int> channel, TRecordRef record)
{
    TProblem p = problem(what, where, why, std::move(record));
    p.sourceId = source;
    p.chanId = channel;
    return p;
}

TProblem AtCard(const QString& what, const QString& where, const QString& why, int card,
                std::optional<int> input, TRecordRef record)
{
    TProblem p = problem(what, where, why, std::move(record));
    p.cardId = card;
    p.inputId = input;
    return p;
}
