// The channel editor's export: the source's channels, as the window holds them, to a
// DVB channel file or a CSV file.
#include "channelwin.h"

#include "channelexport.h"
#include "channelrows.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

std::function<QString(QWidget*, const QString&)> TChannelWin::ChooseExportFile;

namespace {

/// The save dialog: the format by the type chosen; a name typed without an extension
/// gets the type's, before the dialog asks whether to replace a file of that name.
QString askForExportFile(QWidget* parent, const QString& title)
{
    const QString dvbv5 = QCoreApplication::translate("TChannelWin", "DVB channel file (*.conf)");
    const QString csv = QCoreApplication::translate("TChannelWin", "CSV (*.csv)");
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({dvbv5, csv});
    dialog.setDefaultSuffix(QStringLiteral("conf"));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, csv](const QString& filter) {
            dialog.setDefaultSuffix(filter == csv ? QStringLiteral("csv") : QStringLiteral("conf"));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

void TChannelWin::ExportActionExecute()
{
    if (!ChannelDataSet->Active())
        return;
    // What was being typed is settled as a step of its own, as before any line-up tool:
    // the export itself is none.
    CommitOpenEditors(this);
    History->EndStep();
    ChannelDataSet->CheckBrowseMode();
    const std::vector<int> selected = selectedChannels();
    const std::vector<int> rows = selected.size() > 1 ? selected : ChannelGrid->RowsInViewOrder();
    const QString title = isWindowModified()
                              ? tr("Export channels (with the changes not saved yet)")
                              : tr("Export channels");
    const QString path =
        ChooseExportFile ? ChooseExportFile(this, title) : askForExportFile(this, title);
    if (path.isEmpty())
        return;
    const TExportLineup channels =
        ReadExportChannels(*ChannelDataSet, rows, isDigital() ? DVBDataSet : nullptr);
    const TExportResult result = ExportChannels(channels, FCardKind, ExportFormatOf(path), path);
    StatusLine->setText(result.Summary(QFileInfo(path).fileName()));
    StatusLine->setToolTip(result.Summary(path));
}
