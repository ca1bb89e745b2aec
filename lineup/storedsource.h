#pragma once

#include "cardkind.h"
#include "channelexport.h"

#include <QList>
#include <QString>

class TSQLConnection;

/// A source and its channels as the database holds them (what the command line exports).
struct TStoredSource
{
    int id = 0;
    QString name;
    TCardKind kind = TCardKind::None; // of the card receiving it, None when no card does
    TExportLineup channels;           // in the order of their ids, as the editor lists them
};

/// Reads the source `source` (its id, or its exact name) and its channels, only reading.
/// Raises EKorvaneError when no source has that id or name, or when the name is that of
/// several sources; the database's error when a table or column is missing.
TStoredSource ReadStoredSource(TSQLConnection& connection, const QString& source);
