#include "channelwin.h"

#include "actionkeys.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
#include "errors.h"
#include "filteredit.h"
#include "formhelpers.h"
#include "geometry.h"
#include "guard.h"
#include "iconstore.h"
#include "lineupwriter.h"
#include "mnemonics.h"
#include "panearea.h"
#include "receivingcards.h"
#include "sqlmodule.h"

#include <algorithm>

#include <QAction>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

TChannelWin::TChannelWin(QWidget* parent) : TEditorWin(parent)
{
    setObjectName(QStringLiteral("ChannelWin"));
    setWindowTitle(tr("Channel[*]"));

    TSQLConnection& conn = *SQLModule->Conn;
    auto makeSet = [&](const QString& name, const QString& command) {
        auto* set = new TSQLClientDataSet(conn, this);
        set->setObjectName(name);
        set->SetCommandText(command);
        set->SetFiltered(true);
        return set;
    };
    SourceDataSet = makeSet(QStringLiteral("SourceDataSet"), QStringLiteral("videosource"));
    ChannelDataSet = makeSet(QStringLiteral("ChannelDataSet"), QStringLiteral("channel"));
    DVBDataSet = makeSet(QStringLiteral("DVBDataSet"), QStringLiteral("channel_dvb"));
    CardtypeDataSet = new TSQLClientDataSet(conn, this);
    CardtypeDataSet->setObjectName(QStringLiteral("CardtypeDataSet"));
    CardtypeDataSet->SetCommandType(TCommandType::Text);
    CardtypeDataSet->SetCommandText(ReceivingCardsQuery());
    CardtypeDataSet->SetFiltered(true);

    ChannelDataSet->OnNewRecord = std::bind_front(&TChannelWin::ChannelDataSetNewRecord, this);
    ChannelDataSet->BeforePost = std::bind_front(&TChannelWin::ChannelDataSetBeforePost, this);
    ChannelDataSet->BeforeCancel = std::bind_front(&TChannelWin::ChannelDataSetBeforeCancel, this);
    ChannelDataSet->BeforeDelete = std::bind_front(&TChannelWin::ChannelDataSetBeforeDelete, this);
    ChannelDataSet->AfterScroll = std::bind_front(&TChannelWin::ChannelDataSetAfterScroll, this);
    DVBDataSet->OnNewRecord = std::bind_front(&TChannelWin::DVBDataSetNewRecord, this);

    SourceDataSource =
        Named(new TDataSource(SourceDataSet, this), QStringLiteral("SourceDataSource"));
    ChannelDataSource =
        Named(new TDataSource(ChannelDataSet, this), QStringLiteral("ChannelDataSource"));
    DVBDataSource = Named(new TDataSource(DVBDataSet, this), QStringLiteral("DVBDataSource"));
    DVBDataSource->BeforeWrite = std::bind_front(&TChannelWin::beforeDigitalWrite, this);
    for (TDataSource* source : {SourceDataSource, ChannelDataSource, DVBDataSource})
        connect(source, &TDataSource::DataChanged, this, &TChannelWin::UpdateModifiedMark);

    ApplyAction = new QAction(tr("Save"), this);
    ApplyAction->setObjectName(QStringLiteral("ApplyAction"));
    ApplyAction->setShortcut(QKeySequence::Save);
    addAction(ApplyAction);
    connect(ApplyAction, &QAction::triggered, this, &TChannelWin::SaveFromUser);
    ImportAction =
        WindowAction(this, tr("Import..."), QStringLiteral("ImportAction"),
                     QKeySequence(Qt::CTRL | Qt::Key_I), [this] { ImportActionExecute(); });
    ImportAction->setEnabled(false);
    ListingsAction =
        WindowAction(this, tr("Listings..."), QStringLiteral("ListingsAction"),
                     QKeySequence(Qt::CTRL | Qt::Key_L), [this] { ListingsActionExecute(); });
    RenumberAction =
        WindowAction(this, tr("Renumber..."), QStringLiteral("RenumberAction"),
                     QKeySequence(Qt::CTRL | Qt::Key_R), [this] { RenumberActionExecute(); });
    ExportAction =
        WindowAction(this, tr("Export..."), QStringLiteral("ExportAction"),
                     QKeySequence(Qt::CTRL | Qt::Key_E), [this] { ExportActionExecute(); });
    IconsAction = WindowAction(this, tr("Icons..."), QStringLiteral("IconsAction"),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
                               [this] { IconsActionExecute(); });
    new TActionKeysFirst(this,
                         {ImportAction, ListingsAction, RenumberAction, ExportAction, IconsAction});
    Icons = new TIconStore(this);
    ChannelDataSource->OnDelete = [this] {
        DeleteSelectedChannels();
    };

    setUpLayout();
    try {
        FormCreate();
    } catch (...) {
        // No destructor runs for a window never made: the history goes before the
        // controls do, as it would.
        delete History;
        History = nullptr;
        throw;
    }
    new TGeometryKeeper(this); // sizes, positions and columns kept between starts
}

