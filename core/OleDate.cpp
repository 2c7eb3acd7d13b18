#include "core/OleDate.h"

#include <cmath>

namespace picbasket {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
} // namespace

QDateTime fromOleDate(double oleDate) {
    const double whole = std::trunc(oleDate);
    const double fraction = std::fabs(oleDate - whole);
    qint64 ms = qint64(std::nearbyint(fraction * kMsPerDay));
    qint64 days = qint64(whole);
    if (ms >= qint64(kMsPerDay)) {
        ms -= qint64(kMsPerDay);
        days += oleDate < 0 ? -1 : 1;
    }
    return QDateTime(kEpoch.addDays(days), QTime(0, 0).addMSecs(int(ms)));
}

double toOleDate(const QDateTime& dateTime) {
    const double days = double(kEpoch.daysTo(dateTime.date()));
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / kMsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

} // namespace picbasket
