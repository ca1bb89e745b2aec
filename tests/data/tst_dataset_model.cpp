#include "clientdataset.h"
#include "testdatabase.h"

#include <QRandomGenerator>
#include <QTest>

// Random sequences of inserts, edits, deletes, cancels, filter changes and saves on a
// real table: after every save the table must hold exactly the rows the data set shows.
class TestDataSetModel : public QObject, ServerFixture
{
    Q_OBJECT

    static QString show(const QVariant& v)
    {
        return v.isNull() ? QStringLiteral("NULL") : v.toString();
    }

    static QStringList rowsOf(TSQLClientDataSet& set)
    {
        QStringList rows;
        for (int r = 0; r < set.RecordCount(); ++r) {
            QStringList values;
            for (const QString& column :
                 {QStringLiteral("chanid"), QStringLiteral("sourceid"), QStringLiteral("callsign"),
                  QStringLiteral("name"), QStringLiteral("finetune")})
                values << show(set.VisibleValue(r, set.FieldIndex(column)));
            rows << values.join(QLatin1Char('|'));
        }
        rows.sort();
        return rows;
    }

    QStringList tableRows()
    {
        QStringList rows = db->Rows(
            QStringLiteral("SELECT chanid, sourceid, callsign, name, finetune FROM channel"));
        rows.sort();
        return rows;
    }

    static QVariant randomText(QRandomGenerator& rng)
    {
        static const QList<QVariant> texts{QVariant(),
                                           QString(""),
                                           QStringLiteral("ARD"),
                                           QStringLiteral("Größe ✓"),
                                           QStringLiteral("x y"),
                                           QStringLiteral("O'Brien"),
                                           QStringLiteral("a\"b")};
        return texts[rng.bounded(int(texts.size()))];
    }

    static QVariant randomNumber(QRandomGenerator& rng)
    {
        const int n = rng.bounded(5);
        return n == 0 ? QVariant() : QVariant(rng.bounded(-3, 4));
    }

private slots:
    void initTestCase() { StartServer(QStringLiteral("t_dataset_model"), true); }

    void randomSequencesKeepTableAndDataSetEqual_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("seed 1") << 1u;
        QTest::newRow("seed 7") << 7u;
        QTest::newRow("seed 2024") << 2024u;
    }

    void randomSequencesKeepTableAndDataSetEqual()
    {
        QFETCH(quint32, seed);
        db->Reset(true);
        QRandomGenerator rng(seed);
        TSQLClientDataSet set(*module->Conn);
        set.SetCommandText(QStringLiteral("channel"));
        set.SetFiltered(true);
        set.SetActive(true);
        int nextId = 5000;
        int applies = 0;

        auto checkAll = [&](const char* when) {
            const QString filter = set.Filter();
            set.SetFiltered(false);
            QCOMPARE(rowsOf(set), tableRows());
            set.SetFiltered(true);
            QCOMPARE(set.Filter(), filter);
            Q_UNUSED(when);
        };

        for (int step = 0; step < 400; ++step) {
            const int op = rng.bounded(100);
            if (op < 20) { // insert
                if (rng.bounded(2))
                    set.Append();
                else
                    set.Insert();
                set.SetFieldValue(QStringLiteral("chanid"), nextId++);
                set.SetFieldValue(QStringLiteral("sourceid"), rng.bounded(1, 4));
                set.SetFieldValue(QStringLiteral("callsign"), randomText(rng));
                set.SetFieldValue(QStringLiteral("name"), randomText(rng));
                if (rng.bounded(4))
                    set.Post();   // otherwise the next operation settles it
            } else if (op < 45) { // edit
                if (set.IsEmpty())
                    continue;
                set.MoveTo(rng.bounded(set.RecordCount()));
                set.Edit();
                set.SetFieldValue(QStringLiteral("name"), randomText(rng));
                if (rng.bounded(2))
                    set.SetFieldValue(QStringLiteral("finetune"), randomNumber(rng));
                if (rng.bounded(2))
                    set.SetFieldValue(QStringLiteral("callsign"), randomText(rng));
                set.Post();
            } else if (op < 58) { // delete
                if (set.IsEmpty())
                    continue;
                set.MoveTo(rng.bounded(set.RecordCount()));
                set.Delete();
            } else if (op < 68) { // start something, then cancel it
                if (rng.bounded(2) || set.IsEmpty()) {
                    set.Append();
                    set.SetFieldValue(QStringLiteral("chanid"), nextId++);
                } else {
                    set.MoveTo(rng.bounded(set.RecordCount()));
                    set.Edit();
                    set.SetFieldValue(QStringLiteral("name"), QStringLiteral("never saved"));
                }
                set.Cancel();
            } else if (op < 80) { // filter change
                const int choice = rng.bounded(5);
                if (choice == 0)
                    set.SetFilter(QString());
                else
                    set.SetFilter(QStringLiteral("sourceid=%1").arg(choice));
            } else if (op < 83) { // throw the log away
                set.CancelUpdates();
                QCOMPARE(set.ChangeCount(), 0);
                checkAll("after cancel");
            } else { // save
                set.ApplyUpdates(0);
                QCOMPARE(set.ChangeCount(), 0);
                ++applies;
                checkAll("after apply");
            }
        }
        set.ApplyUpdates(0);
        checkAll("at the end");
        QVERIFY(applies > 20);
    }
};

QTEST_GUILESS_MAIN(TestDataSetModel)
#include "tst_dataset_model.moc"
