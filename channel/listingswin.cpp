#include "listingswin.h"

#include "formhelpers.h"
#include "listingsmodel.h"
#include "pickdelegate.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QTableView>

namespace {

QList<TListingsModel::Row> rowsOf(const QList<TChannelRow>& channels,
                                  const QList<TListedChannel>& listed)
{
    const QList<TChannelMatch> matches = MatchListings(channels, listed);
    QList<TListingsModel::Row> rows;
    rows.reserve(channels.size());
    for (int i = 0; i < channels.size(); ++i)
        rows << TListingsModel::Row{channels[i], matches[i], -1, false};
    return rows;
}

} // namespace

TListingsWin::TListingsWin(QList<TChannelRow> channels, QList<TListedChannel> listed,
                           TListingsLimits limits, QWidget* parent)
    : TReviewWin(tr("Match listings"), QStringLiteral("ListingsWin"),
                 QStringLiteral("ListingsTable"),
                 new TListingsModel(rowsOf(channels, listed), listed, limits, nullptr),
                 TListingsModel::WhatColumn, TListingsModel::TickColumn, parent),
      m_model(static_cast<TListingsModel*>(Table->model()))
{
    m_model->setParent(this);
    // The listings channel of a row is picked from a list: "(none)", the candidates when
    // several fit, then every listed channel by name and id.
    Table->setItemDelegateForColumn(
        TListingsModel::ListedColumn,
        new TPickDelegate(
            QStringLiteral("ListedCombo"), QObject::tr("(none)"),
            [this] { return m_model->SortedListed(); },
            [this](int l) { return m_model->Listed(l); },
            [this](int r) {
                const TListingsModel::Row& row = m_model->At(r);
                return TPickDelegate::TRowChoice{row.picked, false, row.match.candidates};
            },
            Table));
    PickWithEnter(TListingsModel::ListedColumn);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    Table->setAccessibleName(tr("Channels and their listings"));
    Table->setToolTip(tr("Space ticks or unticks a row; F2 or Enter picks its listings channel"));
    Table->setColumnWidth(TListingsModel::NumberColumn, 50);
    Table->setColumnWidth(TListingsModel::NameColumn, 180);
    Table->setColumnWidth(TListingsModel::ListedColumn, 260);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TListingsWin::updateCounts);

    FillIconsCheck =
        Named(new QCheckBox(tr("Fill empty &icons"), this), QStringLiteral("FillIconsCheck"));
    FillIconsCheck->setChecked(true);
    FillIconsCheck->setToolTip(
        tr("Ticked channels without an icon get the listings channel's icon; an icon already "
           "set is never replaced"));
    connect(FillIconsCheck, &QCheckBox::toggled, m_model, &TListingsModel::SetFillIcons);
    Buttons()->insertWidget(0, FillIconsCheck);
    if (m_model->rowCount() > 0)
        Table->setCurrentIndex(m_model->index(0, TListingsModel::ListedColumn));
    Table->setFocus();
    updateCounts();
}

TListingsWin::~TListingsWin() = default;

void TListingsWin::Pick(int row, int listed)
{
    m_model->Pick(row, listed);
}

void TListingsWin::SetTicked(int row, bool ticked)
{
    m_model->SetTicked(row, ticked);
}

bool TListingsWin::Ticked(int row) const
{
    return m_model->At(row).ticked;
}

QString TListingsWin::WhatHappens(int row) const
{
    return m_model->What(m_model->At(row));
}

void TListingsWin::updateCounts()
{
    int counts[6] = {};
    int ticked = 0;
    for (const TListingsModel::Row& r : m_model->Rows()) {
        ++counts[int(r.match.state)];
        ticked += r.ticked ? 1 : 0;
    }
    QString text = tr("%1 matched, %2 suggested, %3 to choose, %4 without a match, %5 kept")
                       .arg(counts[int(TMatchState::Matched)])
                       .arg(counts[int(TMatchState::Suggested)])
                       .arg(counts[int(TMatchState::Choose)])
                       .arg(counts[int(TMatchState::NoMatch)])
                       .arg(counts[int(TMatchState::Kept)]);
    if (const int other = counts[int(TMatchState::OtherId)]; other > 0)
        text += tr(", %1 with another id").arg(other);
    ShowCounts(text, ticked);
}

QList<TListingsChange> TListingsWin::Changes() const
{
    QList<TListingsChange> changes;
    const QList<TListingsModel::Row>& rows = m_model->Rows();
    for (int i = 0; i < rows.size(); ++i) {
        const TListingsModel::Row& r = rows[i];
        if (!r.ticked)
            continue;
        const TListedChannel& l = m_model->ListedChannels()[r.picked];
        TListingsChange change{i, l.id, std::nullopt};
        if (m_model->FillsIcon(r))
            change.icon = l.icon;
        changes << change;
    }
    return changes;
}
