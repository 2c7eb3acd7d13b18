#include "engine/batch/ExifDateNames.h"

namespace picbasket {

const std::array<QString, 3>& exifDateAttributeNames() {
    static const std::array<QString, 3> names = {QStringLiteral("DateTime"),
                                                 QStringLiteral("DateTimeOriginal"),
                                                 QStringLiteral("DateTimeDigitized")};
    return names;
}

bool fncIsDateAttribute(const QString& name) {
    const QString wanted = name.trimmed().toLower();
    for (const QString& entry : exifDateAttributeNames())
        if (entry.toLower() == wanted)
            return true;
    return false;
}

} // namespace picbasket
