#include "mnemonics.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHash>
#include <QLabel>

namespace {

const char* const NoMnemonic = "korvaneNoMnemonic";

QString captionOf(QWidget* w)
{
    if (KeptWithoutMnemonic(w))
        return QString();
    if (auto* label = qobject_cast<QLabel*>(w)) // a label naming a field that takes focus
        return label->buddy() && (label->buddy()->focusPolicy() & Qt::TabFocus) ? label->text()
                                                                                : QString();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->isCheckable() ? group->title() : QString();
    return QString();
}

void setCaption(QWidget* w, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
}

bool under(QWidget* w, const QList<QWidget*>& roots)
{
    for (QWidget* p = w; p; p = p->parentWidget())
        if (roots.contains(p))
            return true;
    return false;
}

// The letters of `text` a mnemonic may take, best first: the first letters of its
// words, then its other letters and digits.
QList<QChar> candidates(const QString& text, const QSet<QChar>& taken)
{
    QList<QChar> first;
    QList<QChar> rest;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i].toUpper();
        if (!text[i].isLetterOrNumber() || c.unicode() >= 128 || taken.contains(c) ||
            first.contains(c) || rest.contains(c))
            continue;
        (i == 0 || !text[i - 1].isLetterOrNumber() ? first : rest) << c;
    }
    return first + rest;
}

// Finds a letter for caption `i`, moving others to their next choices where that frees
// one (a maximum matching of captions to letters, best letters tried first).
bool match(int i, const QList<QList<QChar>>& choices, QHash<QChar, int>& owner, QSet<QChar>& seen)
{
    for (QChar c : choices[i]) {
        if (seen.contains(c))
            continue;
        seen.insert(c);
        if (!owner.contains(c) || match(owner[c], choices, owner, seen)) {
            owner[c] = i;
            return true;
        }
    }
    return false;
}

} // namespace

QChar MnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i; // "&&" is a plain ampersand
            continue;
        }
        return text[i + 1].toUpper();
    }
    return QChar();
}

void KeepWithoutMnemonic(QWidget* button)
{
    button->setProperty(NoMnemonic, true);
}

bool KeptWithoutMnemonic(const QWidget* widget)
{
    return widget->property(NoMnemonic).toBool();
}

QSet<QChar> MnemonicsUsed(QWidget* root, const QList<QWidget*>& apart)
{
    QSet<QChar> used;
    QList<QWidget*> widgets{root};
    widgets += root->findChildren<QWidget*>();
    for (QWidget* w : widgets)
        if (!under(w, apart))
            if (const QChar m = MnemonicOf(captionOf(w)); !m.isNull())
                used.insert(m);
    return used;
}

QSet<QChar> AssignMnemonics(QWidget* root, QSet<QChar> taken, const QList<QWidget*>& apart)
{
    QList<QWidget*> widgets{root};
    widgets += root->findChildren<QWidget*>();
    QList<QWidget*> wanting;
    for (QWidget* w : widgets) {
        if (under(w, apart))
            continue;
        const QString caption = captionOf(w);
        if (caption.isEmpty())
            continue;
        if (const QChar m = MnemonicOf(caption); !m.isNull())
            taken.insert(m);
        else
            wanting << w;
    }
    QList<QList<QChar>> choices;
    for (QWidget* w : wanting)
        choices << candidates(captionOf(w), taken);
    QHash<QChar, int> owner; // letter -> caption
    for (int i = 0; i < wanting.size(); ++i) {
        QSet<QChar> seen;
        match(i, choices, owner, seen);
    }
    for (auto it = owner.begin(); it != owner.end(); ++it) {
        // A caption left without a letter is a symbol ("+", arrows) or lost out: Tab
        // still reaches it, and its tooltip names it.
        QWidget* w = wanting[it.value()];
        QString caption = captionOf(w);
        // Underline the letter where it starts a word, else where it first appears.
        qsizetype at = -1;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i].toUpper() != it.key())
                continue;
            if (at < 0)
                at = i;
            if (i == 0 || !caption[i - 1].isLetterOrNumber()) {
                at = i;
                break;
            }
        }
        caption.insert(at, QLatin1Char('&'));
        setCaption(w, caption);
        taken.insert(it.key());
    }
    return taken;
}
