#pragma once
#include <QString>

#include <array>

namespace picbasket {

// The EXIF attributes that hold a date and time, as the image box names them:
// "DateTime", "DateTimeOriginal", "DateTimeDigitized". The one table of them; the
// metadata lists read it too.
const std::array<QString, 3>& exifDateAttributeNames();

// True when the trimmed name, in any case, is one of the EXIF date attributes.
bool fncIsDateAttribute(const QString& name);

} // namespace picbasket
