#include "frequency.h"

#include <QCoreApplication>
#include <optional>

namespace {

/// The texts of frequencies and bands.
struct TFrequencyText
{
    Q_DECLARE_TR_FUNCTIONS(Frequency)
};

const TFrequencyBand Bands[] = {
    {TCardKind::DVBT,
     {{47e6, 862e6}},
     QT_TRANSLATE_NOOP("Frequency", "47 to 862 MHz (47000000 to 862000000 Hz)")},
    {TCardKind::DVBC,
     {{47e6, 862e6}},
     QT_TRANSLATE_NOOP("Frequency", "47 to 862 MHz (47000000 to 862000000 Hz)")},
    {TCardKind::DVBS,
     {{950e3, 2150e3}, {10.7e6, 12.75e6}},
     QT_TRANSLATE_NOOP("Frequency", "950 to 2150 MHz or 10.7 to 12.75 GHz (950000 to 2150000 "
                                    "or 10700000 to 12750000 kHz)")},
};

/// A number with at most three decimals (six below one, where a unit mistake lands),
/// none that are zero, no group separator.
QString number(double value, const QLocale& locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = plain.toString(value, 'f', value < 1 ? 6 : 3);
    const QString point = plain.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

std::optional<double> storedNumber(const QString& stored)
{
    bool ok = false;
    const QString t = stored.trimmed();
    double value = double(t.toLongLong(&ok));
    if (!ok)
        value = t.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

QString TFrequencyBand::Text() const
{
    return QCoreApplication::translate("Frequency", text);
}

bool TFrequencyBand::Holds(double f) const
{
    for (const auto& [low, high] : ranges)
        if (f >= low && f <= high)
            return true;
    return false;
}

const TFrequencyBand* FrequencyBandOf(TCardKind kind)
{
    for (const TFrequencyBand& band : Bands)
        if (band.kind == kind)
            return &band;
    return nullptr;
}

bool InFrequencyBand(TCardKind kind, double f)
{
    const TFrequencyBand* band = FrequencyBandOf(kind);
    return band && band->Holds(f);
}

QString FrequencyText(TCardKind kind, const QString& stored, const QLocale& locale)
{
    const std::optional<double> f = storedNumber(stored);
    if (!f || !IsDigital(kind))
        return {};
    if (kind == TCardKind::DVBS)
        return *f >= 10e6 ? QStringLiteral("%1 GHz").arg(number(*f / 1e6, locale))
                          : QStringLiteral("%1 MHz").arg(number(*f / 1e3, locale));
    return QStringLiteral("%1 MHz").arg(number(*f / 1e6, locale));
}

QString FrequencyReading(TCardKind kind, const QString& stored, const QLocale& locale)
{
    const QString text = FrequencyText(kind, stored, locale);
    if (text.isEmpty() || InFrequencyBand(kind, *storedNumber(stored)))
        return text;
    return TFrequencyText::tr("%1, outside the %2 band").arg(text, CardKindName(kind));
}
