#include "channelexport.h"
#include "csvreader.h"
#include "dvbtuning.h"
#include "errorof.h"
#include "importplan.h"
#include "scanfile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(TExportFormat)
Q_DECLARE_METATYPE(TCardKind)

// Exporting a source's channels: what each format holds, read back by the DVB library,
// the DVB tools and a CSV reader; files written whole or not at all.
class TestExport : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // channel_dvb's columns: its key and the tuning columns.
    const QStringList Columns = [] {
        QStringList columns{"chanid"};
        for (const TTuningColumn& column : TuningColumns())
            columns << column.Name();
        return columns;
    }();

    TExportChannel channel(const QString& channum, const QString& name,
                           const QHash<QString, QString>& tuning = {}) const
    {
        QVariantList values;
        for (const QString& column : Columns)
            if (!tuning.isEmpty())
                values << (tuning.contains(column) ? QVariant(tuning[column]) : QVariant());
        return {channum, name.left(4), name, name.toLower() + ".de", QString(), values};
    }

    QString tuningOf(const TExportChannel& c, const QString& column,
                     const QString& none = QString()) const
    {
        const QVariant v = c.tuning.value(Columns.indexOf(column));
        return v.isNull() ? none : v.toString();
    }

    static QHash<QString, QString> terrestrial(const QString& freq, const QString& pids)
    {
        return {{"chanid", "1"},           {"freq", freq},           {"pids", pids},
                {"inversion", "AUTO"},     {"bandwidth", "8"},       {"hp_code_rate", "2_3"},
                {"lp_code_rate", "NONE"},  {"modulation", "QAM_64"}, {"transmission_mode", "8"},
                {"guard_interval", "1_4"}, {"hierarchy", "NONE"},    {"listingid", "11"}};
    }

    // A line-up with hostile text: quotes, commas, line breaks, emoji, Cyrillic, blanks.
    TExportLineup lineUp() const
    {
        QList<TExportChannel> channels{
            channel("1", "Das Erste HD", terrestrial("522000000", "101,102")),
            channel("2", "ZDF, \"HD\"", terrestrial("570000000", "201,202,203")),
            channel("3", "Радио 1 \U0001F4FA", terrestrial("578000000", "301")),
            channel("4", "No tuning"), channel("07", " spaced ", terrestrial("", "401"))};
        channels[1].icon = "line one\nline \"two\"\r\n";
        channels[3].xmltvid = "=SUM(A1)";
        return {Columns, channels};
    }

    QByteArray readAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }

