#include "iconstore.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

namespace {

/// The formats Qt reads by itself: nothing a plug-in of another package brings.
bool OwnFormat(const QByteArray& format)
{
    static const QList<QByteArray> formats{"png", "jpeg", "jpg", "gif", "bmp", "ico",
                                           "pbm", "pgm",  "ppm", "xbm", "xpm"};
    return formats.contains(format.toLower());
}

QString tooLarge(QSize size)
{
    return TIconStore::tr("Too large to show: %1x%2 pixels (at most %3x%3)")
        .arg(size.width())
        .arg(size.height())
        .arg(IconLimits::Pixels);
}

/// Why `path` cannot be read as an icon file before anything of it is read: missing,
/// a link to nowhere, not a regular file (a folder, a pipe that would never end), too big.
std::optional<QString> fileKindProblem(const QFileInfo& file)
{
    const QString path = file.filePath();
    if (!file.exists())
        return file.isSymLink()
                   ? TIconStore::tr("A link that leads nowhere or in a circle: %1").arg(path)
                   : TIconStore::tr("No such file: %1").arg(path);
    if (file.isDir())
        return TIconStore::tr("A folder, not a picture: %1").arg(path);
    if (!file.isFile())
        return TIconStore::tr("Not a plain file: %1").arg(path);
    if (file.size() > IconLimits::FileBytes)
        return TIconStore::tr("Too large to show: %1 is %2 MB (at most %3 MB)")
            .arg(path)
            .arg(double(file.size()) / (1024 * 1024), 0, 'f', 1)
            .arg(IconLimits::FileBytes / (1024 * 1024));
    return std::nullopt;
}

void paintPlaceholder(QPainter& painter, const QRect& room)
{
    // A neutral frame of a picon's proportions: there is a place for a picture.
    QSize frame = QSize(5, 3).scaled(room.size() - QSize(2, 2), Qt::KeepAspectRatio);
    if (frame.isEmpty())
        return;
    const QRectF at(room.left() + (room.width() - frame.width()) / 2.0,
                    room.top() + (room.height() - frame.height()) / 2.0, frame.width(),
                    frame.height());
    const QPalette palette = QGuiApplication::palette();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette.color(QPalette::Mid), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    const qreal corner = std::max(1.0, frame.height() / 6.0);
    painter.drawRoundedRect(at.adjusted(0.5, 0.5, -0.5, -0.5), corner, corner);
    painter.restore();
}

} // namespace

TIconPicture DecodeIcon(const QByteArray& bytes, QSize box)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (format.isEmpty())
        return {{}, TIconStore::tr("Not an image")};
    if (!OwnFormat(format))
        return {
            {},
            TIconStore::tr("Not an image format read here: %1").arg(QString::fromLatin1(format))};
    buffer.seek(0);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.width() > IconLimits::Pixels || size.height() > IconLimits::Pixels)
        return {{}, tooLarge(size)};
    // JPEG decodes smaller by itself; the others are scaled after, which costs half of
    // what their readers' own scaling does.
    const bool large = size.width() > box.width() || size.height() > box.height();
    if (size.isValid() && large && (format == "jpeg" || format == "jpg"))
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1}));
    QImage image = reader.read();
    if (image.isNull())
        return {{}, TIconStore::tr("A damaged picture: %1").arg(reader.errorString())};
    // Formats that do not say their size before they are read.
    if (image.width() > IconLimits::Pixels || image.height() > IconLimits::Pixels)
        return {{}, tooLarge(image.size())};
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return {image, {}};
}

TIconPicture ReadIconFile(const QString& path, QSize box)
{
    const QFileInfo info(path);
    if (const auto problem = fileKindProblem(info))
        return {{}, *problem};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, TIconStore::tr("Cannot be read: %1 (%2)").arg(path, file.errorString())};
    // It may have grown since it was looked at: never more than the limit is read.
    const QByteArray bytes = file.read(IconLimits::FileBytes + 1);
    if (bytes.size() > IconLimits::FileBytes)
        return {{},
                TIconStore::tr("Too large to show: %1 is over %2 MB")
                    .arg(path)
                    .arg(IconLimits::FileBytes / (1024 * 1024))};
    return DecodeIcon(bytes, box);
}

std::optional<QString> IconFileProblem(const QString& path)
{
    if (const auto problem = fileKindProblem(QFileInfo(path)))
        return problem;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TIconStore::tr("Cannot be read: %1 (%2)").arg(path, file.errorString());
    QImageReader reader(&file);
    if (reader.format().isEmpty())
        return TIconStore::tr("Not an image");
    if (!OwnFormat(reader.format()))
        return TIconStore::tr("Not an image format read here: %1")
            .arg(QString::fromLatin1(reader.format()));
    const QSize size = reader.size();
    if (size.width() > IconLimits::Pixels || size.height() > IconLimits::Pixels)
        return tooLarge(size);
    return std::nullopt;
}

