#include "lineupwriter.h"

#include "clientdataset.h"
#include "connection.h"
#include "errors.h"
#include "takeback.h"
#include "writehistory.h"

#include <QCoreApplication>

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

int TLineupWriter::Save(const QList<TSQLClientDataSet*>& dataSets)
{
    m_written.clear();
    // Settle pending rows first: a posting row may post rows of another set.
    int changes = 0;
    for (TSQLClientDataSet* set : dataSets)
        if (set->Active())
            set->CheckBrowseMode();
    for (TSQLClientDataSet* set : dataSets)
        if (set->Active()) {
            changes += set->ChangeCount();
            m_written += set->PendingRows();
        }
    if (changes == 0)
        return 0;
    snapshot();
    startHistory();
    m_connection.StartTransaction();
    try {
        for (TSQLClientDataSet* set : dataSets)
            if (set->Active())
                set->ApplyUpdates(0);
        commit();
    } catch (...) {
        m_connection.Rollback();
        dropHistory();
        throw;
    }
    return changes;
}

void TLineupWriter::DeleteSource(TSQLClientDataSet& sources, int id)
{
    m_written.clear();
    const QString sourceName = sources.FieldValue(QStringLiteral("name")).toString();
    snapshot();
    m_connection.StartTransaction();
    try {
        // What goes, as it stands inside the transaction: the channels' digital rows,
        // the channels, and the inputs that named the source.
        name(QStringLiteral("channel_dvb"),
             QStringLiteral("SELECT * FROM channel_dvb WHERE chanid IN (SELECT chanid FROM "
                            "channel WHERE sourceid = ?) ORDER BY chanid"),
             id);
        name(QStringLiteral("channel"),
             QStringLiteral("SELECT * FROM channel WHERE sourceid = ? ORDER BY chanid"), id);
        name(QStringLiteral("cardinput"),
             QStringLiteral("SELECT * FROM cardinput WHERE sourceid = ? ORDER BY cardinputid"), id,
             {{QStringLiteral("sourceid"), 0}});
        const auto channels =
            std::count_if(m_written.begin(), m_written.end(),
                          [](const TWrittenRow& r) { return r.table == QLatin1String("channel"); });
        m_what =
            channels == 1
                ? QCoreApplication::translate("TLineupWriter", "Delete source %1 with 1 channel")
                      .arg(sourceName)
                : QCoreApplication::translate("TLineupWriter", "Delete source %1 with %2 channels")
                      .arg(sourceName)
                      .arg(channels);
        deleteRow(sources,
                  {// The digital rows of the source's channels go with them.
                   QStringLiteral("DELETE FROM channel_dvb WHERE chanid IN (SELECT chanid FROM "
                                  "channel WHERE sourceid=%1)")
                       .arg(id),
                   QStringLiteral("DELETE FROM channel WHERE sourceid=%1").arg(id),
                   QStringLiteral("UPDATE cardinput SET sourceid=0 WHERE sourceid=%1").arg(id)});
    } catch (...) {
        m_connection.Rollback();
        dropHistory();
        sources.CancelUpdates(); // nothing was deleted: the row shows again
        throw;
    }
}

void TLineupWriter::DeleteCard(TSQLClientDataSet& cards, int id)
{
    m_written.clear();
    snapshot();
    m_connection.StartTransaction();
    const QString type = cards.FieldValue(QStringLiteral("cardtype")).toString();
    const QString host = cards.FieldValue(QStringLiteral("hostname")).toString();
    try {
        name(QStringLiteral("cardinput"),
             QStringLiteral("SELECT * FROM cardinput WHERE cardid = ? ORDER BY cardinputid"), id);
        m_what = m_written.size() == 1
                     ? QCoreApplication::translate("TLineupWriter",
                                                   "Delete card %1 on \u201C%2\u201D with 1 input")
                           .arg(type, host)
                     : QCoreApplication::translate(
                           "TLineupWriter", "Delete card %1 on \u201C%2\u201D with %3 inputs")
                           .arg(type, host, QString::number(m_written.size()));
        deleteRow(cards, {QStringLiteral("DELETE FROM cardinput WHERE cardid=%1").arg(id)});
    } catch (...) {
        m_connection.Rollback();
        dropHistory();
        cards.CancelUpdates();
        throw;
    }
}

