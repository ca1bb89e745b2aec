#pragma once

#include "fielddef.h"
#include "rowstore.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

class TSQLConnection;

/// The columns and rows of one statement's result.
struct TRowsRead
{
    QList<TFieldDef> fields;
    QHash<QString, int> fieldIndex; // lower-case name -> column
    std::vector<std::unique_ptr<TRow>> rows;
};

/// Runs `sql` and reads every row of its result, each value as its column's type.
/// `source` names what is read, for the SQL trace.
TRowsRead ReadRows(TSQLConnection& connection, const QString& sql, const QString& source);
