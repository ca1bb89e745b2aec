#include "clientdataset.h"
#include "rowfilter.h"
#include "testdatabase.h"

#include <QTest>

// The rows a filter finds, as their chanid, in the set's order.
static QList<int> chanids(const TSQLClientDataSet& set, const std::vector<bool>& found)
{
    QList<int> out;
    for (int row = 0; row < int(found.size()); ++row)
        if (found[size_t(row)])
            out << set.VisibleValue(row, set.FieldIndex(QStringLiteral("chanid"))).toInt();
    return out;
}

class TestRowFilter : public QObject, ServerFixture
{
    Q_OBJECT

    std::unique_ptr<TSQLClientDataSet> set;

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_rowfilter")); }

    void init()
    {
        set.reset();
        db->Reset(false);
        // The Kelvin sign folds to "k"; the sharp s has no capital of one letter.
        db->Exec(QStringLiteral(
            "INSERT INTO channel (chanid, channum, sourceid, callsign, name) VALUES "
            "(1, '1', 1, 'ARD', 'Das Erste'), (2, '2', 1, 'zdf', 'ZDF HD'), "
            "(3, '73', 1, NULL, '\u212Aelvin Stra\u00DFe'), (4, NULL, 1, 'arte', NULL), "
            "(101, '5', 1, 'Tele 5', '\u00C9cole')"));
        set = std::make_unique<TSQLClientDataSet>(*module->Conn);
        set->SetCommandText(QStringLiteral("channel"));
        set->SetActive(true);
    }

    void findsTheTextInAnyFieldIgnoringCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("found");
        QTest::newRow("none typed") << QString() << QList<int>{1, 2, 3, 4, 101};
        QTest::newRow("either case") << "Ar" << QList<int>{1, 4};
        QTest::newRow("capitals typed") << "ERSTE" << QList<int>{1};
        QTest::newRow("in a number") << "7" << QList<int>{3};
        QTest::newRow("a number column") << "10" << QList<int>{101};
        QTest::newRow("the Kelvin sign is a k") << "kelvin" << QList<int>{3};
        QTest::newRow("beyond ASCII") << "\u00E9COLE" << QList<int>{101};
        QTest::newRow("sharp s") << "stra\u00DF" << QList<int>{3};
        QTest::newRow("blank inside") << "e 5" << QList<int>{101};
        QTest::newRow("never across two fields") << "rdd" << QList<int>{};
        QTest::newRow("nothing holds it") << "xyz" << QList<int>{};
        QTest::newRow("longer than any field") << "Das Erste und mehr" << QList<int>{};
    }

    void findsTheTextInAnyFieldIgnoringCase()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, found);
        TRowFilter filter;
        filter.SetFields({QStringLiteral("callsign"), QStringLiteral("name"),
                          QStringLiteral("channum"), QStringLiteral("chanid")});
        QCOMPARE(chanids(*set, filter.Find(*set, text)), found);
        // A row looked at on its own says the same.
        for (int row = 0; row < set->RecordCount(); ++row) {
            const int id =
                set->VisibleValue(row, set->FieldIndex(QStringLiteral("chanid"))).toInt();
            QCOMPARE(filter.Holds(*set, row, text), found.contains(id));
        }
    }

    void gatheredRowsStayUntilForgotten()
    {
        TRowFilter filter;
        filter.SetFields({QStringLiteral("name")});
        filter.Prepare(*set);
        set->Edit(); // the first row, ARD
        set->SetFieldValue(QStringLiteral("name"), QStringLiteral("Erstes Programm"));
        // The row being edited is looked at as it is now; the gathered rows as they were.
        QVERIFY(filter.Holds(*set, 0, QStringLiteral("programm")));
        QCOMPARE(chanids(*set, filter.Find(*set, QStringLiteral("programm"))), QList<int>{});
        filter.Forget();
        QCOMPARE(chanids(*set, filter.Find(*set, QStringLiteral("programm"))), QList<int>{1});
        set->Cancel();

        // Rows added: gathered again once forgotten, in the set's order.
        PostNewRow(*set, {{QStringLiteral("chanid"), 200},
                          {QStringLiteral("name"), QStringLiteral("Programm 200")}});
        filter.Forget();
        QCOMPARE(chanids(*set, filter.Find(*set, QStringLiteral("programm"))), QList<int>{200});
        // Other fields forget what was gathered for the old ones.
        filter.SetFields({QStringLiteral("callsign")});
        QCOMPARE(chanids(*set, filter.Find(*set, QStringLiteral("programm"))), QList<int>{});
        QCOMPARE(chanids(*set, filter.Find(*set, QStringLiteral("ard"))), QList<int>{1});
    }
};

QTEST_GUILESS_MAIN(TestRowFilter)
#include "tst_rowfilter.moc"
