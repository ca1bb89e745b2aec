#pragma once

#include <QList>
#include <QStyledItemDelegate>
#include <functional>

/// A cell of a review picked from a list: "none" first, then the entries that fit
/// equally (when there are), a line, then every entry. A pick is made at once: the list
/// closes, and the model's EditRole gets the entry's value once it has gone (a model
/// may then lay out its rows anew).
class TPickDelegate : public QStyledItemDelegate
{
public:
    struct TRowChoice
    {
        int picked = -1;        // the value picked now (-1: none)
        bool undecided = false; // nothing picked yet: even "none" is a pick
        QList<int> candidates;  // the values that fit equally
    };

    /// `none` names the entry of value -1; `entries` are every value in the list's
    /// order; `text` names a value; `choice` tells a row's.
    TPickDelegate(const QString& name, const QString& none, std::function<QList<int>()> entries,
                  std::function<QString(int)> text, std::function<TRowChoice(int row)> choice,
                  QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    QString m_name, m_none;
    std::function<QList<int>()> m_entries;
    std::function<QString(int)> m_text;
    std::function<TRowChoice(int)> m_choice;
};
