#include "dvbtuning.h"

#include <QCoreApplication>
#include <libdvbv5/dvb-file.h>
#include <linux/dvb/frontend.h>

namespace {

using K = TCardKind;
const QList<K> AllDigital{K::DVBS, K::DVBT, K::DVBC};

const QList<std::pair<quint32, const char*>> CodeRates{
    {FEC_AUTO, "AUTO"}, {FEC_NONE, "NONE"}, {FEC_1_2, "1_2"}, {FEC_2_3, "2_3"}, {FEC_3_4, "3_4"},
    {FEC_4_5, "4_5"},   {FEC_5_6, "5_6"},   {FEC_6_7, "6_7"}, {FEC_7_8, "7_8"}, {FEC_8_9, "8_9"}};

constexpr auto Property = TTuningSource::Property;

} // namespace

const QList<TTuningColumn>& TuningColumns()
{
    // One line a column. The captions are translated in the context "TuningColumns".
    static const QList<TTuningColumn> columns{
        {"pids",
         TTuningSource::Pids,
         0,
         {},
         QT_TRANSLATE_NOOP("TuningColumns", "PIDs"),
         QT_TRANSLATE_NOOP("TuningColumns", "Comma-separated list, no spaces"),
         "PIDsEdit",
         0,
         AllDigital},
        {"listingid",
         TTuningSource::None,
         0,
         {},
         QT_TRANSLATE_NOOP("TuningColumns", "Listing ID"),
         nullptr,
         "ListingIDEdit",
         8,
         AllDigital},
        {"freq",
         Property,
         DTV_FREQUENCY,
         {},
         QT_TRANSLATE_NOOP("TuningColumns", "Frequency"),
         nullptr,
         "FrequencyEdit",
         11,
         AllDigital},
        {"pol",
         Property,
         DTV_POLARIZATION,
         {{POLARIZATION_H, "H"}, {POLARIZATION_V, "V"}},
         QT_TRANSLATE_NOOP("TuningColumns", "Polarization"),
         nullptr,
         "PolarizationCombo",
         0,
         {K::DVBS}},
        {"symbol_rate",
         Property,
         DTV_SYMBOL_RATE,
         {},
         QT_TRANSLATE_NOOP("TuningColumns", "Symbol Rate"),
         nullptr,
         "SymbolRateEdit",
         8,
         {K::DVBS}},
        {"tone",
         TTuningSource::None,
         0,
         {},
         QT_TRANSLATE_NOOP("TuningColumns", "Tone"),
         nullptr,
         "ToneEdit",
         8,
         {K::DVBS}},
        {"diseqc",
         TTuningSource::None,
         0,
         {},
         QT_TRANSLATE_NOOP("TuningColumns", "DiSeqC"),
         nullptr,
         "DiSEqCEdit",
         8,
         {K::DVBS}},
        {"inversion",
         Property,
         DTV_INVERSION,
         {{INVERSION_AUTO, "AUTO"}, {INVERSION_ON, "1"}, {INVERSION_OFF, "0"}},
         QT_TRANSLATE_NOOP("TuningColumns", "Inversion"),
         nullptr,
         "InversionCombo",
         0,
         {K::DVBT}},
        {"bandwidth",
         Property,
         DTV_BANDWIDTH_HZ,
         {{0, "AUTO"}, {6000000, "6"}, {7000000, "7"}, {8000000, "8"}},
         QT_TRANSLATE_NOOP("TuningColumns", "Bandwidth"),
         nullptr,
         "BandwidthCombo",
         0,
         {K::DVBT}},
        {"hp_code_rate",
         Property,
         DTV_CODE_RATE_HP,
         CodeRates,
         QT_TRANSLATE_NOOP("TuningColumns", "HP Code Rate"),
         nullptr,
         "HPCodeRateCombo",
         0,
         {K::DVBT}},
        {"lp_code_rate",
         Property,
         DTV_CODE_RATE_LP,
         CodeRates,
         QT_TRANSLATE_NOOP("TuningColumns", "LP Code Rate"),
         nullptr,
         "LPCodeRateCombo",
         0,
         {K::DVBT}},
        {"modulation",
         Property,
         DTV_MODULATION,
         {{QAM_AUTO, "AUTO"},
          {QPSK, "QPSK"},
          {QAM_16, "QAM_16"},
          {QAM_32, "QAM_32"},
          {QAM_64, "QAM_64"},
          {QAM_128, "QAM_128"},
          {QAM_256, "QAM_256"}},
         QT_TRANSLATE_NOOP("TuningColumns", "Modulation"),
         nullptr,
         "ModulationCombo",
         0,
         {K::DVBT}},
        {"transmission_mode",
         Property,
         DTV_TRANSMISSION_MODE,
         {{TRANSMISSION_MODE_AUTO, "AUTO"},
          {TRANSMISSION_MODE_2K, "2"},
          {TRANSMISSION_MODE_8K, "8"}},
         QT_TRANSLATE_NOOP("TuningColumns", "Transmission Rate"),
         nullptr,
         "TransmissionModeCombo",
         0,
         {K::DVBT}},
        {"guard_interval",
         Property,
         DTV_GUARD_INTERVAL,
         {{GUARD_INTERVAL_AUTO, "AUTO"},
          {GUARD_INTERVAL_1_4, "1_4"},
          {GUARD_INTERVAL_1_8, "1_8"},
          {GUARD_INTERVAL_1_16, "1_16"},
          {GUARD_INTERVAL_1_32, "1_32"}},
         QT_TRANSLATE_NOOP("TuningColumns", "Guard Interval"),
         nullptr,
         "GuardIntervalCombo",
         0,
         {K::DVBT}},
        {"hierarchy",
         Property,
         DTV_HIERARCHY,
         {{HIERARCHY_AUTO, "AUTO"},
          {HIERARCHY_NONE, "NONE"},
          {HIERARCHY_1, "1"},
          {HIERARCHY_2, "2"},
          {HIERARCHY_4, "4"}},
         QT_TRANSLATE_NOOP("TuningColumns", "Hierarchy"),
         nullptr,
         "HierarchyCombo",
         0,
         {K::DVBT}},
    };
    return columns;
}

