// The channel editor's export: the source's channels, as the window holds them, to a
// DVB channel file or a CSV file.
#include "channelwin.h"

#include "channelexport.h"
#include "channelrows.h"
#include "clientdataset.h"
#include "messagebox.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

std::function<QString(QWidget*, const QString&)> TChannelWin::ChooseExportFile;

namespace {

/// The save dialog: a name typed without an extension gets the type's, before the dialog
/// asks whether to replace a file of that name. The format is the extension's when it is
/// one of the two, else the type's chosen (`csv` tells which).
QString askForExportFile(QWidget* parent, const QString& title, bool& csv)
{
    const QString dvbv5Type =
        QCoreApplication::translate("TChannelWin", "DVB channel file (*.conf)");
    const QString csvType = QCoreApplication::translate("TChannelWin", "CSV (*.csv)");
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({dvbv5Type, csvType});
    dialog.setDefaultSuffix(QStringLiteral("conf"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, csvType](const QString& type) {
                         dialog.setDefaultSuffix(type == csvType ? QStringLiteral("csv")
                                                                 : QStringLiteral("conf"));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = dialog.selectedFiles().constFirst();
    const QString suffix = QFileInfo(path).suffix().toLower();
    csv = suffix == QLatin1String("csv") ||
          (suffix != QLatin1String("conf") && dialog.selectedNameFilter() == csvType);
    return path;
}

} // namespace

void TChannelWin::ExportActionExecute()
{
    // The export itself is no step: it changes nothing.
    const auto rows = startTool(TToolRows::SelectionOrAll);
    if (!rows)
        return;
    const QString title = isWindowModified()
                              ? tr("Export channels (with the changes not saved yet)")
                              : tr("Export channels");
    bool csv = false;
    const QString path =
        ChooseExportFile ? ChooseExportFile(this, title) : askForExportFile(this, title, csv);
    if (path.isEmpty())
        return;
    if (ChooseExportFile)
        csv = ExportFormatOf(path) == TExportFormat::Csv;
    const TExportLineup channels =
        ReadExportChannels(*ChannelDataSet, *rows, isDigital() ? DVBDataSet : nullptr);
    const TExportResult result =
        ExportChannels(channels, FCardKind, csv ? TExportFormat::Csv : TExportFormat::Dvbv5, path);
    // A short line (the status line stays on one line at the window's size), the whole
    // of it in its tooltip; channels left out are told in a box, as the file lacks them.
    StatusLine->setText(result.written == 1 ? tr("Exported 1 channel.")
                                            : tr("Exported %1 channels.").arg(result.written));
    StatusLine->setToolTip(result.Summary(path));
    if (result.leftOut > 0)
        MessageBox::Ask(MessageBox::Kind::Information, tr("Export channels"), result.Summary(path),
                        {MessageBox::Button::Ok}, MessageBox::Button::Ok, this);
}
