#include "rowstore.h"

#include <algorithm>

bool SameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a == b;
}

bool SameValues(const QVariantList& a, const QVariantList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!SameValue(a[i], b[i]))
            return false;
    return true;
}

void TRowStore::Reset(std::vector<std::unique_ptr<TRow>> rows, std::optional<TKeyFilter> filter)
{
    m_visible.clear();
    m_rows = std::move(rows);
    m_index = {};
    ++m_revision;
    Refilter(filter, false);
}

void TRowStore::Clear()
{
    m_index = {};
    ++m_revision;
    m_rows.clear();
    m_visible.clear();
}

int TRowStore::IndexOf(const TRow* row) const
{
    const auto it = std::find(m_visible.begin(), m_visible.end(), row);
    return it == m_visible.end() ? -1 : int(it - m_visible.begin());
}

std::optional<qlonglong> TRowStore::KeyOf(const TRow& row, int column)
{
    const QVariant& v = row.current.at(column);
    if (v.isNull())
        return std::nullopt;
    // Identifier columns hold plain integers: read them without QVariant's conversion
    // machinery.
    if (v.typeId() == QMetaType::Int)
        return *static_cast<const int*>(v.constData());
    if (v.typeId() == QMetaType::LongLong)
        return *static_cast<const qlonglong*>(v.constData());
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    return ok ? std::optional<qlonglong>(n) : std::nullopt;
}

const std::vector<TRow*>& TRowStore::rowsWithKey(int column, qlonglong key)
{
    // The rows by their value in the filter column, in storage order; rebuilt only when
    // rows changed since.
    if (m_index.column != column || m_index.revision != m_revision) {
        m_index.rows.clear();
        for (const auto& row : m_rows)
            if (const auto k = KeyOf(*row, column))
                m_index.rows[*k].push_back(row.get());
        m_index.column = column;
        m_index.revision = m_revision;
    }
    static const std::vector<TRow*> none;
    const auto it = m_index.rows.find(key);
    return it == m_index.rows.end() ? none : it->second;
}

void TRowStore::Refilter(std::optional<TKeyFilter> filter, bool adding)
{
    const int column = filter ? filter->column : -1;
    const qlonglong key = filter ? filter->value : 0;
    m_visible.clear();
    if (column >= 0 && !adding) {
        for (TRow* row : rowsWithKey(column, key))
            if (!IsGone(row->status))
                m_visible.push_back(row);
        return;
    }
    m_visible.reserve(m_rows.size());
    for (const auto& row : m_rows) {
        if (IsGone(row->status))
            continue;
        // A row being added stays visible until it is settled.
        if (row->status == TRowStatus::Pending || column < 0 || KeyOf(*row, column) == key)
            m_visible.push_back(row.get());
    }
}

TRow* TRowStore::AddPending(QVariantList values, TRow* before)
{
    auto row = std::make_unique<TRow>();
    row->status = TRowStatus::Pending;
    row->current = std::move(values);
    TRow* pending = row.get(); // holds no key until posted: the key index stays valid
    const int at = IndexOf(before);
    if (!before || at < 0) {
        m_rows.push_back(std::move(row));
        m_visible.push_back(pending);
    } else {
        const auto in = std::find_if(m_rows.begin(), m_rows.end(),
                                     [before](const auto& r) { return r.get() == before; });
        m_rows.insert(in, std::move(row));
        m_visible.insert(m_visible.begin() + at, pending);
    }
    return pending;
}

void TRowStore::Remove(TRow* row)
{
    // A row never posted holds no key: the key index never listed it.
    if (row->status != TRowStatus::Pending)
        ++m_revision;
    if (const int at = IndexOf(row); at >= 0)
        m_visible.erase(m_visible.begin() + at);
    m_rows.erase(std::find_if(m_rows.begin(), m_rows.end(),
                              [row](const auto& r) { return r.get() == row; }));
}

void TRowStore::Drop(TRow* row)
{
    // A row never posted holds no key: the key index never listed it.
    if (row->status != TRowStatus::Pending)
        ++m_revision;
    row->status = TRowStatus::Absent;
    if (const int at = IndexOf(row); at >= 0)
        m_visible.erase(m_visible.begin() + at);
}

void TRowStore::PurgeAbsent()
{
    m_visible.erase(
        std::remove_if(m_visible.begin(), m_visible.end(),
                       [](const TRow* row) { return row->status == TRowStatus::Absent; }),
        m_visible.end());
    const auto gone = std::remove_if(m_rows.begin(), m_rows.end(), [](const auto& row) {
        return row->status == TRowStatus::Absent;
    });
    if (gone == m_rows.end())
        return;
    m_rows.erase(gone, m_rows.end());
    ++m_revision;
}

void TRowStore::Hide(int index)
{
    ++m_revision;
    m_visible.erase(m_visible.begin() + index);
}

std::optional<qlonglong> TRowStore::IndexedKey(const TRow& row) const
{
    return m_index.column < 0 ? std::nullopt : KeyOf(row, m_index.column);
}

void TRowStore::Posted(TRow* row, std::optional<qlonglong> keyBefore, bool inserted)
{
    // Rows added one after another (an import, typing in a list) would otherwise rebuild
    // the whole index for every row: an appended row joins the end of its key's rows
    // (storage order), and an edit that keeps the key leaves the index as it is.
    if (m_index.column < 0 || m_index.revision != m_revision)
        return;
    const auto key = KeyOf(*row, m_index.column);
    if (inserted && m_rows.back().get() == row) {
        if (key)
            m_index.rows[*key].push_back(row);
    } else if (inserted || key != keyBefore) {
        ++m_revision;
    }
}
