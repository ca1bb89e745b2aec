#include "importplan.h"

#include "channelnumber.h"
#include "frequency.h"
#include "importmatch.h"

#include <QCoreApplication>
#include <QSet>

namespace {

/// The texts of this file, translated as PlanImport's.
struct TPlanImportText
{
    Q_DECLARE_TR_FUNCTIONS(PlanImport)
};

// Why a value of the service does not fit its column, or nothing.
QString tooWide(const TScannedService& s, const TImportLimits& limits)
{
    for (const auto& [column, value] : DigitalValues(s)) {
        const int width = limits.digitalWidths.value(column, 0);
        if (value && width > 0 && value->size() > width)
            return TPlanImportText::tr("%1 \"%2\" is longer than its column holds (%3 characters)")
                .arg(column, *value)
                .arg(width);
    }
    return QString();
}

/// A tuning column as a list of changes names it ("frequency 522 MHz -> 498 MHz").
QString changeName(const QString& column)
{
    static const QHash<QString, const char*> names{
        {QStringLiteral("freq"), QT_TRANSLATE_NOOP("PlanImport", "frequency")},
        {QStringLiteral("pids"), QT_TRANSLATE_NOOP("PlanImport", "PIDs")},
        {QStringLiteral("pol"), QT_TRANSLATE_NOOP("PlanImport", "polarization")},
        {QStringLiteral("symbol_rate"), QT_TRANSLATE_NOOP("PlanImport", "symbol rate")},
        {QStringLiteral("inversion"), QT_TRANSLATE_NOOP("PlanImport", "inversion")},
        {QStringLiteral("bandwidth"), QT_TRANSLATE_NOOP("PlanImport", "bandwidth")},
        {QStringLiteral("hp_code_rate"), QT_TRANSLATE_NOOP("PlanImport", "code rate HP")},
        {QStringLiteral("lp_code_rate"), QT_TRANSLATE_NOOP("PlanImport", "code rate LP")},
        {QStringLiteral("modulation"), QT_TRANSLATE_NOOP("PlanImport", "modulation")},
        {QStringLiteral("transmission_mode"), QT_TRANSLATE_NOOP("PlanImport", "transmission mode")},
        {QStringLiteral("guard_interval"), QT_TRANSLATE_NOOP("PlanImport", "guard interval")},
        {QStringLiteral("hierarchy"), QT_TRANSLATE_NOOP("PlanImport", "hierarchy")}};
    const char* name = names.value(column);
    return name ? TPlanImportText::tr(name) : column;
}

/// What changes in a matched channel's tuning values when the service's replace them.
void tuningChanges(TImportRow& row, const TChannelRow& channel, TCardKind kind)
{
    if (channel.tuning.isEmpty()) {
        row.newTuning = true;
        return;
    }
    const auto shown = [kind](const QString& column, const std::optional<QString>& value) {
        if (!value)
            return TPlanImportText::tr("none");
        if (column == QLatin1String("freq"))
            if (const QString reading = FrequencyText(kind, *value); !reading.isEmpty())
                return reading;
        return *value;
    };
    for (const auto& [column, value] : DigitalValues(row.service)) {
        const std::optional<QString> now = channel.tuning.value(column);
        if (now != value)
            row.changes << QStringLiteral("%1 %2 -> %3")
                               .arg(changeName(column), shown(column, now), shown(column, value));
    }
}

} // namespace

bool TImportRow::Tickable() const
{
    switch (action) {
    case TImportAction::Add:
    case TImportAction::Update:
    case TImportAction::Vanished:
        return true;
    case TImportAction::Renamed:
        return !changes.isEmpty() || newTuning || !name.isEmpty();
    case TImportAction::Unchanged:
    case TImportAction::Choose:
    case TImportAction::Skip:
        break;
    }
    return false;
}

bool TImportRow::TickedFirst() const
{
    return Tickable() && action != TImportAction::Vanished;
}

