// The channel editor's import: the services of a scan's channel file added as new
// channels or as new tuning values of the channels they match, and the channels no
// longer in the file deleted when the user ticks them.
#include "channelwin.h"

#include "channelrows.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "importwin.h"
#include "sqlmodule.h"

#include <QFileDialog>
#include <QScopeGuard>
#include <QSet>
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

    // The source's channels as they stand, pending row settled, with their tuning
    // values; the widths of the tuning columns from the tuning set (open, on no row,
    // when the source has no channel yet).
    QList<TChannelRow> channels = ReadChannelRows(*ChannelDataSet, *rows);
    if (!DVBDataSet->Active()) {
        DVBDataSet->SetKeyFilter(QStringLiteral("chanid"), -1);
        DVBDataSet->SetActive(true);
    }
    ReadChannelTuning(channels, *DVBDataSet);
    TImportLimits limits;
    limits.callsign = ColumnWidth(*ChannelDataSet, QStringLiteral("callsign"), NameLimit);
    limits.name = ColumnWidth(*ChannelDataSet, QStringLiteral("name"), NameLimit);
    for (const auto& [column, value] : DigitalValues(TScannedService{}))
        limits.digitalWidths.insert(column, ColumnWidth(*DVBDataSet, column));
    TImportWin review(services, channels, FCardKind, limits, this);
    if (review.exec() != QDialog::Accepted)
        return;
    const QList<TImportRow> chosen = review.Chosen();
    const auto deleted = std::count_if(chosen.begin(), chosen.end(), [](const TImportRow& r) {
        return r.action == TImportAction::Vanished;
    });
    const auto imported = chosen.size() - deleted;
    const QString name = deleted == 0 ? tr("Import %1 channels").arg(imported)
                         : imported == 0
                             ? tr("Delete %1 channels not in the file").arg(deleted)
                             : tr("Import %1 channels and delete %2").arg(imported).arg(deleted);
    applyTool(name, [&] { applyImport(chosen, channels); });
}

void TChannelWin::applyImport(const QList<TImportRow>& chosen, const QList<TChannelRow>& channels)
{
    // Row by row as typing would: the channel to update or a new one, then its tuning
    // row, posted together as unsaved changes; the channels not in the file deleted with
    // their tuning rows once the updates are in (before rows are added at the end). The
    // lists and fields show the outcome once, not every row on the way.
    const TControlsDisabled quiet{ChannelDataSet, DVBDataSet};
    auto post = [this](const TImportRow& row) {
        if (!DVBDataSet->IsEditing())
            DVBDataSet->IsEmpty() ? DVBDataSet->Append() : DVBDataSet->Edit();
        for (const auto& [column, value] : DigitalValues(row.service))
            DVBDataSet->SetFieldValue(column, value ? QVariant(*value) : QVariant());
        ChannelDataSet->MarkModified();
        ChannelDataSet->Post(); // posts the tuning row with it
    };
    std::vector<int> vanished;
    QSet<qlonglong> vanishedIds;
    int adds = 0;
    for (const TImportRow& row : chosen) {
        switch (row.action) {
        case TImportAction::Update:
        case TImportAction::Renamed:
            ChannelDataSet->MoveTo(channels[row.existing].row);
            ChannelDataSet->Edit();
            if (row.action == TImportAction::Renamed && !row.name.isEmpty())
                ChannelDataSet->SetFieldValue(QStringLiteral("name"), row.name);
            post(row);
            break;
        case TImportAction::Vanished:
            vanished.push_back(channels[row.existing].row);
            vanishedIds.insert(channels[row.existing].chanid.toLongLong());
            break;
        case TImportAction::Add:
            ++adds;
            break;
        default:
            break;
        }
    }
    if (!vanished.empty())
        deleteChannels(vanished, vanishedIds);
    // The new channels' ids asked for at once (one question instead of thousands).
    if (adds > 0)
        FNextReservedId = SQLModule->GetNewIDs(QStringLiteral("channel"), QStringLiteral("chanid"),
                                               {QStringLiteral("channel_dvb")}, adds);
    FReservedIds = adds;
    const auto reserved = qScopeGuard([this] { FReservedIds = 0; });
    for (const TImportRow& row : chosen) {
        if (row.action != TImportAction::Add)
            continue;
        ChannelDataSet->Append();
        ChannelDataSet->SetFieldValue(QStringLiteral("callsign"), row.callsign);
        ChannelDataSet->SetFieldValue(QStringLiteral("name"), row.name);
        ChannelDataSet->SetFieldValue(QStringLiteral("channum"), row.channum);
        post(row);
    }
}
