#include "importplan.h"

#include "channelnumber.h"

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

} // namespace

TImportPlan PlanImport(const QList<TScannedService>& services, const QList<TChannelRow>& channels,
                       TCardKind cardKind, bool includeRadio, const TImportLimits& limits)
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
    QSet<QString> listed;
    for (const TScannedService& service : services) {
        TImportRow row;
        row.service = service;
        const QString name = service.name.left(limits.name);
        if (!systems.contains(service.deliverySystem)) {
            row.reason = TPlanImportText::tr("a %1 service; this source receives %2")
                             .arg(DeliverySystemName(service.deliverySystem),
                                  systems.isEmpty() ? TPlanImportText::tr("no digital television")
                                                    : DeliverySystemName(systems.first()));
        } else if (service.radio && !includeRadio) {
            row.reason = TPlanImportText::tr("a radio service (not included)");
        } else if (service.name.isEmpty()) {
            row.reason = TPlanImportText::tr("the service has no name");
        } else if (listed.contains(name)) {
            row.reason = TPlanImportText::tr("the same name as a service listed above");
        } else if (const QString wide = tooWide(service, limits); !wide.isEmpty()) {
            row.reason = wide;
        } else {
            listed.insert(name);
            for (int i = 0; i < channels.size() && row.existing < 0; ++i)
                if (channels[i].name == name || channels[i].name == service.name)
                    row.existing = i;
            if (row.existing >= 0) {
                row.action = TImportAction::Update;
            } else {
                row.action = TImportAction::Add;
                row.callsign = service.name.left(limits.callsign);
                row.name = name;
                const QString wanted = service.vchannel.trimmed();
                if (wanted.size() > limits.channum)
                    row.numberNote =
                        TPlanImportText::tr("the file's number %1 is longer than a channel "
                                            "number holds")
                            .arg(wanted);
                else if (!wanted.isEmpty() && taken.contains(ChannelNumberKey(wanted)))
                    row.numberNote =
                        TPlanImportText::tr("the file's number %1 is taken").arg(wanted);
                row.channum = wanted.isEmpty() || !row.numberNote.isEmpty()
                                  ? QString::number(++number)
                                  : wanted;
                taken.insert(ChannelNumberKey(row.channum));
            }
        }
        switch (row.action) {
        case TImportAction::Add:
            ++plan.adds;
            break;
        case TImportAction::Update:
            ++plan.updates;
            break;
        case TImportAction::Skip:
            ++plan.skips;
            break;
        }
        plan.rows << row;
    }
    return plan;
}
