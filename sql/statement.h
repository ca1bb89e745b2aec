#pragma once

#include <QString>
#include <QVariantList>

/// A statement's text and the values bound to its "?" markers, in order.
struct TStatement
{
    QString text;
    QVariantList binds;
};
