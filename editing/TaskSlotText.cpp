#include "editing/TaskSlotText.h"

#include "core/Convert.h"

#include <charconv>
#include <cmath>

namespace picbasket {

QString fncSlotBool(bool value) {
    return cStr(value);
}

QString fncSlotCheck(bool ticked) {
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

QString fncSlotWhole(int32_t value) {
    return QString::number(value);
}

QString fncSlotColor(OleColor colour) {
    return QString::number(static_cast<int32_t>(colour));
}

QString fncSlotSingle(float value) {
    // A negative zero reads "0"; a value that is no number has no slot text.
    if (value == 0.0f || !std::isfinite(value))
        return QStringLiteral("0");
    // The shortest text that reads back as the same Single; a Single widened to a
    // Double would print its binary tail ("0.100000001490116").
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

} // namespace picbasket
