#include "channelnumber.h"

QString ChannelNumberKey(const QString& channum)
{
    const QString trimmed = channum.trimmed();
    bool numeric = false;
    const qlonglong n = trimmed.toLongLong(&numeric);
    return numeric ? QString::number(n) : trimmed;
}
