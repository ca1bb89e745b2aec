#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class TSQLClientDataSet;

/// Finds the rows of a data set that hold a text in any of some fields, ignoring case,
/// as a user narrows a long list letter by letter. The fields of every row are gathered
/// once into one case-folded text, which each text typed is looked for in: one pass
/// through memory instead of thousands of scattered values.
class TRowFilter
{
public:
    /// The fields looked in; other fields than before forget what was gathered.
    void SetFields(const QStringList& fields);
    const QStringList& Fields() const { return m_fields; }
    /// The rows changed: they are gathered again when next needed.
    void Forget();
    /// Gathers the set's visible rows unless they are gathered already.
    void Prepare(const TSQLClientDataSet& set);
    /// For each visible row of the set, whether it holds `text` (every row for none).
    std::vector<bool> Find(const TSQLClientDataSet& set, const QString& text);
    /// Whether the visible row `row` holds `text`, looked at as it is now (the row
    /// being edited, a row changed since the rows were gathered).
    bool Holds(const TSQLClientDataSet& set, int row, const QString& text) const;

    /// A character as the filter compares it: letters in one case.
    static char16_t Folded(QChar c);

private:
    static void appendFolded(const QVariant& value, QString& into);
    QList<int> columns(const TSQLClientDataSet& set) const;

    QStringList m_fields;
    QString m_haystack;                 // the rows' fields, folded, each ended by a NUL
    std::vector<qsizetype> m_rowStarts; // where each row begins, and the end; empty
                                        // until gathered
};
