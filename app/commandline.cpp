#include "commandline.h"

#include "backupcommand.h"
#include "clientdataset.h"
#include "errors.h"
#include "historycommand.h"
#include "language.h"
#include "lineupcheck.h"
#include "lineupreport.h"
#include "sqlmodule.h"
#include "startup.h"
#include "storedsource.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

/// The texts of this file, translated as CommandLine's.
struct TCommandLineText
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// Qt's own window options, which the windows' application object takes: with a value,
// and without.
const QSet<QString> QtOptionsWithValue{"platform",
                                       "platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qwindowgeometry",
                                       "qwindowicon",
                                       "qwindowtitle",
                                       "geometry",
                                       "title",
                                       "icon",
                                       "display",
                                       "style",
                                       "stylesheet",
                                       "session",
                                       "name",
                                       "visual",
                                       "qmljsdebugger"};
const QSet<QString> QtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync"};

/// The arguments after the program's name, less Qt's window options.
QStringList ownArguments(int argc, char** argv)
{
    QStringList own;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QString name = arg;
        if (name.startsWith(QLatin1String("--")))
            name.remove(0, 2);
        else if (name.startsWith(QLatin1Char('-')))
            name.remove(0, 1);
        else {
            own << arg;
            continue;
        }
        const QString bare = name.section(QLatin1Char('='), 0, 0);
        if (QtFlags.contains(name) || (QtOptionsWithValue.contains(bare) && name.contains('=')))
            continue;
        if (QtOptionsWithValue.contains(name)) {
            ++i; // its value
            continue;
        }
        own << arg;
    }
    return own;
}

void print(std::FILE* stream, const QString& text)
{
    // Straight out, in order with anything else the program writes.
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int usageError(const QCommandLineParser& parser, const QString& error)
{
    print(stderr, error + QStringLiteral("\n\n") + parser.helpText());
    return 1;
}

/// Runs `work` on the connection the settings files give, found as the window finds
/// them: its status, or 1 with the reason on standard error (`failed` says what could
/// not be done) when there are no settings or the database refuses.
int onDatabase(const std::function<int(TSQLConnection&)>& work,
               const std::function<QString(const QString&)>& failed)
{
    try {
        TSQLModule module(&TSQLClientDataSet::CreateSearchDataSet);
        return work(*module.Conn);
    } catch (const ENoHostName&) {
        print(stderr, NoSettingsMessage() + QLatin1Char('\n'));
    } catch (const EBadSetting& e) {
        print(stderr, e.Message() + QLatin1Char('\n'));
    } catch (const EKorvaneError& e) {
        print(stderr, failed(e.Message()) + QLatin1Char('\n'));
    }
    return 1;
}

/// The line-up check: the report on standard output, the status for a script (0 no
/// error, 2 errors found, 1 the check could not run).
int runCheck(bool json)
{
    return onDatabase(
        [json](TSQLConnection& connection) {
            const QList<TProblem> problems = CheckLineup(ReadLineup(connection));
            if (json) {
                print(stdout, QString::fromUtf8(ReportJson(problems)));
            } else {
                QString report;
                for (const TProblem& p : problems)
                    report += ReportLine(p) + QLatin1Char('\n');
                print(stdout, report + ProblemSummary(problems) + QLatin1Char('\n'));
            }
            const bool errors =
                std::any_of(problems.begin(), problems.end(), [](const TProblem& p) {
                    return p.severity == TProblem::Severity::Error;
                });
            return errors ? 2 : 0;
        },
        [](const QString& why) {
            return TCommandLineText::tr("The line-up could not be checked: %1").arg(why);
        });
}

/// Writes the stored channels of `source` to `path` ("-": standard output): status 0,
/// or 1 with the reason on standard error.
int runExport(const QString& source, const QString& path, TExportFormat format)
{
    return onDatabase(
        [&](TSQLConnection& connection) {
            const TStoredSource stored = ReadStoredSource(connection, source);
            const TExportResult result = ExportChannels(stored.channels, stored.kind, format, path);
            // What was done goes to standard error: standard output may be the file itself.
            print(stderr, result.Summary(path == QLatin1String("-")
                                             ? TCommandLineText::tr("standard output")
                                             : path) +
                              QLatin1Char('\n'));
            return 0;
        },
        [](const QString& why) { return why; });
}

} // namespace

