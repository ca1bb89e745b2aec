#pragma once
// How the line-up check's problems name their place and the record to open: shared by
// the rules.

#include "lineupcheck.h"

#include <QCoreApplication>

/// The texts of the line-up check.
struct TLineupCheckText
{
    Q_DECLARE_TR_FUNCTIONS(LineupCheck)
};

bool Blank(const QString& text);

QString SourceWhere(const TLineup::Source& s);
QString ChannelWhere(const TLineupIndex& index, const TLineup::Channel& c);
QString CardWhere(const TLineup::Card& c);
QString InputWhere(const TLineupIndex& index, const TLineup::Input& i);

TRecordRef SourceColumn(int source, const QString& column);
TRecordRef ChannelColumn(int channel, const QString& table, const QString& column);
TRecordRef CardColumn(int card, const QString& column);
TRecordRef InputColumn(int input, const QString& column);

/// A problem of a source (and a channel of it), or of a card (and an input of it); its
/// rule and severity are the rule's, set by the check.
TProblem AtSource(const QString& what, const QString& where, const QString& why, int source,
                  std::optional<int> channel, TRecordRef record);
TProblem AtCard(const QString& what, const QString& where, const QString& why, int card,
                std::optional<int> input, TRecordRef record);
TProblem Unplaced(const QString& what, const QString& where, const QString& why);
