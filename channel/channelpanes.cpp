// The channel editor's tuning panes: the analogue fields, and the digital ones with
// their satellite, terrestrial and cable parts; which of them shows, by the card kind of
// the card that receives the source.
#include "channelwin.h"

#include "clientdataset.h"
#include "dbcontrols.h"
#include "dvbtuning.h"
#include "formhelpers.h"
#include "frequency.h"
#include "panearea.h"
#include "receivingcards.h"
#include "sqlmodule.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

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

    // Each kind's own fields beside the common ones (cable has none of its own).
    DVBSPane = Named(new QWidget(pane), QStringLiteral("DVBSPane"));
    DVBTPane = Named(new QWidget(pane), QStringLiteral("DVBTPane"));
    DVBCPane = Named(new QWidget(pane), QStringLiteral("DVBCPane"));
    const std::pair<TCardKind, QWidget*> kinds[] = {
        {TCardKind::DVBS, DVBSPane}, {TCardKind::DVBT, DVBTPane}, {TCardKind::DVBC, DVBCPane}};
    for (const auto& [kind, kindPane] : kinds)
        new QFormLayout(kindPane);

    // The fields, as the tuning columns say.
    int row = 1;
    for (const TTuningColumn& column : TuningColumns()) {
        auto makeField = [&](QWidget* parent) -> QWidget* {
            const QString name = QLatin1String(column.control);
            if (column.IsList())
                return Named(
                    new TDBComboBox(DVBDataSource, column.Name(), column.Values(), true, parent),
                    name);
            // A column as wide as the server holds gets its width once connected.
            return Named(new TDBEdit(DVBDataSource, column.Name(),
                                     column.limit > 0 ? column.limit : 8, parent),
                         name);
        };
        if (column.Common()) {
            QWidget* field = makeField(pane);
            grid->addWidget(BuddyLabel(column.Caption(), field, pane), row, 0);
            grid->addWidget(field, row++, 1);
            if (!column.Note().isEmpty())
                grid->addWidget(new QLabel(column.Note(), pane), row++, 1);
            if (column.Name() == QLatin1String("freq"))
                addFrequencyReading(grid, row++, static_cast<QLineEdit*>(field));
            continue;
        }
        for (const auto& [kind, kindPane] : kinds)
            if (column.ShownFor(kind)) {
                QWidget* field = makeField(kindPane);
                auto* form = static_cast<QFormLayout*>(kindPane->layout());
                form->addRow(BuddyLabel(column.Caption(), field, kindPane), field);
            }
    }
    PIDsEdit = pane->findChild<TDBEdit*>(QStringLiteral("PIDsEdit"));
    grid->setRowStretch(row, 1);

    auto* subPanes = new QVBoxLayout;
    for (const auto& [kind, kindPane] : kinds) {
        kindPane->layout()->setContentsMargins(0, 0, 0, 0);
        subPanes->addWidget(kindPane);
    }
    subPanes->addStretch(1);
    grid->addLayout(subPanes, 0, 2, row + 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    return pane;
}

void TChannelWin::addFrequencyReading(QGridLayout* grid, int row, QLineEdit* freq)
{
    // What the stored number means, in MHz or GHz, as it is typed. Its place is fixed:
    // a long reading (in any language) wraps there and never widens the window.
    FrequencyReadingLabel = Named(new QLabel, QStringLiteral("FrequencyReadingLabel"));
    FrequencyReadingLabel->setWordWrap(true);
    FrequencyReadingLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FrequencyReadingLabel->setMinimumHeight(2 * FrequencyReadingLabel->fontMetrics().height());
    FrequencyReadingLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto showReading = [this, freq] {
        FrequencyReadingLabel->setText(FrequencyReading(FCardKind, freq->text()));
    };
    connect(freq, &QLineEdit::textChanged, this, showReading);
    connect(this, &TChannelWin::cardKindChanged, this, showReading);
    grid->addWidget(FrequencyReadingLabel, row, 1);
}

void TChannelWin::takeServerWidths()
{
    // Columns that take what the server holds ("2660,2661" often takes more than 8).
    for (const TTuningColumn& column : TuningColumns())
        if (column.limit == 0 && !column.IsList())
            for (auto* edit : DVBPane->findChildren<TDBEdit*>(QLatin1String(column.control)))
                edit->SetLimit(std::max(8, SQLModule->Conn->CharacterLength(
                                               QStringLiteral("channel_dvb"), column.Name())));
}

void TChannelWin::settleCardKind()
{
    // The kind the source is received as, from every card whose input names it.
    FCardKind = SourceCardKind(ReceivingCardsOf(*CardtypeDataSet));
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