QString TTuningColumn::Caption() const
{
    return QCoreApplication::translate("TuningColumns", caption);
}

QString TTuningColumn::Note() const
{
    return note ? QCoreApplication::translate("TuningColumns", note) : QString();
}

QStringList TTuningColumn::Values() const
{
    QStringList values;
    for (const auto& [value, text] : entries)
        values << QLatin1String(text);
    return values;
}

bool TTuningColumn::Common() const
{
    for (TCardKind kind : AllDigital)
        if (!ShownFor(kind))
            return false;
    return true;
}

const TTuningColumn* FindTuningColumn(const QString& column)
{
    for (const TTuningColumn& c : TuningColumns())
        if (column == QLatin1String(c.column))
            return &c;
    return nullptr;
}

std::optional<QString> ColumnText(const TTuningColumn& column, quint32 value)
{
    if (column.entries.isEmpty())
        return QString::number(value);
    for (const auto& [v, text] : column.entries)
        if (v == value)
            return QString::fromLatin1(text);
    return std::nullopt;
}

std::optional<quint32> PropertyValue(const TTuningColumn& column, const QString& text)
{
    const QString t = text.trimmed();
    if (column.entries.isEmpty()) {
        bool ok = false;
        const quint32 n = t.toUInt(&ok);
        return ok ? std::optional<quint32>(n) : std::nullopt;
    }
    for (const auto& [v, entry] : column.entries)
        if (t.compare(QLatin1String(entry), Qt::CaseInsensitive) == 0)
            return v;
    return std::nullopt;
}

QList<const TTuningColumn*> PaneColumnsOf(TCardKind kind)
{
    QList<const TTuningColumn*> columns;
    for (const TTuningColumn& c : TuningColumns())
        if (c.ShownFor(kind))
            columns << &c;
    return columns;
}
