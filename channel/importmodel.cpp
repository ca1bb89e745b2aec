#include "importmodel.h"

#include "frequency.h"

namespace {

QString shown(const std::optional<QString>& value)
{
    return value.value_or(QString());
}

} // namespace

TImportModel::TImportModel(QList<TScannedService> services, QList<TChannelRow> channels,
                           TCardKind kind, TImportLimits limits, QObject* parent)
    : QAbstractTableModel(parent), m_services(std::move(services)), m_channels(std::move(channels)),
      m_kind(kind), m_limits(std::move(limits))
{
    replan();
}

int TImportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_plan.rows.size());
}

int TImportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TImportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ServiceColumn:
        return tr("Service");
    case ChannelColumn:
        return tr("Channel");
    case FrequencyColumn:
        return tr("Frequency");
    case PidsColumn:
        return tr("PIDs");
    case WhatColumn:
        return tr("What happens");
    default:
        return tr("Import");
    }
}

Qt::ItemFlags TImportModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const TImportRow& row = m_plan.rows[index.row()];
    if (index.column() == ChannelColumn && row.serviceIndex >= 0 && row.reason.isEmpty())
        f |= Qt::ItemIsEditable;
    if (index.column() == TickColumn) {
        f |= Qt::ItemIsUserCheckable;
        if (!row.Tickable())
            f &= ~Qt::ItemIsEnabled;
    }
    return f;
}

QVariant TImportModel::data(const QModelIndex& index, int role) const
{
    const TImportRow& row = m_plan.rows[index.row()];
    const bool ticked = m_ticked[index.row()];
    if (role == Qt::CheckStateRole && index.column() == TickColumn)
        return ticked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole && index.column() == WhatColumn)
        return What(index.row());
    if (role == Qt::ToolTipRole && index.column() == FrequencyColumn)
        return frequency(row).second; // as stored
    if (role == Qt::AccessibleTextRole && index.column() == TickColumn)
        return ticked ? tr("ticked") : tr("not ticked");
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const bool vanished = row.action == TImportAction::Vanished;
    const TChannelRow* channel = row.existing >= 0 ? &m_channels[row.existing] : nullptr;
    switch (index.column()) {
    case ServiceColumn:
        return vanished ? QString() : row.service.name;
    case ChannelColumn:
        if (channel)
            return ChannelText(row.existing);
        if (row.action == TImportAction::Add)
            return tr("(a new channel)");
        return row.action == TImportAction::Choose ? tr("(choose)") : QString();
    case FrequencyColumn: {
        const auto [kind, stored] = frequency(row);
        const QString reading = FrequencyText(kind, stored);
        return reading.isEmpty() ? stored : reading;
    }
    case PidsColumn:
        return vanished ? shown(channel->tuning.value(QStringLiteral("pids")))
                        : shown(row.service.Value(QStringLiteral("pids")));
    case WhatColumn:
        return What(index.row());
    default:
        return {};
    }
}

bool TImportModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (index.column() == TickColumn && role == Qt::CheckStateRole) {
        SetTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
        return true;
    }
    if (index.column() == ChannelColumn && role == Qt::EditRole) {
        Pick(index.row(), value.toInt());
        return true;
    }
    return false;
}

QString TImportModel::ChannelText(int channel) const
{
    const TChannelRow& c = m_channels[channel];
    return c.channum.isEmpty() ? c.Label() : QStringLiteral("%1 %2").arg(c.channum, c.Label());
}

std::pair<TCardKind, QString> TImportModel::frequency(const TImportRow& row) const
{
    if (row.action == TImportAction::Vanished)
        return {m_kind, shown(m_channels[row.existing].tuning.value(QStringLiteral("freq")))};
    // In the units of the service's own delivery system (a satellite's in a cable file).
    TCardKind kind = TCardKind::None;
    for (TCardKind k : {TCardKind::DVBS, TCardKind::DVBT, TCardKind::DVBC})
        if (DeliverySystemsOf(k).contains(row.service.deliverySystem))
            kind = k;
    return {kind, shown(row.service.Value(QStringLiteral("freq")))};
}

