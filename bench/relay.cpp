#include "relay.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QLocalSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <deque>

namespace bench {
namespace {

// One way of one connection: what was read, held until its delay is over.
class TDelayedWay : public QObject
{
public:
    TDelayedWay(QIODevice* from, QIODevice* to, int delayMs, std::function<void()> onRead)
        : QObject(from), m_to(to), m_delayNs(qint64(delayMs) * 1000000), m_onRead(std::move(onRead))
    {
        m_clock.start();
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &TDelayedWay::deliver);
        connect(from, &QIODevice::readyRead, this, [this, from] {
            const QByteArray data = from->readAll();
            if (data.isEmpty())
                return;
            m_onRead();
            m_held.push_back({m_clock.nsecsElapsed() + m_delayNs, data});
            if (!m_timer.isActive())
                arm();
        });
    }

private:
    void arm()
    {
        const qint64 wait = m_held.front().first - m_clock.nsecsElapsed();
        m_timer.start(int(std::max<qint64>(0, (wait + 999999) / 1000000)));
    }
    void deliver()
    {
        while (!m_held.empty() && m_held.front().first <= m_clock.nsecsElapsed()) {
            m_to->write(m_held.front().second);
            m_held.pop_front();
        }
        if (!m_held.empty())
            arm();
    }

    QIODevice* m_to;
    qint64 m_delayNs;
    std::function<void()> m_onRead;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::deque<std::pair<qint64, QByteArray>> m_held;
};

} // namespace

TRelay::TRelay(const QString& serverSocket, int delayMs)
{
    m_thread.start();
    auto* listener = new QTcpServer;
    listener->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        listener,
        [this, listener, serverSocket, delayMs] {
            if (!listener->listen(QHostAddress::LocalHost, 0))
                qFatal("the relay cannot listen: %s", qPrintable(listener->errorString()));
            m_port = listener->serverPort();
            QObject::connect(listener, &QTcpServer::newConnection, listener, [=, this] {
                while (QTcpSocket* client = listener->nextPendingConnection()) {
                    client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                    auto* server = new QLocalSocket(client);
                    server->connectToServer(serverSocket);
                    if (!server->waitForConnected(5000))
                        qFatal("the relay cannot reach the server: %s",
                               qPrintable(server->errorString()));
                    auto spoke = std::make_shared<bool>(false); // the server last
                    new TDelayedWay(client, server, delayMs, [this, spoke] {
                        if (*spoke)
                            ++m_roundTrips;
                        *spoke = false;
                    });
                    new TDelayedWay(server, client, delayMs, [spoke] { *spoke = true; });
                    // Whichever end closes, the other follows.
                    QObject::connect(client, &QTcpSocket::disconnected, client,
                                     &QObject::deleteLater);
                    QObject::connect(server, &QLocalSocket::disconnected, client,
                                     [client] { client->disconnectFromHost(); });
                }
            });
        },
        Qt::BlockingQueuedConnection);
    QObject::connect(&m_thread, &QThread::finished, listener, &QObject::deleteLater);
}

TRelay::~TRelay()
{
    m_thread.quit();
    m_thread.wait();
}

} // namespace bench
