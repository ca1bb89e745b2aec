#include "griddelegate.h"

#include "binding.h"
#include "datasetmodel.h"
#include "dbgrid.h"
#include "guard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStaticText>
#include <QStyledItemDelegate>

using namespace binding;

namespace {

// Cell editors that obey their column's limits, and write nothing when the text is
// left as it was (an empty cell holding NULL stays NULL).
class TGridDelegate : public QStyledItemDelegate
{
public:
    TGridDelegate(TDBGrid* grid, TDataSource* source)
        : QStyledItemDelegate(grid), m_grid(grid), m_source(source)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        const TGridColumn& column = m_grid->Columns().at(index.column());
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        auto* validator = new TFieldValidator(m_source, column.field,
                                              column.limit > 0 ? column.limit : 65535, editor);
        editor->setValidator(validator);
        QObject::connect(editor, &QLineEdit::textEdited, m_grid, &TDBGrid::PendingEditChanged);
        QObject::connect(editor, &QLineEdit::inputRejected, editor, [editor, validator, column] {
            ShowFieldNotice(editor, validator->Notice(column.title));
        });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        line->setProperty("originalText", text);
        if (auto* validator =
                qobject_cast<TFieldValidator*>(const_cast<QValidator*>(line->validator())))
            validator->SetStoredLength(text.size());
        line->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = line->text();
        if (text == line->property("originalText").toString())
            return;
        auto* validator = qobject_cast<const TFieldValidator*>(line->validator());
        if (validator && validator->Incomplete(text))
            return; // a lone "-": nothing the column could hold
        Guarded(m_grid, [&] { model->setData(index, text, Qt::EditRole); });
        line->setProperty("originalText", text);
    }

protected:
    // Tab in a cell writes it and leaves the grid, as Tab does everywhere else.
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                QKeyEvent tab(QEvent::KeyPress, key->key(), key->modifiers());
                QCoreApplication::sendEvent(m_grid, &tab);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

    // A cell's text is laid out once per distinct text and font, not at every paint:
    // scrolling and filtering thousands of rows repaint the same few hundred texts.
    // Texts that need shortening (or span lines) are drawn the usual way.
    // A column with a picture draws it before the text, in a room of its own.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const TGridPicture* picture = m_grid->Columns().at(index.column()).picture.get();
        if (!picture) {
            paintText(painter, option, index);
            return;
        }
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = cell.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
        const QSize size = picture->size.boundedTo(option.rect.size());
        const QRect room(option.rect.left() + PictureMargin,
                         option.rect.top() + (option.rect.height() - size.height()) / 2,
                         size.width(), size.height());
        painter->save();
        painter->setClipRect(option.rect);
        picture->paint(*painter, room, index.data(TDataSetModel::PictureValueRole).toString());
        painter->restore();
        QStyleOptionViewItem rest = option;
        rest.rect.setLeft(room.right() + 1 + PictureMargin);
        paintText(painter, rest, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        if (const TGridPicture* picture = m_grid->Columns().at(index.column()).picture.get())
            hint.rwidth() += picture->size.width() + 2 * PictureMargin;
        return hint;
    }

private:
    static constexpr int PictureMargin = 2;

    void paintText(QPainter* painter, const QStyleOptionViewItem& option,
                   const QModelIndex& index) const
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = cell.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        const QString text = cell.text;
        cell.text.clear();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget)
                               .adjusted(margin, 0, -margin, 0);
        const QStaticText* laid = laidOut(text, cell.font);
        if (!laid || laid->size().width() > area.width()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget); // all but the text
        QPalette::ColorGroup group =
            cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
            group = QPalette::Inactive;
        painter->save();
        painter->setFont(cell.font);
        painter->setPen(cell.palette.color(group, cell.state & QStyle::State_Selected
                                                      ? QPalette::HighlightedText
                                                      : QPalette::Text));
        const QRect at =
            QStyle::alignedRect(cell.direction, cell.displayAlignment, laid->size().toSize(), area);
        painter->drawStaticText(at.topLeft(), *laid);
        painter->restore();
    }

    const QStaticText* laidOut(const QString& text, const QFont& font) const
    {
        if (text.isEmpty())
            return nullptr;
        for (QChar c : text)
            if (c.unicode() < 0x20)
                return nullptr; // line breaks and tabs: the usual way
        if (font != m_font || m_laidOut.size() > 4096) {
            m_laidOut.clear();
            m_font = font;
        }
        auto it = m_laidOut.find(text);
        if (it == m_laidOut.end()) {
            QStaticText laid(text);
            laid.setTextFormat(Qt::PlainText);
            laid.prepare(QTransform(), font);
            it = m_laidOut.insert(text, laid);
        }
        return &*it;
    }

    TDBGrid* m_grid;
    QPointer<TDataSource> m_source;
    mutable QFont m_font;
    mutable QHash<QString, QStaticText> m_laidOut;
};

// The row indicator column: as wide as set, every row as high as the grid's rows (its

} // namespace

QStyledItemDelegate* NewGridDelegate(TDBGrid* grid, TDataSource* source)
{
    return new TGridDelegate(grid, source);
}
