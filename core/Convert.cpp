#include "core/Convert.h"
#include "core/AppError.h"

#include <limits>

namespace picbasket {

namespace {

double parseNumber(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || t.isEmpty() || !std::isfinite(value))
        raiseError(err::TypeMismatch);
    return value;
}

template <class T> T checkedRound(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= double(std::numeric_limits<T>::min()) && r <= double(std::numeric_limits<T>::max())))
        raiseError(err::Overflow);
    return static_cast<T>(r);
}

} // namespace

int16_t cInt(double value) { return checkedRound<int16_t>(value); }
int32_t cLng(double value) { return checkedRound<int32_t>(value); }
uint8_t cByte(double value) { return checkedRound<uint8_t>(value); }

int16_t cInt(const QString& text) { return cInt(parseNumber(text)); }
int32_t cLng(const QString& text) { return cLng(parseNumber(text)); }
uint8_t cByte(const QString& text) { return cByte(parseNumber(text)); }
double cDbl(const QString& text) { return parseNumber(text); }

float cSng(const QString& text) {
    const double v = parseNumber(text);
    if (std::fabs(v) > double(std::numeric_limits<float>::max()))
        raiseError(err::Overflow);
    return static_cast<float>(v);
}

bool cBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return parseNumber(t) != 0.0;
}

QString cStr(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
QString cStr(int value) { return QString::number(value); }

QString cStr(double value) {
    if (value == 0.0)
        return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    return s;
}

} // namespace picbasket
