#include "receivingcards.h"

#include "clientdataset.h"
#include "connection.h"
#include "fielddef.h"

#include <QSqlQuery>

QString ReceivingCardsQuery()
{
    return QStringLiteral(
        "SELECT cardtype, dvb_type, videosource.sourceid AS sourceid, capturecard.cardid AS "
        "cardid FROM videosource, cardinput, capturecard WHERE videosource.sourceid = "
        "cardinput.sourceid AND cardinput.cardid = capturecard.cardid");
}

QList<TReceivingCard> ReceivingCardsOf(const TSQLClientDataSet& set)
{
    QList<TReceivingCard> cards;
    const int cardid = set.FieldIndex(QStringLiteral("cardid"));
    const int cardtype = set.FieldIndex(QStringLiteral("cardtype"));
    const int dvbType = set.FieldIndex(QStringLiteral("dvb_type"));
    for (int row = 0; row < set.RecordCount(); ++row)
        cards << TReceivingCard{set.VisibleValue(row, cardid).toInt(),
                                CardKindOf(TextOf(set.VisibleValue(row, cardtype)),
                                           TextOf(set.VisibleValue(row, dvbType)))};
    return cards;
}

TCardKind ReceivedKind(TSQLConnection& connection, int source)
{
    QSqlQuery& rows = connection.Execute(
        ReceivingCardsQuery() + QStringLiteral(" AND videosource.sourceid = ?"), {source});
    QList<TReceivingCard> cards;
    while (rows.next())
        cards << TReceivingCard{rows.value(3).toInt(),
                                CardKindOf(TextOf(rows.value(0)), TextOf(rows.value(1)))};
    return SourceCardKind(cards);
}
