#include "frequency.h"
#include "lineupcheck.h"
#include "lineupreport.h"

#include <QTest>
#include <algorithm>

Q_DECLARE_METATYPE(TRule)

// The line-up check's rules on line-ups built here, no server: a line-up with one
// instance of every problem, and its twin with none.
class TestLineupRules : public QObject
{
    Q_OBJECT

    // Sources 1 (analogue card), 3 (DVB-T card 4) and 7; cards 1 (V4L), 4 and 5 (DVB-T).
    static TLineup lineup(bool fixed)
    {
        TLineup l;
        l.sources = {
            {1, "Antenna", "tv_grab_de"}, {3, "DVBT", "tv_grab_uk"}, {7, "Spare", "change this"}};
        l.channels = {{101, 1, "1", "ARD", "Das Erste", "ard.de"},
                      {301, 3, "1", "ARD", "Das Erste HD", "ard.de"},
                      {302, 3, "2", "ZDF", "ZDF HD", "zdf.de"},
                      {303, 3, fixed ? "3" : "2", "ARTE", "arte", "arte.de"},
                      {304, 3, "4", "KIKA", "KiKA", fixed ? "kika.de" : ""},
                      {701, 7, "1", "X", "Spare one", ""}};
        l.digital = {{301, "522000000", "101,102"},
                     {303, fixed ? "546000000" : "546000", "301,302"},
                     {304, "570000000", "401"}};
        if (fixed)
            l.digital << TLineup::Digital{302, "570000000", "201,202"}
                      << TLineup::Digital{701, "578000000", "701"};
        else
            l.digital << TLineup::Digital{9000, "1", "1"};
        l.cards = {{1, "V4L", "tvbox", "/dev/video0", "", "Television"},
                   {4, "DVB", "tvbox", "0", "T", "DVBInput"},
                   {5, "DVB", "tvbox", fixed ? "1" : "0", "T", fixed ? "Second" : "Nothing"}};
        l.inputs = {{1, 1, 1, "Television", 101}, {6, 4, 3, "DVBInput", fixed ? 301 : 101}};
        if (fixed)
            l.inputs << TLineup::Input{8, 5, 7, "Second", 701};
        return l;
    }

private slots:
    void rules_data()
    {
        QTest::addColumn<TRule>("rule");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("record"); // table:key:column table.column
        QTest::newRow("source no input uses")
            << TRule::UnusedSource << false << "No card input uses this source"
            << "source \u201CSpare\u201D (7)"
            << "videosource:7:videosource.name";
        QTest::newRow("DVB channel without tuning")
            << TRule::MissingTuning << true << "No DVB tuning values"
            << "source \u201CDVBT\u201D (3), channel \u201CZDF HD\u201D (2)"
            << "channel:302:channel_dvb.freq";
        QTest::newRow("implausible frequency")
            << TRule::Frequency << false << "Frequency 546000 (0.546 MHz) is outside 47 to 862 MHz"
            << "channel \u201Carte\u201D (2)"
            << "channel:303:channel_dvb.freq";
        QTest::newRow("tuning without channel")
            << TRule::OrphanedTuning << false
            << "DVB tuning values of a channel that no longer exists"
            << "channel id 9000 (no such channel: this row cannot be opened)"
            << "";
        QTest::newRow("same number")
            << TRule::SharedNumber << false << "Number 2 is also the number of \u201Carte\u201D"
            << "channel \u201CZDF HD\u201D (2)"
            << "channel:302:channel.channum";
        QTest::newRow("no listings ids")
            << TRule::MissingListingsId << false << "1 channel of DVBT has no listings id"
            << "source \u201CDVBT\u201D (3)"
            << "channel:304:channel.xmltvid";
        QTest::newRow("start channel of another source")
            << TRule::StartChannel << true
            << "Start channel \u201CDas Erste\u201D is not a channel of source \u201CDVBT\u201D"
            << "card 4 (DVB on tvbox), input \u201CDVBInput\u201D (6)"
            << "cardinput:6:cardinput.startchan";
        QTest::newRow("default input none of them")
            << TRule::DefaultInput << true
            << "Default input \u201CNothing\u201D is none of the card's inputs"
            << "card 5 (DVB on tvbox)"
            << "capturecard:5:capturecard.defaultinput";
        QTest::newRow("card without inputs") << TRule::CardWithoutInputs << false << "No inputs"
                                             << "card 5 (DVB on tvbox)"
                                             << "capturecard:5:capturecard.";
        QTest::newRow("two cards, one device")
            << TRule::SharedDevice << true << "Device 0 is also that of card 5"
            << "card 4 (DVB on tvbox)"
            << "capturecard:4:capturecard.videodevice";
    }

