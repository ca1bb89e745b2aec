// The channel editor's tuning panes: the analogue fields, and the digital ones with
// their satellite, terrestrial and cable parts; which of them shows, by the card kind of
// the card that receives the source.
#include "channelwin.h"

#include "clientdataset.h"
#include "dbcontrols.h"
#include "formhelpers.h"
#include "frequency.h"
#include "panearea.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QStringList CodeRates{"AUTO", "NONE", "1_2", "2_3", "3_4", "4_5", "5_6", "6_7", "7_8", "8_9"};

} // namespace

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
    // What the stored number means, in MHz or GHz, as it is typed.
    FrequencyReadingLabel = Named(new QLabel(pane), QStringLiteral("FrequencyReadingLabel"));
    auto showReading = [this, freq] {
        FrequencyReadingLabel->setText(FrequencyReading(FCardKind, freq->text()));
    };
    connect(freq, &QLineEdit::textChanged, this, showReading);
    connect(this, &TChannelWin::cardKindChanged, this, showReading);
    grid->addWidget(FrequencyReadingLabel, 5, 1);
    grid->setRowStretch(6, 1);

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
    grid->addLayout(subPanes, 0, 2, 7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    return pane;
}

void TChannelWin::settleCardKind()
{
    FCardKind = CardKindOf(TextOf(CardtypeDataSet->FieldValue(QStringLiteral("cardtype"))),
                           TextOf(CardtypeDataSet->FieldValue(QStringLiteral("dvb_type"))));
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
    emit cardKindChanged();
}
