#pragma once
#include <QString>
#include <exiv2/exiv2.hpp>

#include <memory>

namespace picbasket::exifvalue {

// The value text of an EXIF attribute, in the forms the metadata windows
// interpret: ASCII without its terminator; integers in decimal, several joined
// by ","; rationals "N/D" unreduced (signed where the type is); UNDEFINED and
// BYTE values as two-digit hex joined by "," ("30,32,32,30"); UserComment as its
// text without the character-set prefix.
QString toText(const Exiv2::Exifdatum& datum, bool isUserComment);

// Parses a value text for a tag of the given type and value count (0: any
// count); the same forms toText writes, and a rational may also be a whole
// number. Null when the text does not parse for the type.
std::unique_ptr<Exiv2::Value> fromText(const QString& text, Exiv2::TypeId type, int count,
                                       bool isUserComment);

} // namespace picbasket::exifvalue
