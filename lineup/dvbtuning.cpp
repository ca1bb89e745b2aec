#include "dvbtuning.h"

#include <QCoreApplication>
#include <libdvbv5/dvb-file.h>
#include <linux/dvb/frontend.h>

namespace {

const QList<std::pair<quint32, const char*>> CodeRates{
    {FEC_NONE, "NONE"}, {FEC_1_2, "1_2"}, {FEC_2_3, "2_3"}, {FEC_3_4, "3_4"}, {FEC_4_5, "4_5"},
    {FEC_5_6, "5_6"},   {FEC_6_7, "6_7"}, {FEC_7_8, "7_8"}, {FEC_8_9, "8_9"}, {FEC_AUTO, "AUTO"}};

} // namespace

const QList<TTuningColumn>& TuningColumns()
{
    static const QList<TTuningColumn> columns{
        {"freq", DTV_FREQUENCY, {}},
        {"pol", DTV_POLARIZATION, {{POLARIZATION_H, "H"}, {POLARIZATION_V, "V"}}},
        {"symbol_rate", DTV_SYMBOL_RATE, {}},
        {"inversion",
         DTV_INVERSION,
         {{INVERSION_AUTO, "AUTO"}, {INVERSION_ON, "1"}, {INVERSION_OFF, "0"}}},
        {"bandwidth",
         DTV_BANDWIDTH_HZ,
         {{0, "AUTO"}, {6000000, "6"}, {7000000, "7"}, {8000000, "8"}}},
        {"hp_code_rate", DTV_CODE_RATE_HP, CodeRates},
        {"lp_code_rate", DTV_CODE_RATE_LP, CodeRates},
        {"modulation",
         DTV_MODULATION,
         {{QAM_AUTO, "AUTO"},
          {QPSK, "QPSK"},
          {QAM_16, "QAM_16"},
          {QAM_32, "QAM_32"},
          {QAM_64, "QAM_64"},
          {QAM_128, "QAM_128"},
          {QAM_256, "QAM_256"}}},
        {"transmission_mode",
         DTV_TRANSMISSION_MODE,
         {{TRANSMISSION_MODE_AUTO, "AUTO"},
          {TRANSMISSION_MODE_2K, "2"},
          {TRANSMISSION_MODE_8K, "8"}}},
        {"guard_interval",
         DTV_GUARD_INTERVAL,
         {{GUARD_INTERVAL_AUTO, "AUTO"},
          {GUARD_INTERVAL_1_4, "1_4"},
          {GUARD_INTERVAL_1_8, "1_8"},
          {GUARD_INTERVAL_1_16, "1_16"},
          {GUARD_INTERVAL_1_32, "1_32"}}},
        {"hierarchy",
         DTV_HIERARCHY,
         {{HIERARCHY_AUTO, "AUTO"},
          {HIERARCHY_NONE, "NONE"},
          {HIERARCHY_1, "1"},
          {HIERARCHY_2, "2"},
          {HIERARCHY_4, "4"}}}};
    return columns;
}

const TTuningColumn& TuningColumn(const char* column)
{
    for (const TTuningColumn& c : TuningColumns())
        if (qstrcmp(c.column, column) == 0)
            return c;
    return TuningColumns().first();
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

namespace {

/// The panes' captions: the channel editor's words.
struct TPaneText
{
    Q_DECLARE_TR_FUNCTIONS(TChannelWin)
};

} // namespace

QList<TPaneColumn> PaneColumnsOf(TCardKind kind)
{
    // The captions are the pane's own (the channel editor's words).
    if (!IsDigital(kind))
        return {};
    QList<TPaneColumn> columns{{QStringLiteral("pids"), TPaneText::tr("PIDs")},
                               {QStringLiteral("listingid"), TPaneText::tr("Listing ID")},
                               {QStringLiteral("freq"), TPaneText::tr("Frequency")}};
    if (kind == TCardKind::DVBS)
        columns << TPaneColumn{QStringLiteral("pol"), TPaneText::tr("Polarization")}
                << TPaneColumn{QStringLiteral("symbol_rate"), TPaneText::tr("Symbol Rate")}
                << TPaneColumn{QStringLiteral("tone"), TPaneText::tr("Tone")}
                << TPaneColumn{QStringLiteral("diseqc"), TPaneText::tr("DiSeqC")};
    if (kind == TCardKind::DVBT)
        columns << TPaneColumn{QStringLiteral("inversion"), TPaneText::tr("Inversion")}
                << TPaneColumn{QStringLiteral("bandwidth"), TPaneText::tr("Bandwidth")}
                << TPaneColumn{QStringLiteral("hp_code_rate"), TPaneText::tr("HP Code Rate")}
                << TPaneColumn{QStringLiteral("lp_code_rate"), TPaneText::tr("LP Code Rate")}
                << TPaneColumn{QStringLiteral("modulation"), TPaneText::tr("Modulation")}
                << TPaneColumn{QStringLiteral("transmission_mode"),
                               TPaneText::tr("Transmission Rate")}
                << TPaneColumn{QStringLiteral("guard_interval"), TPaneText::tr("Guard Interval")}
                << TPaneColumn{QStringLiteral("hierarchy"), TPaneText::tr("Hierarchy")};
    return columns;
}
