// The channel editor's controls: the source header, the channel list, the channel's
// fields and the tuning panes, with their keys and tab order.
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

namespace {

const QStringList Grabbers{"tv_grab_de", "tv_grab_na", "tv_grab_uk"};

} // namespace

QGroupBox* TChannelWin::makeSourceHeader(QHBoxLayout*& headerRow)
{
    auto* header = new QGroupBox(this);
    auto* headerLines = new QVBoxLayout(header);
    headerRow = new QHBoxLayout;
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
    ImportButton =
        ActionButton(ImportAction, tr("&Import..."), QStringLiteral("ImportButton"),
                     tr("Add and update channels from a channel file of dvbv5-scan; after a "
                        "rescan, also remove those no longer in it (Ctrl+I)"));
    ListingsButton =
        ActionButton(ListingsAction, tr("&Listings..."), QStringLiteral("ListingsButton"),
                     tr("Fill in the channels' listings ids and icons from an "
                        "XMLTV channel list (Ctrl+L)"));
    RenumberButton =
        ActionButton(RenumberAction, tr("Renumber..."), QStringLiteral("RenumberButton"),
                     tr("Number the selected channels in the order the list "
                        "shows them (Ctrl+R)"));
    ExportButton = ActionButton(ExportAction, tr("Export..."), QStringLiteral("ExportButton"),
                                tr("Write the selected channels, or all of them, to a DVB "
                                   "channel file or a CSV file (Ctrl+E)"));
    IconsButton = ActionButton(IconsAction, tr("Icons..."), QStringLiteral("IconsButton"),
                               tr("Fill in the channels' icons from a folder of pictures named "
                                  "after them, picons (Ctrl+Shift+I)"));
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
    toolRow->addWidget(RenumberButton);
    toolRow->addWidget(ExportButton);
    toolRow->addWidget(IconsButton);
    toolRow->addStretch(1);
    toolRow->addWidget(StatusLine);
    return header;
}

QVBoxLayout* TChannelWin::makeChannelList()
{
    ChannelNavigator =
        Named(new TDBNavigator(ChannelDataSource, TDBNavigator::Prior | TDBNavigator::Next |
                                                      TDBNavigator::Insert | TDBNavigator::Delete |
                                                      TDBNavigator::Cancel),
              QStringLiteral("ChannelNavigator"));
    ChannelNavigator->ConfirmDelete = false;
    // Each channel's icon before its names, as high as its row.
    auto picture = std::make_shared<TGridPicture>();
    const int rowHeight = fontMetrics().height() + 6 - 2;
    picture->field = QStringLiteral("icon");
    picture->size = QSize(rowHeight * 5 / 3, rowHeight);
    picture->paint = [this](QPainter& painter, const QRect& room, const QString& value) {
        Icons->Paint(painter, room, value);
    };
    picture->tip = [this](const QString& value) {
        return Icons->Tip(value);
    };
    ChannelGrid = Named(
        new TDBGrid(ChannelDataSource, {{QStringLiteral("channum"), tr("No."), 40, ChannumLimit},
                                        {QStringLiteral("callsign"), tr("Short"),
                                         64 + picture->size.width(), NameLimit, picture},
                                        {QStringLiteral("name"), tr("Long name"), 110, NameLimit}}),
        QStringLiteral("ChannelGrid"));
    connect(ChannelGrid, &TDBGrid::PendingEditChanged, this, &TChannelWin::UpdateModifiedMark);
    ChannelGrid->SetReadOnly(false);
    ChannelGrid->SetMultiSelect(true);
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
    return listColumn;
}

