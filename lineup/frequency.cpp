#include "frequency.h"

#include <QCoreApplication>
#include <optional>

namespace {

/// The texts of the reading, translated as the channel editor's.
struct TFrequencyText
{
    Q_DECLARE_TR_FUNCTIONS(TChannelWin)
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

bool InFrequencyBand(TCardKind kind, double f)
{
    switch (kind) {
    case TCardKind::DVBT:
    case TCardKind::DVBC:
        return f >= 47e6 && f <= 862e6;
    case TCardKind::DVBS:
        return (f >= 950e3 && f <= 2150e3) || (f >= 10.7e6 && f <= 12.75e6);
    default:
        return false;
    }
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
    const QString system = kind == TCardKind::DVBS   ? QStringLiteral("DVB-S")
                           : kind == TCardKind::DVBT ? QStringLiteral("DVB-T")
                                                     : QStringLiteral("DVB-C");
    return TFrequencyText::tr("%1, outside the %2 band").arg(text, system);
}
