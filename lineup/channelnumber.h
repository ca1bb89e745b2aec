#pragma once

#include <QString>

/// A channel number as the recording system compares them: blanks around it and leading
/// zeros do not count, so "07", " 7" and "7" are one number (channel 7). A number that is
/// no whole number is compared as it is typed, blanks around it left out. Empty for an
/// empty or blank number.
QString ChannelNumberKey(const QString& channum);
