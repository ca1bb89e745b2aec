#include "changelog.h"
#include "rowstore.h"

#include <QTest>

namespace {

// Rows of (id, source): the source is the filter column.
std::vector<std::unique_ptr<TRow>> rowsOf(const QList<QPair<int, int>>& values)
{
    std::vector<std::unique_ptr<TRow>> rows;
    for (const auto& [id, source] : values) {
        auto row = std::make_unique<TRow>();
        row->original = {id, source};
        row->current = row->original;
        rows.push_back(std::move(row));
    }
    return rows;
}

QList<int> shownIds(const TRowStore& store)
{
    QList<int> ids;
    for (int i = 0; i < store.Count(); ++i)
        ids << store.At(i)->current.at(0).toInt();
    return ids;
}

TKeyFilter source(qlonglong value)
{
    return TKeyFilter{1, value};
}

} // namespace

class TestRowStore : public QObject
{
    Q_OBJECT

private slots:
    // The rows a filter shows follow every change of the rows, whether the index of
    // filter values was kept or built again.
    void filtersFollowTheRows()
    {
        TRowStore store;
        store.Reset(rowsOf({{1, 10}, {2, 20}, {3, 10}, {4, 30}}), source(10));
        QCOMPARE(shownIds(store), (QList<int>{1, 3}));
        store.Refilter(source(20), false);
        QCOMPARE(shownIds(store), QList<int>{2});
        store.Refilter(std::nullopt, false);
        QCOMPARE(shownIds(store), (QList<int>{1, 2, 3, 4}));

        // A posted edit that moves a row to another key.
        store.Refilter(source(10), false);
        TRow* first = store.At(0);
        const auto before = store.IndexedKey(*first);
        QCOMPARE(before, std::optional<qlonglong>(10));
        first->current[1] = 20;
        store.Posted(first, before, false);
        store.Refilter(source(20), false);
        QCOMPARE(shownIds(store), (QList<int>{1, 2}));

        // A row appended and posted joins the end of its key's rows.
        TRow* added = store.AddPending({5, 20}, nullptr);
        QCOMPARE(shownIds(store), (QList<int>{1, 2, 5}));
        added->status = TRowStatus::Inserted;
        store.Posted(added, std::nullopt, true);
        store.Refilter(source(10), false);
        QCOMPARE(shownIds(store), QList<int>{3});
        store.Refilter(source(20), false);
        QCOMPARE(shownIds(store), (QList<int>{1, 2, 5}));

        // A row hidden as deleted stays out of every filter.
        store.At(1)->status = TRowStatus::Deleted;
        store.Hide(1);
        QCOMPARE(shownIds(store), (QList<int>{1, 5}));
        store.Refilter(std::nullopt, false);
        QCOMPARE(shownIds(store), (QList<int>{1, 3, 4, 5}));
    }

    // A row being added shows where it was started, whatever the filter; dropped
    // unposted, it leaves the rows as they were.
    void aPendingRowShowsUntilSettled()
    {
        TRowStore store;
        store.Reset(rowsOf({{1, 10}, {2, 10}, {3, 20}}), source(10));
        TRow* pending = store.AddPending({0, 0}, store.At(1));
        QCOMPARE(store.IndexOf(pending), 1);
        QCOMPARE(shownIds(store), (QList<int>{1, 0, 2}));
        store.Refilter(source(20), true);
        QCOMPARE(shownIds(store), (QList<int>{0, 3}));
        store.Remove(pending);
        store.Refilter(source(10), false);
        QCOMPARE(shownIds(store), (QList<int>{1, 2}));
        QCOMPARE(store.IndexOf(nullptr), -1);
    }

    // The change log keeps one entry per row; undone, every row is as read and added
    // rows are gone; merged after a save, only the rows still logged are settled.
    void changeLogUndoesAndMerges()
    {
        TRowStore store;
        store.Reset(rowsOf({{1, 10}, {2, 10}, {3, 10}}), std::nullopt);
        TChangeLog log;
        TRow* changed = store.At(0);
        changed->current[1] = 11;
        changed->status = TRowStatus::Modified;
        log.Log(changed);
        log.Log(changed);
        QCOMPARE(log.Count(), 1);
        TRow* deleted = store.At(1);
        deleted->status = TRowStatus::Deleted;
        log.Log(deleted);
        store.Hide(1);
        TRow* added = store.AddPending({4, 10}, nullptr);
        added->status = TRowStatus::Inserted;
        log.Log(added);
        QCOMPARE(shownIds(store), (QList<int>{1, 3, 4}));

        log.Undo(store);
        store.Refilter(std::nullopt, false);
        QVERIFY(log.IsEmpty());
        QCOMPARE(shownIds(store), (QList<int>{1, 2, 3}));
        QCOMPARE(changed->current.at(1).toInt(), 10);
        QCOMPARE(changed->status, TRowStatus::Unchanged);
        QCOMPARE(deleted->status, TRowStatus::Unchanged);

        // Written: the deleted row and the changed one; the change was undone before the
        // commit came back, so only the delete is merged.
        changed->current[1] = 12;
        changed->status = TRowStatus::Modified;
        log.Log(changed);
        deleted->status = TRowStatus::Deleted;
        log.Log(deleted);
        store.Hide(1);
        const std::vector<TRow*> written = log.Entries();
        log.Unlog(changed);
        log.MergeWritten(written, store);
        QVERIFY(log.IsEmpty());
        QCOMPARE(changed->status, TRowStatus::Modified); // still the user's, unsaved
        store.Refilter(std::nullopt, false);
        QCOMPARE(shownIds(store), (QList<int>{1, 3}));
        QVERIFY(SameValues(store.At(1)->original, store.At(1)->current));
    }

    void valuesCompareNullOnlyWithNull()
    {
        QVERIFY(SameValue(QVariant(), QVariant(QMetaType(QMetaType::Int))));
        QVERIFY(!SameValue(QVariant(0), QVariant(QMetaType(QMetaType::Int))));
        QVERIFY(SameValues({1, QStringLiteral("a")}, {1, QStringLiteral("a")}));
        QVERIFY(!SameValues({1}, {1, 2}));
    }
};

QTEST_GUILESS_MAIN(TestRowStore)
#include "tst_rowstore.moc"
