// The channel editor's import: the services of a scan's channel file added as new
// channels, or as new digital values of the channels of the same name.
#include "channelwin.h"

#include "channelrows.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "importwin.h"
#include "sqlmodule.h"

#include <QFileDialog>
#include <QScopeGuard>
#include <algorithm>

std::function<QString(QWidget*)> TChannelWin::ChooseFile;

QString TChannelWin::chooseFile(const QString& title, const QString& filter)
{
    return ChooseFile ? ChooseFile(this)
                      : QFileDialog::getOpenFileName(this, title, QString(), filter);
}

void TChannelWin::ImportActionExecute()
{
    if (!isDigital())
        return;
    const auto rows = startTool(TToolRows::All);
    if (!rows)
        return;
    const QString path = chooseFile(tr("Import channels"),
                                    tr("Channel files (*.conf *.zap *.channel);;All files (*)"));
    if (path.isEmpty())
        return;
    const QList<TScannedService> services = ReadChannelFile(path, FCardKind);
    const QList<quint32> systems = DeliverySystemsOf(FCardKind);
    if (std::none_of(services.begin(), services.end(),
                     [&](const TScannedService& s) { return systems.contains(s.deliverySystem); }))
        throw EKorvaneError(tr("The channel file \"%1\" holds no %2 service for this source.")
                                .arg(path, DeliverySystemName(systems.first())));

    // The source's channels as they stand, pending row settled; the widths of the
    // digital columns from the digital set (open, on no row, when the source has no
    // channel yet).
    const QList<TChannelRow> channels = ReadChannelRows(*ChannelDataSet, *rows);
    if (!DVBDataSet->Active()) {
        DVBDataSet->SetKeyFilter(QStringLiteral("chanid"), -1);
        DVBDataSet->SetActive(true);
    }
    TImportLimits limits;
    limits.callsign = ColumnWidth(*ChannelDataSet, QStringLiteral("callsign"), NameLimit);
    limits.name = ColumnWidth(*ChannelDataSet, QStringLiteral("name"), NameLimit);
    for (const auto& [column, value] : DigitalValues(TScannedService{}))
        limits.digitalWidths.insert(column, ColumnWidth(*DVBDataSet, column));
    TImportWin preview(services, channels, FCardKind, limits, this);
    if (preview.exec() != QDialog::Accepted)
        return;
    const TImportPlan& plan = preview.Plan();
    applyTool(tr("Import %1 channels").arg(plan.adds + plan.updates), [&] { applyImport(plan); });
}

void TChannelWin::applyImport(const TImportPlan& plan)
{
    // Row by row as typing would: a new channel or the one to update, then its digital
    // row, posted together as unsaved changes. The lists and fields show the outcome
    // once, not every row on the way.
    const TControlsDisabled quiet{ChannelDataSet, DVBDataSet};
    // The new channels' ids asked for at once (one question instead of thousands).
    if (plan.adds > 0)
        FNextReservedId = SQLModule->GetNewIDs(QStringLiteral("channel"), QStringLiteral("chanid"),
                                               {QStringLiteral("channel_dvb")}, plan.adds);
    FReservedIds = plan.adds;
    const auto reserved = qScopeGuard([this] { FReservedIds = 0; });
    for (const TImportRow& row : plan.rows) {
        if (row.action == TImportAction::Skip)
            continue;
        if (row.action == TImportAction::Add) {
            ChannelDataSet->Append();
            ChannelDataSet->SetFieldValue(QStringLiteral("callsign"), row.callsign);
            ChannelDataSet->SetFieldValue(QStringLiteral("name"), row.name);
            ChannelDataSet->SetFieldValue(QStringLiteral("channum"), row.channum);
        } else {
            ChannelDataSet->MoveTo(row.existing);
            ChannelDataSet->Edit();
        }
        if (!DVBDataSet->IsEditing())
            DVBDataSet->IsEmpty() ? DVBDataSet->Append() : DVBDataSet->Edit();
        for (const auto& [column, value] : DigitalValues(row.service))
            DVBDataSet->SetFieldValue(column, value ? QVariant(*value) : QVariant());
        ChannelDataSet->MarkModified();
        ChannelDataSet->Post(); // posts the digital row with it
    }
}
