#include "dbedits.h"

#include "binding.h"
#include "clientdataset.h"
#include "datasource.h"
#include "guard.h"

#include <QSignalBlocker>

using namespace binding;

TDBEdit::TDBEdit(TDataSource* source, const QString& field, int maxLength, QWidget* parent)
    : QLineEdit(parent), m_source(source), m_field(field)
{
    MarkBound(this, source, field);
    m_validator = new TFieldValidator(source, field, maxLength, this);
    setValidator(m_validator);
    connect(source, &TDataSource::DataChanged, this, [this] { display(); });
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::write);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (m_source)
            emit m_source->EditFinished(this);
    });
    connect(this, &QLineEdit::inputRejected, this,
            [this] { ShowFieldNotice(this, m_validator->Notice(FieldCaption(this))); });
    display();
}

void TDBEdit::write(const QString& text)
{
    // A lone "-" is on its way to a negative number: it stays in the field, and nothing
    // is written until it is one.
    if (m_validator->Incomplete(text))
        return;
    // While the value travels to the row, the row shows its old value for a moment
    // (starting the edit): the text being typed is not rewritten with it.
    bool written = false;
    m_writing = true;
    Guarded(this, [&] { written = !m_field.isEmpty() && writeTo(m_source, m_field, text); });
    m_writing = false;
    display(/*force=*/!written); // refused or not editable: the stored value again
}

void TDBEdit::SetField(const QString& field)
{
    m_field = field;
    MarkBound(this, m_source, field);
    m_validator->SetField(field);
    display(true);
}

void TDBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Typing is over: show the value as stored ("007" as 7, a lone "-" as before).
    display(true);
}

void TDBEdit::display(bool force)
{
    if (m_writing)
        return;
    const QVariant value = valueOf(m_source, m_field);
    const QString text = TextOf(value);
    m_validator->SetStoredLength(text.size());
    if (text == this->text())
        return;
    // The text being typed is not rewritten under the cursor while it stands for the
    // value stored ("007" for 7); leaving the field shows the value as stored.
    if (!force && StandsFor(m_validator->Column(), this->text(), value))
        return;
    setText(text);
}

// --- TDBText ----------------------------------------------------------------------

TDBText::TDBText(TDataSource* source, const QString& field, QWidget* parent)
    : QLabel(parent), m_source(source), m_field(field)
{
    MarkBound(this, source, field);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto display = [this] {
        setText(TextOf(valueOf(m_source, m_field)));
    };
    connect(source, &TDataSource::DataChanged, this, display);
    display();
}

// --- TDBComboBox ------------------------------------------------------------------

namespace {

// Long lists open 20 entries high, not over the whole screen; typing the first letters
// of an entry jumps to it.
void OpenTwentyHigh(QComboBox* list)
{
    list->setMaxVisibleItems(20);
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

} // namespace

TDBComboBox::TDBComboBox(TDataSource* source, const QString& field, const QStringList& items,
                         bool choiceOnly, QWidget* parent)
    : QComboBox(parent), m_source(source), m_field(field)
{
    MarkBound(this, source, field);
    setEditable(!choiceOnly);
    addItems(items);
    if (!choiceOnly) {
        setInsertPolicy(QComboBox::NoInsert);
        // No inline completion: it shows a whole entry while only the letters typed
        // reach the row, and the field must show what Save writes.
        setCompleter(nullptr);
        m_validator = new TFieldValidator(source, field, 65535, this);
        lineEdit()->setValidator(m_validator);
        connect(lineEdit(), &QLineEdit::textEdited, this, &TDBComboBox::write);
        connect(lineEdit(), &QLineEdit::editingFinished, this, [this] {
            if (m_source)
                emit m_source->EditFinished(this);
        });
        connect(lineEdit(), &QLineEdit::inputRejected, this,
                [this] { ShowFieldNotice(this, m_validator->Notice(FieldCaption(this))); });
    }
    OpenTwentyHigh(this);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!(m_outside && index == 0)) // the stored value outside the list is kept as it is
            write(itemText(index));
        if (m_source)
            emit m_source->EditFinished(this);
    });
    connect(source, &TDataSource::DataChanged, this, &TDBComboBox::display);
    display();
}

void TDBComboBox::showOutside(const QString& text)
{
    // A value another program stored is shown as it is, marked, as an extra entry
    // above the list (Down goes on to the list's first entry), and kept until the user
    // picks an entry of the list.
    const int listed = findText(text);
    const bool outside = !text.isEmpty() && (listed < 0 || (m_outside && listed == 0));
    if (m_outside && (!outside || itemText(0) != text)) {
        removeItem(0);
        m_outside = false;
    }
    if (outside && !m_outside) {
        insertItem(0, text);
        QFont italic = font();
        italic.setItalic(true);
        setItemData(0, italic, Qt::FontRole);
        setItemData(0, tr("Stored, but not in the list"), Qt::ToolTipRole);
        m_outside = true;
    }
    QFont shown = font();
    shown.setItalic(m_outside && findText(text) == 0);
    setFont(shown);
    setToolTip(m_outside ? tr("\"%1\" is stored but is not in the list: it is kept unless "
                              "you choose another entry")
                               .arg(text)
                         : QString());
}