    // Each rule alone finds its problem, where it is and what to open, and is silent on
    // the twin; the whole check lists every problem once, errors first.
    void rules()
    {
        QFETCH(TRule, rule);
        QFETCH(bool, error);
        QFETCH(QString, what);
        QFETCH(QString, where);
        QFETCH(QString, record);
        const TLineup broken = lineup(false), clean = lineup(true);
        QList<TProblem> found, none;
        CheckOf(rule)(broken, TLineupIndex(broken), found);
        CheckOf(rule)(clean, TLineupIndex(clean), none);
        QCOMPARE(found.size(), 1);
        QCOMPARE(none.size(), 0);
        const TProblem& p = found[0];
        QCOMPARE(p.rule, rule);
        QCOMPARE(p.severity == TProblem::Severity::Error, error);
        QVERIFY2(p.what.startsWith(what), qPrintable(p.what));
        QVERIFY2(p.where.endsWith(where), qPrintable(p.where));
        QVERIFY(!p.why.isEmpty());
        const TRecordRef& r = p.record;
        QCOMPARE(r.IsEmpty() ? QString()
                             : QStringLiteral("%1:%2:%3.%4")
                                   .arg(r.table)
                                   .arg(r.key.value_or(-1))
                                   .arg(r.columnTable, r.column),
                 record);
        QVERIFY(!RuleName(rule).isEmpty());

        const QList<TProblem> all = CheckLineup(broken);
        QCOMPARE(all.size(), 10);
        QCOMPARE(std::count_if(all.begin(), all.end(),
                               [&](const TProblem& a) { return a.rule == rule; }),
                 1);
        QVERIFY(std::is_partitioned(all.begin(), all.end(), [](const TProblem& a) {
            return a.severity == TProblem::Severity::Error;
        }));
        QVERIFY(CheckLineup(clean).isEmpty());
    }

    // Values other programs stored outside the lists are reported, never a crash.
    void valuesOutsideTheLists()
    {
        TLineup l = lineup(true);
        l.cards[0].type = "v4l";
        l.cards[1].dvbType = "X";
        l.digital[4].freq = "eleven";
        l.inputs[1].startchan = -5;
        QStringList found;
        for (const TProblem& p : CheckLineup(l))
            found << QStringLiteral("%1: %2").arg(RuleName(p.rule), p.what);
        QCOMPARE(found, (QStringList{"start-channel: Start channel -5 does not exist",
                                     "frequency: Frequency \u201Celeven\u201D is not a number"}));
    }

    // One source's numbers as the recorder compares them, and the kind of card it is
    // received as: the check, the editor and the export all take it from one rule.
    void numbersAndCardKinds_data()
    {
        QTest::addColumn<QStringList>("numbers"); // of source 3's two channels
        QTest::addColumn<QStringList>("cards");   // "id type dvbtype" feeding source 3
        QTest::addColumn<int>("kind");            // the source is received as
        QTest::addColumn<QStringList>("found");   // rule: what
        const int t = int(TCardKind::DVBT), v = int(TCardKind::V4L);
        QTest::newRow("07 and 7 are one number")
            << QStringList{"07", " 7"} << QStringList{"4 DVB T"} << t
            << QStringList{"shared-number: Number 07 is also the number of \u201CB\u201D"};
        QTest::newRow("07 and 8 are not")
            << QStringList{"07", "8"} << QStringList{"4 DVB T"} << t << QStringList{};
        QTest::newRow("names are compared as typed")
            << QStringList{"7a", "07a"} << QStringList{"4 DVB T"} << t << QStringList{};
        QTest::newRow("analogue first, DVB-T later: DVB-T, and a warning")
            << QStringList{"1", "2"} << QStringList{"1 V4L ", "4 DVB T"} << t
            << QStringList{"mixed-card-kinds: Received by cards of different kinds (analogue "
                           "and DVB-T)"};
        QTest::newRow("two analogue kinds are one")
            << QStringList{"1", "2"} << QStringList{"2 MPEG ", "1 V4L "} << v << QStringList{};
        QTest::newRow("the lowest DVB card id decides")
            << QStringList{"1", "2"} << QStringList{"9 DVB S", "4 DVB T"} << t
            << QStringList{"mixed-card-kinds: Received by cards of different kinds (DVB-T and "
                           "DVB-S)"};
    }

