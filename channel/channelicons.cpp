// The channel editor's icons: drawn in the list and beside the Icon field, and filled
// in from a folder of pictures named after the channels.
#include "channelwin.h"

#include "channelrows.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
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
    if (!ChannelDataSet->Active())
        return;
    CommitOpenEditors(this);
    History->EndStep();
    ChannelDataSet->CheckBrowseMode();
    const QString folder =
        ChooseFolder ? ChooseFolder(this)
                     : QFileDialog::getExistingDirectory(this, tr("Choose a folder of icons"));
    if (folder.isEmpty())
        return;
    const std::vector<int> selected = selectedChannels();
    const std::vector<int> rows = selected.size() > 1 ? selected : ChannelGrid->RowsInViewOrder();
    QList<TChannelRow> channels;
    QList<TIconFile> files;
    {
        // The names of a folder of thousands, and the first bytes of the files found.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        files = ReadIconFolder(folder);
        channels = ReadChannelRows(*ChannelDataSet, rows);
    }
    TIconsWin review(channels, files,
                     ColumnWidth(*ChannelDataSet, QStringLiteral("icon"), IconLimit), Icons, this);
    if (review.exec() != QDialog::Accepted)
        return;
    const QList<TIconChange> changes = review.Changes();
    if (changes.isEmpty())
        return;
    History->Step(changes.size() == 1 ? tr("Fill in the icon of 1 channel")
                                      : tr("Fill in the icons of %1 channels").arg(changes.size()),
                  [&] { applyIcons(changes); });
    UpdateModifiedMark();
}

void TChannelWin::applyIcons(const QList<TIconChange>& changes)
{
    // As typing each icon would; the lists and fields show the outcome once.
    const TControlsDisabled quiet{ChannelDataSet, DVBDataSet};
    const int current = ChannelDataSet->RecNo();
    for (const TIconChange& change : changes) {
        ChannelDataSet->MoveTo(change.row);
        ChannelDataSet->Edit();
        ChannelDataSet->SetFieldValue(QStringLiteral("icon"), change.icon);
        ChannelDataSet->Post();
    }
    if (current >= 0)
        ChannelDataSet->MoveTo(current);
}
