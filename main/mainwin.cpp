#include "mainwin.h"

#include "busynotice.h"
#include "cardwin.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "formhelpers.h"
#include "geometry.h"
#include "guard.h"
#include "historywin.h"
#include "lineupwin.h"
#include "lineupwriter.h"
#include "messagebox.h"
#include "mnemonics.h"
#include "recordfocus.h"
#include "settingswin.h"
#include "sqlmodule.h"
#include "writehistory.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <exception>
#include <memory>
#include <optional>

TMainWin* MainWin = nullptr;

namespace {

// The identifier of the current row, or a clear message when the list has none.
int currentId(TSQLClientDataSet* dataSet, const QString& column, const QString& noneMessage)
{
    const QVariant id = dataSet->Active() ? dataSet->FieldValue(column) : QVariant();
    if (id.isNull())
        throw EKorvaneError(noneMessage);
    return id.toInt();
}

// Creates an editor owned by `owner`, fills it (an error there stops before it shows),
// shows it modally and destroys it when it closes.
template <typename Window, typename Fill> void runEditor(QWidget* owner, Fill fill)
{
    auto window = std::make_unique<Window>(owner);
    fill(*window);
    window->exec();
}

} // namespace

TMainWin::TMainWin(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWin"));
    setWindowTitle(tr("Korvane Setup"));

    SourceDataSet = new TSQLClientDataSet(*SQLModule->Conn, this);
    SourceDataSet->setObjectName(QStringLiteral("SourceDataSet"));
    SourceDataSet->SetCommandText(QStringLiteral("videosource"));
    CardDataSet = new TSQLClientDataSet(*SQLModule->Conn, this);
    CardDataSet->setObjectName(QStringLiteral("CardDataSet"));
    CardDataSet->SetCommandText(QStringLiteral("capturecard"));
    SourceDataSource = new TDataSource(SourceDataSet, this);
    SourceDataSource->setObjectName(QStringLiteral("SourceDataSource"));
    SourceDataSource->AutoEdit = false;
    CardDataSource = new TDataSource(CardDataSet, this);
    CardDataSource->setObjectName(QStringLiteral("CardDataSource"));
    CardDataSource->AutoEdit = false;

    setUpLayout();
    setUpActions();
    FormCreate();
    new TGeometryKeeper(this); // sizes, positions and columns kept between starts
}

TMainWin::~TMainWin() = default;

void TMainWin::FormCreate()
{
    // The first list opens the connection: say to which server, as that can take a
    // while (up to the connect timeout when the server does not answer).
    std::optional<TBusyNotice> connecting;
    if (!SQLModule->Conn->Connected())
        connecting.emplace(tr("Connecting to the database server on host \u201C%1\u201D\u2026")
                               .arg(SQLModule->HostName()));
    // A failure here (typically the connection) is shown; the window still opens. When
    // the source list fails, the card list is not opened either.
    try {
        SourceDataSet->SetActive(true);
        CardDataSet->SetActive(true);
    } catch (const std::exception& e) {
        if (connecting)
            connecting->Done();
        MessageBox::ShowException(QString::fromUtf8(e.what()), this);
    }
}

void TMainWin::SourceEditActionExecute()
{
    const int id =
        currentId(SourceDataSet, QStringLiteral("sourceid"), tr("No channel source is selected."));
    runEditor<TChannelWin>(this, [id](TChannelWin& window) { window.SetSourceID(id); });
    reread(SourceDataSet);
}

void TMainWin::CardEditActionExecute()
{
    const int id =
        currentId(CardDataSet, QStringLiteral("cardid"), tr("No capture card is selected."));
    runEditor<TCardWin>(this, [id](TCardWin& window) { window.SetCardID(id); });
    reread(CardDataSet);
}

void TMainWin::SourceInsertActionExecute()
{
    runEditor<TChannelWin>(this, [](TChannelWin& window) { window.NewSource(); });
    reread(SourceDataSet);
}

void TMainWin::CardInsertActionExecute()
{
    runEditor<TCardWin>(this, [](TCardWin& window) { window.NewCard(); });
    reread(CardDataSet);
}

