#include "iconstore.h"

#include <QDir>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QPainter>
#include <QPalette>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTimer>

namespace {

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

// --- the store ---------------------------------------------------------------------

TIconStore::TIconStore(QObject* parent) : QObject(parent)
{
    m_pictures.setMaxCost(48 * 1024); // KiB
    m_drawn.setMaxCost(32 * 1024);
    m_tell = new QTimer(this);
    m_tell->setSingleShot(true);
    m_tell->setInterval(25);
    connect(m_tell, &QTimer::timeout, this, &TIconStore::tell);
    // A manager a fetch at a time, so that the sockets of a fetch are closed when it
    // ends (a fetch given up on keeps its socket in a shared manager's pool for minutes):
    // never more connections to icon servers than fetches. Their caches share one folder.
    for (int i = 0; i < IconLimits::Fetches; ++i) {
        auto* net = new QNetworkAccessManager(this);
        net->setAutoDeleteReplies(false);
        auto* cache = new QNetworkDiskCache(net);
        cache->setCacheDirectory(CacheFolder());
        net->setCache(cache);
        m_nets << net;
    }
    m_cache = static_cast<QNetworkDiskCache*>(m_nets.first()->cache());
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
