#include "takeback.h"

#include "connection.h"
#include "lineupbackup.h"
#include "lineuptables.h"
#include "recordname.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace {

/// The texts of this file, translated as TakeBack's.
struct TTakeBackText
{
    Q_DECLARE_TR_FUNCTIONS(TakeBack)
};

using Kind = TWrittenRow::Kind;

/// The columns of `expected` that `now` holds otherwise, as "number 14".
QStringList differences(const QString& table, const QVariantMap& expected, const QVariantMap& now)
{
    QStringList found;
    for (auto c = expected.begin(); c != expected.end(); ++c)
        if (now.contains(c.key()) && !RecordName::Same(now.value(c.key()), c.value()))
            found << QStringLiteral("%1 %2").arg(RecordName::Column(table, c.key()),
                                                 RecordName::Value(now.value(c.key())));
    return found;
}

TTakeBack::TItem itemOf(qsizetype row)
{
    TTakeBack::TItem item;
    item.rows << row;
    return item;
}

} // namespace

EChangedMeanwhile::EChangedMeanwhile(const QStringList& records)
    : EKorvaneError(TTakeBackText::tr("Nothing was taken back: changed meanwhile by someone "
                                      "else: %1.")
                        .arg(records.join(QStringLiteral("; ")))),
      m_records(records)
{
}

TTakeBack::TTakeBack(const QString& what, const QList<TWrittenRow>& rows, Purpose purpose)
    : m_what(what), m_rows(rows), m_purpose(purpose)
{
}

QString TTakeBack::What() const
{
    return m_purpose == Purpose::Restore ? m_what : TTakeBackText::tr("Take back: %1").arg(m_what);
}

void TTakeBack::Read(TSQLConnection& connection, const TLineupBackup* now)
{
    QList<qsizetype> asked;
    asked.reserve(m_rows.size());
    QHash<QString, QSet<qlonglong>> there; // the keys of `now`, a table at a time
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        const TWrittenRow& row = m_rows[r];
        if (now && now->tables.contains(row.table)) {
            QSet<qlonglong>& keys = there[row.table];
            if (keys.isEmpty())
                for (const QVariantList& values : now->tables.value(row.table))
                    keys.insert(values.first().toLongLong());
            if (!keys.contains(row.key.toLongLong()))
                continue; // not there: nothing to read
        }
        asked << r;
    }
    m_now = readNow(connection, asked, false);
    if (now)
        for (const TLineupTable& table : LineupTables())
            if (!m_columns.contains(table.name))
                m_columns.insert(table.name, table.columns);

    // One item a record; a channel's tuning row joins its channel when the entry wrote both.
    m_items.clear();
    QHash<qlonglong, qsizetype> channelItem;
    for (qsizetype r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].table == QLatin1String("channel")) {
            channelItem.insert(m_rows[r].key.toLongLong(), m_items.size());
            m_items.append(itemOf(r));
        }
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        const TWrittenRow& row = m_rows[r];
        if (row.table == QLatin1String("channel"))
            continue;
        const auto channel = channelItem.constFind(row.key.toLongLong());
        if (row.table == QLatin1String("channel_dvb") && channel != channelItem.constEnd() &&
            m_rows[m_items[*channel].rows.first()].kind == row.kind)
            m_items[*channel].rows << r;
        else
            m_items.append(itemOf(r));
    }
    // In the order the entry wrote them.
    std::stable_sort(m_items.begin(), m_items.end(), [](const TItem& a, const TItem& b) {
        return a.rows.first() < b.rows.first();
    });

    const QHash<qlonglong, QString> channels = RecordName::Channels(m_rows);
    m_rowStates.clear();
    QHash<qsizetype, QString> rowNotes;
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        QString note;
        m_rowStates << stateOf(r, &note);
        if (!note.isEmpty())
            rowNotes.insert(r, note);
    }
    for (TItem& item : m_items) {
        const TWrittenRow& first = m_rows[item.rows.first()];
        item.record = RecordName::Of(first, channels);
        QStringList notes;
        item.state = TItem::State::AsItWas;
        for (const qsizetype r : item.rows) {
            const TItem::State state = m_rowStates[r];
            if (state != TItem::State::AsItWas && state != TItem::State::Ready)
                notes << rowNotes.value(r);
            // The worst state of its rows is the item's.
            if (state == TItem::State::CannotReturn ||
                (state == TItem::State::ChangedSince && item.state != TItem::State::CannotReturn) ||
                (state == TItem::State::Ready && item.state == TItem::State::AsItWas))
                item.state = state;
        }
        if (item.state == TItem::State::AsItWas)
            notes = QStringList{TTakeBackText::tr("nothing to do: it is as it was before")};
        item.note = notes.join(QStringLiteral("; "));
        item.ticked = item.state == TItem::State::Ready;
        item.action = actionOf(item);
    }
}

