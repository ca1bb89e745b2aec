#include "lineupreport.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

/// The texts of the line-up check's report.
struct TLineupReportText
{
    Q_DECLARE_TR_FUNCTIONS(LineupReport)
};

bool isError(const TProblem& p)
{
    return p.severity == TProblem::Severity::Error;
}

} // namespace

QString SeverityText(TProblem::Severity severity)
{
    return severity == TProblem::Severity::Error ? TLineupReportText::tr("Error")
                                                 : TLineupReportText::tr("Warning");
}

QString ProblemSummary(const QList<TProblem>& problems)
{
    if (problems.isEmpty())
        return TLineupReportText::tr("No problems found");
    const int errors = int(std::count_if(problems.begin(), problems.end(), isError));
    const int warnings = int(problems.size()) - errors;
    const QString e = errors == 1 ? TLineupReportText::tr("1 error")
                                  : TLineupReportText::tr("%1 errors").arg(errors);
    const QString w = warnings == 1 ? TLineupReportText::tr("1 warning")
                                    : TLineupReportText::tr("%1 warnings").arg(warnings);
    return TLineupReportText::tr("%1, %2").arg(e, w);
}

QString ReportLine(const TProblem& problem)
{
    return TLineupReportText::tr("%1: %2 - %3: %4")
        .arg(SeverityText(problem.severity), problem.what, problem.where, problem.why);
}

QByteArray ReportJson(const QList<TProblem>& problems)
{
    // Keys and the severity and rule names are for scripts: never translated.
    QJsonArray array;
    for (const TProblem& p : problems) {
        QJsonObject o{{QStringLiteral("severity"),
                       isError(p) ? QStringLiteral("error") : QStringLiteral("warning")},
                      {QStringLiteral("rule"), RuleName(p.rule)},
                      {QStringLiteral("what"), p.what},
                      {QStringLiteral("where"), p.where},
                      {QStringLiteral("why"), p.why}};
        const std::pair<const char*, std::optional<int>> ids[] = {{"sourceid", p.sourceId},
                                                                  {"chanid", p.chanId},
                                                                  {"cardid", p.cardId},
                                                                  {"cardinputid", p.inputId}};
        for (const auto& [key, id] : ids)
            if (id)
                o.insert(QLatin1String(key), *id);
        array.append(o);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}
