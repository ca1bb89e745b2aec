#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The fields of an RFC 4180 text (CRLF between records), record by record: the test's
/// own reader, to read back what the program writes.
inline QList<QStringList> ReadCsv(const QString& text)
{
    QList<QStringList> rows{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool next = i + 1 < text.size();
        if (quoted && c == '"' && next && text[i + 1] == '"') {
            field += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            rows.last() << field;
            field.clear();
        } else if (!quoted && c == '\r' && next && text[i + 1] == '\n') {
            rows.last() << field;
            field.clear();
            rows << QStringList();
            ++i;
        } else {
            field += c;
        }
    }
    if (rows.last().isEmpty() && field.isEmpty())
        rows.removeLast();
    return rows;
}
