#include "settingswin.h"

#include "clientdataset.h"
#include "dbcontrols.h"
#include "formhelpers.h"
#include "geometry.h"
#include "mnemonics.h"
#include "sqlmodule.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit* edit(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QComboBox* list(QWidget* parent, const QString& name, const QStringList& items, bool editable)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->addItems(items);
    c->setCurrentIndex(-1); // no selection
    return c;
}

// "IP" and "Port" captions above their two edits.
QWidget* addressPair(QWidget* parent, const QString& prefix, QLineEdit*& ip)
{
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    ip = edit(box, prefix + QStringLiteral("IPEdit"));
    auto* port = edit(box, prefix + QStringLiteral("PortEdit"));
    port->setMaximumWidth(70);
    grid->addWidget(BuddyLabel(QObject::tr("IP"), ip, box), 0, 0);
    grid->addWidget(BuddyLabel(QObject::tr("Port"), port, box), 0, 1);
    grid->addWidget(ip, 1, 0);
    grid->addWidget(port, 1, 1);
    return box;
}

QWidget* withUnit(QWidget* parent, QLineEdit* field, const QString& unit)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field);
    row->addWidget(new QLabel(unit, box));
    row->addStretch(1);
    return box;
}

} // namespace

TSettingsWin::TSettingsWin(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingsWin"));
    setWindowTitle(tr("Base settings"));
    resize(795, 580);

    BackendDataSet = new TSQLClientDataSet(*SQLModule->Conn, this);
    BackendDataSet->setObjectName(QStringLiteral("BackendDataSet"));
    BackendDataSet->SetCommandText(QStringLiteral("settings"));
    BackendDataSet->SetFiltered(true);
    BackendDataSet->SetFilter(QStringLiteral("hostname=:hostname"));
    BackendDataSet->Params.insert(QStringLiteral("hostname"), QStringLiteral("testmachine"));
    BackendDataSource = new TDataSource(BackendDataSet, this);
    BackendDataSource->setObjectName(QStringLiteral("BackendDataSource"));
    // The set is never opened: these settings are laid out, not yet bound.

    // --- the connection in use
    auto* connection = new QGroupBox(tr("Current database connection (from mysql.txt)"), this);
    auto* connForm = new QFormLayout(connection);
    DBHostnameEdit = edit(connection, QStringLiteral("DBHostnameEdit"));
    DBNameEdit = edit(connection, QStringLiteral("DBNameEdit"));
    DBUsernameEdit = edit(connection, QStringLiteral("DBUsernameEdit"));
    DBPasswordEdit = edit(connection, QStringLiteral("DBPasswordEdit"));
    DBHostnameEdit->setText(SQLModule->HostName());
    DBNameEdit->setText(SQLModule->DatabaseName());
    DBUsernameEdit->setText(SQLModule->UserName());
    DBPasswordEdit->setText(SQLModule->Password()); // shown as plain text
    DBPortEdit = edit(connection, QStringLiteral("DBPortEdit"));
    DBPortEdit->setMaximumWidth(90);
    if (SQLModule->Port() > 0)
        DBPortEdit->setText(QString::number(SQLModule->Port()));
    else
        DBPortEdit->setPlaceholderText(tr("default"));
    // Read-only, but the text can be selected and copied.
    for (QLineEdit* e : {DBHostnameEdit, DBPortEdit, DBNameEdit, DBUsernameEdit, DBPasswordEdit})
        e->setReadOnly(true);
    auto* hostRow = new QHBoxLayout;
    hostRow->addWidget(DBHostnameEdit, 1);
    hostRow->addWidget(BuddyLabel(tr("Port"), DBPortEdit, connection));
    hostRow->addWidget(DBPortEdit);
    connForm->addRow(BuddyLabel(tr("Hostname"), DBHostnameEdit, connection), hostRow);
    connForm->addRow(BuddyLabel(tr("Database name"), DBNameEdit, connection), DBNameEdit);
    connForm->addRow(BuddyLabel(tr("User name"), DBUsernameEdit, connection), DBUsernameEdit);
    connForm->addRow(BuddyLabel(tr("Password"), DBPasswordEdit, connection), DBPasswordEdit);

    // --- top right: the master server and the tuning standards
    auto* master = new QWidget(this);
    auto* masterForm = new QFormLayout(master);
    masterForm->setContentsMargins(0, 0, 0, 0);
    QLineEdit* masterIp = nullptr;
    QWidget* masterAddress = addressPair(master, QStringLiteral("Master"), masterIp);
    masterForm->addRow(BuddyLabel(tr("Master server"), masterIp, master), masterAddress);
    auto* statusEdit = edit(master, QStringLiteral("StatusReportEdit"));
    auto* statusRow = new QWidget(master);
    auto* statusLayout = new QHBoxLayout(statusRow);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->addWidget(new QLabel(tr("dito"), statusRow));
    statusLayout->addWidget(statusEdit);
    masterForm->addRow(BuddyLabel(tr("Status report"), statusEdit, master), statusRow);
    auto* tvFormat = list(master, QStringLiteral("TVFormatCombo"),
                          {"PAL", "NTSC", "SECAM", "PAL-NC", "PAL-M", "PAL-N", "NTSC-JP"}, false);
    masterForm->addRow(BuddyLabel(tr("TV format"), tvFormat, master), tvFormat);
    auto* vbiFormat = list(master, QStringLiteral("VBIFormatCombo"),
                           {"None", "PAL Teletext", "NSTC Closed Caption"}, false);
    masterForm->addRow(BuddyLabel(tr("VBI format"), vbiFormat, master), vbiFormat);
    auto* freqTable = list(master, QStringLiteral("FrequencyTableCombo"),
                           {"us-cable", "us-bcast", "us-cable-hrc", "europe-west", "XXX"}, false);
    masterForm->addRow(BuddyLabel(tr("Frequency table"), freqTable, master), freqTable);
    auto* timeOffset =
        list(master, QStringLiteral("TimeOffsetCombo"), {"(None)", "-0100", "+0100", "XXX"}, true);
    masterForm->addRow(BuddyLabel(tr("Time offset"), timeOffset, master), timeOffset);

    // --- the recording computer
    auto* recording = new QGroupBox(tr("Recording computer"), this);
    recording->setObjectName(QStringLiteral("RecordingGroup"));
    auto* recLayout = new QHBoxLayout(recording);
    auto* gridColumn = new QVBoxLayout;
    auto* backendGrid = new TDBGrid(BackendDataSource, {}, recording);
    backendGrid->setObjectName(QStringLiteral("BackendGrid"));
    backendGrid->SetReadOnly(true);
    auto* detachedSource = new TDataSource(nullptr, recording); // the navigator has no data source
    auto* backendNavigator = new TDBNavigator(
        detachedSource, TDBNavigator::Insert | TDBNavigator::Delete | TDBNavigator::Cancel,
        recording);
    backendNavigator->setObjectName(QStringLiteral("BackendNavigator"));
    gridColumn->addWidget(backendNavigator);
    gridColumn->addWidget(backendGrid);
    recLayout->addLayout(gridColumn, 1);

    auto* recForm = new QFormLayout;
    QLineEdit* recordIp = nullptr;
    QWidget* recordAddress = addressPair(recording, QStringLiteral("Backend"), recordIp);
    recForm->addRow(BuddyLabel(tr("Address"), recordIp, recording), recordAddress);
    auto* recDir = edit(recording, QStringLiteral("RecordingDirEdit"));
    recForm->addRow(BuddyLabel(tr("Directory to hold recordings"), recDir, recording), recDir);
    auto* liveDir = edit(recording, QStringLiteral("LiveTVDirEdit"));
    recForm->addRow(BuddyLabel(tr("Directory to hold Live TV buffers"), liveDir, recording),
                    liveDir);
    auto* bufferSize = edit(recording, QStringLiteral("LiveTVBufferSizeEdit"));
    bufferSize->setMaximumWidth(80);
    recForm->addRow(BuddyLabel(tr("Live TV buffer size"), bufferSize, recording),
                    withUnit(recording, bufferSize, tr("GB")));
    auto* maxFill = edit(recording, QStringLiteral("MaxBufferFillEdit"));
    maxFill->setMaximumWidth(80);
    recForm->addRow(BuddyLabel(tr("Max buffer fill"), maxFill, recording),
                    withUnit(recording, maxFill, tr("%")));
    auto* encoders = edit(recording, QStringLiteral("EncodersEdit"));
    encoders->setMaximumWidth(80);
    recForm->addRow(BuddyLabel(tr("Number of simultanous encoders"), encoders, recording),
                    encoders);
    recLayout->addLayout(recForm, 2);

    // --- the whole window
    auto* top = new QHBoxLayout;
    top->addWidget(connection, 1);
    top->addWidget(master, 1);
    // Only the connection shows stored values; say so before anybody types.
    UnboundNotice = new QLabel(
        tr("Only the database connection above is read from your settings: what you type "
           "below is not stored."),
        this);
    UnboundNotice->setObjectName(QStringLiteral("UnboundNotice"));
    UnboundNotice->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(UnboundNotice);
    layout->addWidget(recording, 1);

    // Tab order follows the layout: the recording computer's fields first, as that is
    // where the focus starts.
    setTabOrder(recordIp, recordAddress->findChild<QLineEdit*>(QStringLiteral("BackendPortEdit")));
    AssignMnemonics(this, {});
    recordIp->setFocus();
    new TGeometryKeeper(this); // sizes and positions kept between starts
}
