#include "cardkind.h"

#include <QCoreApplication>
#include <algorithm>

TCardKind CardKindOf(const QString& cardtype, const QString& dvbType)
{
    if (cardtype == QLatin1String("V4L"))
        return TCardKind::V4L;
    if (cardtype == QLatin1String("MPEG"))
        return TCardKind::MPEG;
    if (cardtype == QLatin1String("DVB")) {
        if (dvbType == QLatin1String("S"))
            return TCardKind::DVBS;
        if (dvbType == QLatin1String("T"))
            return TCardKind::DVBT;
        if (dvbType == QLatin1String("C"))
            return TCardKind::DVBC;
    }
    return TCardKind::None;
}

QString CardKindName(TCardKind kind)
{
    switch (kind) {
    case TCardKind::DVBS:
        return QStringLiteral("DVB-S");
    case TCardKind::DVBT:
        return QStringLiteral("DVB-T");
    case TCardKind::DVBC:
        return QStringLiteral("DVB-C");
    case TCardKind::V4L:
    case TCardKind::MPEG:
        return QCoreApplication::translate("CardKind", "analogue");
    case TCardKind::None:
        break;
    }
    return QString();
}

namespace {

QList<TReceivingCard> byId(QList<TReceivingCard> cards)
{
    std::stable_sort(cards.begin(), cards.end(),
                     [](const TReceivingCard& a, const TReceivingCard& b) { return a.id < b.id; });
    return cards;
}

} // namespace

TCardKind SourceCardKind(const QList<TReceivingCard>& cards)
{
    TCardKind first = TCardKind::None;
    for (const TReceivingCard& card : byId(cards)) {
        if (IsDigital(card.kind))
            return card.kind;
        if (first == TCardKind::None)
            first = card.kind;
    }
    return first;
}

QList<TCardKind> ReceivingKinds(const QList<TReceivingCard>& cards)
{
    QList<TCardKind> kinds;
    for (const TReceivingCard& card : byId(cards)) {
        if (card.kind == TCardKind::None)
            continue;
        const TCardKind kind = IsDigital(card.kind) ? card.kind : TCardKind::V4L;
        if (!kinds.contains(kind))
            kinds << kind;
    }
    return kinds;
}
