#include "importplan.h"

#include <QCoreApplication>
#include <QSet>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PlanImport", text);
}

// Why a value of the service does not fit its column, or nothing.
QString tooWide(const TScannedService& s, const TImportLimits& limits)
{
    for (const auto& [column, value] : DigitalValues(s)) {
        const int width = limits.digitalWidths.value(column, 0);
        if (value && width > 0 && value->size() > width)
            return tr("%1 \"%2\" is longer than its column holds (%3 characters)")
                .arg(column, *value)
                .arg(width);
    }
    return QString();
}

} // namespace

TImportPlan PlanImport(const QList<TScannedService>& services,
                       const QList<TExistingChannel>& channels, TCardKind cardKind,
                       bool includeRadio, const TImportLimits& limits)
{
    const QList<quint32> systems = DeliverySystemsOf(cardKind);
    // New channels are numbered on after the highest number the source has.
    qlonglong number = 0;
    for (const TExistingChannel& c : channels) {
        bool numeric = false;
        const qlonglong n = c.channum.trimmed().toLongLong(&numeric);
        if (numeric)
            number = std::max(number, n);
    }

    TImportPlan plan;
    QSet<QString> listed;
    for (const TScannedService& service : services) {
        TImportRow row;
        row.service = service;
        const QString name = service.name.left(limits.name);
        if (!systems.contains(service.deliverySystem)) {
            row.reason = tr("a %1 service; this source receives %2")
                             .arg(DeliverySystemName(service.deliverySystem),
                                  systems.isEmpty() ? tr("no digital television")
                                                    : DeliverySystemName(systems.first()));
        } else if (service.radio && !includeRadio) {
            row.reason = tr("a radio service (not included)");
        } else if (service.name.isEmpty()) {
            row.reason = tr("the service has no name");
        } else if (listed.contains(name)) {
            row.reason = tr("the same name as a service listed above");
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
                row.channum = QString::number(++number);
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
