#include "cardwin.h"

#include "clientdataset.h"
#include "dbcontrols.h"
#include "edithistory.h"
#include "formhelpers.h"
#include "geometry.h"
#include "guard.h"
#include "lineupwriter.h"
#include "mnemonics.h"
#include "panearea.h"
#include "sqlmodule.h"

#include <QAction>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

TCardWin::TCardWin(QWidget* parent) : TEditorWin(parent)
{
    setObjectName(QStringLiteral("CardWin"));
    setWindowTitle(tr("TV Card[*]"));

    TSQLConnection& conn = *SQLModule->Conn;
    auto makeSet = [&](const QString& name, const QString& table, bool filtered) {
        auto* set = new TSQLClientDataSet(conn, this);
        set->setObjectName(name);
        set->SetCommandText(table);
        set->SetFiltered(filtered);
        return set;
    };
    CardDataSet = makeSet(QStringLiteral("CardDataSet"), QStringLiteral("capturecard"), true);
    InputDataSet = makeSet(QStringLiteral("InputDataSet"), QStringLiteral("cardinput"), true);
    SourceDataSet = makeSet(QStringLiteral("SourceDataSet"), QStringLiteral("videosource"), false);
    ChannelDataSet = makeSet(QStringLiteral("ChannelDataSet"), QStringLiteral("channel"), true);
    InputDataSet->AfterScroll = std::bind_front(&TCardWin::InputDataSetAfterScroll, this);
    InputDataSet->OnNewRecord = std::bind_front(&TCardWin::InputDataSetNewRecord, this);
    SourceDataSet->AfterScroll = std::bind_front(&TCardWin::SourceDataSetAfterScroll, this);

    CardDataSource = Named(new TDataSource(CardDataSet, this), QStringLiteral("CardDataSource"));
    InputDataSource = Named(new TDataSource(InputDataSet, this), QStringLiteral("InputDataSource"));
    SourceDataSource =
        Named(new TDataSource(SourceDataSet, this), QStringLiteral("SourceDataSource"));
    ChannelDataSource =
        Named(new TDataSource(ChannelDataSet, this), QStringLiteral("ChannelDataSource"));
    for (TDataSource* source : {CardDataSource, InputDataSource})
        connect(source, &TDataSource::DataChanged, this, &TCardWin::UpdateModifiedMark);

    ApplyAction = new QAction(tr("Save"), this);
    ApplyAction->setObjectName(QStringLiteral("ApplyAction"));
    ApplyAction->setShortcut(QKeySequence::Save);
    addAction(ApplyAction);
    connect(ApplyAction, &QAction::triggered, this, &TCardWin::SaveFromUser);
    // Whatever changes the current input's source (a choice in "Channel source", even
    // of the entry the list already stood on; a cancel; another input), the
    // start-channel list follows it.
    connect(InputDataSource, &TDataSource::DataChanged, this,
            [this] { Guarded(this, [this] { followInputSource(); }); });

    setUpLayout();
    new TGeometryKeeper(this); // sizes, positions and columns kept between starts
}

TCardWin::~TCardWin()
{
    // Before the controls go: their focus leaving them ends no step of a history gone.
    delete History;
}

