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
