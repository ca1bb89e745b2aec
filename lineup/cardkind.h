#pragma once

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
inline TCardKind CardKindOf(const QString& cardtype, const QString& dvbType)
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
