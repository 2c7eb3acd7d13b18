#pragma once
#include <QDateTime>
#include <QString>

namespace picbasket {

// Formats a date with the runtime's tokens, independent of the locale:
//   d dd ddd dddd   day, two-digit day, "Mon", "Monday"
//   m mm mmm mmmm   month, two-digit month, "Jul", "July"; m or mm right after an
//                   hour token, or right before a seconds token, is minutes
//   y yy yyyy       day of the year, two-digit year, four-digit year
//   h hh  n nn  s ss  hours, minutes, seconds
//   AM/PM am/pm A/P a/p   a 12-hour clock with that marker
//   w q             weekday (1 = Sunday), quarter
// Text in double quotes and a character after "\" are copied; everything else is literal.
QString formatDate(const QDateTime& dateTime, const QString& format);

// The two fixed forms the system writes.
inline QString formatDateDots(const QDateTime& dt) { return formatDate(dt, "m.d.yyyy h.mm.ss AM/PM"); }
inline QString formatDateSlashes(const QDateTime& dt) { return formatDate(dt, "m/d/yyyy h:mm:ss AM/PM"); }

} // namespace picbasket