TIconSource IconSourceOf(const QString& value)
{
    const QString v = value.trimmed();
    if (v.isEmpty() || v == QLatin1String("none"))
        return {TIconSource::None, {}};
    if (v.startsWith(QLatin1Char('/')))
        return {TIconSource::File, v};
    if (v.startsWith(QLatin1String("~/")))
        return {TIconSource::File, QDir::homePath() + v.mid(1)};
    const QUrl url(v, QUrl::StrictMode);
    if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
        return {TIconSource::File, url.toLocalFile()};
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty() &&
        (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        return {TIconSource::Web, url.toString()};
    return {TIconSource::Unusable, v};
}

// --- the store ---------------------------------------------------------------------

TIconStore::TIconStore(QObject* parent) : QObject(parent)
{
    m_pictures.setMaxCost(48 * 1024); // KiB
    m_drawn.setMaxCost(32 * 1024);
    m_tell = new QTimer(this);
    m_tell->setSingleShot(true);
    m_tell->setInterval(25);
    connect(m_tell, &QTimer::timeout, this, &TIconStore::tell);
    m_net = new QNetworkAccessManager(this);
    m_net->setAutoDeleteReplies(false);
    m_cache = new QNetworkDiskCache(m_net);
    m_cache->setCacheDirectory(CacheFolder());
    m_net->setCache(m_cache);
}

TIconStore::~TIconStore()
{
    // No fetch outlives the window: each is stopped and its reply deleted.
    const QList<QNetworkReply*> replies = m_fetches.keys();
    m_fetches.clear();
    for (QNetworkReply* reply : replies) {
        reply->disconnect(this);
        reply->abort();
        delete reply;
    }
    // The reader threads are the application's, kept for the next window: this
    // store's work on them is waited for.
    QMutexLocker lock(&m_queue);
    m_filesWaiting.clear();
    while (m_working > 0)
        m_workDone.wait(&m_queue);
}

QString TIconStore::CacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/icons");
}

bool TIconStore::Idle() const
{
    const QMutexLocker lock(&m_queue);
    return m_decoding == 0 && m_inFlight == 0 && m_changed.isEmpty() && m_filesWaiting.isEmpty() &&
           m_webWaiting.isEmpty() && m_fetches.isEmpty() &&
           std::none_of(m_entries.begin(), m_entries.end(),
                        [](const Entry& e) { return e.state == State::Loading; });
}

const TIconStore::Entry& TIconStore::ask(const QString& value)
{
    auto it = m_entries.find(value);
    if (it != m_entries.end()) {
        // Shown once, but the picture was let go since: it is read again.
        if (it->state != State::Shown || m_pictures.contains(value))
            return *it;
    } else {
        it = m_entries.insert(value, Entry{});
    }
    const TIconSource source = IconSourceOf(value);
    switch (source.kind) {
    case TIconSource::None:
        *it = Entry{State::Failed, tr("No icon")};
        break;
    case TIconSource::Unusable:
        *it = Entry{State::Failed, tr("Not a file path or web address: %1").arg(source.where)};
        break;
    case TIconSource::File:
        *it = Entry{};
        {
            const QMutexLocker lock(&m_queue);
            forget(m_filesWaiting);
            m_filesWaiting << value;
        }
        if (!std::exchange(m_readSoon, true))
            QTimer::singleShot(0, this, &TIconStore::read);
        break;
    case TIconSource::Web:
        *it = Entry{};
        forget(m_webWaiting);
        m_webWaiting << value;
        QTimer::singleShot(0, this, &TIconStore::fetch);
        break;
    }
    return *it;
}

void TIconStore::forget(QList<QString>& waiting)
{
    // Rows scrolled past long ago are not read now: asked again when shown again.
    constexpr int Waiting = 96;
    while (waiting.size() >= Waiting)
        m_entries.remove(waiting.takeFirst());
}

void TIconStore::read()
{
    m_readSoon = false;
    const QMutexLocker lock(&m_queue);
    while (m_readers < IconLimits::Readers && !m_filesWaiting.isEmpty()) {
        ++m_readers;
        ++m_working;
        QThreadPool::globalInstance()->start([this] { readFiles(); });
    }
}