void TCardWin::setUpLayout()
{
    resize(795, 580);

    // Labels take at least their designed widths, so that at 795 x 580 every control
    // sits where it was designed; a larger font widens them instead of overlapping.
    auto atLeast = [](QWidget* w, int width) {
        w->setMinimumWidth(width);
        return w;
    };

    // --- top rows: the card, its host, its type; Save at the right
    auto* cardCaption = new QLabel(tr("Card"), this);
    QFont bold = cardCaption->font();
    bold.setBold(true);
    cardCaption->setFont(bold);
    DBText2 = Named(new TDBText(CardDataSource, QStringLiteral("cardid"), this),
                    QStringLiteral("DBText2"));
    DBEdit3 = Named(new TDBEdit(CardDataSource, QStringLiteral("hostname"), HostnameLimit, this),
                    QStringLiteral("DBEdit3"));
    DBEdit3->setMinimumSize(121, 25);
    ApplyButton = Named(new QPushButton(tr("Save"), this), QStringLiteral("ApplyButton"));
    ApplyButton->setMinimumSize(87, 27);
    connect(ApplyButton, &QPushButton::clicked, ApplyAction, &QAction::trigger);
    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(atLeast(cardCaption, 48));
    top->addWidget(atLeast(BuddyLabel(tr("ID"), DBText2, this), 24));
    top->addWidget(atLeast(DBText2, 80));
    top->addWidget(atLeast(BuddyLabel(tr("Hostname"), DBEdit3, this), 72));
    top->addWidget(DBEdit3, 1);
    top->addStretch(1);
    History =
        new TEditHistory(this, {CardDataSet, InputDataSet}, {CardDataSource, InputDataSource});
    History->Restored = [this](const QString& what) {
        CardtypeComboChange(); // the panes follow a type put back
        UpdateModifiedMark();
        StatusLine->setText(what);
    };
    UndoButton = TEditHistory::Button(History->UndoAction, QStringLiteral("UndoButton"));
    RedoButton = TEditHistory::Button(History->RedoAction, QStringLiteral("RedoButton"));
    top->addWidget(UndoButton);
    top->addWidget(RedoButton);
    top->addSpacing(6);
    top->addWidget(ApplyButton);

    CardtypeCombo = Named(new TDBComboBox(CardDataSource, QStringLiteral("cardtype"),
                                          {"V4L", "MPEG", "DVB"}, true, this),
                          QStringLiteral("CardtypeCombo"));
    CardtypeCombo->setMinimumSize(121, 25);
    connect(CardtypeCombo, &QComboBox::activated, this,
            [this] { Guarded(this, [this] { CardtypeComboChange(); }); });
    auto* type = new QHBoxLayout;
    type->setSpacing(0);
    type->addWidget(atLeast(BuddyLabel(tr("Type"), CardtypeCombo, this), 72));
    type->addWidget(CardtypeCombo);
    type->addStretch(1);
    // What the last Save did, under Save, on one line: the row has room for it.
    type->addWidget(StatusLine);
    StatusLine->setWordWrap(false);

    // --- the pane area, "Type invalid" beneath its panes
    PaneArea = Named(new TPaneArea(this), QStringLiteral("PaneArea"));
    PaneArea->SetDesignedSize({697, 225});
    Label20 = Named(new QLabel(tr("Type invalid")), QStringLiteral("Label20"));
    QFont big(QStringLiteral("Helvetica"));
    big.setPixelSize(15);
    Label20->setFont(big);
    QPalette red = Label20->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label20->setPalette(red);
    PaneArea->AddBeneath(Label20);
    AnalogPane = makeAnalogPane();
    DVBPane = makeDVBPane();
    PaneArea->AddPane(AnalogPane);
    PaneArea->AddPane(DVBPane);
    AnalogPane->hide();
    DVBPane->hide();
    auto* panes = new QHBoxLayout;
    panes->setSpacing(0);
    panes->addWidget(PaneArea, 697);
    panes->addStretch(82);

    // --- the default input, by name among this card's inputs
    DBLookupComboBox3 =
        Named(new TDBLookupComboBox(CardDataSource, QStringLiteral("defaultinput"), InputDataSource,
                                    QStringLiteral("inputname"), QStringLiteral("inputname"), this),
              QStringLiteral("DBLookupComboBox3"));
    DBLookupComboBox3->setMinimumSize(161, 25);
    auto* defaultInput = new QHBoxLayout;
    defaultInput->setSpacing(0);
    defaultInput->addWidget(
        atLeast(BuddyLabel(tr("Default card input"), DBLookupComboBox3, this), 152));
    defaultInput->addWidget(DBLookupComboBox3);
    defaultInput->addStretch(1);

    setUpInputGroup();

    // Rows at 8, 36, 64, 296 and 336 at the designed size; the input group (its grid)
    // takes what a taller window adds.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addSpacing(1);
    layout->addLayout(type);
    layout->addSpacing(3);
    layout->addLayout(panes);
    layout->addSpacing(7);
    layout->addLayout(defaultInput);
    layout->addSpacing(15);
    layout->addWidget(InputGroup, 1);

    // The two panes never show together: they may share letters.
    const QSet<QChar> common = AssignMnemonics(this, {}, {AnalogPane, DVBPane});
    AssignMnemonics(AnalogPane, common);
    AssignMnemonics(DVBPane, common);
    SetTabChain({DBEdit3,     UndoButton,    RedoButton,        ApplyButton,    CardtypeCombo,
                 DBComboBox5, AudioDevCombo, DBComboBox7,       AudioRateCombo, DBComboBox2,
                 DBComboBox3, DBCheckBox2,   DBLookupComboBox3, DBGrid1,        DBComboBox4,
                 DBEdit2,     SourceCombo,   DBLookupComboBox1, DBEdit11,       DBCheckBox1,
                 DBEdit4});
    DBEdit3->setFocus();
}

// --- filling -----------------------------------------------------------------------

