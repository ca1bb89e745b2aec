#include "application.h"
#include "busynotice.h"
#include "clientdataset.h"
#include "errors.h"
#include "mainwin.h"
#include "messagebox.h"
#include "testdatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A server that does not answer is reported within the timeouts, naming the host;
// the program is usable again once the server answers.
class TestTimeouts : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int listener = -1;
    QString script = qEnvironmentVariable("KORVANE_SOURCE_DIR") + "/scripts/testdb";
    QString serverDir;
    pid_t serverPid = 0;

    QString writeConfig(const QString& host, const QString& database)
    {
        const QString path = dir.filePath(QStringLiteral("mysql.txt"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(QStringLiteral("DBHostName=%1\nDBName=%2\nDBUserName=%3\nDBPassword=%4\n")
                    .arg(host, database, TestDatabase::User(), TestDatabase::Password())
                    .toUtf8());
        return path;
    }

    static char stateOf(pid_t pid)
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return '?';
        const QByteArray text = stat.readAll();
        const qsizetype at = text.lastIndexOf(')');
        return at >= 0 && at + 2 < text.size() ? text.at(at + 2) : '?';
    }

private slots:
    void initTestCase()
    {
        InitTestEnvironment();
        // The client library reads MYSQL_TCP_PORT and MYSQL_UNIX_PORT once, at its first
        // connection: both servers are set up before any.
        // A port that takes the connection but never answers: a listening socket
        // nobody accepts on.
        listener = socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(listener >= 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QCOMPARE(listen(listener, 1), 0);
        socklen_t length = sizeof address;
        QCOMPARE(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
        qputenv("MYSQL_TCP_PORT", QByteArray::number(ntohs(address.sin_port)));

        // A server of its own to stop: stopping the shared one would stall every other
        // test.
        serverDir = dir.filePath(QStringLiteral("server"));
        QProcess start;
        start.start(script, {QStringLiteral("start"), serverDir});
        QVERIFY(start.waitForFinished(120000));
        QVERIFY2(start.exitCode() == 0, start.readAllStandardError().constData());
        qputenv("MYSQL_UNIX_PORT", (serverDir + QStringLiteral("/mysqld.sock")).toUtf8());
        QFile pidFile(serverDir + QStringLiteral("/mysqld.pid"));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        serverPid = pid_t(pidFile.readAll().trimmed().toInt());
        QVERIFY(serverPid > 0);
    }

    void cleanupTestCase()
    {
        if (listener >= 0)
            close(listener);
        if (serverPid > 0)
            kill(serverPid, SIGCONT);
        QProcess stop;
        stop.start(script, {QStringLiteral("stop"), serverDir});
        stop.waitForFinished(60000);
    }

    // Start-up against it shows the error, naming the host, within 15 s.
    void unansweringServerIsReportedWithinSeconds()
    {
        auto module = std::make_unique<TSQLModule>(&TSQLClientDataSet::CreateSearchDataSet,
                                                   QStringList{writeConfig("127.0.0.1", "x")});
        MessageBox::ClearShown();
        MessageBox::QueueAnswer(MessageBox::Button::Ok);
        QElapsedTimer clock;
        clock.start();
        {
            TMainWin main;
            const qint64 waited = clock.elapsed();
            qInfo("the error came after %.1f s", waited / 1000.0);
            QVERIFY2(waited < 15000, qPrintable(QString::number(waited)));
            QVERIFY(!main.SourceDataSet->Active());
        }
        QCOMPARE(MessageBox::ShownBoxes().size(), 1);
        QVERIFY2(MessageBox::ShownBoxes()[0].text.contains(QStringLiteral("127.0.0.1")),
                 qPrintable(MessageBox::ShownBoxes()[0].text));
        QVERIFY(TBusyNotice::LastText().contains(QStringLiteral("127.0.0.1")));
    }

    // A server stopped with SIGSTOP: a statement fails within the read timeout, the
    // message names the host, and once the server goes on the next access works.
    void stoppedServerFailsWithinTheReadTimeout()
    {
        auto module =
            std::make_unique<TSQLModule>(&TSQLClientDataSet::CreateSearchDataSet,
                                         QStringList{writeConfig("localhost", "korvane")});
        module->Conn->ExecuteDirect(QStringLiteral("SELECT 1"));
        // Every thread of the server stops, which takes a moment.
        kill(serverPid, SIGSTOP);
        QTRY_VERIFY(stateOf(serverPid) == 'T');
        QElapsedTimer clock;
        clock.start();
        QString message;
        try {
            module->Conn->ExecuteDirect(QStringLiteral("SELECT 2"));
        } catch (const EDatabaseError& e) {
            message = e.Message();
        }
        const qint64 waited = clock.elapsed();
        kill(serverPid, SIGCONT);
        qInfo("the statement failed after %.1f s: %s", waited / 1000.0, qPrintable(message));
        QVERIFY2(!message.isEmpty(), "the statement did not fail");
        QVERIFY2(message.contains(QStringLiteral("localhost")), qPrintable(message));
        QVERIFY2(waited <= (TSQLConnection::ReadWriteTimeoutSeconds + 5) * 1000,
                 qPrintable(QString::number(waited)));
        module->Conn->ExecuteDirect(QStringLiteral("SELECT 3")); // a new connection, at once
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestTimeouts test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_timeouts.moc"
