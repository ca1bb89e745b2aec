#include "startup.h"

#include "application.h"
#include "clientdataset.h"
#include "errors.h"
#include "language.h"
#include "mainwin.h"
#include "messagebox.h"
#include "sqlmodule.h"
#include "writehistory.h"

#include <cstdio>
#include <memory>

QString NoSettingsMessage()
{
    return QCoreApplication::translate("Startup",
                                       "mysql.txt cound not be found and read. Please create a "
                                       "valid config file. See the Korvane docs for more info.");
}

namespace {

/// Settles the writes a program that ended early left unfinished in the history. The
/// history is no reason not to start: what fails here is said on standard error.
void settleHistory(TWriteHistory& history, TSQLConnection& connection)
{
    if (!connection.Connected())
        return;
    try {
        history.Settle(connection);
    } catch (const EKorvaneError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
    }
}

} // namespace

int RunKorvaneSetup(int argc, char** argv, const std::function<void()>& beforeMainWindow)
{
    TKorvaneApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvane-setup"));
    InstallTranslations();
    MessageBox::SetApplicationTitle(QCoreApplication::translate("Startup", "Korvane Setup"));

    try {
        std::unique_ptr<TSQLModule> module;
        try {
            module = std::make_unique<TSQLModule>(&TSQLClientDataSet::CreateSearchDataSet);
        } catch (const ENoHostName&) {
            MessageBox::Ask(
                MessageBox::Kind::Error, QCoreApplication::translate("Startup", "Database login"),
                NoSettingsMessage(), {MessageBox::Button::Abort}, MessageBox::Button::Abort);
            return 1;
        } catch (const EBadSetting& e) {
            MessageBox::Ask(MessageBox::Kind::Error,
                            QCoreApplication::translate("Startup", "Database login"), e.Message(),
                            {MessageBox::Button::Abort}, MessageBox::Button::Abort);
            return 1;
        }
        // Every write is recorded in the user's history of writes.
        TWriteHistory history(TWriteHistory::DefaultPath(), module->HostName(),
                              module->DatabaseName());
        WriteHistory = &history;
        const std::shared_ptr<void> unset(nullptr, [](void*) { WriteHistory = nullptr; });
        if (beforeMainWindow)
            beforeMainWindow();
        // The main window goes before the module, whose destruction closes the connection.
        auto mainWin = std::make_unique<TMainWin>();
        MainWin = mainWin.get();
        mainWin->show();
        settleHistory(history, *module->Conn);
        QApplication::exec();
        MainWin = nullptr;
    } catch (...) {
        // Shown, and the program ends as failed: a start-up that broke off is no success.
        ShowCurrentException();
        return 1;
    }
    return 0;
}
