// The channel editor's icons: drawn in the list and beside the Icon field, and filled
// in from a folder of pictures named after the channels.
#include "channelwin.h"

#include "channelrows.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "iconstore.h"
#include "iconswin.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QTimer>

std::function<QString(QWidget*)> TChannelWin::ChooseFolder;

void TChannelWin::followIconField()
{
    // Moving to another channel shows its icon at once; while the field is typed into,
    // the picture follows once typing pauses, not at every letter.
    auto* pause = new QTimer(this);
    pause->setSingleShot(true);
    pause->setInterval(400);
    connect(pause, &QTimer::timeout, this, [this] { IconPreview->SetValue(IconEdit->text()); });
    connect(IconEdit, &QLineEdit::textChanged, this, [this, pause](const QString& text) {
        if (IconEdit->isModified()) { // typed, not set by a move or an undo
            pause->start();
        } else {
            pause->stop();
            IconPreview->SetValue(text);
        }
    });
    connect(Icons, &TIconStore::Changed, ChannelGrid->viewport(), qOverload<>(&QWidget::update));
}

void TChannelWin::IconsActionExecute()
{
    const auto rows = startTool(TToolRows::SelectionOrAll);
    if (!rows)
        return;
    const QString folder =
        ChooseFolder ? ChooseFolder(this)
                     : QFileDialog::getExistingDirectory(this, tr("Choose a folder of icons"));
    if (folder.isEmpty())
        return;
    QList<TChannelRow> channels;
    QList<TIconFile> files;
    {
        // The names of a folder of thousands, and the first bytes of the files found.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        files = ReadIconFolder(folder);
        channels = ReadChannelRows(*ChannelDataSet, *rows);
    }
    TIconsWin review(channels, files,
                     ColumnWidth(*ChannelDataSet, QStringLiteral("icon"), IconLimit), Icons, this);
    if (review.exec() != QDialog::Accepted)
        return;
    const QList<TIconChange> changes = review.Changes();
    const int icon = ChannelDataSet->FieldIndex(QStringLiteral("icon"));
    QList<TSQLClientDataSet::TRowValues> values;
    for (const TIconChange& change : changes)
        values << TSQLClientDataSet::TRowValues{change.row, {{icon, change.icon}}};
    changeChannels(changes.size() == 1 ? tr("Fill in the icon of 1 channel")
                                       : tr("Fill in the icons of %1 channels").arg(changes.size()),
                   values);
}