private slots:
    void formats_data()
    {
        QTest::addColumn<TCardKind>("kind");
        QTest::addColumn<TExportFormat>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("leftOut");
        QTest::addColumn<QString>("header");
        QTest::newRow("DVB-T to a channel file")
            << TCardKind::DVBT << TExportFormat::Dvbv5 << "lineup.conf" << 3 << 2 << QString();
        QTest::newRow("DVB-T to CSV")
            << TCardKind::DVBT << TExportFormat::Csv << "lineup.csv" << 5 << 0
            << "No.,Short name,Long name,XMLTV ID,Icon,PIDs,Listing ID,Frequency,Inversion,"
               "Bandwidth,HP Code Rate,LP Code Rate,Modulation,Transmission Rate,Guard "
               "Interval,Hierarchy";
        QTest::newRow("DVB-S to CSV")
            << TCardKind::DVBS << TExportFormat::Csv << "sat.CSV" << 5 << 0
            << "No.,Short name,Long name,XMLTV ID,Icon,PIDs,Listing ID,Frequency,"
               "Polarization,Symbol Rate,Tone,DiSeqC";
        QTest::newRow("analogue to CSV") << TCardKind::V4L << TExportFormat::Csv << "tv.csv" << 5
                                         << 0 << "No.,Short name,Long name,XMLTV ID,Icon";
    }

    // Each format holds what it should, exactly: the channel file as the DVB library and
    // our import read it back, the CSV as a CSV reader reads it, byte for byte.
    void formats()
    {
        QFETCH(TCardKind, kind);
        QFETCH(TExportFormat, format);
        QFETCH(QString, name);
        QFETCH(int, written);
        QFETCH(int, leftOut);
        QFETCH(QString, header);
        const QString path = dir.filePath(name);
        QCOMPARE(ExportFormatOf(path), format);
        const TExportLineup lineup = lineUp();
        const QList<TExportChannel>& channels = lineup.channels;
        const TExportResult result = ExportChannels(lineup, kind, format, path);
        QCOMPARE(result.written, written);
        QCOMPARE(result.leftOut, leftOut);
        if (leftOut > 0)
            QVERIFY(result.Summary(name).endsWith(
                "2 channels without DVB tuning values were left out."));

        if (format == TExportFormat::Dvbv5) {
            const QList<TScannedService> read = ReadChannelFile(path, kind);
            QCOMPARE(read.size(), written);
            QCOMPARE(read[1].name, QStringLiteral("ZDF, \"HD\""));
            QCOMPARE(read[2].name, QStringLiteral("Радио 1 \U0001F4FA"));
            for (int i = 0; i < read.size(); ++i) {
                const TExportChannel& c = channels[i];
                QCOMPARE(read[i].vchannel, c.channum);
                QCOMPARE(*read[i].Value("pids"), tuningOf(c, "pids"));
                QCOMPARE(read[i].radio, false);
                for (const auto& [column, value] : DigitalValues(read[i]))
                    if (column != "pids")
                        QCOMPARE(value.value_or("(none)"), tuningOf(c, column, "(none)"));
            }
            return;
        }
        const QByteArray bytes = readAll(path);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = ReadCsv(QString::fromUtf8(bytes));
        QCOMPARE(rows.size(), written + 1);
        QCOMPARE(rows[0].join(','), header);
        for (int i = 0; i < channels.size(); ++i) {
            const TExportChannel& c = channels[i];
            const QStringList& row = rows[i + 1];
            QCOMPARE(row.mid(0, 5),
                     (QStringList{c.channum, c.callsign, c.name, c.xmltvid, c.icon}));
            QCOMPARE(row.size(), rows[0].size());
            if (kind == TCardKind::DVBT)
                QCOMPARE(row.at(7), tuningOf(c, "freq"));
        }
    }

    // The DVB tools read the channel file: dvb-format-convert lists the same services.
    void theDvbToolsReadIt()
    {
        const QString tool = QStandardPaths::findExecutable("dvb-format-convert");
        if (tool.isEmpty())
            QSKIP("dvb-format-convert (dvb-tools) is not installed");
        const QString path = dir.filePath("tools.conf"), zap = dir.filePath("tools.zap");
        ExportChannels(lineUp(), TCardKind::DVBT, TExportFormat::Dvbv5, path);
        QProcess convert;
        convert.start(tool, {"-I", "DVBV5", "-O", "ZAP", "-s", "DVBT", path, zap});
        QVERIFY(convert.waitForFinished());
        QCOMPARE(convert.exitCode(), 0);
        const QList<QByteArray> lines = readAll(zap).trimmed().split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("Das Erste HD:522000000:"));
        QVERIFY(lines[2].startsWith(QString("Радио 1 \U0001F4FA:578000000:").toUtf8()));
    }

    // A write that fails leaves the file there as it was and says so, naming the file;
    // nothing that cannot be a channel file is written.
    void nothingHalfWritten()
    {
        const QString path = dir.filePath("kept.conf");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[Old]\n\tFREQUENCY = 1\n");
        old.close();
        // A disk that fills up: the process may write no more than 100 bytes a file.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        const QString full =
            ErrorOf([&] { ExportChannels(lineUp(), TCardKind::DVBT, TExportFormat::Csv, path); });
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY2(full.contains(path) && full.endsWith("Nothing was written."), qPrintable(full));
        QCOMPARE(readAll(path), QByteArray("[Old]\n\tFREQUENCY = 1\n"));

        const QString folder = dir.filePath("no/such/folder/x.csv");
        QVERIFY(ErrorOf([&] {
                    ExportChannels(lineUp(), TCardKind::DVBT, TExportFormat::Csv, folder);
                }).contains(folder));
        QVERIFY(ErrorOf([&] {
                    ExportChannels(lineUp(), TCardKind::V4L, TExportFormat::Dvbv5, path);
                }).contains("no DVB card receives this source"));
        QVERIFY(ErrorOf([&] {
                    ExportChannels({Columns, lineUp().channels.mid(3, 1)}, TCardKind::DVBT,
                                   TExportFormat::Dvbv5, path);
                }).contains("none of the channels has DVB tuning values"));
        QCOMPARE(readAll(path), QByteArray("[Old]\n\tFREQUENCY = 1\n"));
    }

    // The import offers a service's VCHANNEL as its number, unless the source has a
    // channel of that number (as the recording system compares them) or it is too long.
    void importTakesTheFilesNumber()
    {
        const auto service = [](const QString& name, const QString& vchannel) {
            TScannedService s;
            s.name = name;
            s.vchannel = vchannel;
            s.deliverySystem = 3; // DVB-T
            s.tuning.insert("freq", "522000000");
            return s;
        };
        const TImportPlan plan =
            PlanImport({service("A", "7"), service("B", "12"), service("C", ""),
                        service("D", "123456"), service("E", "7"), service("F", "40")},
                       {{0, "1", "012", "Old", "Old", "", "", false},
                        {1, "2", "30", "Older", "Older", "", "", false}},
                       TCardKind::DVBT, {}, TImportLimits{});
        QStringList numbers, notes;
        for (const TImportRow& row : plan.rows)
            if (row.serviceIndex >= 0) // (not the two channels, which are not in the file)
                numbers << row.channum, notes << row.numberNote;
        QCOMPARE(numbers, (QStringList{"7", "41", "42", "43", "44", "40"}));
        QCOMPARE(notes, (QStringList{"", "the file's number 12 is taken", "",
                                     "the file's number 123456 is longer than a channel "
                                     "number holds",
                                     "the file's number 7 is taken", ""}));
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
