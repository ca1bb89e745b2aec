#include "renumberplan.h"

#include "channelnumber.h"

#include <QCoreApplication>
#include <QSet>
#include <optional>

namespace {

std::optional<qlonglong> wholeNumber(const QString& text)
{
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qlonglong>(n) : std::nullopt;
}

} // namespace

qlonglong FirstNumber(const QList<TChannelRow>& channels)
{
    std::optional<qlonglong> lowest;
    for (const TChannelRow& c : channels)
        if (const auto n = wholeNumber(c.channum); c.selected && n && *n >= 0)
            lowest = lowest ? std::min(*lowest, *n) : *n;
    return lowest.value_or(1);
}

TRenumberPlan PlanRenumber(const QList<TChannelRow>& channels, qlonglong first, qlonglong step,
                           int limit)
{
    TRenumberPlan plan;
    qlonglong n = first;
    for (const TChannelRow& c : channels) {
        if (!c.selected)
            continue;
        const QString number = QString::number(n);
        if (number.size() > limit && plan.refused.isEmpty())
            plan.refused = QCoreApplication::translate(
                               "RenumberPlan", "\u201C%1\u201D would be numbered %2, longer than "
                                               "the %3 characters a channel number holds.")
                               .arg(c.Label(), number)
                               .arg(limit);
        plan.numbers << number;
        n += step;
    }
    const auto count = plan.numbers.size();
    plan.summary = count == 1 ? QCoreApplication::translate("RenumberPlan", "1 channel: %1")
                                    .arg(plan.numbers.value(0))
                              : QCoreApplication::translate("RenumberPlan", "%1 channels: %2 to %3")
                                    .arg(count)
                                    .arg(plan.numbers.value(0), plan.numbers.value(count - 1));
    // Numbers as the recording system compares them.
    QSet<QString> taken;
    for (const QString& number : plan.numbers)
        taken.insert(number);
    for (const TChannelRow& c : channels) {
        if (c.selected)
            continue;
        if (taken.contains(ChannelNumberKey(c.channum)))
            plan.clashes << QStringLiteral("%1 (%2)").arg(c.Label(), c.channum.trimmed());
    }
    return plan;
}