TTakeBack::TItem::State TTakeBack::stateOf(qsizetype r, QString* note) const
{
    const TWrittenRow& row = m_rows[r];
    const TNow& now = m_now.value(r);
    if (!m_columns.contains(row.table)) {
        *note = TTakeBackText::tr("cannot come back: the table %1 is not known").arg(row.table);
        return TItem::State::CannotReturn;
    }
    auto changedSince = [&](const QVariantMap& expected) {
        const QStringList found = differences(row.table, expected, *now);
        if (found.isEmpty())
            return false;
        *note = TTakeBackText::tr("changed since: %1").arg(found.join(QStringLiteral(", ")));
        return true;
    };
    switch (row.kind) {
    case Kind::Insert:
        if (!now)
            return TItem::State::AsItWas;
        return changedSince(row.after) ? TItem::State::ChangedSince : TItem::State::Ready;
    case Kind::Update: {
        if (!now) {
            *note = TTakeBackText::tr("cannot come back: deleted since");
            return TItem::State::CannotReturn;
        }
        // What the write changed is what matters: a change since to another column is
        // kept, and an input still without a source gets its source back.
        const QStringList columns = RecordName::ChangedColumns(row);
        QVariantMap written;
        for (const QString& c : columns)
            written.insert(c, row.after.value(c));
        if (columns.isEmpty())
            return TItem::State::AsItWas;
        if (!changedSince(written))
            return TItem::State::Ready;
        const bool restored = std::all_of(columns.begin(), columns.end(), [&](const QString& c) {
            return RecordName::Same(now->value(c), row.before.value(c));
        });
        return restored ? TItem::State::AsItWas : TItem::State::ChangedSince;
    }
    case Kind::Delete:
        if (!now)
            return TItem::State::Ready;
        if (differences(row.table, row.before, *now).isEmpty())
            return TItem::State::AsItWas;
        *note = TTakeBackText::tr("cannot come back: its id %1 is in use again by %2")
                    .arg(row.key.toString(), RecordName::Of(row, *now));
        return TItem::State::CannotReturn;
    }
    return TItem::State::CannotReturn;
}

QString TTakeBack::actionOf(const TItem& item) const
{
    const TWrittenRow& row = m_rows[item.rows.first()];
    const bool withTuning = item.rows.size() > 1;
    switch (row.kind) {
    case Kind::Insert: {
        if (m_purpose == Purpose::Restore)
            return withTuning ? TTakeBackText::tr("delete it with its tuning values: not in the "
                                                  "backup")
                              : TTakeBackText::tr("delete it: not in the backup");
        static const QHash<QString, const char*> added{
            {QStringLiteral("videosource"),
             QT_TRANSLATE_NOOP("TakeBack", "delete the source added then")},
            {QStringLiteral("channel"),
             QT_TRANSLATE_NOOP("TakeBack", "delete the channel added then")},
            {QStringLiteral("channel_dvb"),
             QT_TRANSLATE_NOOP("TakeBack", "delete the tuning values added then")},
            {QStringLiteral("capturecard"),
             QT_TRANSLATE_NOOP("TakeBack", "delete the card added then")},
            {QStringLiteral("cardinput"),
             QT_TRANSLATE_NOOP("TakeBack", "delete the input added then")}};
        const char* text = added.value(row.table);
        const QString action =
            text ? QCoreApplication::translate("TakeBack", text)
                 : QCoreApplication::translate("TakeBack", "delete the row added then");
        return withTuning ? TTakeBackText::tr("%1, with its tuning values").arg(action) : action;
    }
    case Kind::Update: {
        QStringList restores;
        for (const qsizetype r : item.rows)
            for (const QString& c : RecordName::ChangedColumns(m_rows[r])) {
                const TNow& rowNow = m_now.value(r);
                restores << TTakeBackText::tr("%1 %2 (now %3)")
                                .arg(RecordName::Column(m_rows[r].table, c),
                                     RecordName::Value(m_rows[r].before.value(c)),
                                     rowNow ? RecordName::Value(rowNow->value(c))
                                            : TTakeBackText::tr("deleted"));
            }
        return TTakeBackText::tr("restore %1").arg(restores.join(QStringLiteral(", ")));
    }
    case Kind::Delete:
        return withTuning
                   ? TTakeBackText::tr("bring back %1 with its tuning values").arg(item.record)
                   : TTakeBackText::tr("bring back %1").arg(item.record);
    }
    return QString();
}

void TTakeBack::SetTicked(qsizetype item, bool ticked)
{
    if (item >= 0 && item < m_items.size())
        m_items[item].ticked = ticked && m_items[item].Tickable();
}

int TTakeBack::TickedCount() const
{
    return int(
        std::count_if(m_items.begin(), m_items.end(), [](const TItem& i) { return i.ticked; }));
}

int TTakeBack::Count(TItem::State state) const
{
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [state](const TItem& i) { return i.state == state; }));
}

int TTakeBack::Count(TWrittenRow::Kind kind) const
{
    return int(std::count_if(m_items.begin(), m_items.end(), [this, kind](const TItem& i) {
        return m_rows[i.rows.first()].kind == kind;
    }));
}

QList<qsizetype> TTakeBack::tickedRows() const
{
    // Taken back in the reverse order of the writes; a row as it was is left alone.
    QList<qsizetype> rows;
    for (const TItem& item : m_items)
        if (item.ticked)
            for (const qsizetype r : item.rows)
                if (m_rowStates.value(r) != TItem::State::AsItWas)
                    rows << r;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    return rows;
}
