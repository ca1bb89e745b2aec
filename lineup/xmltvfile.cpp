#include "xmltvfile.h"

#include "errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <memory>
#include <zlib.h>

namespace {

/// The texts of the listings file's reader.
struct TListingsFileText
{
    Q_DECLARE_TR_FUNCTIONS(ListingsFile)
};

EKorvaneError fileError(const QString& path, const QString& problem)
{
    return EKorvaneError(TListingsFileText::tr("The listings file \"%1\" %2").arg(path, problem));
}

/// The file's bytes, gunzipped when they are gzip data (zlib reads plain files as they
/// are), a chunk at a time.
class TListingsStream
{
public:
    explicit TListingsStream(const QString& path) : m_path(path)
    {
        m_file = gzopen(QFile::encodeName(path).constData(), "rb");
        if (!m_file)
            throw fileError(path, TListingsFileText::tr("cannot be opened."));
        gzbuffer(m_file, 256 * 1024);
    }
    ~TListingsStream() { gzclose(m_file); }
    TListingsStream(const TListingsStream&) = delete;
    TListingsStream& operator=(const TListingsStream&) = delete;

    /// The next chunk; empty at the end of the file.
    QByteArray Read()
    {
        QByteArray chunk(ChunkSize, Qt::Uninitialized);
        const int n = gzread(m_file, chunk.data(), unsigned(chunk.size()));
        int code = Z_OK;
        const char* message = gzerror(m_file, &code);
        // A gzip stream cut short reads as its end, with the error set.
        if (n < 0 || (code != Z_OK && code != Z_STREAM_END))
            throw fileError(
                m_path,
                code == Z_BUF_ERROR
                    ? TListingsFileText::tr("is a gzip file that ends too early (truncated).")
                    : TListingsFileText::tr("is a damaged gzip file (%1).")
                          .arg(QString::fromLocal8Bit(message).section(QStringLiteral(": "), -1)));
        chunk.truncate(n);
        return chunk;
    }

private:
    static constexpr int ChunkSize = 256 * 1024;
    QString m_path;
    gzFile m_file = nullptr;
};

} // namespace

QList<TListedChannel> ReadListingsFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw fileError(path, TListingsFileText::tr("does not exist."));
    if (info.isDir())
        throw fileError(path, TListingsFileText::tr("is a directory, not a file."));
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            throw fileError(path,
                            TListingsFileText::tr("cannot be read: %1.").arg(probe.errorString()));
    }
    if (info.size() == 0)
        throw fileError(path, TListingsFileText::tr("is empty."));

    TListingsStream stream(path);
    QXmlStreamReader xml;
    // Entities of the document's own DTD are expanded up to this many characters in
    // all; a "billion laughs" stops with an error instead of filling the memory.
    xml.setEntityExpansionLimit(64 * 1024);
    bool atEnd = false;
    auto feed = [&] {
        const QByteArray chunk = stream.Read();
        if (chunk.isEmpty())
            atEnd = true;
        else
            xml.addData(chunk);
    };
    feed();
    if (atEnd)
        throw fileError(path, TListingsFileText::tr("is empty."));

    QList<TListedChannel> channels;
    TListedChannel channel;
    QString name;
    enum class Inside { Nothing, Channel, DisplayName };
    Inside inside = Inside::Nothing;
    int depth = 0;
    while (true) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        switch (token) {
        case QXmlStreamReader::Invalid:
            if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && !atEnd) {
                feed();
                continue;
            }
            throw fileError(path,
                            TListingsFileText::tr("is not an XMLTV file: %1 (line %2, column %3).")
                                .arg(xml.errorString())
                                .arg(xml.lineNumber())
                                .arg(xml.columnNumber()));
        case QXmlStreamReader::StartElement:
            ++depth;
            if (depth == 1 && xml.name() != QLatin1String("tv"))
                throw fileError(path, TListingsFileText::tr(
                                          "is no XMLTV listings file: its root element is <%1>, "
                                          "not <tv>.")
                                          .arg(xml.name()));
            if (depth == 2 && xml.name() == QLatin1String("channel")) {
                inside = Inside::Channel;
                channel =
                    TListedChannel{xml.attributes().value(QLatin1String("id")).toString(), {}, {}};
            } else if (depth == 3 && inside == Inside::Channel) {
                if (xml.name() == QLatin1String("display-name")) {
                    inside = Inside::DisplayName;
                    name.clear();
                } else if (xml.name() == QLatin1String("icon") && channel.icon.isEmpty()) {
                    channel.icon = xml.attributes().value(QLatin1String("src")).toString();
                }
            }
            break;
        case QXmlStreamReader::EndElement:
            if (depth == 3 && inside == Inside::DisplayName) {
                inside = Inside::Channel;
                if (!name.trimmed().isEmpty())
                    channel.names << name.trimmed();
            } else if (depth == 2 && inside == Inside::Channel) {
                inside = Inside::Nothing;
                if (!channel.id.isEmpty())
                    channels << std::move(channel);
            }
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (inside == Inside::DisplayName)
                name += xml.text();
            break;
        case QXmlStreamReader::DTD:
            // The reader never fetches an external entity: its references would just
            // vanish from the text. A file that declares one is refused, saying so.
            for (const QXmlStreamEntityDeclaration& entity : xml.entityDeclarations())
                if (!entity.systemId().isEmpty() || !entity.publicId().isEmpty())
                    throw fileError(
                        path,
                        TListingsFileText::tr("declares the external entity \"%1\" (%2), which "
                                              "is never read.")
                            .arg(entity.name(), entity.systemId().isEmpty() ? entity.publicId()
                                                                            : entity.systemId()));
            break;
        case QXmlStreamReader::EntityReference:
            throw fileError(
                path, TListingsFileText::tr("refers to the entity \"%1\", which is never read.")
                          .arg(xml.name()));
        case QXmlStreamReader::EndDocument:
            if (channels.isEmpty())
                throw fileError(path, TListingsFileText::tr(
                                          "lists no channels (no <channel> element with an id)."));
            return channels;
        default:
            break;
        }
    }
}
