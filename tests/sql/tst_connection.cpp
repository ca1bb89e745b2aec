#include "clientdataset.h"
#include "errors.h"
#include "sqlmodule.h"
#include "testdatabase.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList g_logged;
void collect(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArray(context.category) == "korvane.sql")
        g_logged << message;
}

std::unique_ptr<TSQLModule> moduleWith(const QString& path)
{
    return std::make_unique<TSQLModule>(&TSQLClientDataSet::CreateSearchDataSet, QStringList{path});
}

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    QTemporaryDir dir;

    QString config(const QString& password)
    {
        const QString path = dir.filePath(QStringLiteral("mysql.txt"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write");
        f.write(QStringLiteral("DBHostName=localhost\nDBName=%1\nDBUserName=%2\nDBPassword=%3\n")
                    .arg(db->Name(), TestDatabase::User(), password)
                    .toUtf8());
        return path;
    }

private slots:
    void initTestCase()
    {
        InitTestEnvironment();
        db = std::make_unique<TestDatabase>(QStringLiteral("t_connection"));
    }

    void opensOnFirstUseWithStrictModeAndMatchedRows()
    {
        auto module = db->CreateModule();
        QVERIFY(!module->Conn->Connected());
        QCOMPARE(module->Conn->QuoteChar(), QStringLiteral("`"));
        module->Conn->ExecuteDirect(
            QStringLiteral("INSERT INTO videosource (sourceid, name) VALUES (1, 'a')"));
        QVERIFY(module->Conn->Connected());
        // Strict: a value the column cannot hold is refused, not cut.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, module->Conn->ExecuteDirect(QStringLiteral(
                                                     "UPDATE videosource SET sourceid='abc'")));
        // Matched rows: rewriting the same value still counts the row.
        QCOMPARE(module->Conn->ExecuteDirect(
                     QStringLiteral("UPDATE videosource SET name='a' WHERE sourceid=1")),
                 1);
        QStringList names;
        module->Conn->GetFieldNames(QStringLiteral("capturecard"), names);
        QCOMPARE(names.first(), QStringLiteral("cardid"));
        QVERIFY(names.contains(QStringLiteral("dvb_type")));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 module->Conn->GetFieldNames(QStringLiteral("nosuchtable"), names));
    }

    void wrongPasswordRaisesTheServersMessage()
    {
        auto module = moduleWith(config(QStringLiteral("not-the-password")));
        try {
            module->Conn->Open();
            QFAIL("the open should have failed");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().contains(QStringLiteral("Access denied")),
                     qPrintable(e.Message()));
        }
        QVERIFY(!module->Conn->Connected());
    }

    void failedOpenIsTriedAgainAtTheNextAccess()
    {
        // The server's socket is missing at first, then back.
        const QString socket = TestDatabase::SocketPath();
        const QString away = socket + QStringLiteral(".away");
        QVERIFY(QFile::rename(socket, away));
        auto module = moduleWith(config(TestDatabase::Password()));
        bool failed = false;
        try {
            module->Conn->Open();
        } catch (const EDatabaseError&) {
            failed = true;
        }
        QVERIFY(QFile::rename(away, socket));
        QVERIFY(failed);
        QVERIFY(!module->Conn->Connected());
        QCOMPARE(module->Conn->Execute(QStringLiteral("SELECT 1")).next(), true);
        QVERIFY(module->Conn->Connected());
    }

    void statementsAreTracedWithoutThePassword()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("korvane.sql.debug=true"));
        g_logged.clear();
        auto previous = qInstallMessageHandler(collect);
        {
            auto module = db->CreateModule();
            module->Conn->Execute(QStringLiteral("SELECT ? + 1"), {41});
        }
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        const QString all = g_logged.join(QLatin1Char('\n'));
        QVERIFY2(all.contains(QStringLiteral("SELECT ? + 1")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("41")), qPrintable(all));
        QVERIFY(!all.contains(TestDatabase::Password()));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
