// The card editor's panes: the analogue and the DVB fields, and the inputs.
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

QWidget* TCardWin::makeAnalogPane()
{
    auto* pane = Named(new QWidget, QStringLiteral("AnalogPane"));
    auto* form = new QFormLayout(pane);
    DBComboBox5 = Named(
        new TDBComboBox(CardDataSource, QStringLiteral("videodevice"),
                        {"/dev/video", "/dev/video0", "/dev/video1", "/dev/video2", "/dev/video3"},
                        false, pane),
        QStringLiteral("DBComboBox5"));
    AudioDevCombo =
        Named(new TDBComboBox(CardDataSource, QStringLiteral("audiodevice"),
                              {"/dev/dsp", "/dev/dsp0", "/dev/dsp1", "/dev/dsp2", "/dev/dsp3"},
                              false, pane),
              QStringLiteral("AudioDevCombo"));
    DBComboBox7 =
        Named(new TDBComboBox(CardDataSource, QStringLiteral("vbidevice"),
                              {"/dev/vbi", "/dev/vbi0", "/dev/vbi1", "/dev/vbi2", "/dev/vbi3"},
                              false, pane),
              QStringLiteral("DBComboBox7"));
    AudioRateCombo = Named(new TDBComboBox(CardDataSource, QStringLiteral("audioratelimit"),
                                           {"0", "32000", "44100", "48000"}, false, pane),
                           QStringLiteral("AudioRateCombo"));
    AudioDevLabel = BuddyLabel(tr("Audio recording device"), AudioDevCombo, pane,
                               QStringLiteral("AudioDevLabel"));
    AudioRateLabel =
        BuddyLabel(tr("Audio rate limit"), AudioRateCombo, pane, QStringLiteral("AudioRateLabel"));
    form->addRow(BuddyLabel(tr("Video capture device"), DBComboBox5, pane), DBComboBox5);
    form->addRow(AudioDevLabel, AudioDevCombo);
    form->addRow(BuddyLabel(tr("Teletext (VBI) device"), DBComboBox7, pane), DBComboBox7);
    form->addRow(AudioRateLabel, AudioRateCombo);
    return pane;
}

QWidget* TCardWin::makeDVBPane()
{
    auto* pane = Named(new QWidget, QStringLiteral("DVBPane"));
    auto* form = new QFormLayout(pane);
    DBComboBox2 = Named(
        new TDBComboBox(CardDataSource, QStringLiteral("dvb_type"), {"S", "C", "T"}, true, pane),
        QStringLiteral("DBComboBox2"));
    DBComboBox3 = Named(new TDBComboBox(CardDataSource, QStringLiteral("videodevice"),
                                        {"0", "1", "2", "3"}, true, pane),
                        QStringLiteral("DBComboBox3"));
    DBCheckBox2 = Named(new TDBCheckBox(CardDataSource, QStringLiteral("use_ts"),
                                        QStringLiteral("1"), QStringLiteral("0"),
                                        tr("Grab full transport stream from card"), pane),
                        QStringLiteral("DBCheckBox2"));
    form->addRow(BuddyLabel(tr("Transport type"), DBComboBox2, pane), DBComboBox2);
    form->addRow(BuddyLabel(tr("Device number"), DBComboBox3, pane), DBComboBox3);
    form->addRow(QString(), DBCheckBox2);
    return pane;
}

void TCardWin::setUpInputGroup()
{
    InputGroup = Named(new QGroupBox(tr("Card input"), this), QStringLiteral("InputGroup"));

    DBNavigator1 =
        Named(new TDBNavigator(InputDataSource,
                               TDBNavigator::Prior | TDBNavigator::Next | TDBNavigator::Insert |
                                   TDBNavigator::Delete | TDBNavigator::Cancel,
                               InputGroup),
              QStringLiteral("DBNavigator1"));
    DBGrid1 = Named(
        new TDBGrid(InputDataSource, {{QStringLiteral("inputname"), tr("Name"), 150}}, InputGroup),
        QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true); // no in-cell editing; the fields on the right edit
    DBGrid1->ConfirmDelete = true;
    DBGrid1->setMinimumWidth(200);
    auto* left = new QVBoxLayout;
    left->addWidget(DBNavigator1);
    left->addWidget(DBGrid1, 1);

    DBText1 = Named(new TDBText(InputDataSource, QStringLiteral("cardinputid"), InputGroup),
                    QStringLiteral("DBText1"));
    DBComboBox4 = Named(new TDBComboBox(InputDataSource, QStringLiteral("inputname"),
                                        {"Television", "S-Video", "Composite1", "Composite2"},
                                        false, InputGroup),
                        QStringLiteral("DBComboBox4"));
    DBEdit2 = Named(new TDBEdit(InputDataSource, QStringLiteral("externalcommand"),
                                ExternalCommandLimit, InputGroup),
                    QStringLiteral("DBEdit2"));
    SourceCombo = Named(new TDBLookupComboBox(InputDataSource, QStringLiteral("sourceid"),
                                              SourceDataSource, QStringLiteral("sourceid"),
                                              QStringLiteral("name;sourceid"), InputGroup),
                        QStringLiteral("SourceCombo"));
    DBLookupComboBox1 =
        Named(new TDBLookupComboBox(InputDataSource, QStringLiteral("startchan"), ChannelDataSource,
                                    QStringLiteral("chanid"), QStringLiteral("name"), InputGroup),
              QStringLiteral("DBLookupComboBox1"));
    DBEdit11 = Named(new TDBEdit(InputDataSource, QStringLiteral("preference"), 8, InputGroup),
                     QStringLiteral("DBEdit11"));
    DBCheckBox1 =
        Named(new TDBCheckBox(InputDataSource, QStringLiteral("shareable"), QStringLiteral("Y"),
                              QStringLiteral("N"), tr("Shareable"), InputGroup),
              QStringLiteral("DBCheckBox1"));
    DBEdit4 = Named(new TDBEdit(InputDataSource, QStringLiteral("tunechan"), 7, InputGroup),
                    QStringLiteral("DBEdit4"));

    auto* fields = new QFormLayout;
    fields->addRow(BuddyLabel(tr("ID"), DBText1, InputGroup), DBText1);
    fields->addRow(BuddyLabel(tr("Name"), DBComboBox4, InputGroup), DBComboBox4);
    fields->addRow(BuddyLabel(tr("External Command"), DBEdit2, InputGroup), DBEdit2);
    fields->addRow(BuddyLabel(tr("Channel source"), SourceCombo, InputGroup), SourceCombo);
    fields->addRow(BuddyLabel(tr("Start channel"), DBLookupComboBox1, InputGroup),
                   DBLookupComboBox1);
    fields->addRow(BuddyLabel(tr("Preference"), DBEdit11, InputGroup), DBEdit11);
    fields->addRow(QString(), DBCheckBox1);
    fields->addRow(BuddyLabel(tr("Tune channel"), DBEdit4, InputGroup), DBEdit4);

    fields->setVerticalSpacing(2);
    auto* row = new QHBoxLayout(InputGroup);
    row->setContentsMargins(6, 4, 6, 4);
    row->addLayout(left, 1);
    row->addLayout(fields, 2);
}