void TMainWin::SourceDeleteActionExecute()
{
    const auto answer = MessageBox::Ask(
        MessageBox::Kind::Confirmation, tr("Delete"),
        tr("Are you sure that you want to delete the selected source, all its channels and reset "
           "the source of the corresponding cardinputs?"),
        {MessageBox::Button::Cancel, MessageBox::Button::Yes}, MessageBox::Button::Cancel, this);
    if (answer != MessageBox::Button::Yes)
        return;
    const int id =
        currentId(SourceDataSet, QStringLiteral("sourceid"), tr("No channel source is selected."));
    TLineupWriter writer(*SQLModule->Conn, windowTitle());
    writer.DeleteSource(*SourceDataSet, id);
    if (!writer.HistoryError().isEmpty())
        statusBar()->showMessage(
            tr("Deleted, but the history could not be written: %1").arg(writer.HistoryError()));
    recheck();
}

void TMainWin::CardDeleteActionExecute()
{
    const auto answer = MessageBox::Ask(MessageBox::Kind::Confirmation, tr("Delete"),
                                        tr("Are you sure that you want to delete the selected card "
                                           "and its inputs from the database?"),
                                        {MessageBox::Button::Cancel, MessageBox::Button::Yes},
                                        MessageBox::Button::Cancel, this);
    if (answer != MessageBox::Button::Yes)
        return;
    const int id =
        currentId(CardDataSet, QStringLiteral("cardid"), tr("No capture card is selected."));
    TLineupWriter writer(*SQLModule->Conn, windowTitle());
    writer.DeleteCard(*CardDataSet, id);
    if (!writer.HistoryError().isEmpty())
        statusBar()->showMessage(
            tr("Deleted, but the history could not be written: %1").arg(writer.HistoryError()));
    recheck();
}

void TMainWin::SettingsOpenActionExecute()
{
    auto* window = new TSettingsWin(this);
    window->exec();
    delete window;
}

void TMainWin::RefreshActionExecute()
{
    reread(SourceDataSet);
    reread(CardDataSet);
}

void TMainWin::reread(TSQLClientDataSet* dataSet)
{
    if (dataSet->Active())
        dataSet->Refresh();
    else
        dataSet->SetActive(true); // the list failed to open before; try again
    recheck();
}

void TMainWin::recheck()
{
    // An open line-up check and history follow what was changed.
    if (m_lineupWin && m_lineupWin->isVisible())
        m_lineupWin->Check();
    if (m_historyWin && m_historyWin->isVisible())
        m_historyWin->Reload();
}

void TMainWin::CheckActionExecute()
{
    if (!m_lineupWin) {
        // The check runs before the window shows: a table or column missing is told in
        // the usual box, and no window opens.
        auto window = std::make_unique<TLineupWin>(this);
        window->OpenEditor = [this](const TProblem& problem) {
            openProblem(problem);
        };
        window->Check();
        m_lineupWin = window.release();
        m_lineupWin->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        m_lineupWin->Check();
    }
    m_lineupWin->show();
    m_lineupWin->raise();
    m_lineupWin->activateWindow();
}

TLineupWin* TMainWin::LineupWin() const
{
    return m_lineupWin;
}

THistoryWin* TMainWin::HistoryWin() const
{
    return m_historyWin;
}

void TMainWin::HistoryActionExecute()
{
    if (!m_historyWin) {
        auto window = std::make_unique<THistoryWin>(WriteHistory, *SQLModule->Conn, this);
        window->AfterTakeBack = [this] {
            RefreshActionExecute();
        };
        window->Reload();
        m_historyWin = window.release();
        m_historyWin->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        m_historyWin->Reload();
    }
    m_historyWin->show();
    m_historyWin->raise();
    m_historyWin->activateWindow();
}

void TMainWin::openProblem(const TProblem& problem)
{
    if (problem.record.IsEmpty())
        return;
    if (problem.cardId) {
        runEditor<TCardWin>(this, [&problem](TCardWin& window) {
            window.SetCardID(*problem.cardId);
            GoToRecord(&window, problem.record);
        });
        reread(CardDataSet);
    } else if (problem.sourceId) {
        runEditor<TChannelWin>(this, [&problem](TChannelWin& window) {
            window.SetSourceID(*problem.sourceId);
            GoToRecord(&window, problem.record);
        });
        reread(SourceDataSet);
    }
}