void TIconStore::readFiles()
{
    // In a reader thread: the newest asked first, until none is left.
    for (;;) {
        QString value;
        {
            const QMutexLocker lock(&m_queue);
            if (m_filesWaiting.isEmpty()) {
                --m_readers;
                finished();
                return;
            }
            value = m_filesWaiting.takeLast();
            ++m_inFlight;
        }
        const TIconPicture picture =
            ReadIconFile(IconSourceOf(value).where, QSize(IconLimits::Kept, IconLimits::Kept));
        QMetaObject::invokeMethod(
            this,
            [this, value, picture] {
                {
                    const QMutexLocker lock(&m_queue);
                    --m_inFlight;
                }
                done(value, picture);
            },
            Qt::QueuedConnection);
    }
}

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
    QNetworkReply* reply = m_net->get(request);
    m_fetches.insert(reply, Fetch{value, {}, {}, fromCache, retried});

    // The whole transfer, not only each pause in it, has its time.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, reply] { stopFetch(reply, tr("timeout")); });
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
    const QNetworkReply::NetworkError error = reply->error();
    const bool timedOut = f.refused == tr("timeout") ||
                          (f.refused.isEmpty() && (error == QNetworkReply::OperationCanceledError ||
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

void TIconStore::finished()
{
    // In a reader thread, m_queue held: nothing of it touches the store after this.
    --m_working;
    m_workDone.wakeAll();
}

void TIconStore::done(const QString& value, const TIconPicture& picture)
{
    auto it = m_entries.find(value);
    if (it == m_entries.end())
        it = m_entries.insert(value, Entry{});
    if (picture.image.isNull()) {
        *it = Entry{State::Failed, picture.why};
    } else {
        *it = Entry{State::Shown, {}};
        m_pictures.insert(value, new QImage(picture.image),
                          std::max<int>(1, int(picture.image.sizeInBytes() / 1024)));
    }
    // Told together: a list repaints once for the pictures of a screen, not once each.
    // The last of a batch is told at once.
    m_changed << value;
    bool last = m_decoding == 0 && m_fetches.isEmpty();
    {
        const QMutexLocker lock(&m_queue);
        last = last && m_inFlight == 0 && m_filesWaiting.isEmpty();
    }
    if (last)
        tell();
    else if (!m_tell->isActive())
        m_tell->start();
}

void TIconStore::tell()
{
    m_tell->stop();
    const QStringList changed = std::exchange(m_changed, {});
    for (const QString& value : changed)
        emit Changed(value);
}

QImage TIconStore::Picture(const QString& value)
{
    if (ask(value).state != State::Shown)
        return {};
    const QImage* picture = m_pictures.object(value);
    return picture ? *picture : QImage();
}

void TIconStore::Paint(QPainter& painter, const QRect& room, const QString& value)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QString key =
        QStringLiteral("%1\n%2x%3@%4").arg(value).arg(room.width()).arg(room.height()).arg(ratio);
    const QPixmap* drawn = m_drawn.object(key);
    if (!drawn || ask(value).state != State::Shown) {
        const QImage picture = Picture(value);
        if (picture.isNull()) {
            painter.drawPixmap(room.topLeft(), placeholder(room.size(), ratio));
            return;
        }
        QPixmap scaled = QPixmap::fromImage(picture.scaled(
            (QSizeF(room.size()) * ratio).toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        scaled.setDevicePixelRatio(ratio);
        const int cost = std::max<int>(1, int(scaled.width() * scaled.height() * 4 / 1024));
        auto* kept = new QPixmap(scaled);
        m_drawn.insert(key, kept, cost);
        drawn = m_drawn.object(key);
        if (!drawn)
            return;
    }
    const QSizeF size = drawn->deviceIndependentSize();
    painter.drawPixmap(QPointF(room.left() + (room.width() - size.width()) / 2,
                               room.top() + (room.height() - size.height()) / 2),
                       *drawn);
}

QPixmap TIconStore::placeholder(QSize size, qreal ratio)
{
    // Drawn once a size: a list shows it on many rows at a time.
    if (m_placeholder.isNull() || m_placeholder.deviceIndependentSize() != QSizeF(size) ||
        m_placeholder.devicePixelRatio() != ratio) {
        m_placeholder = QPixmap((QSizeF(size) * ratio).toSize());
        m_placeholder.setDevicePixelRatio(ratio);
        m_placeholder.fill(Qt::transparent);
        QPainter painter(&m_placeholder);
        paintPlaceholder(painter, QRect(QPoint(), size));
    }
    return m_placeholder;
}

QString TIconStore::Tip(const QString& value)
{
    const Entry& entry = ask(value);
    switch (entry.state) {
    case State::Loading:
        return IconSourceOf(value).kind == TIconSource::Web
                   ? tr("Fetching %1...").arg(IconSourceOf(value).where)
                   : tr("Reading %1...").arg(IconSourceOf(value).where);
    case State::Failed:
        return entry.why;
    case State::Shown:
        break;
    }
    return IconSourceOf(value).where;
}

// --- the larger view -------------------------------------------------------------

TIconView::TIconView(TIconStore* store, QSize size, QWidget* parent)
    : QWidget(parent), m_store(store), m_size(size)
{
    setFixedSize(size);
    setAccessibleName(tr("Icon"));
    connect(store, &TIconStore::Changed, this, &TIconView::changed);
    SetValue(QString());
}

void TIconView::SetValue(const QString& value)
{
    m_value = value;
    changed(value);
}

void TIconView::changed(const QString& value)
{
    if (value != m_value || !m_store)
        return;
    const QString tip = m_store->Tip(value);
    setToolTip(tip);
    setAccessibleDescription(tip);
    update();
}

void TIconView::paintEvent(QPaintEvent*)
{
    if (!m_store)
        return;
    QPainter painter(this);
    m_store->Paint(painter, rect(), m_value);
}
