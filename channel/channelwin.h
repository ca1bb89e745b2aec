#pragma once

#include "cardkind.h"
#include "clientdataset.h"
#include "editorwin.h"

#include <QList>
#include <QSet>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QToolButton;
class TDataSource;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBNavigator;
class TDBText;
class TEditHistory;
class TIconStore;
class TIconView;
class TPaneArea;
struct TChannelRow;
struct TImportRow;

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
    /// Undo and redo of every change since the window opened or was saved.
    TEditHistory* History = nullptr;

    // Controls the behaviour touches.
    QAction* ApplyAction = nullptr;
    QAction* ImportAction = nullptr;
    QAction* ListingsAction = nullptr;
    QAction* RenumberAction = nullptr;
    QAction* ExportAction = nullptr;
    QAction* IconsAction = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* ListingsButton = nullptr;
    QPushButton* RenumberButton = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* IconsButton = nullptr;
    QToolButton* UndoButton = nullptr;
    QToolButton* RedoButton = nullptr;
    class TFilterEdit* ChannelFilterEdit = nullptr;
    TDBGrid* ChannelGrid = nullptr;
    TDBNavigator* ChannelNavigator = nullptr;
    TDBNavigator* SourceNavigator = nullptr;
    QLabel* ChannumOldLabel = nullptr;
    QLabel* PresetLabel = nullptr;
    QLabel* ChannumReal1Label = nullptr;
    QLabel* ChannumReal2Label = nullptr;
    TDBEdit* ChannumRealEdit = nullptr;
    TDBEdit* PIDsEdit = nullptr;
    TDBEdit* IconEdit = nullptr;
    /// The current channel's icon, larger, beside its Icon field.
    TIconView* IconPreview = nullptr;
    /// The channels' icons, read and fetched for the rows shown.
    TIconStore* Icons = nullptr;
    TPaneArea* PaneArea = nullptr;
    QWidget* AnalogPane = nullptr;
    QWidget* DVBPane = nullptr;
    QWidget* DVBSPane = nullptr;
    QWidget* DVBTPane = nullptr;
    QWidget* DVBCPane = nullptr;
    QLabel* DVBSLabel = nullptr;
    QLabel* DVBTLabel = nullptr;
    QLabel* DVBCLabel = nullptr;
    /// The frequency in MHz or GHz beside the stored number.
    QLabel* FrequencyReadingLabel = nullptr;
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
    /// Renumber...: numbers the selected channels in the order the list shows them.
    void RenumberActionExecute();
    /// Export...: writes the selected channels (all of them when one or none is
    /// selected), in the order the list shows them and as the window holds them, to a
    /// DVB channel file or a CSV file; changes nothing in the window.
    void ExportActionExecute();
    /// Icons...: pairs each channel (the selected ones when more than one is selected,
    /// else all) with a picture of a chosen folder by name, shows the pairs, and on Apply
    /// in the review fills in the ticked channels' icons with the files' paths as
    /// unsaved changes.
    void IconsActionExecute();
    /// Asks for the folder of pictures (a folder dialog); tests put their own here.
    static std::function<QString(QWidget*)> ChooseFolder;
    /// Deletes the selected channels (the current one when none is), each with its
    /// digital row, as unsaved changes.
    void DeleteSelectedChannels();
    /// Asks for the file to import or match (a file dialog); tests put their own here.
    static std::function<QString(QWidget*)> ChooseFile;
    /// Asks for the file to export to (a save dialog titled `title`, which asks before
    /// replacing a file); tests put their own here.
    static std::function<QString(QWidget*, const QString& title)> ChooseExportFile;

signals:
    /// The card kind of the source was settled anew (its panes shown).
    void cardKindChanged();

protected:
    void DiscardChanges() override;

private:
    void setUpLayout();
    class QGroupBox* makeSourceHeader(class QHBoxLayout*& headerRow);
    class QVBoxLayout* makeChannelList();
    class QGridLayout* makeChannelFields();
    QWidget* makeAnalogPane();
    QWidget* makeDVBPane();
    void addFrequencyReading(class QGridLayout* grid, int row, class QLineEdit* freq);
    void takeServerWidths();
    void settleCardKind();
    void showPanes();
    bool isDigital() const { return IsDigital(FCardKind); }
    void beforeDigitalWrite();
    /// Which channels a line-up tool works on: every channel of the source in the set's
    /// order, the selection when more than one is selected (else every channel in the
    /// list's order), or the selection (the current channel when none is selected).
    enum class TToolRows { All, SelectionOrAll, Selection };
    /// A line-up tool's start: none when the window has no channels open; else, with its
    /// editors committed and the typing in progress a step of its own, the rows chosen.
    std::optional<std::vector<int>> startTool(TToolRows which);
    /// A tool's changes, made through the data sets as one undo step named `name`.
    void applyTool(const QString& name, const std::function<void()>& change);
    /// New values of channels (visible rows), as one undo step.
    void changeChannels(const QString& name, const QList<TSQLClientDataSet::TRowValues>& changes);
    void applyImport(const QList<TImportRow>& rows, const QList<TChannelRow>& channels);
    /// Deletes the channels of the visible `rows` (ids `chanids`) with their tuning rows.
    void deleteChannels(const std::vector<int>& rows, const QSet<qlonglong>& chanids);
    /// The icon's preview follows its field: at once when the row changes, after a
    /// pause while it is typed.
    void followIconField();
    QString chooseFile(const QString& title, const QString& filter);

    // What the channel fields let be typed (characters), the line-up tools too.
    static constexpr int ChannumLimit = 5;
    static constexpr int NameLimit = 20;
    static constexpr int XmltvidLimit = 64;
    static constexpr int IconLimit = 255;
    int FSourceID = 0;
    TCardKind FCardKind = TCardKind::V4L;
    // During an import: the ids asked for all its new channels at once, the next one
    // to take and how many are left.
    int FNextReservedId = 0;
    int FReservedIds = 0;
};
