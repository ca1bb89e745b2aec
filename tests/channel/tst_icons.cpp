#include "iconstore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The connections this process holds open to `port` as the kernel sees them: sockets it
/// has not closed (connecting, open, or closed by the other side only).
int heldConnections(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return 0;
    int count = 0;
    const QByteArray hex = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() > 3 && f[2].endsWith(hex) && (f[3] == "01" || f[3] == "02" || f[3] == "08"))
            ++count;
    }
    return count;
}

/// A web server of the test's own on 127.0.0.1: good pictures, and every way a server
/// can misbehave.
class TIconServer : public QTcpServer
{
public:
    QByteArray png;
    int open = 0; // connections not closed yet
    int held = 0; // the most the program held to it when one more came

    TIconServer()
    {
        QImage image(220, 132, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                ++open;
                held = std::max(held, heldConnections(serverPort()));
                connect(s, &QTcpSocket::disconnected, this, [this, s] {
                    --open;
                    s->deleteLater();
                });
                connect(s, &QTcpSocket::readyRead, this, [this, s] { answer(s); });
            }
        });
    }

    QString Url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

private:
    static void send(QTcpSocket* s, const QByteArray& head, const QByteArray& body = {})
    {
        s->write(head + "\r\n\r\n" + body);
    }

    void answer(QTcpSocket* s)
    {
        const QByteArray request = s->readAll();
        const QByteArray path = request.split(' ').value(1);
        if (path == "/good.png") {
            send(s,
                 "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                     QByteArray::number(png.size()),
                 png);
        } else if (path == "/text.png") {
            send(s, "HTTP/1.1 200 OK\r\nContent-Length: 5", "hello");
        } else if (path == "/missing.png") {
            send(s, "HTTP/1.1 404 Not Found\r\nContent-Length: 0");
        } else if (path == "/big.png") {
            send(s, "HTTP/1.1 200 OK\r\nContent-Length: 5000000", png);
        } else if (path == "/to-good") {
            send(s, "HTTP/1.1 302 Found\r\nLocation: /good.png\r\nContent-Length: 0");
        } else if (path == "/to-file") {
            send(s, "HTTP/1.1 302 Found\r\nLocation: file:///etc/hostname\r\nContent-Length: 0");
        } else if (path == "/slow.png") {
            // A byte a second: each pause shorter than the time-out, the whole longer.
            send(s, "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(png.size()));
            auto* drip = new QTimer(s);
            connect(drip, &QTimer::timeout, s,
                    [s, this, at = 0]() mutable { s->write(png.mid(at++, 1)); });
            drip->start(900);
        } else if (path == "/endless.png") {
            send(s, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked");
            auto more = [s] {
                if (s->bytesToWrite() < 256 * 1024)
                    s->write("10000\r\n" + QByteArray(0x10000, 'x') + "\r\n");
            };
            connect(s, &QTcpSocket::bytesWritten, s, more);
            more();
        }
        // "/never.png": read, never answered.
    }
};

/// A port whose accept queue is full: a connection to it is never taken up, as on a
/// host that never answers.
class TFullPort
{
public:
    TFullPort()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof at;
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&at), size) != 0 || ::listen(m_fd, 0) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&at), &size) != 0)
            qFatal("no listening socket");
        port = ntohs(at.sin_port);
        for (QTcpSocket& filler : m_fillers)
            filler.connectToHost(QHostAddress::LocalHost, port);
        QTest::qWait(200);
    }
    ~TFullPort() { ::close(m_fd); }
    quint16 port = 0;

private:
    int m_fd = -1;
    QTcpSocket m_fillers[3];
};

/// What the store says of `value` once it is no longer being read or fetched.
QString settled(TIconStore& store, const QString& value)
{
    store.Tip(value);
    (void)QTest::qWaitFor(
        [&] {
            const QString tip = store.Tip(value);
            return !tip.startsWith("Reading ") && !tip.startsWith("Fetching ");
        },
        20000);
    return store.Tip(value);
}

} // namespace