std::optional<int> RunCommandLine(int argc, char** argv)
{
    const QStringList own = ownArguments(argc, argv);
    if (own.isEmpty())
        return std::nullopt;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-setup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    InstallTranslations();

    QCommandLineParser parser;
    parser.setApplicationDescription(TCommandLineText::tr(
        "Korvane Setup edits the channel sources, channels and capture cards of the Korvane "
        "TV recorder. Without options it opens its window; the options below work without "
        "a display."));
    // Help of our own: Qt's adds --help-all, for options the command line does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  TCommandLineText::tr("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption check(
        QStringLiteral("check"),
        TCommandLineText::tr(
            "Check the line-up and print what would make the recorder fail, one line a problem, "
            "errors first. Exit status: 0 no error found, 2 errors found, 1 the check could not "
            "run."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        TCommandLineText::tr(
            "With --check: print the problems as one JSON array; with --history, the entries."));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        TCommandLineText::tr(
            "Write the stored channels of SOURCE (its id or exact name) to FILE (- for standard "
            "output). Exit status: 0 written, 1 not."),
        TCommandLineText::tr("SOURCE"));
    const QCommandLineOption format(
        QStringLiteral("format"),
        TCommandLineText::tr(
            "With --export: dvbv5 (the DVB tools' channel file) or csv; else taken from FILE's "
            "extension, dvbv5 when it has none."),
        TCommandLineText::tr("FORMAT"));
    const QCommandLineOption history(
        QStringLiteral("history"),
        TCommandLineText::tr("List what this program wrote to the database, newest first: "
                             "id, time, user and host, what was done, rows written."));
    const QCommandLineOption limit(QStringLiteral("limit"),
                                   TCommandLineText::tr("With --history: at most N entries."),
                                   QStringLiteral("N"));
    const QCommandLineOption takeBack(
        QStringLiteral("take-back"),
        TCommandLineText::tr("Take back the history's entry ID, every record that is unchanged "
                             "since. Exit status: 0 taken back, 2 a record changed since "
                             "(nothing written), 1 not."),
        QStringLiteral("ID"));
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        TCommandLineText::tr("With --take-back or --restore: print what would be done, write "
                             "nothing."));
    const QCommandLineOption backup(
        QStringLiteral("backup"),
        TCommandLineText::tr("Write the line-up (sources, channels, tuning values, cards, "
                             "inputs) to FILE as JSON (- for standard output). Exit status: 0 "
                             "written, 1 not."),
        TCommandLineText::tr("FILE"));
    const QCommandLineOption restore(
        QStringLiteral("restore"),
        TCommandLineText::tr("Make the line-up hold exactly what FILE holds, printing what "
                             "changes first. Exit status: 0 restored (or nothing to change), 2 "
                             "with --dry-run when something would change, 1 not."),
        TCommandLineText::tr("FILE"));
    parser.addOption(check);
    parser.addOption(history);
    parser.addOption(takeBack);
    parser.addOption(backup);
    parser.addOption(restore);
    parser.addOption(dryRun);
    parser.addOption(limit);
    parser.addOption(json);
    parser.addOption(exportOption);
    parser.addOption(format);
    parser.addPositionalArgument(TCommandLineText::tr("FILE"),
                                 TCommandLineText::tr("With --export: the file to write."),
                                 TCommandLineText::tr("[FILE]"));

    QStringList arguments{app.arguments().value(0, QStringLiteral("korvane-setup"))};
    arguments += own;
    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(backup) || parser.isSet(restore)) {
        if (parser.isSet(backup) + parser.isSet(restore) + parser.isSet(check) +
                    parser.isSet(exportOption) + parser.isSet(history) + parser.isSet(takeBack) >
                1 ||
            parser.isSet(json) || parser.isSet(limit) || !positional.isEmpty() ||
            (parser.isSet(backup) && parser.isSet(dryRun)))
            return usageError(parser, TCommandLineText::tr("--backup goes alone; --restore goes "
                                                           "alone or with --dry-run."));
        return parser.isSet(backup) ? RunBackup(parser.value(backup))
                                    : RunRestore(parser.value(restore), parser.isSet(dryRun));
    }
    if (parser.isSet(takeBack)) {
        if (parser.isSet(check) || parser.isSet(exportOption) || parser.isSet(history) ||
            parser.isSet(json) || parser.isSet(limit) || !positional.isEmpty())
            return usageError(parser,
                              TCommandLineText::tr("--take-back goes alone (with --dry-run)."));
        bool ok = false;
        const qint64 id = parser.value(takeBack).toLongLong(&ok);
        if (!ok || id <= 0)
            return usageError(parser, TCommandLineText::tr("--take-back needs an entry's id (see "
                                                           "--history), not \"%1\".")
                                          .arg(parser.value(takeBack)));
        return RunTakeBack(id, parser.isSet(dryRun));
    }
    if (parser.isSet(dryRun))
        return usageError(parser,
                          TCommandLineText::tr("--dry-run goes with --take-back or --restore."));
    if (parser.isSet(history)) {
        if (parser.isSet(check) || parser.isSet(exportOption) || !positional.isEmpty())
            return usageError(parser, TCommandLineText::tr("--history goes alone (with --limit "
                                                           "and --json)."));
        bool ok = true;
        const int n = parser.isSet(limit) ? parser.value(limit).toInt(&ok) : 0;
        if (!ok || n < 0)
            return usageError(parser, TCommandLineText::tr("--limit needs a whole number, not "
                                                           "\"%1\".")
                                          .arg(parser.value(limit)));
        return RunHistoryList(n, parser.isSet(json));
    }
    if (parser.isSet(limit))
        return usageError(parser, TCommandLineText::tr("--limit goes with --history."));
    if (parser.isSet(exportOption)) {
        if (parser.isSet(check) || parser.isSet(json))
            return usageError(parser,
                              TCommandLineText::tr("--export and --check are run one at a time."));
        if (positional.size() != 1)
            return usageError(
                parser,
                positional.isEmpty()
                    ? TCommandLineText::tr("--export needs the FILE to write.")
                    : TCommandLineText::tr("Unexpected argument: %1").arg(positional.at(1)));
        const QString path = positional.constFirst();
        std::optional<TExportFormat> chosen = ExportFormatOf(path);
        if (parser.isSet(format))
            chosen = ExportFormatNamed(parser.value(format));
        if (!chosen)
            return usageError(parser, TCommandLineText::tr("Unknown format \"%1\": dvbv5 or csv.")
                                          .arg(parser.value(format)));
        return runExport(parser.value(exportOption), path, *chosen);
    }
    if (!positional.isEmpty())
        return usageError(
            parser, TCommandLineText::tr("Unexpected argument: %1").arg(positional.constFirst()));
    if (parser.isSet(format))
        return usageError(parser, TCommandLineText::tr("--format goes with --export."));
    if (!parser.isSet(check))
        return usageError(parser, TCommandLineText::tr("--json goes with --check or --history."));
    return runCheck(parser.isSet(json));
}
