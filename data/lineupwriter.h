#pragma once

#include "writtenrow.h"

#include <QList>
#include <QString>
#include <functional>
#include <future>

class TSQLClientDataSet;
class TSQLConnection;
class TTakeBack;

/// Every write of the line-up tables goes through here: an editor's Save and the main
/// window's deletes. Each write is one transaction, all of it or nothing; the rows it
/// writes are named, with their values before and after, before it commits.
class TLineupWriter
{
public:
    /// `window` and `what` name the write in the history: the window it was made in and
    /// what the user did there (a delete names itself).
    explicit TLineupWriter(TSQLConnection& connection, const QString& window = {},
                           const QString& what = {})
        : m_connection(connection), m_window(window), m_what(what)
    {
    }

    /// Called with the rows of a write once they are in the history, just before it
    /// commits; an exception it raises rolls the write back.
    std::function<void(const QList<TWrittenRow>&)> BeforeCommit;

    /// An editor's Save: the change logs of `dataSets`, settled first, in their order;
    /// a failure leaves every log as it was. Sends nothing when no set has changes.
    /// Returns the number of changes written (rows added, changed or deleted).
    int Save(const QList<TSQLClientDataSet*>& dataSets);

    /// Deletes the source of the current row of `sources` (its id `id`) with its
    /// channels and their digital rows, and sets the inputs that named it to none; the
    /// row leaves the list once written, and stays when nothing was.
    void DeleteSource(TSQLClientDataSet& sources, int id);
    /// Deletes the card of the current row of `cards` (its id `id`) with its inputs.
    void DeleteCard(TSQLClientDataSet& cards, int id);

    /// Takes back the ticked records of `takeBack` (read before): checks each again,
    /// locked, and writes them all or nothing; raises EChangedMeanwhile naming those
    /// changed since they were read. Writes nothing when none is ticked.
    void TakeBack(TTakeBack& takeBack);

    /// The rows the last write wrote (or was to write, when it failed).
    const QList<TWrittenRow>& Written() const { return m_written; }
    /// Why the last write is not in the history, when it was written but could not be
    /// recorded (empty otherwise).
    const QString& HistoryError() const { return m_historyError; }

private:
    /// Names the rows `select` returns of `table` as about to be deleted, or changed to
    /// `after` (column -> value) when given.
    void name(const QString& table, const QString& select, int id, const QVariantMap& after = {});
    void deleteRow(TSQLClientDataSet& list, const QStringList& statements);
    /// Before the write: today's snapshot of the line-up, when there is none yet.
    void snapshot();
    /// Starts writing the history's entry of m_written, while the write goes on.
    void startHistory();
    /// The entry started, waited for: its id, 0 when it could not be written (the
    /// reason in m_historyError).
    qint64 awaitHistory();
    /// After a write that failed: its entry, once written, dropped.
    void dropHistory() noexcept;
    /// Drops the history's entry `entry` (0: none); one that cannot be is settled later.
    void dropEntry(qint64 entry) noexcept;
    void commit();

    TSQLConnection& m_connection;
    QString m_window;
    QString m_what;
    QList<TWrittenRow> m_written;
    QString m_historyError;
    std::future<qint64> m_entry;
};