void TDBComboBox::write(const QString& text)
{
    if (m_validator && m_validator->Incomplete(text))
        return;
    m_writing = true;
    Guarded(this, [&] { writeTo(m_source, m_field, text); });
    m_writing = false;
    display(); // written or refused: the list shows what is stored
}

void TDBComboBox::display()
{
    const QVariant value = valueOf(m_source, m_field);
    const QString text = TextOf(value);
    const QSignalBlocker block(this);
    if (isEditable()) {
        // What the user is typing stays as typed while it travels to the row, and
        // while it stands for the value stored.
        if (m_writing)
            return;
        if (currentText() != text &&
            !StandsFor(m_validator ? m_validator->Column() : nullptr, currentText(), value)) {
            const int i = findText(text);
            setCurrentIndex(i);
            setEditText(text);
        }
    } else {
        showOutside(text);
        setCurrentIndex(findText(text));
    }
}

// --- TDBLookupComboBox ------------------------------------------------------------

TDBLookupComboBox::TDBLookupComboBox(TDataSource* source, const QString& field,
                                     TDataSource* listSource, const QString& keyField,
                                     const QString& listFields, QWidget* parent)
    : QComboBox(parent), m_source(source), m_field(field), m_list(listSource), m_keyField(keyField),
      m_listFields(listFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
{
    MarkBound(this, source, field);
    setEditable(false);
    OpenTwentyHigh(this); // thousands of channels
    connect(listSource, &TDataSource::DataChanged, this, &TDBLookupComboBox::rebuild);
    connect(source, &TDataSource::DataChanged, this, &TDBLookupComboBox::display);
    connect(this, &QComboBox::activated, this, &TDBLookupComboBox::choose);
    rebuild();
}

void TDBLookupComboBox::rebuild()
{
    if (m_updating)
        return;
    QStringList items;
    TSQLClientDataSet* list = setOf(m_list);
    if (list && list->Active()) {
        for (int r = 0; r < list->RecordCount(); ++r) {
            QStringList parts;
            for (const QString& f : m_listFields)
                parts << TextOf(list->VisibleValue(r, list->FieldIndex(f)));
            items << parts.join(QStringLiteral("   "));
        }
    }
    QStringList now;
    for (int i = 0; i < count(); ++i)
        now << itemText(i);
    if (now != items) {
        const QSignalBlocker block(this);
        clear();
        addItems(items);
    }
    display();
}

void TDBLookupComboBox::display()
{
    const QVariant value = valueOf(m_source, m_field);
    int found = -1;
    TSQLClientDataSet* list = setOf(m_list);
    if (!value.isNull() && list && list->Active()) {
        const int key = list->FieldIndex(m_keyField);
        for (int r = 0; r < list->RecordCount() && found < 0; ++r)
            if (TextOf(list->VisibleValue(r, key)) == value.toString())
                found = r;
    }
    const QSignalBlocker block(this);
    setCurrentIndex(found);
}

void TDBLookupComboBox::choose(int index)
{
    TSQLClientDataSet* list = setOf(m_list);
    if (!list || !list->Active() || index < 0 || index >= list->RecordCount())
        return;
    Guarded(this, [&] {
        const QVariant key = list->VisibleValue(index, list->FieldIndex(m_keyField));
        // Store the key first, then move the list source: its after-scroll handlers see
        // the row already pointing at the chosen entry.
        if (!writeTo(m_source, m_field, key))
            return;
        m_updating = true;
        try {
            list->MoveTo(index);
        } catch (...) {
            m_updating = false;
            throw;
        }
        m_updating = false;
    });
    // Moving may have settled rows of the list source (a new row nobody typed into
    // goes away): show its rows as they are now.
    rebuild();
    if (m_source)
        emit m_source->EditFinished(this);
}

// --- TDBCheckBox ------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(TDataSource* source, const QString& field, const QString& checkedValue,
                         const QString& uncheckedValue, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent), m_source(source), m_field(field), m_checked(checkedValue),
      m_unchecked(uncheckedValue)
{
    MarkBound(this, source, field);
    connect(this, &QCheckBox::clicked, this, [this](bool on) {
        bool written = false;
        Guarded(this, [&] { written = writeTo(m_source, m_field, on ? m_checked : m_unchecked); });
        if (!written)
            display();
        else if (m_source)
            emit m_source->EditFinished(this);
    });
    connect(source, &TDataSource::DataChanged, this, &TDBCheckBox::display);
    display();
}

void TDBCheckBox::display()
{
    const QSignalBlocker block(this);
    setChecked(TextOf(valueOf(m_source, m_field)) == m_checked);
}
