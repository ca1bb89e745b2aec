#pragma once

#include "cardkind.h"

#include <QList>
#include <QString>

class TSQLClientDataSet;
class TSQLConnection;

/// The query of the cards whose inputs name a source, a row a card and input, with the
/// columns `cardid`, `cardtype`, `dvb_type` and `sourceid` (for a data set filtered on
/// the source).
QString ReceivingCardsQuery();

/// The cards the visible rows of `set` (opened on ReceivingCardsQuery()) name.
QList<TReceivingCard> ReceivingCardsOf(const TSQLClientDataSet& set);

/// The kind source `source` is received as, read from the database (SourceCardKind).
TCardKind ReceivedKind(TSQLConnection& connection, int source);