void TCardWin::SetCardID(int id)
{
    // Host names and commands longer than 7 characters are common ("livingroom",
    // "/usr/local/bin/setchan"): take what the columns on the server hold.
    TSQLConnection& conn = *SQLModule->Conn;
    DBEdit3->SetLimit(std::max(HostnameLimit, conn.CharacterLength(QStringLiteral("capturecard"),
                                                                   QStringLiteral("hostname"))));
    DBEdit2->SetLimit(
        std::max(ExternalCommandLimit, conn.CharacterLength(QStringLiteral("cardinput"),
                                                            QStringLiteral("externalcommand"))));
    FCardID = id;
    CardDataSet->SetKeyFilter(QStringLiteral("cardid"), id);
    CardDataSet->SetActive(true);
    InputDataSet->SetKeyFilter(QStringLiteral("cardid"), id);
    InputDataSet->SetActive(true);
    SourceDataSet->SetActive(true);
    ChannelDataSet->SetActive(true);
    CardtypeComboChange();
    History->Clear(); // what filling did is where the user starts
    UpdateModifiedMark();
}

void TCardWin::NewCard()
{
    CardDataSet->SetActive(true);
    CardDataSet->Append();
    FCardID = SQLModule->GetNewID(QStringLiteral("capturecard"), QStringLiteral("cardid"));
    CardDataSet->SetFieldValue(QStringLiteral("cardid"), FCardID);
    // Setting the filter posts the new card into the change log.
    SetCardID(FCardID);
}

void TCardWin::CardtypeComboChange()
{
    const QString type = CardtypeCombo->currentText();
    const bool v4l = type == QLatin1String("V4L");
    const bool mpeg = type == QLatin1String("MPEG");
    const bool dvb = type == QLatin1String("DVB");
    AnalogPane->setVisible(v4l || mpeg);
    DVBPane->setVisible(dvb);
    if (v4l || mpeg) {
        // An MPEG card records its own audio: no audio device, no rate limit.
        for (QWidget* w :
             {static_cast<QWidget*>(AudioDevLabel), static_cast<QWidget*>(AudioDevCombo),
              static_cast<QWidget*>(AudioRateLabel), static_cast<QWidget*>(AudioRateCombo)})
            w->setVisible(v4l);
    }
    PaneArea->PanesChanged();
}

// --- inputs ------------------------------------------------------------------------

void TCardWin::InputDataSetNewRecord()
{
    InputDataSet->SetFieldValue(QStringLiteral("cardid"), FCardID);
    InputDataSet->SetFieldValue(
        QStringLiteral("cardinputid"),
        SQLModule->GetNewID(QStringLiteral("cardinput"), QStringLiteral("cardinputid")));
    InputDataSet->SetFieldValue(QStringLiteral("tunechan"), 0);
}

void TCardWin::InputDataSetAfterScroll()
{
    SourceComboClick();
}

void TCardWin::SourceDataSetAfterScroll()
{
    SourceComboClick();
}

void TCardWin::SourceComboClick()
{
    const QVariant source =
        InputDataSet->Active() ? InputDataSet->FieldValue(QStringLiteral("sourceid")) : QVariant();
    // No input, or an input fed by no source (none chosen, or 0): the list keeps the
    // channels it showed.
    if (source.isNull() || source.toInt() == 0)
        return;
    ChannelDataSet->SetKeyFilter(QStringLiteral("sourceid"), source.toInt());
    ChannelDataSet->SetActive(true);
    FListedSource = source.toInt();
}

void TCardWin::followInputSource()
{
    if (!InputDataSet->Active() || !ChannelDataSet->Active())
        return;
    const QVariant source = InputDataSet->FieldValue(QStringLiteral("sourceid"));
    if (!source.isNull() && source.toInt() != 0 && source.toInt() != FListedSource)
        SourceComboClick();
}

// --- saving and closing ------------------------------------------------------------

bool TCardWin::isDirty() const
{
    return CardDataSet->HasPendingChanges() || InputDataSet->HasPendingChanges() ||
           HasUncommittedEdits(this);
}

void TCardWin::ApplyActionExecute()
{
    CommitOpenEditors(this);
    History->EndStep();
    // The history names the write by the window and the steps saved.
    TLineupWriter writer(*SQLModule->Conn, HistoryName(),
                         History->StepNames().join(QStringLiteral("; ")));
    FSavedChanges = writer.Save({CardDataSet, InputDataSet});
    FHistoryError = writer.HistoryError();
    History->Clear(); // saved: a new history starts
    UpdateModifiedMark();
}

void TCardWin::DiscardChanges()
{
    CancelOpenEditors(this);
    CardDataSet->CancelUpdates();
    InputDataSet->CancelUpdates();
}