QString TImportModel::changesText(const TImportRow& row) const
{
    if (row.newTuning)
        return tr("tuning values set from the file");
    return row.changes.join(QStringLiteral(", "));
}

QString TImportModel::What(int r) const
{
    const TImportRow& row = m_plan.rows[r];
    QString what;
    switch (row.action) {
    case TImportAction::Add:
        what = row.numberNote.isEmpty()
                   ? tr("add as channel %1").arg(row.channum)
                   : tr("add as channel %1 (%2)").arg(row.channum, row.numberNote);
        if (row.name != row.service.name)
            what += tr(", named \u201C%1\u201D").arg(row.name);
        break;
    case TImportAction::Update:
        what = tr("update: %1").arg(changesText(row));
        break;
    case TImportAction::Unchanged:
        what = tr("unchanged");
        break;
    case TImportAction::Renamed: {
        what = tr("renamed in the file: %1 -> %2")
                   .arg(m_channels[row.existing].name, row.service.name);
        if (const QString changes = changesText(row); !changes.isEmpty())
            what += QStringLiteral("; ") + changes;
        if (!row.name.isEmpty())
            what += tr("; takes the file's name");
        break;
    }
    case TImportAction::Choose:
        what = tr("choose: %1 channels fit (F2 or Enter)").arg(row.candidates.size());
        break;
    case TImportAction::Skip:
        what = tr("skip: %1").arg(row.reason);
        break;
    case TImportAction::Vanished:
        what = m_channels[row.existing].tuning.isEmpty() ? tr("not in the file (no tuning values)")
                                                         : tr("not in the file");
        if (m_ticked[r])
            what += tr(": deleted with its tuning values");
        return what;
    }
    if (row.action != TImportAction::Skip && !row.service.outsideLists.isEmpty())
        what +=
            tr(" (stored as AUTO: %1)").arg(row.service.outsideLists.join(QStringLiteral(", ")));
    return what;
}

int TImportModel::TickedCount(TImportAction action) const
{
    int n = 0;
    for (qsizetype r = 0; r < m_plan.rows.size(); ++r)
        n += m_ticked[r] && m_plan.rows[r].action == action ? 1 : 0;
    return n;
}

void TImportModel::SetIncludeRadio(bool include)
{
    m_choices.includeRadio = include;
    replan();
}

void TImportModel::SetTakeFileNames(bool take)
{
    m_choices.takeFileNames = take;
    replan();
}

void TImportModel::Pick(int row, int channel)
{
    const TImportRow& r = m_plan.rows.value(row);
    if (r.serviceIndex < 0 || !r.reason.isEmpty())
        return;
    m_choices.picks.insert(r.serviceIndex,
                           channel >= 0 && channel < m_channels.size() ? channel : -1);
    m_serviceTicks.remove(r.serviceIndex); // what the row now does starts as it would
    replan();
}

void TImportModel::SetTicked(int row, bool ticked)
{
    const TImportRow& r = m_plan.rows[row];
    if (!r.Tickable())
        ticked = false;
    if (r.serviceIndex >= 0)
        m_serviceTicks.insert(r.serviceIndex, ticked);
    else
        m_channelTicks.insert(r.existing, ticked);
    m_ticked[row] = ticked;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void TImportModel::TickAllVanished()
{
    for (qsizetype r = 0; r < m_plan.rows.size(); ++r)
        if (m_plan.rows[r].action == TImportAction::Vanished) {
            m_channelTicks.insert(m_plan.rows[r].existing, true);
            m_ticked[r] = true;
        }
    if (!m_plan.rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void TImportModel::replan()
{
    beginResetModel();
    m_plan = PlanImport(m_services, m_channels, m_kind, m_choices, m_limits);
    m_ticked.resize(m_plan.rows.size());
    for (qsizetype r = 0; r < m_plan.rows.size(); ++r) {
        const TImportRow& row = m_plan.rows[r];
        const auto& ticks = row.serviceIndex >= 0 ? m_serviceTicks : m_channelTicks;
        const int key = row.serviceIndex >= 0 ? row.serviceIndex : row.existing;
        m_ticked[r] = row.Tickable() && ticks.value(key, row.TickedFirst());
    }
    endResetModel();
}
