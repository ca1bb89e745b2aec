#include "listingsmodel.h"

#include <algorithm>
#include <numeric>

namespace {

bool emptyIcon(const QString& icon)
{
    return icon.trimmed().isEmpty() || icon.trimmed() == QLatin1String("none");
}

} // namespace

TListingsModel::TListingsModel(QList<Row> rows, QList<TListedChannel> listed,
                               TListingsLimits limits, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows)), m_listed(std::move(listed)),
      m_limits(limits)
{
    for (Row& r : m_rows) {
        r.picked = r.match.fit;
        r.ticked = r.match.state == TMatchState::Matched && Tickable(r);
    }
    m_sorted.resize(m_listed.size());
    std::iota(m_sorted.begin(), m_sorted.end(), 0);
    std::sort(m_sorted.begin(), m_sorted.end(), [this](int a, int b) {
        return Listed(a).compare(Listed(b), Qt::CaseInsensitive) < 0;
    });
}

int TListingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TListingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TListingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NumberColumn:
        return tr("No.");
    case NameColumn:
        return tr("Channel");
    case ListedColumn:
        return tr("Listings channel");
    case WhatColumn:
        return tr("What happens");
    default:
        return tr("Fill in");
    }
}

Qt::ItemFlags TListingsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ListedColumn)
        f |= Qt::ItemIsEditable;
    if (index.column() == TickColumn) {
        f |= Qt::ItemIsUserCheckable;
        if (!Tickable(m_rows[index.row()]))
            f &= ~Qt::ItemIsEnabled;
    }
    return f;
}

QVariant TListingsModel::data(const QModelIndex& index, int role) const
{
    const Row& r = m_rows[index.row()];
    if (role == Qt::CheckStateRole && index.column() == TickColumn)
        return r.ticked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole && index.column() == WhatColumn)
        return What(r);
    if (role == Qt::AccessibleTextRole && index.column() == TickColumn)
        return r.ticked ? tr("ticked") : tr("not ticked");
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case NumberColumn:
        return r.channel.channum;
    case NameColumn:
        return r.channel.name.isEmpty() ? r.channel.callsign : r.channel.name;
    case ListedColumn:
        return r.picked < 0 ? tr("(none)") : Listed(r.picked);
    case WhatColumn:
        return What(r);
    default:
        return {};
    }
}

bool TListingsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (index.column() == TickColumn && role == Qt::CheckStateRole) {
        SetTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
        return true;
    }
    if (index.column() == ListedColumn && role == Qt::EditRole) {
        Pick(index.row(), value.toInt());
        return true;
    }
    return false;
}

QString TListingsModel::Listed(int i) const
{
    const TListedChannel& l = m_listed[i];
    return QStringLiteral("%1 (%2)").arg(l.names.value(0, l.id), l.id);
}

void TListingsModel::Pick(int row, int listed)
{
    Row& r = m_rows[row];
    r.picked = listed < 0 || listed >= m_listed.size() ? -1 : listed;
    r.ticked = Tickable(r);
    rowChanged(row);
}

void TListingsModel::SetTicked(int row, bool ticked)
{
    Row& r = m_rows[row];
    r.ticked = ticked && Tickable(r);
    rowChanged(row);
}

void TListingsModel::SetFillIcons(bool fill)
{
    if (fill == m_fillIcons)
        return;
    m_fillIcons = fill;
    for (Row& r : m_rows)
        r.ticked = r.ticked && Tickable(r);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

bool TListingsModel::FillsIcon(const Row& r) const
{
    return m_fillIcons && r.picked >= 0 && emptyIcon(r.channel.icon) &&
           !m_listed[r.picked].icon.isEmpty();
}

bool TListingsModel::changes(const Row& r) const
{
    return r.picked >= 0 && (m_listed[r.picked].id != r.channel.xmltvid.trimmed() || FillsIcon(r));
}

std::optional<QString> TListingsModel::whyNot(const Row& r) const
{
    if (r.picked < 0)
        return std::nullopt;
    const TListedChannel& l = m_listed[r.picked];
    if (l.id.size() > m_limits.xmltvid)
        return tr("its id has %1 characters, the XMLTV ID holds %2")
            .arg(l.id.size())
            .arg(m_limits.xmltvid);
    if (FillsIcon(r) && l.icon.size() > m_limits.icon)
        return tr("its icon has %1 characters, the icon holds %2")
            .arg(l.icon.size())
            .arg(m_limits.icon);
    return std::nullopt;
}

bool TListingsModel::Tickable(const Row& r) const
{
    return changes(r) && !whyNot(r);
}

QString TListingsModel::What(const Row& r) const
{
    QString state;
    switch (r.match.state) {
    case TMatchState::Kept:
        state = tr("kept");
        break;
    case TMatchState::Matched:
        state = tr("matched");
        break;
    case TMatchState::Choose:
        state = tr("choose: %1 fit").arg(r.match.candidates.size());
        break;
    case TMatchState::Suggested:
        state = tr("suggested");
        break;
    case TMatchState::OtherId:
        state = tr("has another id (%1)").arg(r.channel.xmltvid.trimmed());
        break;
    case TMatchState::NoMatch:
        state = tr("no match");
        break;
    }
    if (r.picked != r.match.fit)
        state += tr(", picked");
    if (const auto reason = whyNot(r))
        return tr("%1: cannot be filled in, %2").arg(state, *reason);
    if (!r.ticked)
        return state;
    return FillsIcon(r) ? tr("%1: fills in the id and the icon").arg(state)
                        : tr("%1: fills in the id").arg(state);
}

void TListingsModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
