#include "errorof.h"
#include "iconmatch.h"
#include "listingsmatch.h"
#include "xmltvfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <zlib.h>

// Reading a grabber's channel list, and matching a source's channels to it by name.
class TestListings : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

    static QString lineup()
    {
        return qEnvironmentVariable("KORVANE_SOURCE_DIR") + "/tests/channel/listings.xml";
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = scratch.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QString gzip(const QString& name, const QByteArray& bytes)
    {
        const QString path = scratch.filePath(name);
        gzFile f = gzopen(QFile::encodeName(path).constData(), "wb");
        gzwrite(f, bytes.constData(), unsigned(bytes.size()));
        gzclose(f);
        return path;
    }

    static QByteArray lineupBytes()
    {
        QFile f(lineup());
        if (!f.open(QIODevice::ReadOnly))
            qFatal("no %s", qPrintable(lineup()));
        return f.readAll();
    }

    static QList<TListedChannel> listed()
    {
        auto l = [](const QString& id, const QStringList& names) {
            return TListedChannel{id, names, {}};
        };
        return {l("abc", {"ABC TV", "ABC"}),
                l("abcplus", {"ABC TV Plus"}),
                l("sbs", {"SBS"}),
                l("sbsfr", {"SBS Télévision"}),
                l("nbn", {"9 Newcastle", "NBN"}),
                l("gem", {"9Gem  newcastle"}),
                l("7two", {"7TWO"}),
                l("7two1", {"7TWO +1"}),
                l("ch2", {"Channel 2"}),
                l("bbc1", {"BBC One"}),
                l("bbc1hd", {"BBC One HD"}),
                l("arte", {"ARTE"}),
                l("arte.de", {"arte Deutsch"})};
    }

private slots:
    void folding_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folded");
        QTest::newRow("case and blanks") << "9Gem  newcastle"
                                         << "9gemnewcastle";
        QTest::newRow("accents") << "Télé Zürich"
                                 << "telezurich";
        QTest::newRow("punctuation") << "9GO! Newcastle"
                                     << "9gonewcastle";
        QTest::newRow("plus stays") << "7TWO +1"
                                    << "7two+1";
        QTest::newRow("ampersand") << "Food & Drink"
                                   << "fooddrink";
        QTest::newRow("nothing left") << " - "
                                      << "";
    }

    void folding()
    {
        QFETCH(QString, name);
        QFETCH(QString, folded);
        QCOMPARE(FoldName(name), folded);
    }

    void states_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("callsign");
        QTest::addColumn<QString>("xmltvid");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("fits"); // the fit, or the candidates
        const int matched = int(TMatchState::Matched), kept = int(TMatchState::Kept),
                  choose = int(TMatchState::Choose), suggested = int(TMatchState::Suggested),
                  other = int(TMatchState::OtherId), none = int(TMatchState::NoMatch);
        QTest::newRow("same name") << "ABC TV"
                                   << ""
                                   << "" << matched << QStringList{"abc"};
        QTest::newRow("case, blanks") << "9GEM Newcastle"
                                      << ""
                                      << "" << matched << QStringList{"gem"};
        QTest::newRow("second display name") << "NBN"
                                             << ""
                                             << "" << matched << QStringList{"nbn"};
        QTest::newRow("accent") << "SBS Television"
                                << ""
                                << "" << matched << QStringList{"sbsfr"};
        QTest::newRow("short name") << "Something else"
                                    << "SBS"
                                    << "" << matched << QStringList{"sbs"};
        QTest::newRow("long name before short") << "ABC TV Plus"
                                                << "ABC"
                                                << "" << matched << QStringList{"abcplus"};
        QTest::newRow("already listed") << "Whatever"
                                        << ""
                                        << "abc" << kept << QStringList{"abc"};
        QTest::newRow("quality word") << "ABC TV HD"
                                      << ""
                                      << "" << suggested << QStringList{"abc"};
        QTest::newRow("region word") << "9Gem"
                                     << ""
                                     << "" << suggested << QStringList{"gem"};
        QTest::newRow("timeshift never") << "7TWO +2"
                                         << ""
                                         << "" << none << QStringList{};
        QTest::newRow("plus one exact") << "7two+1"
                                        << ""
                                        << "" << matched << QStringList{"7two1"};
        QTest::newRow("other digits never") << "Channel 3"
                                            << ""
                                            << "" << none << QStringList{};
        QTest::newRow("digit against plus") << "7TWO 1"
                                            << ""
                                            << "" << none << QStringList{};
        QTest::newRow("one of two alike") << "arte"
                                          << ""
                                          << "" << matched << QStringList{"arte"};
        QTest::newRow("several loosely") << "arte HD Deutsch"
                                         << "ARTE HD"
                                         << "" << suggested << QStringList{"arte.de"};
        QTest::newRow("several equally") << "BBC One UHD"
                                         << ""
                                         << "" << choose << QStringList{"bbc1", "bbc1hd"};
        QTest::newRow("another id, fit shown") << "ABC TV"
                                               << ""
                                               << "abc.old" << other << QStringList{"abc"};
        QTest::newRow("another id, no fit") << "Nothing"
                                            << ""
                                            << "xyz" << other << QStringList{};
        QTest::newRow("nothing alike") << "Radio Eins"
                                       << "RE"
                                       << "" << none << QStringList{};
        QTest::newRow("no names") << ""
                                  << ""
                                  << "" << none << QStringList{};
    }

    void states()
    {
        QFETCH(QString, name);
        QFETCH(QString, callsign);
        QFETCH(QString, xmltvid);
        QFETCH(int, state);
        QFETCH(QStringList, fits);
        const QList<TListedChannel> channels = listed();
        const TListingsIndex index(channels);
        const TChannelMatch match = index.Match({0, "1", "1", callsign, name, xmltvid, ""});
        QStringList found;
        for (int i : match.candidates)
            found << channels[i].id;
        if (match.fit >= 0)
            found << channels[match.fit].id;
        QCOMPARE(int(match.state), state);
        QCOMPARE(found, fits);
    }

    // The reader on a grabber's list: names in several languages, icons, programmes
    // passed over, a channel after them; plain and gzip, told apart by content.
    void readsAChannelList_data()
    {
        QTest::addColumn<bool>("compressed");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << false << "channels.xml";
        QTest::newRow("gzip named .gz") << true << "channels.xml.gz";
        QTest::newRow("gzip without a suffix") << true << "channels";
        QTest::newRow("plain named .gz") << false << "plain.gz";
    }

    void readsAChannelList()
    {
        QFETCH(bool, compressed);
        QFETCH(QString, name);
        const QString path = compressed ? gzip(name, lineupBytes()) : write(name, lineupBytes());
        const QList<TListedChannel> channels = ReadListingsFile(path);
        QCOMPARE(channels.size(), 14);
        QCOMPARE(channels.first().id, QStringLiteral("ABC.nsw.au"));
        QCOMPARE(channels.first().names, (QStringList{"ABC TV", "ABC"}));
        QCOMPARE(channels.first().icon, QStringLiteral("https://img.example.net/logos/abc.png"));
        QCOMPARE(channels[3].names, (QStringList{"SBS", "SBS Télévision"}));
        QCOMPARE(channels[7].names, QStringList{"9Gem  newcastle"});
        QCOMPARE(channels[2].icon, QString());
        QCOMPARE(channels.last().id, QStringLiteral("Sky.news.au")); // after the programmes
    }

    void refusesBadFiles_data()
    {
        QTest::addColumn<QString>("file"); // a name under the scratch folder
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("how"); // 0 plain, 1 gzip, 2 gzip cut short, 3 gzip damaged, 4 none
        QTest::addColumn<QString>("problem");
        const QByteArray good = lineupBytes();
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) % 251);
        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE tv [<!ENTITY a \"aaaaaaaaaa\">";
        for (int i = 1; i < 10; ++i)
            laughs += QStringLiteral("<!ENTITY %1 \"%2\">")
                          .arg(QChar('a' + i))
                          .arg(QString("&%1;").arg(QChar('a' + i - 1)).repeated(10))
                          .toUtf8();
        laughs += "]><tv><channel id=\"x\"><display-name>&j;</display-name></channel></tv>";
        QTest::newRow("not XML") << "a.xml" << QByteArray("Channel list\nABC TV\n") << 0
                                 << "is not an XMLTV file";
        QTest::newRow("no tv root")
            << "a.xml" << QByteArray("<listings><channel id=\"a\"/></listings>") << 0
            << "its root element is <listings>, not <tv>";
        QTest::newRow("no channels") << "a.xml" << QByteArray("<tv><programme channel=\"a\"/></tv>")
                                     << 0 << "lists no channels";
        QTest::newRow("cut off") << "a.xml" << good.left(good.size() / 2) << 0
                                 << "Premature end of document";
        QTest::newRow("empty") << "a.xml" << QByteArray() << 0 << "is empty";
        QTest::newRow("empty gzip") << "a.gz" << QByteArray() << 1 << "is empty";
        QTest::newRow("binary") << "a.xml" << binary << 0 << "is not an XMLTV file";
        QTest::newRow("gzip cut short") << "a.gz" << good << 2 << "ends too early";
        QTest::newRow("gzip damaged") << "a.gz" << good << 3 << "is a damaged gzip file";
        QTest::newRow("entity bomb") << "a.xml" << laughs << 0 << "entity expansion limit";
        QTest::newRow("external entity")
            << "a.xml"
            << QByteArray(
                   "<!DOCTYPE tv [<!ENTITY secret SYSTEM \"file:///etc/passwd\">]>"
                   "<tv><channel id=\"a\"><display-name>&secret;</display-name></channel></tv>")
            << 0 << "declares the external entity \"secret\" (file:///etc/passwd)";
        QTest::newRow("a directory") << "dir" << QByteArray() << 4 << "is a directory";
        QTest::newRow("missing") << "nothing.xml" << QByteArray() << 4 << "does not exist";
        QTest::newRow("unreadable") << "locked.xml" << good << 0 << "cannot be read";
    }

    void refusesBadFiles()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(int, how);
        QFETCH(QString, problem);
        QString path = scratch.filePath(file);
        QFile::remove(path);
        if (how == 0) {
            write(file, bytes);
        } else if (how >= 1 && how <= 3) {
            gzip(file, bytes);
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QByteArray z = f.readAll();
            if (how == 2)
                z.truncate(z.size() / 2);
            if (how == 3)
                z[z.size() / 2] = char(~z[z.size() / 2]);
            f.resize(0);
            f.write(z);
        } else if (file == QLatin1String("dir")) {
            QDir(scratch.path()).mkpath(file);
        }
        if (file == QLatin1String("locked.xml")) {
            QFile::setPermissions(path, QFileDevice::Permissions());
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("root reads any file");
        }
        const QString message = ErrorOf([&] { ReadListingsFile(path); });
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY2(message.contains(problem), qPrintable(message));
    }

    // A picon folder: each channel's file by its long name, else its short name, folded
    // as names are; a PNG before another picture of the same name.
    void iconFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("callsign");
        QTest::addColumn<QString>("file");
        const QString none;
        QTest::newRow("folded") << "ABC TV HD"
                                << ""
                                << "abctvhd.png";
        QTest::newRow("a name of its own") << "ABC TV"
                                           << ""
                                           << "abctv.png";
        QTest::newRow("never a shorter name") << "SBS Télévision HD"
                                              << "" << none;
        QTest::newRow("accents and case") << "SBS Télévision"
                                          << ""
                                          << "sbstelevision.jpg";
        QTest::newRow("a PNG first") << "NITV"
                                     << ""
                                     << "nitv.png";
        QTest::newRow("plus counts") << "7TWO +1"
                                     << ""
                                     << "7two+1.png";
        QTest::newRow("plus missing") << "7TWO"
                                      << "" << none;
        QTest::newRow("digits count") << "9Gem"
                                      << "" << none;
        QTest::newRow("short name") << "Unknown"
                                    << "9GO!"
                                    << "9go.png";
        QTest::newRow("long name first") << "9GO!"
                                         << "NITV"
                                         << "9go.png";
        QTest::newRow("no names") << ""
                                  << "" << none;
        QTest::newRow("punctuation only") << "---"
                                          << "" << none;
    }

    void iconFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, callsign);
        QFETCH(QString, file);
        const QString folder = scratch.filePath(QStringLiteral("picons"));
        if (!QDir(folder).exists()) {
            QDir().mkpath(folder + "/nitv.png.d");
            for (const char* f :
                 {"ABC TV HD.png", "abctvhd.png", "abctv.png", "sbstelevision.jpg", "NITV.gif",
                  "nitv.png", "7two+1.png", "9gem2.png", "9go.png", ".png", ".hidden.png"})
                write(QStringLiteral("picons/") + f, "x");
        }
        const QList<TIconFile> files = ReadIconFolder(folder);
        QVERIFY(std::none_of(files.begin(), files.end(), [](const TIconFile& f) {
            return f.name.startsWith('.') || f.name.endsWith(".d");
        }));
        const int found = MatchIcons({{0, "1", "1", callsign, name, "", ""}}, files).value(0);
        const QString foundName = found < 0 ? QString() : files[found].name;
        // "ABC TV HD.png" and "abctvhd.png" fold alike: either is right.
        if (file == QLatin1String("abctvhd.png"))
            QVERIFY2(foundName == file || foundName == "ABC TV HD.png", qPrintable(foundName));
        else
            QCOMPARE(foundName, file);
        if (found >= 0)
            QCOMPARE(files[found].path, folder + '/' + foundName);
    }

    void iconFolderProblems()
    {
        const QString missing = scratch.filePath(QStringLiteral("no such folder"));
        QVERIFY(ErrorOf([&] { ReadIconFolder(missing); }).contains("\"" + missing + "\" does not"));
        const QString file = write(QStringLiteral("plain file"), "x");
        QVERIFY(ErrorOf([&] { ReadIconFolder(file); }).contains("is not a folder"));
        const QString locked = scratch.filePath(QStringLiteral("locked"));
        QDir().mkpath(locked);
        QFile::setPermissions(locked, QFileDevice::Permissions());
        const auto unlock = qScopeGuard([&] {
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        });
        if (QFileInfo(locked).isReadable())
            QSKIP("root reads any folder");
        QVERIFY(ErrorOf([&] { ReadIconFolder(locked); }).contains("cannot be read"));
    }
};

QTEST_GUILESS_MAIN(TestListings)
#include "tst_listings.moc"
