#pragma once

#include "cardkind.h"
#include "editorwin.h"

#include <functional>

class QAction;
class QLabel;
class QPushButton;
class TDataSource;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBNavigator;
class TDBText;
class TPaneArea;
class TSQLClientDataSet;

/// The card kind for a `cardtype` and `dvb_type` (exact, case-sensitive).
TCardKind CardKindOf(const QString& cardtype, const QString& dvbType);

/// Edits one channel source and its channels, with the tuning fields that fit the
/// card receiving the source.
class TChannelWin : public TEditorWin
{
    Q_OBJECT

public:
    explicit TChannelWin(QWidget* parent = nullptr);
    ~TChannelWin() override;

    void SetSourceID(int id);
    void NewSource();
    bool isDirty() const override;
    void ApplyActionExecute() override;
    void FormCreate();

    int SourceID() const { return FSourceID; }
    TCardKind CardKind() const { return FCardKind; }

    // Data sets and their sources.
    TSQLClientDataSet* SourceDataSet = nullptr;
    TSQLClientDataSet* ChannelDataSet = nullptr;
    TSQLClientDataSet* DVBDataSet = nullptr;
    TSQLClientDataSet* CardtypeDataSet = nullptr;
    TDataSource* SourceDataSource = nullptr;
    TDataSource* ChannelDataSource = nullptr;
    TDataSource* DVBDataSource = nullptr;

    // Controls the behaviour touches.
    QAction* ApplyAction = nullptr;
    QAction* ImportAction = nullptr;
    QPushButton* ImportButton = nullptr;
    QAction* ListingsAction = nullptr;
    QPushButton* ListingsButton = nullptr;
    class TFilterEdit* ChannelFilterEdit = nullptr;
    QPushButton* ApplyButton = nullptr;
    TDBGrid* ChannelGrid = nullptr;
    TDBNavigator* ChannelNavigator = nullptr;
    TDBNavigator* SourceNavigator = nullptr;
    QLabel* ChannumOldLabel = nullptr;
    QLabel* PresetLabel = nullptr;
    QLabel* ChannumReal1Label = nullptr;
    QLabel* ChannumReal2Label = nullptr;
    TDBEdit* ChannumRealEdit = nullptr;
    TDBEdit* PIDsEdit = nullptr;
    TPaneArea* PaneArea = nullptr;
    QWidget* AnalogPane = nullptr;
    QWidget* DVBPane = nullptr;
    QWidget* DVBSPane = nullptr;
    QWidget* DVBTPane = nullptr;
    QWidget* DVBCPane = nullptr;
    QLabel* DVBSLabel = nullptr;
    QLabel* DVBTLabel = nullptr;
    QLabel* DVBCLabel = nullptr;
    QLabel* Label44 = nullptr;

    // Data-set event handlers.
    void ChannelDataSetNewRecord();
    void ChannelDataSetBeforePost();
    void ChannelDataSetBeforeCancel();
    void ChannelDataSetBeforeDelete();
    void ChannelDataSetAfterScroll();
    void DVBDataSetNewRecord();

    /// Import...: reads a channel file of the DVB tools, shows what it would add and
    /// update, and on Import adds and updates the channels as unsaved changes.
    void ImportActionExecute();
    /// Listings...: reads the channels of an XMLTV listings file, matches the source's
    /// channels to them by name, and on Apply in the review fills in the ticked channels'
    /// listings ids (and empty icons) as unsaved changes.
    void ListingsActionExecute();
    /// Asks for the file to import or match (a file dialog); tests put their own here.
    static std::function<QString(QWidget*)> ChooseFile;

protected:
    void DiscardChanges() override;

private:
    void setUpLayout();
    QWidget* makeAnalogPane();
    QWidget* makeDVBPane();
    void settleCardKind();
    void showPanes();
    bool isDigital() const { return IsDigital(FCardKind); }
    void beforeDigitalWrite();
    void applyImport(const struct TImportPlan& plan);
    void applyListings(const QList<struct TListingsChange>& changes);
    QString chooseFile(const QString& title, const QString& filter);

    static constexpr int PIDsLimit = 8;
    int FSourceID = 0;
    TCardKind FCardKind = TCardKind::V4L;
    // During an import, once the first new channel asked for the highest chanid of
    // channel_dvb: the allocator remembers every id since, so later ones stay above it.
    bool FDigitalIdsAsked = false;
};
