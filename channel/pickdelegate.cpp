#include "pickdelegate.h"

#include <QComboBox>
#include <QTimer>

TPickDelegate::TPickDelegate(const QString& name, const QString& none,
                             std::function<QList<int>()> entries, std::function<QString(int)> text,
                             std::function<TRowChoice(int)> choice, QObject* parent)
    : QStyledItemDelegate(parent), m_name(name), m_none(none), m_entries(std::move(entries)),
      m_text(std::move(text)), m_choice(std::move(choice))
{
}

QWidget* TPickDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex& index) const
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(m_name);
    combo->setMaxVisibleItems(20);
    combo->addItem(m_none, -1);
    const TRowChoice choice = m_choice(index.row());
    for (int c : choice.candidates)
        combo->addItem(m_text(c), c);
    if (!choice.candidates.isEmpty())
        combo->insertSeparator(combo->count());
    for (int c : m_entries())
        combo->addItem(m_text(c), c);
    // A pick is made at once: the row follows, and the list closes.
    auto* self = const_cast<TPickDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo] {
        emit self->commitData(combo);
        emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    return combo;
}

void TPickDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentIndex(std::max(0, combo->findData(m_choice(index.row()).picked)));
}

void TPickDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const
{
    const int value = static_cast<QComboBox*>(editor)->currentData().toInt();
    const TRowChoice choice = m_choice(index.row());
    if (value == choice.picked && !choice.undecided)
        return;
    // Once the list has gone: the view has no editor left to close should the model lay
    // out its rows anew.
    const QPersistentModelIndex at(index);
    QTimer::singleShot(0, model, [model, at, value] {
        if (at.isValid())
            model->setData(at, value, Qt::EditRole);
    });
}
