// The icon store's web addresses: fetched with Qt Network within the limits, kept on
// disk, decoded on the reader threads.
#include "iconstore.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

void TIconStore::fetch()
{
    while (m_fetches.size() < IconLimits::Fetches && !m_webWaiting.isEmpty()) {
        const QString value = m_webWaiting.takeLast();
        // A copy on disk is taken as it is, unless its server said when it goes stale
        // and that has passed.
        const QNetworkCacheMetaData kept = m_cache->metaData(QUrl(IconSourceOf(value).where));
        const bool fresh =
            kept.isValid() && (!kept.expirationDate().isValid() ||
                               kept.expirationDate() > QDateTime::currentDateTimeUtc());
        startFetch(value, fresh, false);
    }
}

void TIconStore::startFetch(const QString& value, bool fromCache, bool retried)
{
    QNetworkRequest request(QUrl(IconSourceOf(value).where));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         fromCache ? QNetworkRequest::AlwaysCache : QNetworkRequest::PreferNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(IconLimits::FetchMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Korvane Setup"));
    const int slot = int(m_slotBusy.indexOf(false));
    m_slotBusy[slot] = true;
    QNetworkReply* reply = m_nets[slot]->get(request);
    m_fetches.insert(reply, Fetch{value, {}, {}, fromCache, retried, false, slot});

    // The whole transfer, not only each pause in it, has its time.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, reply] {
        if (auto it = m_fetches.find(reply); it != m_fetches.end() && it->refused.isEmpty())
            it->outOfTime = true;
        stopFetch(reply, tr("timeout"));
    });
    deadline->start(IconLimits::FetchMs);
    connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl& to) {
        const QString scheme = to.scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
            emit reply->redirectAllowed();
        else
            stopFetch(reply, tr("sent on to %1").arg(to.toDisplayString()));
    });
    auto tooLong = [this, reply](qint64 bytes) {
        if (bytes > IconLimits::FetchBytes)
            stopFetch(reply, tr("larger than %1 MB").arg(IconLimits::FetchBytes / (1024 * 1024)));
    };
    connect(reply, &QNetworkReply::metaDataChanged, this, [reply, tooLong] {
        tooLong(reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, tooLong] {
        auto it = m_fetches.find(reply);
        if (it == m_fetches.end() || !it->refused.isEmpty())
            return;
        it->bytes += reply->read(IconLimits::FetchBytes + 1 - it->bytes.size());
        tooLong(it->bytes.size() + reply->bytesAvailable());
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { fetched(reply); });
}

void TIconStore::stopFetch(QNetworkReply* reply, const QString& why)
{
    auto it = m_fetches.find(reply);
    if (it == m_fetches.end() || !it->refused.isEmpty())
        return;
    it->refused = why;
    reply->abort(); // finished follows
}

void TIconStore::fetched(QNetworkReply* reply)
{
    auto it = m_fetches.find(reply);
    if (it == m_fetches.end())
        return;
    Fetch f = *it;
    m_fetches.erase(it);
    reply->disconnect(this);
    reply->deleteLater();
    // Its sockets closed now, the one it used and any kept for reuse: a socket left open
    // would count against the next fetch's.
    m_nets[f.slot]->clearConnectionCache();
    m_slotBusy[f.slot] = false;
    const QNetworkReply::NetworkError error = reply->error();
    const bool timedOut =
        f.outOfTime || (f.refused.isEmpty() && (error == QNetworkReply::OperationCanceledError ||
                                                error == QNetworkReply::TimeoutError));
    if (!f.retried && (timedOut || (f.refused.isEmpty() && error != QNetworkReply::NoError))) {
        // The copy on disk was let go: ask the server. The server cannot be reached:
        // take the copy on disk, if there is one. Once, either way.
        const bool serverSaid = error >= QNetworkReply::ContentAccessDenied &&
                                error <= QNetworkReply::UnknownServerError;
        if (f.fromCache || (!serverSaid && m_cache->metaData(reply->request().url()).isValid())) {
            startFetch(f.value, !f.fromCache, true);
            return;
        }
    }
    if (f.refused.isEmpty() && error != QNetworkReply::NoError) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QUrl to = reply->header(QNetworkRequest::LocationHeader).toUrl();
        if (status >= 300 && status < 400 && to.isValid()) // not to a web address
            f.refused = tr("sent on to %1").arg(reply->url().resolved(to).toDisplayString());
        else if (status >= 400)
            f.refused = QStringLiteral("%1 %2").arg(status).arg(
                reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        else if (timedOut)
            f.refused = tr("timeout");
        else
            f.refused = reply->errorString();
    }
    if (!f.refused.isEmpty()) {
        done(f.value, {{}, tr("Could not be fetched: %1").arg(f.refused)});
        fetch();
        return;
    }
    f.bytes += reply->read(IconLimits::FetchBytes + 1 - f.bytes.size());
    if (f.bytes.size() > IconLimits::FetchBytes)
        done(f.value,
             {{},
              tr("Could not be fetched: %1")
                  .arg(tr("larger than %1 MB").arg(IconLimits::FetchBytes / (1024 * 1024)))});
    else
        decode(f.value, f.bytes);
    fetch();
}

void TIconStore::decode(const QString& value, QByteArray bytes)
{
    ++m_decoding;
    {
        const QMutexLocker lock(&m_queue);
        ++m_working;
    }
    QThreadPool::globalInstance()->start([this, value, bytes = std::move(bytes)] {
        const TIconPicture picture = DecodeIcon(bytes, QSize(IconLimits::Kept, IconLimits::Kept));
        QMetaObject::invokeMethod(
            this,
            [this, value, picture] {
                --m_decoding;
                done(value, picture);
            },
            Qt::QueuedConnection);
        const QMutexLocker lock(&m_queue);
        finished();
    });
}
