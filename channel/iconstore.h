#pragma once

#include "iconpicture.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWaitCondition>
#include <QWidget>
#include <optional>

class QNetworkAccessManager;
class QNetworkDiskCache;
class QNetworkReply;
class QPainter;
class QTimer;

/// The channels' icons as a window shows them: read and fetched in the background,
/// kept while they are shown, drawn small or large. Asking is cheap; a picture not
/// known yet is asked for then, and Changed tells when it has come (or failed).
/// Fetched icons are kept on disk too (CacheFolder()), so a next start shows them
/// without a network. Files are read and pictures decoded on the application's thread
/// pool, two at a time. Deleting the store stops every fetch and waits for the files
/// being read, which take milliseconds.
class TIconStore : public QObject
{
    Q_OBJECT

public:
    explicit TIconStore(QObject* parent = nullptr);
    ~TIconStore() override;

    /// Draws `value`'s picture to fit `room` (centred, in proportion), or the
    /// placeholder while it is being read or when it cannot be shown.
    void Paint(QPainter& painter, const QRect& room, const QString& value);
    /// What the icon is, or why it cannot be shown, in words ("No such file: ...").
    QString Tip(const QString& value);
    /// The picture, as far as it is known now (null while it comes or when there is
    /// none); asks for it.
    QImage Picture(const QString& value);
    /// Whether nothing is being read or fetched.
    bool Idle() const;

    /// Where fetched icons are kept.
    static QString CacheFolder();

signals:
    /// `value`'s picture has come, or it failed.
    void Changed(const QString& value);

private:
    enum class State { Loading, Shown, Failed };
    struct Entry
    {
        State state = State::Loading;
        QString why;
    };
    struct Fetch
    {
        QString value;
        QByteArray bytes;
        QString refused; // why the transfer was stopped by us, as the user reads it
        bool fromCache = false;
        bool retried = false;   // the other of cache and server was asked already
        bool outOfTime = false; // stopped by its deadline
        int slot = 0;           // its manager
    };

    const Entry& ask(const QString& value);
    void read();
    void readFiles();
    void finished();
    void fetch();
    void startFetch(const QString& value, bool fromCache, bool retried);
    void fetched(QNetworkReply* reply);
    void stopFetch(QNetworkReply* reply, const QString& why);
    void decode(const QString& value, QByteArray bytes);
    void done(const QString& value, const TIconPicture& picture);
    void forget(QList<QString>& waiting);
    void tell();
    QPixmap placeholder(QSize size, qreal ratio);

    QHash<QString, Entry> m_entries;
    QCache<QString, QImage> m_pictures;
    QCache<QString, QPixmap> m_drawn; // by value and size
    QPixmap m_placeholder;            // of the size last drawn
    // The files to read, taken by the reader threads, the newest asked first; guarded,
    // with the readers' counts, by m_queue.
    mutable QMutex m_queue;
    QList<QString> m_filesWaiting;
    int m_readers = 0; // threads reading
    int m_working = 0; // jobs of this store on the application's threads
    QWaitCondition m_workDone;
    int m_inFlight = 0; // pictures read, not yet taken in
    QList<QString> m_webWaiting;
    int m_decoding = 0; // fetched pictures being decoded
    bool m_readSoon = false;
    QStringList m_changed; // not told yet
    QTimer* m_tell = nullptr;
    QHash<QNetworkReply*, Fetch> m_fetches;
    QList<QNetworkAccessManager*> m_nets; // one a fetch slot
    QList<bool> m_slotBusy = QList<bool>(IconLimits::Fetches, false);
    QNetworkDiskCache* m_cache = nullptr;
};

/// A channel's icon, larger: follows the value it is given, says in its tooltip what
/// it shows or why it cannot.
class TIconView : public QWidget
{
    Q_OBJECT

public:
    TIconView(TIconStore* store, QSize size, QWidget* parent = nullptr);
    void SetValue(const QString& value);
    QString Value() const { return m_value; }
    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed(const QString& value);
    QPointer<TIconStore> m_store;
    QSize m_size;
    QString m_value;
};