// The channels' icons: read from files and fetched from servers in the background,
// whatever those files and servers hold or do.
class TestIcons : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = scratch.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QByteArray png(QSize size, Qt::GlobalColor colour = Qt::red)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        qputenv("HOME", QFile::encodeName(scratch.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath("cache")));
        const QByteArray good = png({220, 132});
        file("good.png", good);
        file("home.png", good);
        QByteArray ico;
        QBuffer icoBuffer(&ico);
        QVERIFY(icoBuffer.open(QIODevice::WriteOnly) &&
                QImage(QImage::fromData(good)).scaled(64, 38).save(&icoBuffer, "ICO"));
        file("favicon.ico", ico);
        file("truncated.png", good.left(good.size() / 2));
        file("text.png", "Just a text, named as a picture.\n");
        file("wide.png", png({5000, 2}));
        QFile huge(scratch.filePath("huge.png"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(100 * 1024 * 1024)); // sparse
        QVERIFY(QFile::link(scratch.filePath("loop.png"), scratch.filePath("loop.png")));
        QVERIFY(QDir(scratch.path()).mkdir("folder.png"));
        QCOMPARE(::mkfifo(QFile::encodeName(scratch.filePath("fifo.png")).constData(), 0600), 0);
    }

    // Each value ends with a picture, or with the placeholder and its reason; none of
    // them blocks (a pipe would block a reader for ever).
    void localIcons_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("tip");
        const QString dir = scratch.path();
        QTest::newRow("good") << dir + "/good.png" << true << dir + "/good.png";
        QTest::newRow("file address") << "file://" + dir + "/good.png" << true << dir + "/good.png";
        QTest::newRow("home") << "~/home.png" << true << dir + "/home.png";
        QTest::newRow("ico") << dir + "/favicon.ico" << true << dir + "/favicon.ico";
        QTest::newRow("blanks around") << "  " + dir + "/good.png " << true << dir + "/good.png";
        QTest::newRow("truncated") << dir + "/truncated.png" << false << "A damaged picture";
        QTest::newRow("text") << dir + "/text.png" << false << "Not an image";
        QTest::newRow("100 MB") << dir + "/huge.png" << false
                                << "Too large to show: " + dir + "/huge.png is 100.0 MB";
        QTest::newRow("5000 pixels wide")
            << dir + "/wide.png" << false << "Too large to show: 5000x2 pixels";
        QTest::newRow("missing") << dir + "/gone.png" << false
                                 << "No such file: " + dir + "/gone.png";
        QTest::newRow("link loop") << dir + "/loop.png" << false << "A link that leads nowhere";
        QTest::newRow("folder") << dir + "/folder.png" << false << "A folder, not a picture";
        QTest::newRow("pipe") << dir + "/fifo.png" << false << "Not a plain file";
        QTest::newRow("relative") << "good.png" << false << "Not a file path or web address";
        QTest::newRow("other scheme")
            << "ftp://127.0.0.1/a.png" << false << "Not a file path or web address";
        QTest::newRow("none") << "none" << false << "No icon";
        QTest::newRow("empty") << "" << false << "No icon";
    }

    void localIcons()
    {
        QFETCH(QString, value);
        QFETCH(bool, shown);
        QFETCH(QString, tip);
        TIconStore store;
        const QString said = settled(store, value);
        QVERIFY2(said.startsWith(tip), qPrintable(said));
        QCOMPARE(!store.Picture(value).isNull(), shown);
        QVERIFY(store.Idle());

        // Drawn in proportion in the middle of its room, or as the placeholder.
        QImage canvas(60, 20, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        store.Paint(painter, canvas.rect(), value);
        painter.end();
        QCOMPARE(canvas.pixelColor(30, 10) == QColor(Qt::red), shown);
        QCOMPARE(canvas.pixelColor(2, 10) == QColor(Qt::white), true); // 5:3 in 60x20
    }

    // Web icons: fetched at most 4 at a time, each within the time-out and the size
    // limit, whatever the server does; the fetched ones kept on disk for a next start.
    void webIcons()
    {
        TIconServer server;
        TFullPort full;
        const QList<std::pair<QString, QString>> cases{
            {server.Url("/good.png"), server.Url("/good.png")},
            {server.Url("/to-good"), server.Url("/to-good")},
            {server.Url("/text.png"), "Not an image"},
            {server.Url("/missing.png"), "Could not be fetched: 404 Not Found"},
            {server.Url("/big.png"), "Could not be fetched: larger than 1 MB"},
            {server.Url("/endless.png"), "Could not be fetched: larger than 1 MB"},
            {server.Url("/to-file"), "Could not be fetched: sent on to file:///etc/hostname"},
            {server.Url("/slow.png"), "Could not be fetched: timeout"},
            {server.Url("/never.png"), "Could not be fetched: timeout"},
            {QStringLiteral("http://127.0.0.1:%1/x.png").arg(full.port),
             "Could not be fetched: timeout"},
        };
        {
            TIconStore store;
            for (const auto& [value, tip] : cases)
                store.Tip(value); // all asked at once, as a list's rows are
            for (const auto& [value, tip] : cases) {
                const QString said = settled(store, value);
                QVERIFY2(said.startsWith(tip), qPrintable(value + ": " + said));
                QCOMPARE(!store.Picture(value).isNull(), tip.startsWith("http"));
            }
            QVERIFY(store.Idle());
            // Never more than 4 connections to icon servers at once, counting those a
            // fetch given up on still holds.
            QVERIFY2(server.held <= IconLimits::Fetches, qPrintable(QString::number(server.held)));
        }

        // A next start with the server gone: the picture comes from the cache folder.
        const QString good = server.Url("/good.png");
        server.close();
        QVERIFY(QDir(TIconStore::CacheFolder()).exists());
        TIconStore again;
        QCOMPARE(settled(again, good), good);
        QVERIFY(!again.Picture(good).isNull());
    }

    // Servers that never answer: each fetch given up on at its time-out lets go of its
    // connection before the next begins, so no more than 4 are ever held to them.
    void slowServersHoldFourConnectionsAtMost()
    {
        TIconServer server;
        TIconStore store;
        const int count = 2 * IconLimits::Fetches;
        for (int i = 0; i < count; ++i)
            store.Tip(server.Url(QStringLiteral("/never.png?%1").arg(i)));
        for (int i = 0; i < count; ++i)
            QVERIFY(settled(store, server.Url(QStringLiteral("/never.png?%1").arg(i)))
                        .endsWith(QStringLiteral("timeout")));
        QCOMPARE(server.held, IconLimits::Fetches);
    }

    // A window closed while a server keeps it waiting: no fetch goes on.
    void closingStopsTheFetches()
    {
        TIconServer server;
        auto* store = new TIconStore;
        store->Tip(server.Url("/never.png"));
        QTRY_COMPARE(server.open, 1);
        delete store;
        QTRY_COMPARE(server.open, 0);
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