    void numbersAndCardKinds()
    {
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, cards);
        QFETCH(int, kind);
        QFETCH(QStringList, found);
        TLineup l;
        l.sources = {{3, "DVBT", ""}};
        l.channels = {{301, 3, numbers[0], "A", "A", "a"}, {302, 3, numbers[1], "B", "B", "b"}};
        l.digital = {{301, "522000000", "101"}, {302, "11836000", "201"}};
        int input = 0;
        QList<TReceivingCard> receiving;
        for (const QString& c : cards) {
            const QStringList f = c.split(QLatin1Char(' '));
            l.cards << TLineup::Card{f[0].toInt(), f[1], "host", "/dev/" + f[0], f[2], "In"};
            l.inputs << TLineup::Input{++input, f[0].toInt(), 3, "In", 301};
            receiving << TReceivingCard{f[0].toInt(), CardKindOf(f[1], f[2])};
        }
        QCOMPARE(int(SourceCardKind(receiving)), kind);
        QCOMPARE(int(TLineupIndex(l).KindOf(3)), kind);
        QStringList problems;
        for (const TProblem& p : CheckLineup(l))
            if (p.rule == TRule::SharedNumber || p.rule == TRule::MixedCardKinds)
                problems << QStringLiteral("%1: %2").arg(RuleName(p.rule), p.what);
        QCOMPARE(problems, found);
    }

    // The report's lines and summary, as the command line prints them.
    void report()
    {
        const QList<TProblem> all = CheckLineup(lineup(false));
        QCOMPARE(ProblemSummary(all), QStringLiteral("4 errors, 6 warnings"));
        QCOMPARE(ProblemSummary(all.mid(0, 1) + all.mid(9)), QStringLiteral("1 error, 1 warning"));
        QCOMPARE(ProblemSummary({}), QStringLiteral("No problems found"));
        QCOMPARE(ReportLine(all[0]),
                 QStringLiteral("Error: %1 - %2: %3").arg(all[0].what, all[0].where, all[0].why));
        QVERIFY(ReportLine(all[9]).startsWith(QStringLiteral("Warning: ")));
    }

    // A stored frequency read in MHz or GHz, in the locale's numbers, with its band.
    void frequencyReadings_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("reading");
        const int t = int(TCardKind::DVBT), s = int(TCardKind::DVBS), c = int(TCardKind::DVBC);
        QTest::newRow("DVB-T, C") << t << "578500000"
                                  << "C"
                                  << "578.5 MHz";
        QTest::newRow("DVB-T, en") << t << "578500000"
                                   << "en_US"
                                   << "578.5 MHz";
        QTest::newRow("DVB-T, de") << t << "578500000"
                                   << "de_DE"
                                   << "578,5 MHz";
        QTest::newRow("whole MHz") << t << "522000000"
                                   << "de_DE"
                                   << "522 MHz";
        QTest::newRow("blanks around") << t << " 522000000 "
                                       << "C"
                                       << "522 MHz";
        QTest::newRow("DVB-C") << c << "346000000"
                               << "C"
                               << "346 MHz";
        QTest::newRow("DVB-S in GHz") << s << "11836000"
                                      << "de_DE"
                                      << "11,836 GHz";
        QTest::newRow("DVB-S in MHz, no group separator") << s << "1550000"
                                                          << "en_US"
                                                          << "1550 MHz";
        QTest::newRow("MHz typed for Hz") << t << "578"
                                          << "C"
                                          << "0.000578 MHz, outside the DVB-T band";
        QTest::newRow("kHz typed on the ground") << t << "578500"
                                                 << "de_DE"
                                                 << "0,5785 MHz, outside the DVB-T band";
        QTest::newRow("Hz from a satellite") << s << "11836000000"
                                             << "C"
                                             << "11836 GHz, outside the DVB-S band";
        QTest::newRow("cable out of band") << c << "900000000"
                                           << "C"
                                           << "900 MHz, outside the DVB-C band";
        QTest::newRow("band edge") << t << "862000000"
                                   << "C"
                                   << "862 MHz";
        QTest::newRow("not a number") << t << "578,5 MHz"
                                      << "de_DE"
                                      << "";
        QTest::newRow("empty") << t << ""
                               << "C"
                               << "";
        QTest::newRow("analogue") << int(TCardKind::V4L) << "578500000"
                                  << "C"
                                  << "";
    }

    void frequencyReadings()
    {
        QFETCH(int, kind);
        QFETCH(QString, stored);
        QFETCH(QString, locale);
        QFETCH(QString, reading);
        QCOMPARE(FrequencyReading(TCardKind(kind), stored, QLocale(locale)), reading);
    }
};

QTEST_GUILESS_MAIN(TestLineupRules)
#include "tst_lineuprules.moc"
