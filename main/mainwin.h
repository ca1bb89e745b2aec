#pragma once

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QPushButton;
class TDataSource;
class TDBGrid;
class THistoryWin;
class TLineupWin;
class TSQLClientDataSet;
struct TProblem;

/// The main window: the channel sources and the capture cards, and every action that
/// starts an edit or a delete.
class TMainWin : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainWin(QWidget* parent = nullptr);
    ~TMainWin() override;

    // Components, named as the rest of the program knows them.
    QLabel* Label2 = nullptr;
    TDBGrid* SourceGrid = nullptr;
    QPushButton* SourceInsertButton = nullptr;
    QPushButton* SourceDeleteButton = nullptr;
    QPushButton* SourceEditButton = nullptr;
    QLabel* Label1 = nullptr;
    TDBGrid* CardGrid = nullptr;
    QPushButton* CardInsertButton = nullptr;
    QPushButton* CardDeleteButton = nullptr;
    QPushButton* CardEditButton = nullptr;
    QPushButton* SettingsOpenButton = nullptr;
    QPushButton* CheckButton = nullptr;
    QPushButton* HistoryButton = nullptr;
    TDataSource* SourceDataSource = nullptr;
    TDataSource* CardDataSource = nullptr;
    TSQLClientDataSet* SourceDataSet = nullptr;
    TSQLClientDataSet* CardDataSet = nullptr;

    QAction* SourceEditAction = nullptr;
    QAction* CardEditAction = nullptr;
    QAction* SourceInsertAction = nullptr;
    QAction* CardInsertAction = nullptr;
    QAction* SourceDeleteAction = nullptr;
    QAction* CardDeleteAction = nullptr;
    QAction* SettingsOpenAction = nullptr;
    QAction* RefreshAction = nullptr;
    QAction* CheckAction = nullptr;
    QAction* HistoryAction = nullptr;

    void FormCreate();
    void SourceEditActionExecute();
    void CardEditActionExecute();
    void SourceInsertActionExecute();
    void CardInsertActionExecute();
    void SourceDeleteActionExecute();
    void CardDeleteActionExecute();
    void SettingsOpenActionExecute();
    /// Re-reads both lists (F5).
    void RefreshActionExecute();
    /// Check... (F7): opens the line-up check, or checks again in the one open.
    void CheckActionExecute();
    /// The line-up check's window, while it is open.
    TLineupWin* LineupWin() const;
    /// History... (Ctrl+H): opens the history of writes, or reads it again in the one open.
    void HistoryActionExecute();
    /// The history's window, while it is open.
    THistoryWin* HistoryWin() const;

private:
    void setUpLayout();
    void setUpActions();
    void reread(TSQLClientDataSet* dataSet);
    /// Opens the editor where `problem` is, and reads its list anew when it closes.
    void openProblem(const TProblem& problem);
    void recheck();
    // The tool windows while they are open (they close and go on their own).
    QPointer<TLineupWin> m_lineupWin;
    QPointer<THistoryWin> m_historyWin;
};

/// The program's main window while it exists.
extern TMainWin* MainWin;
