#pragma once

#include "cardkind.h"

#include <QList>
#include <QString>
#include <QStringList>
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

/// Where a tuning column's values come from in a channel file of the DVB tools.
enum class TTuningSource : quint8 {
    Property, // one of libdvbv5's properties
    Pids,     // the entry's video PID, then its audio PIDs ("101,102")
    None      // nothing in the file (typed by the user)
};

/// A column of channel_dvb and everything the program knows of it: where a channel file
/// holds it, the values it may take, how its tuning pane shows it, and for which kinds.
struct TTuningColumn
{
    const char* column;
    TTuningSource source;
    /// libdvbv5's property (for TTuningSource::Property): a value from a list, or the
    /// number itself, in the library's unit (Hz on the ground and cable, kHz from a
    /// satellite).
    quint32 property;
    /// The list's entries: the library's value and the text the column stores, in the
    /// order the pane offers them; empty for a column that holds a number or text.
    QList<std::pair<quint32, const char*>> entries;
    const char* caption;    // in the pane, in English (Caption() translates it)
    const char* note;       // a line under the field, or null
    const char* control;    // the pane's control's object name
    int limit;              // characters typed; 0: the column's width on the server
    QList<TCardKind> kinds; // the kinds whose pane shows it

    QString Caption() const;
    QString Note() const;
    QString Name() const { return QLatin1String(column); }
    bool IsList() const { return !entries.isEmpty(); }
    /// The texts the column stores, in the list's order.
    QStringList Values() const;
    bool ShownFor(TCardKind kind) const { return kinds.contains(kind); }
    /// Shown for every digital kind (in the pane's common part).
    bool Common() const;
};

/// Every tuning column of channel_dvb but its key, in the order the panes show them.
const QList<TTuningColumn>& TuningColumns();
/// The tuning column named `column`; null when there is none.
const TTuningColumn* FindTuningColumn(const QString& column);

/// The text the column stores for the library's `value`; none when its list lacks it.
std::optional<QString> ColumnText(const TTuningColumn& column, quint32 value);
/// The library's value for a text the column stores; none for a text it does not know.
std::optional<quint32> PropertyValue(const TTuningColumn& column, const QString& text);

/// The columns the DVB pane shows for a source of `kind`, in its order (none for an
/// analogue one).
QList<const TTuningColumn*> PaneColumnsOf(TCardKind kind);
