#include "importwin.h"

#include "formhelpers.h"
#include "frequency.h"
#include "scanfile.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString shown(const std::optional<QString>& value)
{
    return value.value_or(QString());
}

} // namespace

/// A service's frequency as stored, with its reading in the units of its own delivery
/// system ("578500000 (578.5 MHz)").
QString TImportWin::frequency(const TScannedService& service) const
{
    const std::optional<QString> value = service.Value(QStringLiteral("freq"));
    TCardKind kind = TCardKind::None;
    for (TCardKind k : {TCardKind::DVBS, TCardKind::DVBT, TCardKind::DVBC})
        if (DeliverySystemsOf(k).contains(service.deliverySystem))
            kind = k;
    const QString reading = FrequencyText(kind, shown(value));
    return reading.isEmpty() ? shown(value) : QStringLiteral("%1 (%2)").arg(shown(value), reading);
}

namespace {

} // namespace

TImportWin::TImportWin(QList<TScannedService> services, QList<TChannelRow> channels,
                       TCardKind cardKind, TImportLimits limits, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)), m_channels(std::move(channels)),
      m_cardKind(cardKind), m_limits(std::move(limits))
{
    setObjectName(QStringLiteral("ImportWin"));
    setWindowTitle(tr("Import channels"));
    resize(760, 460);

    Table = Named(new QTableWidget(0, 5, this), QStringLiteral("ImportTable"));
    Table->setHorizontalHeaderLabels(
        {tr("Name"), tr("Frequency"), tr("PIDs"), tr("Service ID"), tr("What happens")});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setTabKeyNavigation(false);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->setAccessibleName(tr("Services of the file"));

    RadioCheck =
        Named(new QCheckBox(tr("Include &radio services"), this), QStringLiteral("RadioCheck"));
    RadioCheck->setChecked(true);
    RadioCheck->setToolTip(tr("Services without a video PID"));
    CountsLabel = Named(new QLabel(this), QStringLiteral("CountsLabel"));

    ImportButton = Named(new QPushButton(tr("&Import"), this), QStringLiteral("ImportButton"));
    CancelButton = Named(new QPushButton(tr("&Cancel"), this), QStringLiteral("CancelButton"));
    ImportButton->setDefault(true);
    connect(ImportButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(RadioCheck, &QCheckBox::toggled, this, &TImportWin::replan);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(RadioCheck);
    buttons->addStretch(1);
    buttons->addWidget(ImportButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Table, 1);
    layout->addWidget(CountsLabel);
    layout->addLayout(buttons);

    replan();
}

void TImportWin::replan()
{
    m_plan = PlanImport(m_services, m_channels, m_cardKind, RadioCheck->isChecked(), m_limits);
    Table->setRowCount(int(m_plan.rows.size()));
    for (int r = 0; r < m_plan.rows.size(); ++r) {
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
            what = tr("update: digital values replaced");
            break;
        case TImportAction::Skip:
            what = tr("skip: %1").arg(row.reason);
            break;
        }
        if (row.action != TImportAction::Skip && !row.service.outsideLists.isEmpty())
            what += tr(" (stored as AUTO: %1)")
                        .arg(row.service.outsideLists.join(QStringLiteral(", ")));
        const QStringList cells{row.action == TImportAction::Add ? row.name : row.service.name,
                                frequency(row.service),
                                shown(row.service.Value(QStringLiteral("pids"))),
                                QString::number(row.service.serviceId), what};
        for (int c = 0; c < cells.size(); ++c)
            Table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    Table->resizeColumnsToContents();
    CountsLabel->setText(tr("%1 to add, %2 to update, %3 to skip")
                             .arg(m_plan.adds)
                             .arg(m_plan.updates)
                             .arg(m_plan.skips));
    ImportButton->setEnabled(m_plan.adds + m_plan.updates > 0);
}
