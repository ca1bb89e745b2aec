#include "errors.h"
#include "sqlgen.h"

#include <QTest>

namespace {

const QList<TColumnInfo> channelColumns{
    {QStringLiteral("chanid"), QMetaType(QMetaType::Int)},
    {QStringLiteral("callsign"), QMetaType(QMetaType::QString)},
    {QStringLiteral("name"), QMetaType(QMetaType::QString)},
    {QStringLiteral("finetune"), QMetaType(QMetaType::Int)},
};

} // namespace

class TestSqlGen : public QObject
{
    Q_OBJECT

private slots:
    void openStatement_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("quote");
        QTest::addColumn<QString>("sql");
        QTest::newRow("quoted") << "videosource"
                                << "`"
                                << " select * from `videosource`";
        QTest::newRow("no quote character") << "videosource"
                                            << ""
                                            << " select * from videosource";
        QTest::newRow("upper case stays bare") << "TV_2"
                                               << "`"
                                               << " select * from TV_2";
        QTest::newRow("double-quoted stays") << "\"odd\""
                                             << "`"
                                             << " select * from \"odd\"";
        QTest::newRow("backquote at the end is quoted on open") << "t`"
                                                                << "`"
                                                                << " select * from `t``";
    }

    void openStatement()
    {
        QFETCH(QString, table);
        QFETCH(QString, quote);
        QFETCH(QString, sql);
        QCOMPARE(OpenStatement(table, quote), sql);
    }

    void applyLeavesWrappedNamesAlone()
    {
        QCOMPARE(QuoteTableName(QStringLiteral("`t`"), QStringLiteral("`"), true),
                 QStringLiteral("`t`"));
        QCOMPARE(QuoteTableName(QStringLiteral("'t'"), QStringLiteral("`"), true),
                 QStringLiteral("'t'"));
        QCOMPARE(QuoteTableName(QStringLiteral("t"), QStringLiteral("`"), true),
                 QStringLiteral("`t`"));
    }

    void insertListsEveryUpdatableColumnWithNullsAsLiterals()
    {
        const TStatement st =
            InsertStatement(QStringLiteral("channel"), QStringLiteral("`"), channelColumns,
                            {8, QStringLiteral("ARD"), QVariant(), QVariant()});
        QCOMPARE(st.text, QStringLiteral("insert into `channel`\n"
                                         "  (`chanid`, `callsign`, `name`, `finetune`)\n"
                                         "values\n"
                                         "  (?, ?, null, null)"));
        QCOMPARE(st.binds, (QVariantList{8, QStringLiteral("ARD")}));
    }

    void insertSkipsColumnsThatAreNotUpdatable()
    {
        QList<TColumnInfo> columns = channelColumns;
        columns[0].updatable = false; // auto-increment
        const TStatement st = InsertStatement(QStringLiteral("channel"), QString(), columns,
                                              {1, QStringLiteral("a"), QStringLiteral("b"), 3});
        QCOMPARE(st.text,
                 QStringLiteral(
                     "insert into channel\n  (callsign, name, finetune)\nvalues\n  (?, ?, ?)"));
    }

    void updateOfOneColumnWithNullOldValue()
    {
        const TStatement st =
            UpdateStatement(QStringLiteral("channel"), QStringLiteral("`"), channelColumns,
                            {5, QStringLiteral("ARD"), QVariant(QMetaType(QMetaType::QString)), 0},
                            {5, QStringLiteral("ARD"), QStringLiteral("Das Erste"), 0},
                            {false, false, true, false});
        QCOMPARE(st.text, QStringLiteral("update `channel`  set\n"
                                         " `name` = ?\n"
                                         "where\n"
                                         " `chanid` = ? and\n"
                                         " `callsign` = ? and\n"
                                         " `name` is null and\n"
                                         " `finetune` = ?"));
        QCOMPARE(st.binds,
                 (QVariantList{QStringLiteral("Das Erste"), 5, QStringLiteral("ARD"), 0}));
    }

    void updateToNullBindsATypedNullAndEmptyTextIsNoNull()
    {
        const TStatement st = UpdateStatement(
            QStringLiteral("channel"), QStringLiteral("`"), channelColumns,
            {5, QString(""), QStringLiteral("n"), 7},
            {5, QString(""), QStringLiteral("n"), QVariant()}, {false, false, false, true});
        QCOMPARE(st.text, QStringLiteral("update `channel`  set\n"
                                         " `finetune` = ?\n"
                                         "where\n"
                                         " `chanid` = ? and\n"
                                         " `callsign` = ? and\n"
                                         " `name` = ? and\n"
                                         " `finetune` = ?"));
        QVERIFY(st.binds[0].isNull());
        QCOMPARE(st.binds[0].metaType(), QMetaType(QMetaType::Int));
        QCOMPARE(st.binds[2], QVariant(QString("")));
    }

    void deleteWithIneligibleColumnsLeftOut()
    {
        QList<TColumnInfo> columns = channelColumns;
        columns[3].whereEligible = false; // a TEXT column, say
        const TStatement st = DeleteStatement(QStringLiteral("channel"), QStringLiteral("`"),
                                              columns, {5, QStringLiteral("ARD"), QVariant(), 1});
        QCOMPARE(st.text, QStringLiteral("delete from `channel` \n"
                                         "where\n"
                                         " `chanid` = ? and\n"
                                         " `callsign` = ? and\n"
                                         " `name` is null"));
        QCOMPARE(st.binds, (QVariantList{5, QStringLiteral("ARD")}));
    }

    void noEligibleColumnIsANoKeyFailure()
    {
        QList<TColumnInfo> columns{
            {QStringLiteral("data"), QMetaType(QMetaType::QString), true, false}};
        QVERIFY_THROWS_EXCEPTION(
            EDatabaseError,
            DeleteStatement(QStringLiteral("settings"), QStringLiteral("`"), columns, {1}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 UpdateStatement(QStringLiteral("settings"), QStringLiteral("`"),
                                                 columns, {1}, {2}, {true}));
    }
};

QTEST_GUILESS_MAIN(TestSqlGen)
#include "tst_sqlgen.moc"
