#include "engine/batch/ExifDateNames.h"

#include <array>

namespace picbasket {

namespace {
// Lower-case names of the EXIF date attributes, as the comparison needs them.
const std::array<QString, 3>& dateAttributeNames() {
    static const std::array<QString, 3> names = {QStringLiteral("datetime"),
                                                 QStringLiteral("datetimeoriginal"),
                                                 QStringLiteral("datetimedigitized")};
    return names;
}
} // namespace

bool fncIsDateAttribute(const QString& name) {
    const QString wanted = name.trimmed().toLower();
    for (const QString& entry : dateAttributeNames())
        if (entry == wanted)
            return true;
    return false;
}

} // namespace picbasket
