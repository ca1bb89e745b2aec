#pragma once

#include <QtGlobal>

/// Card kinds of a source, from the card that receives it (the numbers are the ones
/// the tuning panes and the import are known by).
enum class TCardKind : quint8 { V4L = 0, MPEG = 1, DVBS = 2, DVBT = 3, DVBC = 4, None = 5 };

/// A kind whose channels are tuned digitally (DVB-S, DVB-T, DVB-C).
inline bool IsDigital(TCardKind kind)
{
    return kind == TCardKind::DVBS || kind == TCardKind::DVBT || kind == TCardKind::DVBC;
}