TImportPlan PlanImport(const QList<TScannedService>& services, const QList<TChannelRow>& channels,
                       TCardKind cardKind, const TImportChoices& choices,
                       const TImportLimits& limits)
{
    const QList<quint32> systems = DeliverySystemsOf(cardKind);
    // A new channel takes the number the file gives it, when it is free; the others are
    // numbered on after the highest number the source or the file has.
    qlonglong number = 0;
    QSet<QString> taken;
    const auto highest = [&number](const QString& channum) {
        bool numeric = false;
        const qlonglong n = channum.trimmed().toLongLong(&numeric);
        if (numeric)
            number = std::max(number, n);
    };
    for (const TChannelRow& c : channels) {
        highest(c.channum);
        if (!c.channum.trimmed().isEmpty())
            taken.insert(ChannelNumberKey(c.channum));
    }
    for (const TScannedService& s : services)
        if (s.vchannel.size() <= limits.channum)
            highest(s.vchannel);

    TImportPlan plan;
    plan.rows.reserve(services.size());
    // Services left out for the radio or a value too wide are still matched: their
    // channels are in the file, not vanished from it.
    QList<int> matched;
    QSet<QString> listed;
    bool receivable = false;
    for (int i = 0; i < services.size(); ++i) {
        const TScannedService& service = services[i];
        TImportRow row;
        row.serviceIndex = i;
        row.service = service;
        const QString name = service.name.left(limits.name);
        if (!systems.contains(service.deliverySystem)) {
            row.reason = TPlanImportText::tr("a %1 service; this source receives %2")
                             .arg(DeliverySystemName(service.deliverySystem),
                                  systems.isEmpty() ? TPlanImportText::tr("no digital television")
                                                    : DeliverySystemName(systems.first()));
        } else {
            receivable = true;
            if (service.name.isEmpty()) {
                row.reason = TPlanImportText::tr("the service has no name");
            } else if (listed.contains(name)) {
                row.reason = TPlanImportText::tr("the same name as a service listed above");
            } else {
                listed.insert(name);
                matched << i;
                if (service.radio && !choices.includeRadio)
                    row.reason = TPlanImportText::tr("a radio service (not included)");
                else if (const QString wide = tooWide(service, limits); !wide.isEmpty())
                    row.reason = wide;
            }
        }
        plan.rows << row;
    }

    const QHash<int, TServiceMatch> matches =
        MatchServices(services, matched, channels, choices.picks, limits.name);
    QList<bool> found(channels.size(), false);
    for (TImportRow& row : plan.rows) {
        const auto m = matches.constFind(row.serviceIndex);
        if (m == matches.constEnd())
            continue;
        if (m->channel >= 0)
            found[m->channel] = true;
        if (!row.reason.isEmpty())
            continue;
        const TScannedService& service = row.service;
        if (m->channel >= 0) {
            const TChannelRow& channel = channels[m->channel];
            row.existing = m->channel;
            tuningChanges(row, channel, cardKind);
            const QString name = service.name.left(limits.name);
            if (!m->sameName && channel.name != name && channel.name != service.name) {
                row.action = TImportAction::Renamed;
                if (choices.takeFileNames)
                    row.name = name;
            } else {
                row.action = row.changes.isEmpty() && !row.newTuning ? TImportAction::Unchanged
                                                                     : TImportAction::Update;
            }
            continue;
        }
        if (!m->candidates.isEmpty()) {
            row.action = TImportAction::Choose;
            row.candidates = m->candidates;
            continue;
        }
        row.action = TImportAction::Add;
        row.callsign = service.name.left(limits.callsign);
        row.name = service.name.left(limits.name);
        const QString wanted = service.vchannel.trimmed();
        if (wanted.size() > limits.channum)
            row.numberNote =
                TPlanImportText::tr("the file's number %1 is longer than a channel number holds")
                    .arg(wanted);
        else if (!wanted.isEmpty() && taken.contains(ChannelNumberKey(wanted)))
            row.numberNote = TPlanImportText::tr("the file's number %1 is taken").arg(wanted);
        row.channum =
            wanted.isEmpty() || !row.numberNote.isEmpty() ? QString::number(++number) : wanted;
        taken.insert(ChannelNumberKey(row.channum));
    }

    // The channels no service matched, in their order; none for a file the source
    // cannot receive anything of.
    for (int c = 0; receivable && c < channels.size(); ++c)
        if (!found[c]) {
            TImportRow row;
            row.action = TImportAction::Vanished;
            row.existing = c;
            plan.rows << row;
        }

    for (const TImportRow& row : plan.rows) {
        int* counts[] = {&plan.adds,   &plan.updates, &plan.unchanged, &plan.renamed,
                         &plan.choose, &plan.skips,   &plan.vanished};
        ++*counts[int(row.action)];
    }
    return plan;
}
