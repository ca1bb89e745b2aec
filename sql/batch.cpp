// Statements sent several to a query: a save of thousands of rows costs a few round
// trips to the server instead of one a row.
#include "connection.h"

#include "errors.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <algorithm>

namespace {

/// Values as SQL text, by the driver's own escaping. Text goes as UTF-8 bytes: the
/// driver escapes those with the client library, which knows the session's character
/// set and whether backslashes escape. A field a type, made once for a whole batch.
class TLiterals
{
public:
    explicit TLiterals(const QSqlDriver& driver) : m_driver(driver) { m_real.setPrecision(17); }

    QString Of(const QVariant& value)
    {
        switch (value.metaType().id()) {
        case QMetaType::QString:
        case QMetaType::QChar:
            return format(m_bytes, value.isNull() ? QVariant(QMetaType::fromType<QByteArray>())
                                                  : QVariant(value.toString().toUtf8()));
        case QMetaType::Bool:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
            // Small integers are numbers to the server, not characters.
            return format(m_number, value.isNull() ? QVariant(QMetaType::fromType<qlonglong>())
                                                   : QVariant(value.toLongLong()));
        case QMetaType::Double:
        case QMetaType::Float:
            m_real = QSqlField(QString(), value.metaType());
            m_real.setPrecision(17);
            return format(m_real, value);
        default: {
            QSqlField field(QString(), value.metaType());
            return format(field, value);
        }
        }
    }

private:
    QString format(QSqlField& field, const QVariant& value)
    {
        field.setValue(value);
        return m_driver.formatValue(field);
    }

    const QSqlDriver& m_driver;
    QSqlField m_bytes{QString(), QMetaType::fromType<QByteArray>()};
    QSqlField m_number{QString(), QMetaType::fromType<qlonglong>()};
    QSqlField m_real;
};

/// `statement` with each "?" marker outside quotes replaced by its value.
QString inlined(TLiterals& literals, const TStatement& statement)
{
    QString text;
    text.reserve(statement.text.size() + 16 * statement.binds.size());
    qsizetype bind = 0;
    QChar open; // the quote the text is inside, if any
    for (const QChar c : statement.text) {
        if (!open.isNull()) {
            if (c == open)
                open = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            open = c;
        } else if (c == QLatin1Char('?')) {
            if (bind >= statement.binds.size())
                throw EKorvaneError(QCoreApplication::translate(
                    "TSQLConnection",
                    "Internal error: a statement's values do not match its markers."));
            text += literals.Of(statement.binds.at(bind++));
            continue;
        }
        text += c;
    }
    if (bind != statement.binds.size())
        throw EKorvaneError(QCoreApplication::translate(
            "TSQLConnection", "Internal error: a statement's values do not match its markers."));
    return text;
}

} // namespace

qsizetype TSQLConnection::batchBytes()
{
    // Small batches never need to ask: every server takes a packet of 64 KB.
    if (m_maxPacket == 0) {
        QSqlQuery& query = run(QStringLiteral("SELECT @@max_allowed_packet"), {});
        m_maxPacket = query.next() ? query.value(0).toLongLong() : 0;
        if (m_maxPacket <= 0)
            m_maxPacket = 1024 * 1024;
    }
    // Room for the packet's header and the separators.
    return std::min<qsizetype>(MaxBatchBytes, qsizetype(m_maxPacket) - 1024);
}

void TSQLConnection::ExecuteBatch(const std::vector<TStatement>& statements,
                                  const std::function<void(size_t, int)>& matched)
{
    if (statements.empty())
        return;
    if (m_inTransaction && !Connected())
        throw EDatabaseError(QCoreApplication::translate(
                                 "TSQLConnection", "The connection to the database was lost."),
                             2013);
    Open();
    const QSqlDatabase db = QSqlDatabase::database(m_name, false);
    std::vector<QByteArray> texts;
    texts.reserve(statements.size());
    qsizetype total = 0;
    TLiterals literals(*db.driver());
    for (const TStatement& statement : statements) {
        texts.push_back(inlined(literals, statement).toUtf8());
        total += texts.back().size() + 2;
    }
    const qsizetype limit = total <= 64 * 1024 ? total : batchBytes();

    for (size_t first = 0; first < statements.size();) {
        // As many statements as the limits take; one too long for them goes alone.
        size_t count = 0;
        qsizetype bytes = 0;
        while (first + count < statements.size() && count < size_t(MaxBatchStatements)) {
            const qsizetype next = texts[first + count].size() + 2;
            if (count > 0 && bytes + next > limit)
                break;
            bytes += next;
            ++count;
        }
        for (size_t i = first; i < first + count; ++i)
            trace(statements[i].text, statements[i].binds);
        const std::vector<int> rows = sendBatch(texts, first, count);
        if (matched)
            for (size_t i = 0; i < count; ++i)
                matched(first + i, rows[i]);
        first += count;
    }
}

std::vector<int> TSQLConnection::sendBatch(const std::vector<QByteArray>& texts, size_t first,
                                           size_t count)
{
    QByteArray joined;
    for (size_t i = first; i < first + count; ++i) {
        if (i > first)
            joined += ";\n";
        joined += texts[i];
    }
    m_adhoc = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_name, false));
    QSqlQuery& query = *m_adhoc;
    query.setForwardOnly(true);
    ++m_queriesSent;
    std::vector<int> rows;
    rows.reserve(count);
    if (!query.exec(QString::fromUtf8(joined)))
        fail(query.lastError(), QString());
    rows.push_back(query.numRowsAffected());
    while (rows.size() < count) {
        if (!query.nextResult()) {
            const QSqlError error = query.lastError();
            if (error.type() != QSqlError::NoError)
                fail(error, QString());
            throw EDatabaseError(QCoreApplication::translate(
                "TSQLConnection", "The server ran fewer statements than it was sent."));
        }
        rows.push_back(query.numRowsAffected());
    }
    m_adhoc.reset(); // reads what is left of the query, so the next one can be sent
    return rows;
}
