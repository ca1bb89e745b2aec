#include "rowfilter.h"

#include "clientdataset.h"

#include <algorithm>

namespace {

// Folds the characters of `text` from `start` on, in place.
void foldFrom(QString& text, qsizetype start)
{
    for (QChar *c = text.data() + start, *end = text.data() + text.size(); c != end; ++c)
        *c = QChar(TRowFilter::Folded(*c));
}

QString foldedText(QString text)
{
    foldFrom(text, 0);
    return text;
}

// Where `needle` (folded, not empty, without a NUL) next occurs in `haystack` from
// `from`, or -1.
qsizetype next(QStringView haystack, QStringView needle, qsizetype from)
{
    const QChar first = needle.front();
    const QStringView rest = needle.mid(1);
    for (qsizetype at = haystack.indexOf(first, from); at >= 0;
         at = haystack.indexOf(first, at + 1))
        if (haystack.mid(at + 1, rest.size()) == rest)
            return at;
    return -1;
}

} // namespace

char16_t TRowFilter::Folded(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u;
    return c.toCaseFolded().unicode();
}

void TRowFilter::SetFields(const QStringList& fields)
{
    if (fields == m_fields)
        return;
    m_fields = fields;
    Forget();
}

void TRowFilter::Forget()
{
    m_haystack.clear();
    m_rowStarts.clear();
}

QList<int> TRowFilter::columns(const TSQLClientDataSet& set) const
{
    QList<int> found;
    for (const QString& field : m_fields)
        if (const int column = set.FieldIndex(field); column >= 0)
            found << column;
    return found;
}

void TRowFilter::appendFolded(const QVariant& value, QString& into)
{
    const qsizetype start = into.size();
    // Text as it is held; numbers as they are shown; NULL as nothing.
    if (value.typeId() == QMetaType::QString)
        into += *static_cast<const QString*>(value.constData());
    else if (value.isValid())
        into += value.toString();
    foldFrom(into, start);
}

void TRowFilter::Prepare(const TSQLClientDataSet& set)
{
    if (m_rowStarts.size() == size_t(set.RecordCount()) + 1)
        return; // gathered, and not forgotten since
    Forget();
    const int rows = set.RecordCount();
    const QList<int> fields = columns(set);
    m_rowStarts.reserve(size_t(rows) + 1);
    m_haystack.reserve(qsizetype(rows) * 32);
    for (int row = 0; row < rows; ++row) {
        m_rowStarts.push_back(m_haystack.size());
        for (int column : fields) {
            appendFolded(set.VisibleCell(row, column), m_haystack);
            m_haystack += QChar(0); // no text typed spans two fields
        }
    }
    m_rowStarts.push_back(m_haystack.size());
}

std::vector<bool> TRowFilter::Find(const TSQLClientDataSet& set, const QString& text)
{
    const int rows = set.RecordCount();
    if (text.isEmpty())
        return std::vector<bool>(size_t(rows), true);
    std::vector<bool> found(size_t(rows), false);
    const QString needle = foldedText(text);
    if (needle.contains(QChar(0))) {
        for (int row = 0; row < rows; ++row)
            found[size_t(row)] = Holds(set, row, text);
        return found;
    }
    Prepare(set);
    const QStringView haystack(m_haystack);
    for (qsizetype at = next(haystack, needle, 0); at >= 0;) {
        const auto row = size_t(std::upper_bound(m_rowStarts.begin(), m_rowStarts.end(), at) -
                                m_rowStarts.begin() - 1);
        found[row] = true;
        at = next(haystack, needle, m_rowStarts[row + 1]); // on from the next row
    }
    return found;
}

bool TRowFilter::Holds(const TSQLClientDataSet& set, int row, const QString& text) const
{
    const QString needle = foldedText(text);
    for (int column : columns(set)) {
        QString field;
        appendFolded(set.VisibleCell(row, column), field);
        if (field.contains(needle))
            return true;
    }
    return needle.isEmpty();
}