TChannelWin::~TChannelWin()
{
    // Before the controls go: their focus leaving them ends no step of a history gone.
    delete History;
}

void TChannelWin::FormCreate()
{
    takeServerWidths();
    QStringList columns;
    SQLModule->Conn->GetFieldNames(QStringLiteral("channel"), columns);
    if (columns.contains(QStringLiteral("channum_real"))) {
        ChannumOldLabel->hide();
    } else {
        PresetLabel->hide();
        ChannumReal1Label->hide();
        ChannumReal2Label->hide();
        ChannumRealEdit->hide();
        ChannumRealEdit->SetField(QString());
    }
}

// --- filling -----------------------------------------------------------------------

void TChannelWin::SetSourceID(int id)
{
    FSourceID = id;
    const QString source = QStringLiteral("sourceid");
    SourceDataSet->SetKeyFilter(source, id);
    SourceDataSet->SetActive(true);
    CardtypeDataSet->SetKeyFilter(source, id);
    CardtypeDataSet->SetActive(true);
    CardtypeDataSet->First();
    settleCardKind();
    ChannelDataSet->SetKeyFilter(source, id);
    ChannelDataSet->SetActive(true);
    History->Clear(); // what filling did is where the user starts
    UpdateModifiedMark();
}

void TChannelWin::NewSource()
{
    SourceDataSet->SetActive(true);
    SourceDataSet->Append();
    const int id = SQLModule->GetNewID(QStringLiteral("videosource"), QStringLiteral("sourceid"));
    SourceDataSet->SetFieldValue(QStringLiteral("sourceid"), id);
    SourceDataSet->SetFieldValue(QStringLiteral("name"), QStringLiteral("change this"));
    SourceDataSet->SetFieldValue(QStringLiteral("xmltvgrabber"), QStringLiteral("change this"));
    SourceDataSet->SetFieldValue(QStringLiteral("userid"), QStringLiteral("unused"));
    // Setting the filter posts the new row into the change log.
    SetSourceID(id);
}

// --- saving and closing ------------------------------------------------------------

bool TChannelWin::isDirty() const
{
    return SourceDataSet->HasPendingChanges() || ChannelDataSet->HasPendingChanges() ||
           DVBDataSet->HasPendingChanges() || HasUncommittedEdits(this);
}

void TChannelWin::ApplyActionExecute()
{
    CommitOpenEditors(this); // text typed into a grid cell is saved like any other
    History->EndStep();
    // One save, one transaction: the source, its channels and their digital rows are
    // written together, or nothing is and every change stays to be saved again.
    // The history names the write by the window and the steps saved.
    TLineupWriter writer(*SQLModule->Conn, HistoryName(),
                         History->StepNames().join(QStringLiteral("; ")));
    FSavedChanges = writer.Save({SourceDataSet, ChannelDataSet, DVBDataSet});
    FHistoryError = writer.HistoryError();
    History->Clear(); // saved: a new history starts
    UpdateModifiedMark();
}

void TChannelWin::DiscardChanges()
{
    CancelOpenEditors(this);
    SourceDataSet->CancelUpdates();
    ChannelDataSet->CancelUpdates();
    if (isDigital())
        DVBDataSet->CancelUpdates();
}
