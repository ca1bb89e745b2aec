#pragma once

// A relay between a MySQL client and the private server, standing in for a network:
// it listens on 127.0.0.1, passes every byte on to the server's socket and back, each
// way after a delay, and counts the round trips (each time the client speaks after the
// server has).
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

namespace bench {

class TRelay
{
public:
    TRelay(const QString& serverSocket, int delayMs);
    ~TRelay();
    TRelay(const TRelay&) = delete;
    TRelay& operator=(const TRelay&) = delete;

    quint16 Port() const { return m_port; }
    qint64 RoundTrips() const { return m_roundTrips.load(); }
    void ResetRoundTrips() { m_roundTrips = 0; }

private:
    QThread m_thread;
    quint16 m_port = 0;
    std::atomic<qint64> m_roundTrips{0};
};

} // namespace bench
