#include "errors.h"
#include "importplan.h"
#include "scanfile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// Channel files of the DVB tools, read with libdvbv5 in its three formats: what each
// service's tuning values become, and every kind of bad input refused with a message
// naming the file.
class TestScanFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // A channel file kept beside this test.
    static QByteArray testFile(const QString& name)
    {
        QFile f(QFINDTESTDATA(name));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read the test file %s", qPrintable(name));
        return f.readAll();
    }

    // A terrestrial line-up as dvbv5-scan writes it: two services on one frequency, a
    // radio service (no video PID) with values outside the lists, PIDs longer than 8
    // characters, and a satellite service that does not belong in a DVB-T source.
    const QByteArray LineUp = testFile(QStringLiteral("lineup.conf"));

    QString write(const QString& name, const QByteArray& content)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }

    // A line-up in another format, converted by the DVB tools themselves.
    QString converted(const QString& format, const QByteArray& lineUp)
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("dvb-format-convert"));
        if (tool.isEmpty())
            return QString();
        const QString in = write(QStringLiteral("lineup.conf"), lineUp);
        const QString out = dir.filePath(QStringLiteral("lineup.") + format.toLower());
        QProcess convert;
        convert.start(tool, {"-I", "DVBV5", "-O", format, "-s", "DVBT", in, out});
        convert.waitForFinished(30000);
        return convert.exitCode() == 0 ? out : QString();
    }

    // A service's digital columns as "column=value" (NULL for none), in column order.
    static QStringList columns(const TScannedService& s)
    {
        QStringList out;
        for (const auto& [column, value] : DigitalValues(s))
            out << column + QLatin1Char('=') + value.value_or(QStringLiteral("NULL"));
        return out;
    }

    static QString v(const std::optional<QString>& value)
    {
        return value.value_or(QStringLiteral("NULL"));
    }

