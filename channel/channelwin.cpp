#include "channelwin.h"

#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "filteredit.h"
#include "formhelpers.h"
#include "geometry.h"
#include "guard.h"
#include "importwin.h"
#include "mnemonics.h"
#include "panearea.h"
#include "sqlmodule.h"
#include "trace.h"

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
#include <QVBoxLayout>
#include <functional>

namespace {

const QStringList Grabbers{"tv_grab_de", "tv_grab_na", "tv_grab_uk"};
const QStringList CodeRates{"AUTO", "NONE", "1_2", "2_3", "3_4", "4_5", "5_6", "6_7", "7_8", "8_9"};

const QString CardtypeQuery = QStringLiteral(
    "SELECT cardtype, dvb_type, videosource.sourceid AS sourceid FROM videosource, cardinput, "
    "capturecard WHERE videosource.sourceid = cardinput.sourceid AND cardinput.cardid = "
    "capturecard.cardid");

QString text(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

TCardKind CardKindOf(const QString& cardtype, const QString& dvbType)
{
    if (cardtype == QLatin1String("V4L"))
        return TCardKind::V4L;
    if (cardtype == QLatin1String("MPEG"))
        return TCardKind::MPEG;
    if (cardtype == QLatin1String("DVB")) {
        if (dvbType == QLatin1String("S"))
            return TCardKind::DVBS;
        if (dvbType == QLatin1String("T"))
            return TCardKind::DVBT;
        if (dvbType == QLatin1String("C"))
            return TCardKind::DVBC;
    }
    return TCardKind::None;
}

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
    CardtypeDataSet->SetCommandText(CardtypeQuery);
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
    ImportAction = new QAction(tr("Import..."), this);
    ImportAction->setObjectName(QStringLiteral("ImportAction"));
    ImportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    ImportAction->setEnabled(false);
    addAction(ImportAction);
    connect(ImportAction, &QAction::triggered, this,
            [this] { Guarded(this, [this] { ImportActionExecute(); }); });
    ListingsAction = new QAction(tr("Listings..."), this);
    ListingsAction->setObjectName(QStringLiteral("ListingsAction"));
    ListingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addAction(ListingsAction);
    connect(ListingsAction, &QAction::triggered, this,
            [this] { Guarded(this, [this] { ListingsActionExecute(); }); });

    setUpLayout();
    FormCreate();
    new TGeometryKeeper(this); // sizes, positions and columns kept between starts
}

TChannelWin::~TChannelWin() = default;

void TChannelWin::setUpLayout()
{
    resize(795, 580);

    // --- the source header
    auto* header = new QGroupBox(this);
    auto* headerLines = new QVBoxLayout(header);
    auto* headerRow = new QHBoxLayout;
    auto* toolRow = new QHBoxLayout;
    headerLines->addLayout(headerRow);
    headerLines->addLayout(toolRow);
    StatusLine->setWordWrap(false); // the rest of the line is there for it
    auto* sourceId = Named(new TDBText(SourceDataSource, QStringLiteral("sourceid")),
                           QStringLiteral("SourceIDText"));
    sourceId->setMinimumWidth(40);
    auto* sourceName = Named(new TDBEdit(SourceDataSource, QStringLiteral("name"), 8),
                             QStringLiteral("SourceNameEdit"));
    auto* grabber =
        Named(new TDBComboBox(SourceDataSource, QStringLiteral("xmltvgrabber"), Grabbers, true),
              QStringLiteral("XMLTVGrabberCombo"));
    SourceNavigator = Named(new TDBNavigator(SourceDataSource, TDBNavigator::Cancel),
                            QStringLiteral("SourceNavigator"));
    ApplyButton = Named(new QPushButton(tr("Save")), QStringLiteral("ApplyButton"));
    connect(ApplyButton, &QPushButton::clicked, ApplyAction, &QAction::trigger);
    ImportButton = Named(new QPushButton(tr("&Import...")), QStringLiteral("ImportButton"));
    ImportButton->setToolTip(
        tr("Add and update channels from a channel file of dvbv5-scan (Ctrl+I)"));
    connect(ImportButton, &QPushButton::clicked, ImportAction, &QAction::trigger);
    ListingsButton = Named(new QPushButton(tr("&Listings...")), QStringLiteral("ListingsButton"));
    ListingsButton->setToolTip(tr("Fill in the channels' listings ids and icons from an XMLTV "
                                  "channel list (Ctrl+L)"));
    connect(ListingsButton, &QPushButton::clicked, ListingsAction, &QAction::trigger);
    auto* sourceCaption = new QLabel(tr("Channel Source"), header);
    QFont bold = sourceCaption->font();
    bold.setBold(true);
    sourceCaption->setFont(bold);
    headerRow->addWidget(sourceCaption);
    headerRow->addWidget(BuddyLabel(tr("ID"), sourceId, header));
    headerRow->addWidget(sourceId);
    headerRow->addWidget(BuddyLabel(tr("Name"), sourceName, header));
    headerRow->addWidget(sourceName);
    headerRow->addWidget(BuddyLabel(tr("XMLTV grabber"), grabber, header));
    headerRow->addWidget(grabber);
    headerRow->addWidget(SourceNavigator);
    headerRow->addStretch(1);
    headerRow->addWidget(ApplyButton);
    // The line-up tools under it, and what the last Save did, under Save.
    toolRow->addWidget(ImportButton);
    toolRow->addWidget(ListingsButton);
    toolRow->addStretch(1);
    toolRow->addWidget(StatusLine);

    // --- the channel list
    ChannelNavigator =
        Named(new TDBNavigator(ChannelDataSource, TDBNavigator::Prior | TDBNavigator::Next |
                                                      TDBNavigator::Insert | TDBNavigator::Delete |
                                                      TDBNavigator::Cancel),
              QStringLiteral("ChannelNavigator"));
    ChannelNavigator->ConfirmDelete = false;
    ChannelGrid =
        Named(new TDBGrid(ChannelDataSource, {{QStringLiteral("callsign"), tr("Short"), 60, 20},
                                              {QStringLiteral("name"), tr("Long name"), 110, 20}}),
              QStringLiteral("ChannelGrid"));
    connect(ChannelGrid, &TDBGrid::PendingEditChanged, this, &TChannelWin::UpdateModifiedMark);
    ChannelGrid->SetReadOnly(false);
    ChannelGrid->ConfirmDelete = true;
    ChannelGrid->setMinimumWidth(220);
    // Finding a channel among thousands: the typed text narrows the list as shown.
    ChannelFilterEdit =
        Named(new TFilterEdit(tr("Filter channels")), QStringLiteral("ChannelFilterEdit"));
    ChannelFilterEdit->setToolTip(
        tr("Shows only the channels whose short name, long name or number contains this "
           "text (Escape clears it)"));
    static const QStringList filtered = {QStringLiteral("callsign"), QStringLiteral("name"),
                                         QStringLiteral("channum")};
    ChannelFilterEdit->Entered = [this] {
        ChannelGrid->PrepareRowFilter(filtered);
    };
    connect(ChannelFilterEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { ChannelGrid->SetRowFilter(text, filtered); });
    ChannelGrid->SetMinimumRows(10);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(ChannelNavigator);
    listColumn->addWidget(ChannelFilterEdit);
    listColumn->addWidget(ChannelGrid, 1);

    // --- the channel fields
    auto* chanId = Named(new TDBText(ChannelDataSource, QStringLiteral("chanid")),
                         QStringLiteral("ChannelIDText"));
    auto* callsign = Named(new TDBEdit(ChannelDataSource, QStringLiteral("callsign"), 20),
                           QStringLiteral("CallsignEdit"));
    auto* longName = Named(new TDBEdit(ChannelDataSource, QStringLiteral("name"), 20),
                           QStringLiteral("ChannelNameEdit"));
    auto* xmltvId = Named(new TDBEdit(ChannelDataSource, QStringLiteral("xmltvid"), 64),
                          QStringLiteral("XMLTVIDEdit"));
    auto* icon = Named(new TDBEdit(ChannelDataSource, QStringLiteral("icon"), 255),
                       QStringLiteral("IconEdit"));
    auto* channum = Named(new TDBEdit(ChannelDataSource, QStringLiteral("channum"), 5),
                          QStringLiteral("ChannumEdit"));
    auto* fields = new QGridLayout;
    fields->addWidget(BuddyLabel(tr("ID"), chanId, this), 0, 0);
    fields->addWidget(chanId, 0, 1);
    fields->addWidget(BuddyLabel(tr("Short name"), callsign, this), 1, 0);
    fields->addWidget(callsign, 1, 1);
    fields->addWidget(BuddyLabel(tr("Long name"), longName, this), 2, 0);
    fields->addWidget(longName, 2, 1);
    fields->addWidget(BuddyLabel(tr("XMLTV ID"), xmltvId, this), 3, 0);
    fields->addWidget(xmltvId, 3, 1);
    fields->addWidget(BuddyLabel(tr("Icon"), icon, this), 4, 0);
    fields->addWidget(icon, 4, 1);
    // "Chan Num" and "Preset" share one place; FormCreate hides one of them.
    ChannumOldLabel =
        Named(BuddyLabel(tr("Chan Num"), channum, this), QStringLiteral("ChannumOldLabel"));
    PresetLabel = Named(BuddyLabel(tr("Preset"), channum, this), QStringLiteral("PresetLabel"));
    fields->addWidget(ChannumOldLabel, 5, 0);
    fields->addWidget(PresetLabel, 5, 0);
    fields->addWidget(channum, 5, 1);
    fields->setRowStretch(6, 1);

    // --- the tuning panes, with the notice beneath them
    PaneArea = Named(new TPaneArea(this), QStringLiteral("PaneArea"));
    Label44 = Named(new QLabel(tr("Card type invalid or not found")), QStringLiteral("Label44"));
    QPalette red = Label44->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label44->setPalette(red);
    PaneArea->AddBeneath(Label44);
    AnalogPane = makeAnalogPane();
    DVBPane = makeDVBPane();
    PaneArea->AddPane(AnalogPane);
    PaneArea->AddPane(DVBPane);

    // The list takes the whole height beside the channel's fields and its tuning pane,
    // so no pane squeezes it.
    fields->setRowStretch(6, 0);
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addLayout(fields);
    rightColumn->addWidget(PaneArea, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(listColumn, 1);
    middle->addLayout(rightColumn, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(middle, 1);

    // The panes never show together: they may share letters. The most fields show with
    // the terrestrial pane: the letters are shared out for it first, and the others
    // take theirs from what is left beside the common fields.
    AssignMnemonics(this, {}, {AnalogPane, DVBSPane, DVBCPane});
    const QSet<QChar> common = MnemonicsUsed(this, {AnalogPane, DVBPane});
    AssignMnemonics(AnalogPane, common);
    const QSet<QChar> digital = MnemonicsUsed(this, {AnalogPane, DVBSPane, DVBTPane, DVBCPane});
    for (QWidget* pane : {DVBSPane, DVBCPane})
        AssignMnemonics(pane, digital);
    SetTabChain({sourceName, grabber, ApplyButton, ImportButton, ListingsButton, ChannelFilterEdit,
                 ChannelGrid, callsign, longName, xmltvId, icon, channum});
    sourceName->setFocus();
}

QWidget* TChannelWin::makeAnalogPane()
{
    auto* pane = Named(new QWidget, QStringLiteral("AnalogPane"));
    auto* grid = new QGridLayout(pane);
    ChannumRealEdit =
        Named(new TDBEdit(ChannelDataSource, QStringLiteral("channum_real"), 128, pane),
              QStringLiteral("ChannumRealEdit"));
    auto* finetune = Named(new TDBEdit(ChannelDataSource, QStringLiteral("finetune"), 11, pane),
                           QStringLiteral("FinetuneEdit"));
    auto* filters = Named(new TDBEdit(ChannelDataSource, QStringLiteral("videofilters"), 255, pane),
                          QStringLiteral("VideoFiltersEdit"));
    auto* colour = Named(new TDBEdit(ChannelDataSource, QStringLiteral("colour"), 11, pane),
                         QStringLiteral("ColourEdit"));
    auto* brightness = Named(new TDBEdit(ChannelDataSource, QStringLiteral("brightness"), 11, pane),
                             QStringLiteral("BrightnessEdit"));
    auto* contrast = Named(new TDBEdit(ChannelDataSource, QStringLiteral("contrast"), 11, pane),
                           QStringLiteral("ContrastEdit"));
    ChannumReal1Label = Named(BuddyLabel(tr("Channel number"), ChannumRealEdit, pane),
                              QStringLiteral("ChannumReal1Label"));
    ChannumReal2Label =
        Named(new QLabel(tr("(for frequency)"), pane), QStringLiteral("ChannumReal2Label"));

    grid->addWidget(new QLabel(tr("Type"), pane), 0, 0);
    grid->addWidget(Named(new QLabel(tr("Analog"), pane), QStringLiteral("AnalogTypeLabel")), 0, 1);
    grid->addWidget(ChannumReal1Label, 1, 0);
    grid->addWidget(ChannumRealEdit, 1, 1);
    grid->addWidget(ChannumReal2Label, 2, 0);
    grid->addWidget(BuddyLabel(tr("Finetuning"), finetune, pane), 3, 0);
    grid->addWidget(finetune, 3, 1);
    grid->addWidget(BuddyLabel(tr("Video filters"), filters, pane), 4, 0);
    grid->addWidget(filters, 4, 1);
    grid->addWidget(BuddyLabel(tr("Color"), colour, pane), 1, 2);
    grid->addWidget(colour, 1, 3);
    grid->addWidget(BuddyLabel(tr("Brightness"), brightness, pane), 2, 2);
    grid->addWidget(brightness, 2, 3);
    grid->addWidget(BuddyLabel(tr("Contrast"), contrast, pane), 3, 2);
    grid->addWidget(contrast, 3, 3);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return pane;
}

QWidget* TChannelWin::makeDVBPane()
{
    auto* pane = Named(new QWidget, QStringLiteral("DVBPane"));
    auto* grid = new QGridLayout(pane);
    PIDsEdit = Named(new TDBEdit(DVBDataSource, QStringLiteral("pids"), PIDsLimit, pane),
                     QStringLiteral("PIDsEdit"));
    auto* pids = PIDsEdit;
    auto* listing = Named(new TDBEdit(DVBDataSource, QStringLiteral("listingid"), 8, pane),
                          QStringLiteral("ListingIDEdit"));
    auto* freq = Named(new TDBEdit(DVBDataSource, QStringLiteral("freq"), 11, pane),
                       QStringLiteral("FrequencyEdit"));

    DVBSLabel = Named(new QLabel(tr("DVB-S"), pane), QStringLiteral("DVBSLabel"));
    DVBTLabel = Named(new QLabel(tr("DVB-T"), pane), QStringLiteral("DVBTLabel"));
    DVBCLabel = Named(new QLabel(tr("DVB-C"), pane), QStringLiteral("DVBCLabel"));
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(DVBSLabel);
    typeRow->addWidget(DVBTLabel);
    typeRow->addWidget(DVBCLabel);
    typeRow->addStretch(1);
    grid->addWidget(new QLabel(tr("Type"), pane), 0, 0);
    grid->addLayout(typeRow, 0, 1);
    grid->addWidget(BuddyLabel(tr("PIDs"), pids, pane), 1, 0);
    grid->addWidget(pids, 1, 1);
    grid->addWidget(new QLabel(tr("Comma-separated list, no spaces"), pane), 2, 1);
    grid->addWidget(BuddyLabel(tr("Listing ID"), listing, pane), 3, 0);
    grid->addWidget(listing, 3, 1);
    grid->addWidget(BuddyLabel(tr("Frequency"), freq, pane), 4, 0);
    grid->addWidget(freq, 4, 1);
    grid->setRowStretch(5, 1);

    // Satellite.
    DVBSPane = Named(new QWidget(pane), QStringLiteral("DVBSPane"));
    auto* sat = new QFormLayout(DVBSPane);
    sat->setContentsMargins(0, 0, 0, 0);
    auto addEdit = [this](QFormLayout* form, QWidget* parent, const QString& caption,
                          const QString& field, int limit, const QString& name) {
        auto* edit = Named(new TDBEdit(DVBDataSource, field, limit, parent), name);
        form->addRow(BuddyLabel(caption, edit, parent), edit);
    };
    auto addList = [this](QFormLayout* form, QWidget* parent, const QString& caption,
                          const QString& field, const QStringList& values, const QString& name) {
        auto* combo = Named(new TDBComboBox(DVBDataSource, field, values, true, parent), name);
        form->addRow(BuddyLabel(caption, combo, parent), combo);
    };
    addList(sat, DVBSPane, tr("Polarization"), QStringLiteral("pol"), {"H", "V"},
            QStringLiteral("PolarizationCombo"));
    addEdit(sat, DVBSPane, tr("Symbol Rate"), QStringLiteral("symbol_rate"), 8,
            QStringLiteral("SymbolRateEdit"));
    addEdit(sat, DVBSPane, tr("Tone"), QStringLiteral("tone"), 8, QStringLiteral("ToneEdit"));
    addEdit(sat, DVBSPane, tr("DiSeqC"), QStringLiteral("diseqc"), 8, QStringLiteral("DiSEqCEdit"));

    // Terrestrial.
    DVBTPane = Named(new QWidget(pane), QStringLiteral("DVBTPane"));
    auto* ter = new QFormLayout(DVBTPane);
    ter->setContentsMargins(0, 0, 0, 0);
    addList(ter, DVBTPane, tr("Inversion"), QStringLiteral("inversion"), {"AUTO", "1", "0"},
            QStringLiteral("InversionCombo"));
    addList(ter, DVBTPane, tr("Bandwidth"), QStringLiteral("bandwidth"), {"AUTO", "6", "7", "8"},
            QStringLiteral("BandwidthCombo"));
    addList(ter, DVBTPane, tr("HP Code Rate"), QStringLiteral("hp_code_rate"), CodeRates,
            QStringLiteral("HPCodeRateCombo"));
    addList(ter, DVBTPane, tr("LP Code Rate"), QStringLiteral("lp_code_rate"), CodeRates,
            QStringLiteral("LPCodeRateCombo"));
    addList(ter, DVBTPane, tr("Modulation"), QStringLiteral("modulation"),
            {"AUTO", "QPSK", "QAM_16", "QAM_32", "QAM_64", "QAM_128", "QAM_256"},
            QStringLiteral("ModulationCombo"));
    addList(ter, DVBTPane, tr("Transmission Rate"), QStringLiteral("transmission_mode"),
            {"AUTO", "2", "8"}, QStringLiteral("TransmissionModeCombo"));
    addList(ter, DVBTPane, tr("Guard Interval"), QStringLiteral("guard_interval"),
            {"AUTO", "1_4", "1_8", "1_16", "1_32"}, QStringLiteral("GuardIntervalCombo"));
    addList(ter, DVBTPane, tr("Hierarchy"), QStringLiteral("hierarchy"),
            {"AUTO", "NONE", "1", "2", "4"}, QStringLiteral("HierarchyCombo"));

    // Cable: no fields of its own.
    DVBCPane = Named(new QWidget(pane), QStringLiteral("DVBCPane"));

    auto* subPanes = new QVBoxLayout;
    subPanes->addWidget(DVBSPane);
    subPanes->addWidget(DVBTPane);
    subPanes->addWidget(DVBCPane);
    subPanes->addStretch(1);
    grid->addLayout(subPanes, 0, 2, 6, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    return pane;
}

void TChannelWin::FormCreate()
{
    // The PIDs of a channel often take more than 8 characters ("2660,2661"): take what
    // the column on the server holds.
    PIDsEdit->SetLimit(
        std::max(PIDsLimit, SQLModule->Conn->CharacterLength(QStringLiteral("channel_dvb"),
                                                             QStringLiteral("pids"))));
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

void TChannelWin::settleCardKind()
{
    FCardKind = CardKindOf(text(CardtypeDataSet->FieldValue(QStringLiteral("cardtype"))),
                           text(CardtypeDataSet->FieldValue(QStringLiteral("dvb_type"))));
    showPanes();
}

void TChannelWin::showPanes()
{
    // A channel file of the DVB tools tunes digital cards only.
    ImportAction->setEnabled(isDigital());
    ImportButton->setEnabled(isDigital());
    AnalogPane->setVisible(FCardKind == TCardKind::V4L || FCardKind == TCardKind::MPEG);
    DVBPane->setVisible(isDigital());
    DVBSPane->setVisible(FCardKind == TCardKind::DVBS);
    DVBSLabel->setVisible(FCardKind == TCardKind::DVBS);
    DVBTPane->setVisible(FCardKind == TCardKind::DVBT);
    DVBTLabel->setVisible(FCardKind == TCardKind::DVBT);
    DVBCPane->setVisible(FCardKind == TCardKind::DVBC);
    DVBCLabel->setVisible(FCardKind == TCardKind::DVBC);
    PaneArea->PanesChanged();
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
    // One save, one transaction: the source, its channels and their digital rows are
    // written together, or nothing is and every change stays to be saved again.
    FSavedChanges =
        ApplyUpdatesTogether(*SQLModule->Conn, {SourceDataSet, ChannelDataSet, DVBDataSet});
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

// --- channel and digital rows ------------------------------------------------------

void TChannelWin::ChannelDataSetNewRecord()
{
    // Above every chanid of channel_dvb too: a digital row whose channel is gone (left
    // by an older tool) must not become the new channel's.
    const int id = SQLModule->GetNewID(
        QStringLiteral("channel"), QStringLiteral("chanid"),
        FDigitalIdsAsked ? QStringList() : QStringList{QStringLiteral("channel_dvb")});
    ChannelDataSet->SetFieldValue(QStringLiteral("chanid"), id);
    ChannelDataSet->SetFieldValue(QStringLiteral("sourceid"), FSourceID);
    Trace(QStringLiteral("new %1").arg(id));
    if (isDigital()) {
        DVBDataSet->SetKeyFilter(QStringLiteral("chanid"), id);
        DVBDataSet->SetActive(true);
        DVBDataSet->Insert();
    }
}

void TChannelWin::ChannelDataSetBeforePost()
{
    Trace(QStringLiteral("before post"));
    if (DVBDataSet->IsEditing())
        DVBDataSet->Post();
}

void TChannelWin::ChannelDataSetBeforeCancel()
{
    Trace(QStringLiteral("before cancel"));
    if (DVBDataSet->IsEditing())
        DVBDataSet->Cancel();
}

void TChannelWin::ChannelDataSetBeforeDelete()
{
    Trace(QStringLiteral("before delete"));
    // A channel without a digital row is deleted alone.
    if (DVBDataSet->Active() &&
        (!DVBDataSet->IsEmpty() || DVBDataSet->State() == TDataSetState::Insert))
        DVBDataSet->Delete();
}

void TChannelWin::ChannelDataSetAfterScroll()
{
    Trace(QStringLiteral("scroll"));
    if (!isDigital())
        return;
    const QVariant chanid = ChannelDataSet->FieldValue(QStringLiteral("chanid"));
    if (chanid.isNull()) {
        // No channel left to show. Digital rows deleted with their channels stay in the
        // change log until saved: the set keeps them, showing nothing (its filter names
        // a channel that is gone); a set without changes is closed.
        if (DVBDataSet->ChangeCount() == 0 && !DVBDataSet->IsEditing())
            DVBDataSet->SetActive(false);
        return;
    }
    DVBDataSet->SetKeyFilter(QStringLiteral("chanid"), chanid.toInt());
    DVBDataSet->SetActive(true);
}

void TChannelWin::DVBDataSetNewRecord()
{
    Trace(QStringLiteral("after insert"));
    QVariant chanid = ChannelDataSet->FieldValue(QStringLiteral("chanid"));
    if (chanid.isNull()) {
        ChannelDataSet->Insert();
        // The digital row belongs to the channel just created, never to no channel.
        chanid = ChannelDataSet->FieldValue(QStringLiteral("chanid"));
    }
    DVBDataSet->SetFieldValue(QStringLiteral("chanid"), chanid);
}

void TChannelWin::beforeDigitalWrite()
{
    if (!isDigital())
        return;
    // Typing a digital field with no channel at all creates the channel first; its
    // digital row then links to it.
    if (ChannelDataSet->Active() && ChannelDataSet->IsEmpty())
        ChannelDataSet->Insert();
    if (!DVBDataSet->Active() || !ChannelDataSet->Active())
        return;
    // Digital values typed for a channel make the channel a change of the user's: it is
    // put into the edit state and, when the row is settled, posted with its digital row
    // (whose values would otherwise be cancelled with a channel nobody else touched).
    if (!ChannelDataSet->IsEditing())
        ChannelDataSet->Edit();
    ChannelDataSet->MarkModified();
}

// --- importing a channel file --------------------------------------------------------

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
    CommitOpenEditors(this);
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

    // The source's channels as they stand, pending row settled.
    ChannelDataSet->CheckBrowseMode();
    QList<TExistingChannel> channels;
    const int name = ChannelDataSet->FieldIndex(QStringLiteral("name"));
    const int channum = ChannelDataSet->FieldIndex(QStringLiteral("channum"));
    for (int r = 0; r < ChannelDataSet->RecordCount(); ++r)
        channels << TExistingChannel{ChannelDataSet->VisibleValue(r, name).toString(),
                                     ChannelDataSet->VisibleValue(r, channum).toString()};
    TImportLimits limits;
    for (const auto& [column, value] : DigitalValues(TScannedService{}))
        limits.digitalWidths.insert(
            column, SQLModule->Conn->CharacterLength(QStringLiteral("channel_dvb"), column));
    TImportWin preview(services, channels, FCardKind, limits, this);
    if (preview.exec() != QDialog::Accepted)
        return;
    applyImport(preview.Plan());
    UpdateModifiedMark();
}

void TChannelWin::applyImport(const TImportPlan& plan)
{
    // Row by row as typing would: a new channel or the one to update, then its digital
    // row, posted together as unsaved changes. The lists and fields show the outcome
    // once, not every row on the way.
    const TControlsDisabled quiet{ChannelDataSet, DVBDataSet};
    const auto asked = qScopeGuard([this] { FDigitalIdsAsked = false; });
    for (const TImportRow& row : plan.rows) {
        if (row.action == TImportAction::Skip)
            continue;
        if (row.action == TImportAction::Add) {
            ChannelDataSet->Append();
            FDigitalIdsAsked = true;
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
