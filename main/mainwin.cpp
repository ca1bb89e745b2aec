#include "mainwin.h"

#include "clientdataset.h"
#include "messagebox.h"
#include "sqlmodule.h"

#include <QAction>
#include <QKeySequence>
#include <exception>

TMainWin* MainWin = nullptr;

TMainWin::TMainWin(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWin"));
    setWindowTitle(QStringLiteral("Korvane Setup"));
    resize(795, 580);
    setCentralWidget(new QWidget(this));

    auto* quit = new QAction(tr("Quit"), this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);

    SourceDataSet = new TSQLClientDataSet(*SQLModule->Conn, this);
    SourceDataSet->setObjectName(QStringLiteral("SourceDataSet"));
    SourceDataSet->SetCommandText(QStringLiteral("videosource"));
    CardDataSet = new TSQLClientDataSet(*SQLModule->Conn, this);
    CardDataSet->setObjectName(QStringLiteral("CardDataSet"));
    CardDataSet->SetCommandText(QStringLiteral("capturecard"));
    FormCreate();
}

TMainWin::~TMainWin() = default;

void TMainWin::FormCreate()
{
    // A failure here (typically the connection) is shown; the window still opens.
    try {
        SourceDataSet->SetActive(true);
        CardDataSet->SetActive(true);
    } catch (const std::exception& e) {
        MessageBox::ShowException(QString::fromUtf8(e.what()), this);
    }
}
