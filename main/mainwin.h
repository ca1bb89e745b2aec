#pragma once

#include <QMainWindow>
#include <memory>

class TSQLClientDataSet;

/// The main window: the channel sources and the capture cards, and every action that
/// starts an edit or a delete.
class TMainWin : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainWin(QWidget* parent = nullptr);
    ~TMainWin() override;

    TSQLClientDataSet* SourceDataSet = nullptr;
    TSQLClientDataSet* CardDataSet = nullptr;

    void FormCreate();
};

/// The program's main window while it exists.
extern TMainWin* MainWin;
