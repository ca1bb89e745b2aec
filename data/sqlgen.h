#pragma once

#include "statement.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

/// What statement generation needs to know of a column.
struct TColumnInfo
{
    QString name;
    QMetaType type;
    bool updatable = true;     // written by INSERT and UPDATE
    bool whereEligible = true; // identifies the row in UPDATE and DELETE
};

/// Quotes a table name for the open statement (`forApply` false) or for INSERT,
/// UPDATE and DELETE (`forApply` true, which also leaves names already wrapped in an
/// apostrophe or backquote alone). Names of digits, A-Z and "_" stay unquoted.
QString QuoteTableName(const QString& table, const QString& quote, bool forApply);

/// " select * from " followed by the quoted table.
QString OpenStatement(const QString& table, const QString& quote);

TStatement InsertStatement(const QString& table, const QString& quote,
                           const QList<TColumnInfo>& columns, const QVariantList& newValues);

/// `changed` marks the columns that have a new value in this change.
TStatement UpdateStatement(const QString& table, const QString& quote,
                           const QList<TColumnInfo>& columns, const QVariantList& oldValues,
                           const QVariantList& newValues, const QList<bool>& changed);

TStatement DeleteStatement(const QString& table, const QString& quote,
                           const QList<TColumnInfo>& columns, const QVariantList& oldValues);

/// A data size from which a column no longer identifies a row.
constexpr int MaxWhereDataSize = 8192;
