#pragma once

#include "editorwin.h"

#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class TDataSource;
class TDBCheckBox;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
class TDBText;
class TEditHistory;
class TPaneArea;
class TSQLClientDataSet;

/// Edits one capture card and its inputs.
class TCardWin : public TEditorWin
{
    Q_OBJECT

public:
    explicit TCardWin(QWidget* parent = nullptr);
    ~TCardWin() override;

    void SetCardID(int id);
    void NewCard();
    bool isDirty() const override;
    void ApplyActionExecute() override;
    void CardtypeComboChange();
    void InputDataSetNewRecord();
    void InputDataSetAfterScroll();
    void SourceDataSetAfterScroll();
    void SourceComboClick();

    int CardID() const { return FCardID; }

    TSQLClientDataSet* CardDataSet = nullptr;
    TSQLClientDataSet* InputDataSet = nullptr;
    TSQLClientDataSet* SourceDataSet = nullptr;
    TSQLClientDataSet* ChannelDataSet = nullptr;
    TDataSource* CardDataSource = nullptr;
    TDataSource* InputDataSource = nullptr;
    TDataSource* SourceDataSource = nullptr;
    TDataSource* ChannelDataSource = nullptr;

    /// Undo and redo of every change since the window opened or was saved.
    TEditHistory* History = nullptr;
    QAction* ApplyAction = nullptr;
    QPushButton* ApplyButton = nullptr;
    QToolButton* UndoButton = nullptr;
    QToolButton* RedoButton = nullptr;
    TDBText* DBText2 = nullptr;
    TDBEdit* DBEdit3 = nullptr;
    TDBComboBox* CardtypeCombo = nullptr;
    TPaneArea* PaneArea = nullptr;
    QWidget* AnalogPane = nullptr;
    QWidget* DVBPane = nullptr;
    QLabel* Label20 = nullptr;
    TDBComboBox* DBComboBox5 = nullptr;
    QLabel* AudioDevLabel = nullptr;
    TDBComboBox* AudioDevCombo = nullptr;
    TDBComboBox* DBComboBox7 = nullptr;
    QLabel* AudioRateLabel = nullptr;
    TDBComboBox* AudioRateCombo = nullptr;
    TDBComboBox* DBComboBox2 = nullptr;
    TDBComboBox* DBComboBox3 = nullptr;
    TDBCheckBox* DBCheckBox2 = nullptr;
    TDBLookupComboBox* DBLookupComboBox3 = nullptr;
    QGroupBox* InputGroup = nullptr;
    TDBNavigator* DBNavigator1 = nullptr;
    TDBGrid* DBGrid1 = nullptr;
    TDBText* DBText1 = nullptr;
    TDBComboBox* DBComboBox4 = nullptr;
    TDBEdit* DBEdit2 = nullptr;
    TDBLookupComboBox* SourceCombo = nullptr;
    TDBLookupComboBox* DBLookupComboBox1 = nullptr;
    TDBEdit* DBEdit11 = nullptr;
    TDBCheckBox* DBCheckBox1 = nullptr;
    TDBEdit* DBEdit4 = nullptr;

protected:
    void DiscardChanges() override;

private:
    void setUpLayout();
    QWidget* makeAnalogPane();
    QWidget* makeDVBPane();
    void setUpInputGroup();
    void followInputSource();

    static constexpr int HostnameLimit = 7;
    static constexpr int ExternalCommandLimit = 7;
    int FCardID = 0;
    int FListedSource = 0; // the source whose channels the start-channel list offers
};
