#pragma once

#include <QChar>
#include <QList>
#include <QSet>
#include <QWidget>

/// The mnemonic of a caption ("&Save" -> 'S'), null when it has none.
QChar MnemonicOf(const QString& text);

/// Gives every button and every label naming a field under `root` a mnemonic that is
/// not in `taken`, keeping the mnemonics captions have already; widgets under one of
/// `apart` are left for a call of their own (panes that never show together may share
/// letters). Returns `taken` with the letters now used under `root`.
QSet<QChar> AssignMnemonics(QWidget* root, QSet<QChar> taken, const QList<QWidget*>& apart = {});

/// The mnemonics the captions under `root` have, leaving out those under `apart`.
QSet<QChar> MnemonicsUsed(QWidget* root, const QList<QWidget*>& apart = {});

/// Leaves `button` without a mnemonic: its action has a key of its own that every
/// program shares (Undo is Ctrl+Z), and letters are scarce where fields are many.
void KeepWithoutMnemonic(QWidget* button);
/// Whether `widget` was left without a mnemonic on purpose.
bool KeptWithoutMnemonic(const QWidget* widget);
