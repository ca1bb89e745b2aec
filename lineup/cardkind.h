#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

/// Card kinds of a source, from the card that receives it (the numbers are the ones
/// the tuning panes and the import are known by).
enum class TCardKind : quint8 { V4L = 0, MPEG = 1, DVBS = 2, DVBT = 3, DVBC = 4, None = 5 };

/// A kind whose channels are tuned digitally (DVB-S, DVB-T, DVB-C).
inline bool IsDigital(TCardKind kind)
{
    return kind == TCardKind::DVBS || kind == TCardKind::DVBT || kind == TCardKind::DVBC;
}

/// The kind of a card from its `cardtype` and `dvb_type` columns.
TCardKind CardKindOf(const QString& cardtype, const QString& dvbType);

/// "DVB-T", "DVB-S", "DVB-C", or "analogue" (translated) for V4L and MPEG cards; empty
/// for None.
QString CardKindName(TCardKind kind);

/// A card whose input names a source.
struct TReceivingCard
{
    int id = 0;
    TCardKind kind = TCardKind::None;
};

/// The kind a source is edited, exported and checked as, from the cards whose inputs
/// name it: the first DVB card's (the lowest card id), else the first card's; None when
/// no card of a known kind receives it.
TCardKind SourceCardKind(const QList<TReceivingCard>& cards);

/// The kinds of those cards, V4L and MPEG counted as one (analogue), in the order of
/// their lowest card ids: more than one when cards of different kinds receive it.
QList<TCardKind> ReceivingKinds(const QList<TReceivingCard>& cards);
