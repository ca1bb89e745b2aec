#pragma once

#include "cardkind.h"

#include <QList>
#include <QString>
#include <libdvbv5/dvb-file.h>
#include <memory>
#include <optional>
#include <utility>

/// A channel file of libdvbv5's, freed by the library's own function.
struct TDvbFileDeleter
{
    void operator()(dvb_file* file) const { dvb_file_free(file); }
};
using TDvbFile = std::unique_ptr<dvb_file, TDvbFileDeleter>;

/// A column of channel_dvb that holds one of libdvbv5's tuning properties: the property
/// and, for a value from a list, the list's entries (the library's value and the text the
/// column stores); a column without a list stores the number itself, in the library's
/// unit (Hz on the ground and cable, kHz from a satellite).
struct TTuningColumn
{
    const char* column;
    quint32 property;
    QList<std::pair<quint32, const char*>> entries;
};

/// The tuning columns other than the PIDs (which the library keeps apart), in the order
/// channel_dvb has them.
const QList<TTuningColumn>& TuningColumns();
/// The tuning column named `column`; the first one when there is no such column.
const TTuningColumn& TuningColumn(const char* column);

/// The text the column stores for the library's `value`; none when its list lacks it.
std::optional<QString> ColumnText(const TTuningColumn& column, quint32 value);
/// The library's value for a text the column stores; none for a text it does not know.
std::optional<quint32> PropertyValue(const TTuningColumn& column, const QString& text);

/// A column shown in a source's tuning pane, with its caption there.
struct TPaneColumn
{
    QString column;
    QString caption;
};
/// The columns the DVB pane shows for a source of `kind`, in its order (none for an
/// analogue one).
QList<TPaneColumn> PaneColumnsOf(TCardKind kind);
