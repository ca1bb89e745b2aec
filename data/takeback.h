#pragma once

#include "errors.h"
#include "statement.h"
#include "writehistory.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class TSQLConnection;
struct TLineupBackup;

/// Records of a take-back that changed after they were read: nothing was written.
class EChangedMeanwhile : public EKorvaneError
{
public:
    explicit EChangedMeanwhile(const QStringList& records);
    const QStringList& Records() const { return m_records; }

private:
    QStringList m_records;
};

/// Taking back an entry of the history, record by record: what each of its records
/// holds now, what taking it back does, and the statements that do it. A channel and
/// its tuning row are one record.
class TTakeBack
{
public:
    struct TItem
    {
        enum class State : quint8 {
            Ready,        // as the entry left it: taken back
            ChangedSince, // changed by anyone since: taken back only when ticked
            CannotReturn, // deleted since, or its id is in use again
            AsItWas,      // nothing to do: it is as it was before the entry
        };
        QList<qsizetype> rows; // the entry's rows: the record's, then its tuning row's
        State state = State::Ready;
        bool ticked = false;
        QString record; // as a person knows it
        QString action; // what taking it back does
        QString note;   // why it is not ticked
        bool Tickable() const { return state == State::Ready || state == State::ChangedSince; }
    };

    /// What the rows are taken back for: an entry of the history, or a restore of a
    /// backup (whose rows say how the line-up differs from it).
    enum class Purpose : quint8 { TakeBack, Restore };

    /// Taking back the entry `what` that wrote `rows`; for a restore, `what` names it.
    TTakeBack(const QString& what, const QList<TWrittenRow>& rows,
              Purpose purpose = Purpose::TakeBack);

    /// Reads how the entry's records stand now and what taking each back does; records
    /// unchanged since are ticked. A restore may pass the line-up it has just read whole
    /// (`now`): the rows it lacks are not asked for again. Raises the database's error.
    void Read(TSQLConnection& connection, const TLineupBackup* now = nullptr);

    const QList<TItem>& Items() const { return m_items; }
    /// Ticks or unticks an item (one that cannot be taken back stays unticked).
    void SetTicked(qsizetype item, bool ticked);
    int TickedCount() const;
    int Count(TItem::State state) const;
    /// The records whose first row the entry wrote as `kind`.
    int Count(TWrittenRow::Kind kind) const;
    bool IsRestore() const { return m_purpose == Purpose::Restore; }
    /// The entry the take-back makes: "Take back: Renumber 11 channels" (a restore's
    /// name as given).
    QString What() const;

    /// Reads the ticked records again, inside the write's transaction, locking them;
    /// raises EChangedMeanwhile naming those no longer as Read found them.
    void Recheck(TSQLConnection& connection);
    /// The statements taking back the ticked records, in the reverse order of the
    /// entry's (rows inserted into one table go several a statement); `records` gets
    /// the record each statement belongs to (its first), `rows` how many rows it writes.
    std::vector<TStatement> Statements(QStringList* records = nullptr,
                                       QList<int>* rows = nullptr) const;
    /// The rows the take-back writes, with their values now and after it.
    QList<TWrittenRow> Written() const;

private:
    using TNow = std::optional<QVariantMap>;
    /// Rows by their table and their key (rows without a key of their table left out).
    using TRowsByKey = QHash<QString, QHash<qlonglong, QList<qsizetype>>>;
    TRowsByKey byTableAndKey(const QList<qsizetype>& rows) const;
    QHash<qsizetype, TNow> readNow(TSQLConnection& connection, const QList<qsizetype>& rows,
                                   bool lock);
    /// Those of `rows` (not there when read) that are there now.
    QList<qsizetype> appeared(TSQLConnection& connection, const QList<qsizetype>& rows) const;
    TItem::State stateOf(qsizetype row, QString* note) const;
    QString actionOf(const TItem& item) const;
    QList<qsizetype> tickedRows() const;

    QString m_what;
    QList<TWrittenRow> m_rows;
    Purpose m_purpose;
    QHash<QString, QStringList> m_columns; // each table's columns in the database
    QHash<qsizetype, TNow> m_now;          // each row as Read found it
    QList<TItem::State> m_rowStates;       // and what that makes of it
    QList<TItem> m_items;
};
