#pragma once
#include <QString>
#include <cmath>
#include <cstdint>

namespace picbasket {

// Rounds halves to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0): the rounding of the whole
// system wherever a fractional value becomes an integer. std::round is never used.
inline double roundHalfEven(double value) { return std::nearbyint(value); }

// Conversions of stored parameter texts. Numbers may carry blanks around them and
// are rounded halves to even; a text that is no number raises error 13 (type
// mismatch), a value outside the type's range error 6 (overflow).
int16_t cInt(const QString& text);
int32_t cLng(const QString& text);
uint8_t cByte(const QString& text);
double cDbl(const QString& text);
float cSng(const QString& text);
// "True" / "False" in any case, or a number (non-zero is true); error 13 otherwise.
bool cBool(const QString& text);

// The same range checks for values already numeric.
int16_t cInt(double value);
int32_t cLng(double value);
uint8_t cByte(double value);

// Texts the runtime makes of values: "True"/"False", and numbers without
// trailing zeros ("1.5", "12", "-0.25").
QString cStr(bool value);
QString cStr(double value);
QString cStr(int value);

// 16-bit truth values as stored (0 false, -1 true).
inline int16_t toBool16(bool value) { return value ? int16_t(-1) : int16_t(0); }
inline bool fromBool16(int16_t value) { return value != 0; }

} // namespace picbasket
