#pragma once

#include "cardkind.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <utility>

/// The band a card kind receives, in the unit its frequencies are stored in (Hz on the
/// ground and cable, kHz from a satellite): one or two ranges, and how people read it.
struct TFrequencyBand
{
    TCardKind kind;
    QList<std::pair<double, double>> ranges;
    const char* text; // in English; Text() translates it

    QString Text() const;
    bool Holds(double stored) const;
};

/// The band of `kind`; null for a kind without DVB tuning.
const TFrequencyBand* FrequencyBandOf(TCardKind kind);

/// Whether a stored frequency lies in the band a card kind receives: 47 to 862 MHz on
/// the ground and on cable (stored in Hz), 950 to 2150 MHz or 10.7 to 12.75 GHz from a
/// satellite (stored in kHz). Kinds without DVB tuning have no band: false.
bool InFrequencyBand(TCardKind kind, double stored);

/// A stored frequency as people read it, in `locale`'s number format: "578.5 MHz" for
/// 578500000 on DVB-T or DVB-C, "11.836 GHz" for 11836000 on DVB-S. Empty for a value
/// that is no number, or for a kind without DVB tuning.
QString FrequencyText(TCardKind kind, const QString& stored, const QLocale& locale = QLocale());

/// The same, with "outside the DVB-T band" (the kind's) when it is outside it: what
/// stands beside a frequency field as it is typed.
QString FrequencyReading(TCardKind kind, const QString& stored, const QLocale& locale = QLocale());
