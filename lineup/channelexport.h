#pragma once

#include "cardkind.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

/// A channel as it is exported: its values as stored (a null value as the empty text)
/// and, when it has a digital row, that row's values, in the order of the columns its
/// line-up names (empty when it has none).
struct TExportChannel
{
    QString channum, callsign, name, xmltvid, icon;
    QVariantList tuning;
};

/// The channels to export, in their order, and the columns of their digital rows.
struct TExportLineup
{
    QStringList tuningColumns; // channel_dvb's columns, in lower case
    QList<TExportChannel> channels;

    /// Where `column` is among the tuning columns, -1 when it is not.
    int TuningIndex(const QString& column) const { return int(tuningColumns.indexOf(column)); }
};

/// The files an export writes: the DVB tools' channel file (what dvbv5-scan writes), or
/// CSV for a spreadsheet.
enum class TExportFormat { Dvbv5, Csv };

/// The format a file's name asks for: CSV for a name ending in ".csv", else the DVB
/// channel file.
TExportFormat ExportFormatOf(const QString& path);
/// The format named on the command line ("dvbv5" or "csv"); none for another name.
std::optional<TExportFormat> ExportFormatNamed(const QString& name);

/// What an export wrote.
struct TExportResult
{
    int written = 0; // channels written
    int leftOut = 0; // channels without DVB tuning values, which a channel file cannot hold
    /// "12 channels exported to ..." and, when some were left out, how many and why.
    QString Summary(const QString& path) const;
};

/// The channels as CSV: UTF-8, a header row (No., Short name, Long name, XMLTV ID, Icon,
/// then for a DVB source the tuning values by the captions of its pane), a line a
/// channel, quoted as RFC 4180 says; every value exactly as stored.
QByteArray CsvOf(const TExportLineup& lineup, TCardKind kind);

/// Writes `channels` of a source of `kind` to `path` ("-": standard output) in `format`,
/// whole or not at all (a file already there is left as it was when writing fails). A
/// DVB channel file is written by libdvbv5: one entry a channel with tuning values, in
/// the order given, named by its long name (else its short name), its number as
/// VCHANNEL, the first PID as the video PID and the others as audio PIDs. Raises
/// EKorvaneError naming the file when it cannot be written, or when no channel could
/// go into it.
TExportResult ExportChannels(const TExportLineup& lineup, TCardKind kind, TExportFormat format,
                             const QString& path);