void TLineupWriter::TakeBack(TTakeBack& takeBack)
{
    m_written.clear();
    m_what = takeBack.What();
    if (takeBack.TickedCount() == 0)
        return;
    snapshot();
    // The entry is written while the records are checked again and written; a change
    // found meanwhile drops it.
    m_written = takeBack.Written();
    startHistory();
    try {
        m_connection.StartTransaction();
        takeBack.Recheck(m_connection);
        QStringList records;
        QList<int> rows;
        const std::vector<TStatement> statements = takeBack.Statements(&records, &rows);
        // Each statement finds its rows, as the check just saw them.
        m_connection.ExecuteBatch(statements, [&records, &rows](size_t i, int matched) {
            if (matched != rows.value(qsizetype(i)))
                throw EChangedMeanwhile({records.value(qsizetype(i))});
        });
        commit();
    } catch (...) {
        m_connection.Rollback();
        dropHistory();
        throw;
    }
}

void TLineupWriter::name(const QString& table, const QString& select, int id,
                         const QVariantMap& after)
{
    QSqlQuery& rows = m_connection.Execute(select, {id});
    const QSqlRecord record = rows.record();
    while (rows.next()) {
        TWrittenRow row;
        row.kind = after.isEmpty() ? TWrittenRow::Kind::Delete : TWrittenRow::Kind::Update;
        row.table = table;
        row.keyColumn = record.fieldName(0);
        row.key = rows.value(0);
        for (int c = 0; c < record.count(); ++c)
            row.before.insert(record.fieldName(c), rows.value(c));
        if (!after.isEmpty()) {
            row.after = row.before;
            for (auto i = after.begin(); i != after.end(); ++i)
                row.after.insert(i.key(), i.value());
        }
        m_written << row;
    }
}

void TLineupWriter::deleteRow(TSQLClientDataSet& list, const QStringList& statements)
{
    std::vector<TStatement> batch;
    for (const QString& sql : statements)
        batch.push_back({sql, {}});
    m_connection.ExecuteBatch(batch);
    list.Delete();
    m_written += list.PendingRows();
    startHistory();
    list.ApplyUpdates(0); // joins the transaction; the row is gone once committed
    commit();
}

void TLineupWriter::snapshot()
{
    // Nothing of it stops the write: what went wrong is said as the history's failures are.
    m_historyError.clear();
    if (TWriteHistory* history = WriteHistory) {
        try {
            history->SnapshotBeforeWrite(m_connection);
        } catch (const EKorvaneError& e) {
            m_historyError = e.Message();
        }
    }
}

void TLineupWriter::startHistory()
{
    // The history is written before the commit and marked done after it; nothing of it
    // stops the write.
    m_entry = {};
    if (TWriteHistory* history = WriteHistory) {
        try {
            m_entry = history->BeginLater(m_window, m_what, m_written);
        } catch (const EKorvaneError& e) {
            m_historyError = e.Message();
        }
    }
}

qint64 TLineupWriter::awaitHistory()
{
    if (!m_entry.valid())
        return 0;
    try {
        return m_entry.get();
    } catch (const EKorvaneError& e) {
        m_historyError = e.Message();
    }
    return 0;
}

void TLineupWriter::dropHistory() noexcept
{
    dropEntry(awaitHistory());
}

void TLineupWriter::dropEntry(qint64 entry) noexcept
{
    if (entry && WriteHistory) {
        try {
            WriteHistory->Drop(entry);
        } catch (const EKorvaneError&) {
            // settled at the next start
        }
    }
}

void TLineupWriter::commit()
{
    const qint64 entry = awaitHistory();
    try {
        if (BeforeCommit)
            BeforeCommit(m_written);
        m_connection.Commit();
    } catch (...) {
        dropEntry(entry);
        throw;
    }
    if (entry && WriteHistory) {
        try {
            WriteHistory->Done(entry);
        } catch (const EKorvaneError& e) {
            m_historyError = e.Message();
        }
    }
}
