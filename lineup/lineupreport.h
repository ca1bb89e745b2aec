#pragma once

#include "lineupcheck.h"

#include <QByteArray>
#include <QList>
#include <QString>

/// "Error" or "Warning", as the check's window and its report say it.
QString SeverityText(TProblem::Severity severity);

/// The line that sums the problems up: "1 error, 2 warnings", "No problems found".
QString ProblemSummary(const QList<TProblem>& problems);

/// A problem on one line of the report: "Error: <what> - <where>: <why>".
QString ReportLine(const TProblem& problem);

/// The problems as one JSON array of objects: severity ("error", "warning"), rule,
/// what, where, why and, where they apply, sourceid, chanid, cardid and cardinputid.
QByteArray ReportJson(const QList<TProblem>& problems);