QGridLayout* TChannelWin::makeChannelFields()
{
    auto* chanId = Named(new TDBText(ChannelDataSource, QStringLiteral("chanid")),
                         QStringLiteral("ChannelIDText"));
    auto* callsign = Named(new TDBEdit(ChannelDataSource, QStringLiteral("callsign"), NameLimit),
                           QStringLiteral("CallsignEdit"));
    auto* longName = Named(new TDBEdit(ChannelDataSource, QStringLiteral("name"), NameLimit),
                           QStringLiteral("ChannelNameEdit"));
    auto* xmltvId = Named(new TDBEdit(ChannelDataSource, QStringLiteral("xmltvid"), XmltvidLimit),
                          QStringLiteral("XMLTVIDEdit"));
    auto* icon = IconEdit = Named(new TDBEdit(ChannelDataSource, QStringLiteral("icon"), IconLimit),
                                  QStringLiteral("IconEdit"));
    IconPreview = Named(new TIconView(Icons, QSize(96, 64), this), QStringLiteral("IconPreview"));
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
    fields->addWidget(IconPreview, 1, 2, 4, 1, Qt::AlignRight | Qt::AlignBottom);
    // "Chan Num" and "Preset" share one place; FormCreate hides one of them.
    ChannumOldLabel =
        Named(BuddyLabel(tr("Chan Num"), channum, this), QStringLiteral("ChannumOldLabel"));
    PresetLabel = Named(BuddyLabel(tr("Preset"), channum, this), QStringLiteral("PresetLabel"));
    fields->addWidget(ChannumOldLabel, 5, 0);
    fields->addWidget(PresetLabel, 5, 0);
    fields->addWidget(channum, 5, 1);
    return fields;
}

void TChannelWin::setUpLayout()
{
    resize(795, 580);
    QHBoxLayout* headerRow = nullptr;
    QGroupBox* header = makeSourceHeader(headerRow);
    QVBoxLayout* listColumn = makeChannelList();
    QGridLayout* fields = makeChannelFields();

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
    // "Chan Num" shows instead of "Preset" (on tables without channum_real): it takes a
    // letter no other caption has, if one is left.
    // With the terrestrial pane the letters run out: Save goes without one, as its key
    // (Ctrl+S) is every program's, so that each line-up tool keeps its own.
    KeepWithoutMnemonic(ApplyButton);
    KeepWithoutMnemonic(IconsButton); // and Icons... has Ctrl+Shift+I
    AssignMnemonics(this, {}, {AnalogPane, DVBSPane, DVBCPane, ChannumOldLabel});
    const QSet<QChar> common = MnemonicsUsed(this, {AnalogPane, DVBPane, ChannumOldLabel});
    AssignMnemonics(AnalogPane, common);
    const QSet<QChar> digital =
        MnemonicsUsed(this, {AnalogPane, DVBSPane, DVBTPane, DVBCPane, ChannumOldLabel});
    for (QWidget* pane : {DVBSPane, DVBCPane})
        AssignMnemonics(pane, digital);
    AssignMnemonics(ChannumOldLabel, MnemonicsUsed(this, {ChannumOldLabel, PresetLabel}));

    // Undo and redo in the header row, before Save.
    History = new TEditHistory(this, {SourceDataSet, ChannelDataSet, DVBDataSet},
                               {SourceDataSource, ChannelDataSource, DVBDataSource});
    History->Restored = [this](const QString& what) {
        UpdateModifiedMark();
        StatusLine->setText(what);
    };
    UndoButton = History->Button(History->UndoAction, QStringLiteral("UndoButton"));
    RedoButton = History->Button(History->RedoAction, QStringLiteral("RedoButton"));
    headerRow->insertWidget(headerRow->indexOf(ApplyButton), UndoButton);
    headerRow->insertWidget(headerRow->indexOf(ApplyButton), RedoButton);
    followIconField();
    const auto named = [this](const char* name) {
        return findChild<QWidget*>(QLatin1String(name));
    };
    QWidget* sourceName = named("SourceNameEdit");
    SetTabChain({sourceName, named("XMLTVGrabberCombo"), UndoButton, RedoButton, ApplyButton,
                 ImportButton, ListingsButton, RenumberButton, ExportButton, IconsButton,
                 ChannelFilterEdit, ChannelGrid, named("CallsignEdit"), named("ChannelNameEdit"),
                 named("XMLTVIDEdit"), IconEdit, named("ChannumEdit")});
    sourceName->setFocus();
}
