#include "errors.h"
#include "settings.h"
#include "sqlmodule.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>

namespace {

// A scratch data set the settings tests never reach.
class NoScratch : public TScratchDataSet
{
public:
    void SetActive(bool) override {}
    void SetCommandText(const QString&) override {}
    void First() override {}
    QVariant FieldValue(const QString&) const override { return {}; }
};

std::unique_ptr<TSQLModule> moduleOver(const QStringList& files)
{
    return std::make_unique<TSQLModule>(
        [](TSQLConnection&) { return std::make_unique<NoScratch>(); }, files);
}

using Pairs = QList<QPair<QByteArray, QByteArray>>;

Pairs asPairs(const settings_t& s)
{
    Pairs out;
    for (const auto& [k, v] : s)
        out << qMakePair(QByteArray::fromStdString(k), QByteArray::fromStdString(v));
    return out;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& content)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }

private slots:
    void parsesOneFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Pairs>("expected");

        QTest::newRow("plain keys") << QByteArray("DBHostName=db\nDBName=tv\n")
                                    << Pairs{{"DBHostName", "db"}, {"DBName", "tv"}};
        QTest::newRow("comment only in column 1")
            << QByteArray("#DBHostName=a\n #DBHostName=b\n") << Pairs{{" #DBHostName", "b"}};
        QTest::newRow("blanks kept in keys and values")
            << QByteArray(" DBHostName=a\nDBName =b\nDBUserName= c \n")
            << Pairs{{" DBHostName", "a"}, {"DBName ", "b"}, {"DBUserName", " c "}};
        QTest::newRow("carriage return kept")
            << QByteArray("DBHostName=db\r\n") << Pairs{{"DBHostName", "db\r"}};
        QTest::newRow("further = belongs to the value")
            << QByteArray("DBPassword=a=b==c\n") << Pairs{{"DBPassword", "a=b==c"}};
        QTest::newRow("last line without newline")
            << QByteArray("DBHostName=h\nDBPassword=secret")
            << Pairs{{"DBHostName", "h"}, {"DBPassword", "secret"}};
        QTest::newRow("empty lines and lines without = skipped")
            << QByteArray("\n\nnothing here\n=empty key\n") << Pairs{{"", "empty key"}};
        QTest::newRow("later line wins")
            << QByteArray("DBName=a\nDBName=b\n") << Pairs{{"DBName", "b"}};
        QTest::newRow("empty value stored")
            << QByteArray("DBHostName=\n") << Pairs{{"DBHostName", ""}};
        // 999 bytes are read at a time: the rest of a longer line is a line of its own.
        QTest::newRow("line over 999 characters split")
            << QByteArray("K=" + QByteArray(997, 'x') + "DBName=tail\n")
            << Pairs{{"DBName", "tail"}, {"K", QByteArray(997, 'x')}};
        QTest::newRow("line of exactly 999 characters")
            << QByteArray("K=" + QByteArray(997, 'y') + "\nDBName=n\n")
            << Pairs{{"DBName", "n"}, {"K", QByteArray(997, 'y')}};
        QTest::newRow("NUL byte kept in the value")
            << QByteArray("DBPassword=a\0b\n", 15) << Pairs{{"DBPassword", QByteArray("a\0b", 3)}};
        QTest::newRow("bytes that are no UTF-8 kept")
            << QByteArray("DBName=\xff\xfe\n") << Pairs{{"DBName", "\xff\xfe"}};
    }

    void parsesOneFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(Pairs, expected);
        settings_t s;
        ReadConfigFile(write(QStringLiteral("one.txt"), content), s);
        QCOMPARE(asPairs(s), expected);
    }

    void unreadableLocationsLeaveTheMapAlone()
    {
        settings_t s{{"DBName", "kept"}};
        ReadConfigFile(dir.filePath(QStringLiteral("missing.txt")), s);
        ReadConfigFile(dir.path(), s); // a directory
        QCOMPARE(asPairs(s), (Pairs{{"DBName", "kept"}}));
    }

    void hostileFilesAreReadSafely()
    {
        // One line of 10 MB: read in pieces, none of which is a setting but the first.
        QByteArray huge = "K=" + QByteArray(10 * 1024 * 1024, 'x') + "\nDBName=ok\n";
        settings_t s;
        ReadConfigFile(write(QStringLiteral("huge.txt"), huge), s);
        QCOMPARE(asPairs(s), (Pairs{{"DBName", "ok"}, {"K", QByteArray(997, 'x')}}));

        // A FIFO at a settings location is no settings file: reading it would block.
        const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        settings_t f{{"DBName", "kept"}};
        ReadConfigFile(fifo, f);
        QCOMPARE(asPairs(f), (Pairs{{"DBName", "kept"}}));

        // A link to nowhere, and a file the user may not read.
        const QString dangling = dir.filePath(QStringLiteral("dangling.txt"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), dangling));
        ReadConfigFile(dangling, f);
        const QString locked = write(QStringLiteral("locked.txt"), "DBName=secret\n");
        QFile::setPermissions(locked, QFileDevice::Permissions());
        ReadConfigFile(locked, f);
        if (geteuid() != 0) // root reads it anyway
            QCOMPARE(asPairs(f), (Pairs{{"DBName", "kept"}}));
    }

    void laterFileWinsAndMissingFilesAreSkipped()
    {
        const QString third =
            write(QStringLiteral("third.txt"), "DBHostName=a\nDBName=from-third\n");
        const QString fourth = write(QStringLiteral("fourth.txt"), "DBHostName=b\n");
        settings_t s;
        ReadConfig(s, {dir.filePath(QStringLiteral("none1")), dir.filePath(QStringLiteral("none2")),
                       third, fourth});
        QCOMPARE(asPairs(s), (Pairs{{"DBHostName", "b"}, {"DBName", "from-third"}}));
    }

    void defaultLocationsFollowHome()
    {
        const QByteArray saved = qgetenv("HOME");
        qputenv("HOME", "/home/viewer");
        QCOMPARE(DefaultConfigLocations(),
                 (QStringList{QStringLiteral("/usr/local/share/korvane/mysql.txt"),
                              QStringLiteral("/usr/share/korvane/mysql.txt"),
                              QStringLiteral("/etc/korvane/mysql.txt"),
                              QStringLiteral("/home/viewer/.korvane/mysql.txt")}));
        qunsetenv("HOME");
        QCOMPARE(DefaultConfigLocations().size(), 3);
        qputenv("HOME", "");
        QCOMPARE(DefaultConfigLocations().size(), 3);
        qputenv("HOME", saved);
    }

    void parameterListAfterStartUp_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("params");

        const QStringList design{QStringLiteral("DriverName=MySQL"), QStringLiteral("BlobSize=-1"),
                                 QStringLiteral("ErrorResourceFile=./DbxMySqlErr.msg"),
                                 QStringLiteral("LocaleCode=0000")};
        QTest::newRow("full") << QByteArray("DBHostName=h\nDBName=d\nDBUserName=u\nDBPassword=p\n")
                              << design + QStringList{QStringLiteral("Database=d"),
                                                      QStringLiteral("User_Name=u"),
                                                      QStringLiteral("HostName=h"),
                                                      QStringLiteral("Password=p")};
        QTest::newRow("no database, no password")
            << QByteArray("DBHostName=h\nDBUserName=u\n")
            << design + QStringList{QStringLiteral("User_Name=u"), QStringLiteral("HostName=h")};
        QTest::newRow("host only") << QByteArray("DBHostName=h\nDBName=\n")
                                   << design + QStringList{QStringLiteral("HostName=h")};
        QTest::newRow("a port") << QByteArray("DBHostName=h\nDBPort= 3307\n")
                                << design + QStringList{QStringLiteral("HostName=h"),
                                                        QStringLiteral("Port=3307")};
        QTest::newRow("an empty port: the default")
            << QByteArray("DBHostName=h\nDBPort=\n")
            << design + QStringList{QStringLiteral("HostName=h")};
    }

    void parameterListAfterStartUp()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, params);
        auto module = moduleOver({write(QStringLiteral("mysql.txt"), content)});
        QStringList actual;
        for (const auto& p : module->Conn->Params())
            actual << p.first + QLatin1Char('=') + p.second;
        QCOMPARE(actual, params);
        QVERIFY(!module->Conn->Connected()); // opened on first use, not here
    }

    void moduleKeepsTheFourValues()
    {
        auto module = moduleOver({write(QStringLiteral("mysql.txt"),
                                        "DBHostName=h\nDBName=d\nDBUserName=u\nDBPassword=p=q\n")});
        QCOMPARE(module->HostName(), QStringLiteral("h"));
        QCOMPARE(module->DatabaseName(), QStringLiteral("d"));
        QCOMPARE(module->UserName(), QStringLiteral("u"));
        QCOMPARE(module->Password(), QStringLiteral("p=q"));
        QCOMPARE(SQLModule, module.get());
        module.reset();
        QCOMPARE(SQLModule, nullptr);
    }

    // A DBPort that is no port stops the start, naming the file whose value counts.
    void badPortStopsStartUp_data()
    {
        QTest::addColumn<QByteArray>("port");
        for (const char* bad : {"abc", "0", "65536", "-1", "33 06", "3306x", "0x10"})
            QTest::newRow(bad) << QByteArray(bad);
    }

    void badPortStopsStartUp()
    {
        QFETCH(QByteArray, port);
        const QString first = write(QStringLiteral("first.txt"), "DBHostName=h\nDBPort=3306\n");
        const QString second = write(QStringLiteral("second.txt"), "DBPort=" + port + "\n");
        const QString third = write(QStringLiteral("third.txt"), "DBName=d\n");
        try {
            moduleOver({first, second, third});
            QFAIL("started with a bad port");
        } catch (const EBadSetting& e) {
            QVERIFY2(e.Message().contains(second) && e.Message().contains(QString::fromUtf8(port)),
                     qPrintable(e.Message()));
        }
    }

    // The port given is the one connected to: a listener of the test's own on it sees the
    // connection (and closes it, so that the open fails at once).
    void thePortGivenIsTheOneConnectedTo()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof at;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&at), size) == 0);
        QVERIFY(::listen(listener, 4) == 0);
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size) == 0);
        std::atomic<int> accepted = 0;
        std::thread server([&] {
            const int s = ::accept(listener, nullptr, nullptr);
            if (s >= 0) {
                ++accepted;
                ::close(s);
            }
        });
        auto module = moduleOver({write(
            QStringLiteral("mysql.txt"),
            "DBHostName=127.0.0.1\nDBPort=" + QByteArray::number(ntohs(at.sin_port)) + "\n")});
        QCOMPARE(module->Port(), int(ntohs(at.sin_port)));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, module->Conn->Open());
        server.join();
        ::close(listener);
        QCOMPARE(accepted.load(), 1);
    }

    void noUsableHostNameStopsStartUp_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("empty host name") << QByteArray("DBHostName=\nDBName=d\n");
        QTest::newRow("blank before =") << QByteArray("DBHostName =h\n");
        QTest::newRow("blank before key") << QByteArray(" DBHostName=h\n");
        QTest::newRow("commented out") << QByteArray("#DBHostName=h\n");
    }

    void noUsableHostNameStopsStartUp()
    {
        QFETCH(QByteArray, content);
        QVERIFY_THROWS_EXCEPTION(ENoHostName,
                                 moduleOver({write(QStringLiteral("mysql.txt"), content)}));
        QVERIFY_THROWS_EXCEPTION(ENoHostName, moduleOver({dir.filePath(QStringLiteral("no"))}));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
