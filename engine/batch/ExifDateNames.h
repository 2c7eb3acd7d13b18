#pragma once
#include <QString>

namespace picbasket {

// True when the trimmed name, in any case, is one of the EXIF attributes that hold
// a date and time: "DateTime", "DateTimeOriginal", "DateTimeDigitized".
bool fncIsDateAttribute(const QString& name);

} // namespace picbasket
