#include "importwin.h"

#include "formhelpers.h"
#include "importmodel.h"
#include "pickdelegate.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <numeric>

TImportWin::TImportWin(QList<TScannedService> services, QList<TChannelRow> channels,
                       TCardKind cardKind, TImportLimits limits, QWidget* parent)
    : TReviewWin(tr("Import channels"), QStringLiteral("ImportWin"), QStringLiteral("ImportTable"),
                 new TImportModel(std::move(services), std::move(channels), cardKind,
                                  std::move(limits), nullptr),
                 TImportModel::WhatColumn, TImportModel::TickColumn, parent),
      m_model(static_cast<TImportModel*>(Table->model()))
{
    m_model->setParent(this);
    // The channel a service updates is picked from a list: a new channel, the channels
    // that fit equally when several do, then every channel of the source in its order.
    Table->setItemDelegateForColumn(
        TImportModel::ChannelColumn,
        new TPickDelegate(
            QStringLiteral("ChannelCombo"), TImportModel::tr("(a new channel)"),
            [this] {
                QList<int> all(m_model->Channels().size());
                std::iota(all.begin(), all.end(), 0);
                return all;
            },
            [this](int c) { return m_model->ChannelText(c); },
            [this](int r) {
                const TImportRow& row = m_model->Plan().rows[r];
                return TPickDelegate::TRowChoice{row.existing, row.action == TImportAction::Choose,
                                                 row.candidates};
            },
            Table));
    PickWithEnter(TImportModel::ChannelColumn);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    Table->setAccessibleName(tr("Services of the file and channels of the source"));
    Table->setToolTip(
        tr("Space ticks or unticks a row; F2 or Enter picks the channel a service updates"));
    // What happens says the most: it takes the room the others leave.
    resize(980, 540);
    Table->setColumnWidth(TImportModel::ServiceColumn, 160);
    Table->setColumnWidth(TImportModel::ChannelColumn, 160);
    Table->setColumnWidth(TImportModel::FrequencyColumn, 100);
    Table->setColumnWidth(TImportModel::PidsColumn, 100);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TImportWin::updateCounts);
    // Planned again, the rows keep their places (services first, in the file's order):
    // the cursor stays where it was.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_current = Table->currentIndex(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_current.isValid() && m_current.row() < m_model->rowCount())
            Table->setCurrentIndex(m_model->index(m_current.row(), m_current.column()));
        updateCounts();
    });

    ImportButton = ApplyButton;
    ImportButton->setText(tr("&Import"));
    ImportButton->setObjectName(QStringLiteral("ImportButton"));
    RadioCheck =
        Named(new QCheckBox(tr("Include &radio services"), this), QStringLiteral("RadioCheck"));
    RadioCheck->setChecked(true);
    RadioCheck->setToolTip(tr("Services without a video PID"));
    connect(RadioCheck, &QCheckBox::toggled, m_model, &TImportModel::SetIncludeRadio);
    TakeNamesCheck =
        Named(new QCheckBox(tr("Take the file's &names"), this), QStringLiteral("TakeNamesCheck"));
    TakeNamesCheck->setToolTip(
        tr("A channel renamed in the file takes the file's name as its long name; its short "
           "name, number, XMLTV ID and icon are kept either way"));
    connect(TakeNamesCheck, &QCheckBox::toggled, m_model, &TImportModel::SetTakeFileNames);
    TickVanishedButton = Named(new QPushButton(tr("&Tick all not in the file"), this),
                               QStringLiteral("TickVanishedButton"));
    TickVanishedButton->setToolTip(
        tr("Ticks every channel of the source that no service of the file matched: Import "
           "deletes them with their tuning values"));
    connect(TickVanishedButton, &QPushButton::clicked, m_model, &TImportModel::TickAllVanished);
    Buttons()->insertWidget(0, RadioCheck);
    Buttons()->insertWidget(1, TakeNamesCheck);
    Buttons()->insertWidget(2, TickVanishedButton);
    // Tab goes along the row of buttons as it is laid out.
    const QList<QWidget*> order{Table,        RadioCheck,  TakeNamesCheck, TickVanishedButton,
                                ImportButton, CancelButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    if (m_model->rowCount() > 0)
        Table->setCurrentIndex(m_model->index(0, TImportModel::ChannelColumn));
    Table->setFocus();
    updateCounts();
}

TImportWin::~TImportWin() = default;

const TImportPlan& TImportWin::Plan() const
{
    return m_model->Plan();
}

QList<TImportRow> TImportWin::Chosen() const
{
    QList<TImportRow> chosen;
    const QList<TImportRow>& rows = m_model->Plan().rows;
    for (int r = 0; r < rows.size(); ++r)
        if (m_model->Ticked(r))
            chosen << rows[r];
    return chosen;
}

void TImportWin::Pick(int row, int channel)
{
    m_model->Pick(row, channel);
}

void TImportWin::SetTicked(int row, bool ticked)
{
    m_model->SetTicked(row, ticked);
}

bool TImportWin::Ticked(int row) const
{
    return m_model->Ticked(row);
}

QString TImportWin::WhatHappens(int row) const
{
    return m_model->What(row);
}

void TImportWin::updateCounts()
{
    const TImportPlan& plan = m_model->Plan();
    QString text = tr("%1 to add, %2 to update, %3 renamed, %4 unchanged, %5 not in the file "
                      "(%6 to delete)")
                       .arg(plan.adds)
                       .arg(plan.updates)
                       .arg(plan.renamed)
                       .arg(plan.unchanged)
                       .arg(plan.vanished)
                       .arg(m_model->TickedCount(TImportAction::Vanished));
    if (plan.choose > 0)
        text += tr(", %1 to choose").arg(plan.choose);
    if (plan.skips > 0)
        text += tr(", %1 to skip").arg(plan.skips);
    CountsLabel->setText(text);
    CountsLabel->setWordWrap(true);
    TickVanishedButton->setEnabled(plan.vanished > 0);
    bool any = false;
    for (int r = 0; r < plan.rows.size() && !any; ++r)
        any = m_model->Ticked(r);
    ImportButton->setEnabled(any);
}
