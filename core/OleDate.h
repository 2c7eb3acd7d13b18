#pragma once
#include <QDateTime>

namespace picbasket {

// OLE dates: whole days since 30 December 1899, the fraction the time of day.
// Before the epoch the whole part counts days back while the fraction still
// counts forward into that day (-1.25 is 29 December 1899, 06:00).
QDateTime fromOleDate(double oleDate);
double toOleDate(const QDateTime& dateTime);

} // namespace picbasket
