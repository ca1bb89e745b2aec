#include "channelrow.h"

#include <QCoreApplication>

QString TChannelRow::Label() const
{
    const QString shown = !name.isEmpty() ? name : callsign;
    return shown.isEmpty() ? QCoreApplication::translate("ChannelRow", "channel %1").arg(chanid)
                           : shown;
}