private slots:
    void dvbv5FileGivesTheColumnsValues()
    {
        const auto services = ReadChannelFile(write("scan.conf", LineUp), TCardKind::DVBT);
        QCOMPARE(services.size(), 3);
        const TScannedService& tv = services[0];
        QCOMPARE(tv.name, QStringLiteral("Das Erste HD"));
        QCOMPARE(tv.serviceId, 10301);
        QVERIFY(!tv.radio);
        QCOMPARE(DeliverySystemName(tv.deliverySystem), QStringLiteral("DVB-T"));
        // PIDs: video first, wider than 8 characters.
        QCOMPARE(columns(tv),
                 (QStringList{"pids=5101,5102,5103", "freq=522000000", "pol=NULL",
                              "symbol_rate=NULL", "inversion=AUTO", "bandwidth=8",
                              "hp_code_rate=2_3", "lp_code_rate=NONE", "modulation=QAM_16",
                              "transmission_mode=8", "guard_interval=1_4", "hierarchy=NONE"}));
        QVERIFY(tv.outsideLists.isEmpty());

        const TScannedService& radio = services[1];
        QVERIFY(radio.radio);
        QCOMPARE(DeliverySystemName(radio.deliverySystem), QStringLiteral("DVB-T2"));
        // PID 0 left out; 32K and 1/128 are in no list of their columns: stored as AUTO,
        // and named.
        QCOMPARE(columns(radio),
                 (QStringList{"pids=5201", "freq=522000000", "pol=NULL", "symbol_rate=NULL",
                              "inversion=0", "bandwidth=7", "hp_code_rate=3_4", "lp_code_rate=NONE",
                              "modulation=QAM_64", "transmission_mode=AUTO", "guard_interval=AUTO",
                              "hierarchy=NONE"}));
        QCOMPARE(radio.outsideLists.size(), 2);

        const TScannedService& sat = services[2];
        QCOMPARE(DeliverySystemName(sat.deliverySystem), QStringLiteral("DVB-S"));
        QVERIFY(!DeliverySystemsOf(TCardKind::DVBT).contains(sat.deliverySystem));
        QVERIFY(DeliverySystemsOf(TCardKind::DVBS).contains(sat.deliverySystem));
        // kHz for satellite, as given.
        QCOMPARE(columns(sat).mid(0, 5), (QStringList{"pids=1101,1102", "freq=11836000", "pol=H",
                                                      "symbol_rate=27500000", "inversion=AUTO"}));
    }

    // The zap format holds no delivery system: it is the source's; names and PIDs come
    // through as in dvbv5 format.
    void zapFileTakesTheSourcesDeliverySystem()
    {
        // The terrestrial services only: a zap file holds one delivery system.
        const QString zap = converted(QStringLiteral("ZAP"), LineUp.left(LineUp.indexOf("[Astra")));
        if (zap.isEmpty())
            QSKIP("dvb-format-convert (dvb-tools) is not installed");
        const auto services = ReadChannelFile(zap, TCardKind::DVBT);
        QCOMPARE(services.size(), 2);
        QCOMPARE(services[0].name, QStringLiteral("Das Erste HD"));
        QCOMPARE(DeliverySystemName(services[0].deliverySystem), QStringLiteral("DVB-T"));
        QCOMPARE(v(services[0].Value(QStringLiteral("pids"))), QStringLiteral("5101,5102"));
        QCOMPARE(v(services[0].Value(QStringLiteral("bandwidth"))), QStringLiteral("8"));
        QCOMPARE(v(services[0].Value(QStringLiteral("guard_interval"))), QStringLiteral("1_4"));
        QVERIFY(services[1].radio);
    }

    // The legacy "channel" format (initial tuning data) is read as well.
    void channelFormatIsRead()
    {
        const QString channel = converted(QStringLiteral("CHANNEL"), LineUp);
        if (channel.isEmpty())
            QSKIP("dvb-format-convert (dvb-tools) is not installed");
        const auto services = ReadChannelFile(channel, TCardKind::DVBT);
        QCOMPARE(services.size(), 3);
        QCOMPARE(v(services[0].Value(QStringLiteral("freq"))), QStringLiteral("522000000"));
        QCOMPARE(v(services[0].Value(QStringLiteral("modulation"))), QStringLiteral("QAM_16"));
        QCOMPARE(DeliverySystemName(services[2].deliverySystem), QStringLiteral("DVB-S"));
    }

    void badInputIsRefusedNamingTheFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << dir.filePath("nothing.conf") << "no such file";
        QTest::newRow("folder") << dir.path() << "folder";
        QTest::newRow("empty") << write("empty.conf", {}) << "empty";
        QTest::newRow("binary") << write("binary.conf", QByteArray("\x7f"
                                                                   "ELF\0\0\1\2",
                                                                   8))
                                << "not a text file";
        QTest::newRow("over 10 MB")
            << write("big.conf", QByteArray(10 * 1024 * 1024 + 1, 'x')) << "larger than 10 MB";
        QTest::newRow("no channel file")
            << write("notes.txt", "Shopping list:\nmilk\nbread\n") << "no channel file";
        QTest::newRow("malformed entry")
            << write("broken.conf", "[Broken]\n\tDELIVERY_SYSTEM = NOSUCH\n\tFREQUENCY = 1\n")
            << "line";
    }

    void badInputIsRefusedNamingTheFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        try {
            ReadChannelFile(path, TCardKind::DVBT);
            QFAIL("the file was read");
        } catch (const EKorvaneError& e) {
            QVERIFY2(e.Message().contains(path), qPrintable(e.Message()));
            QVERIFY2(e.Message().contains(reason), qPrintable(e.Message()));
        }
    }

    // A satellite line in a terrestrial zap file: the library's message, with its line.
    void malformedZapLineGivesTheLibrarysMessage()
    {
        const QString zap = write("mixed.zap", "Das Erste HD:522000000:INVERSION_AUTO:"
                                               "BANDWIDTH_8_MHZ:FEC_2_3:FEC_NONE:QAM_16:"
                                               "TRANSMISSION_MODE_8K:GUARD_INTERVAL_1_4:"
                                               "HIERARCHY_NONE:5101:5102:10301\n"
                                               "Astra Sat:11836000:H:27500000:1101:1102:28106\n");
        try {
            ReadChannelFile(zap, TCardKind::DVBT);
            QFAIL("the file was read");
        } catch (const EKorvaneError& e) {
            QVERIFY2(e.Message().contains(zap), qPrintable(e.Message()));
            QVERIFY2(e.Message().contains(QStringLiteral("line 2")), qPrintable(e.Message()));
        }
    }

    // What importing does with each service: a realistic line-up against a source that
    // has two channels already.
    void planDecidesForEachService()
    {
        QByteArray lineUp = LineUp;
        lineUp += testFile(QStringLiteral("lineup-more.conf"));
        const auto services = ReadChannelFile(write("plan.conf", lineUp), TCardKind::DVBT);
        QCOMPARE(services.size(), 6);
        const auto channel = [](const QString& name, const QString& channum) {
            TChannelRow c;
            c.name = name;
            c.channum = channum;
            return c;
        };
        const QList<TChannelRow> channels{channel("ZDF HD", "22"), channel("Sport", "abc"),
                                          channel("x", "7")};
        TImportLimits limits;
        limits.digitalWidths = {{"pids", 64}, {"freq", 16}};

        TImportPlan plan = PlanImport(services, channels, TCardKind::DVBT, {}, limits);
        QStringList got;
        for (const TImportRow& r : plan.rows)
            got << (r.action == TImportAction::Add        ? "add " + r.name + " " + r.channum
                    : r.action == TImportAction::Update   ? "update " + QString::number(r.existing)
                    : r.action == TImportAction::Vanished ? "gone " + QString::number(r.existing)
                                                          : "skip " + r.reason);
        QCOMPARE(got, (QStringList{
                          "add Das Erste HD 23", // numbered on after the highest number, 22
                          "add Radio Eins 24", "skip a DVB-S service; this source receives DVB-T",
                          "update 0", // "ZDF HD" is there: its digital values are replaced
                          "skip the same name as a service listed above",
                          "add A service with a nam 25", // shortened to the field's 20 characters
                          "gone 1", "gone 2",            // no service matched them
                      }));
        QCOMPARE(plan.rows[5].callsign, QStringLiteral("A service with a nam"));
        QCOMPARE(plan.adds, 3);
        QCOMPARE(plan.updates, 1);
        QCOMPARE(plan.skips, 2);

        // Without radio services, and with a PIDs column too narrow for ZDF's list.
        limits.digitalWidths[QStringLiteral("pids")] = 8;
        plan = PlanImport(services, channels, TCardKind::DVBT, {.includeRadio = false}, limits);
        QCOMPARE(plan.rows[1].action, TImportAction::Skip);
        QCOMPARE(plan.rows[1].reason, QStringLiteral("a radio service (not included)"));
        QCOMPARE(plan.rows[3].action, TImportAction::Skip);
        QVERIFY2(plan.rows[3].reason.contains(QStringLiteral("6110,6120,6121,6123")),
                 qPrintable(plan.rows[3].reason));
        QCOMPARE(plan.rows[0].action, TImportAction::Skip); // "5101,5102,5103" is 14 wide
    }

    void unreadableFileIsRefused()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        const QString path = write("secret.conf", LineUp);
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        QVERIFY_THROWS_EXCEPTION(EKorvaneError, ReadChannelFile(path, TCardKind::DVBT));
    }
};

QTEST_GUILESS_MAIN(TestScanFile)
#include "tst_scanfile.moc"
