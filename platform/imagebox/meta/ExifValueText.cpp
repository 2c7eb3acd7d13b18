#include "platform/imagebox/meta/ExifValueText.h"

#include <QLocale>
#include <QStringDecoder>
#include <QStringList>
#include <limits>
#include <optional>

namespace picbasket::exifvalue {

namespace {

// Text bytes as UTF-8 when they are valid UTF-8, else as Latin-1.
QString decodeText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size())) : text;
}

QString stripNuls(QString text) {
    while (text.endsWith(QChar(0))) {
        text.chop(1);
    }
    return text;
}

QString hexBytes(const Exiv2::Value& value) {
    std::string bytes(size_t(value.size()), '\0');
    if (!bytes.empty()) {
        value.copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), Exiv2::littleEndian);
    }
    QStringList parts;
    for (unsigned char b : bytes) {
        parts << QStringLiteral("%1").arg(int(b), 2, 16, QChar('0')).toUpper();
    }
    return parts.join(',');
}

QString commentText(const Exiv2::Value& value) {
    if (const auto* comment = dynamic_cast<const Exiv2::CommentValue*>(&value)) {
        return stripNuls(decodeText(comment->comment()));
    }
    // A comment stored with a plain UNDEFINED value: skip the 8-byte prefix.
    std::string bytes(size_t(value.size()), '\0');
    if (!bytes.empty()) {
        value.copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), Exiv2::littleEndian);
    }
    return stripNuls(decodeText(bytes.size() >= 8 ? bytes.substr(8) : std::string()));
}

template <typename ValueType, typename F> QString joinItems(const Exiv2::Value& value, F format) {
    const auto* typed = dynamic_cast<const ValueType*>(&value);
    if (!typed) {
        return QString::fromStdString(value.toString());
    }
    QStringList parts;
    for (const auto& item : typed->value_) {
        parts << format(item);
    }
    return parts.join(',');
}

QString integers(const Exiv2::Value& value) {
    QStringList parts;
    for (long i = 0; i < value.count(); ++i) {
        parts << QString::number(value.toLong(i));
    }
    return parts.join(',');
}

QString shortestNumber(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QString toText(const Exiv2::Exifdatum& datum, bool isUserComment) {
    const Exiv2::Value& value = datum.value();
    if (isUserComment) {
        return commentText(value);
    }
    switch (value.typeId()) {
    case Exiv2::asciiString:
        return decodeText(value.toString());
    case Exiv2::unsignedByte:
    case Exiv2::undefined:
        return hexBytes(value);
    case Exiv2::unsignedShort:
    case Exiv2::unsignedLong:
    case Exiv2::signedByte:
    case Exiv2::signedShort:
    case Exiv2::signedLong:
    case Exiv2::tiffIfd:
        return integers(value);
    case Exiv2::unsignedRational:
        return joinItems<Exiv2::URationalValue>(value, [](const Exiv2::URational& r) {
            return QStringLiteral("%1/%2").arg(r.first).arg(r.second);
        });
    case Exiv2::signedRational:
        return joinItems<Exiv2::RationalValue>(value, [](const Exiv2::Rational& r) {
            return QStringLiteral("%1/%2").arg(r.first).arg(r.second);
        });
    case Exiv2::tiffFloat:
        return joinItems<Exiv2::FloatValue>(value, [](float v) { return shortestNumber(v); });
    case Exiv2::tiffDouble:
        return joinItems<Exiv2::DoubleValue>(value, [](double v) { return shortestNumber(v); });
    default:
        return decodeText(value.toString());
    }
}

namespace {

QStringList items(const QString& text) {
    QStringList parts = text.split(',');
    for (QString& part : parts) {
        part = part.trimmed();
    }
    return parts;
}

std::optional<qint64> integerIn(const QString& text, qint64 low, qint64 high) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok, 10);
    if (!ok || v < low || v > high) {
        return std::nullopt;
    }
    return v;
}

struct Range {
    qint64 low;
    qint64 high;
};

std::optional<Range> integerRange(Exiv2::TypeId type) {
    switch (type) {
    case Exiv2::unsignedShort:
        return Range{0, 0xFFFF};
    case Exiv2::unsignedLong:
    case Exiv2::tiffIfd:
    case Exiv2::unsignedRational:
        return Range{0, 0xFFFFFFFFLL};
    case Exiv2::signedByte:
        return Range{-128, 127};
    case Exiv2::signedShort:
        return Range{-32768, 32767};
    case Exiv2::signedLong:
    case Exiv2::signedRational:
        return Range{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    default:
        return std::nullopt;
    }
}

std::optional<std::string> floatItem(const QString& part) {
    bool ok = false;
    const double v = part.toDouble(&ok);
    return ok ? std::optional(QString::number(v, 'g', 17).toStdString()) : std::nullopt;
}

// "N/D", or a whole number N meaning N/1.
std::optional<std::string> rationalItem(const QString& part, const Range& range) {
    const QStringList nd = part.split('/');
    if (nd.size() > 2) {
        return std::nullopt;
    }
    const auto n = integerIn(nd[0].trimmed(), range.low, range.high);
    const auto d = nd.size() == 2 ? integerIn(nd[1].trimmed(), range.low, range.high)
                                  : std::optional<qint64>(1);
    if (!n || !d) {
        return std::nullopt;
    }
    return std::to_string(*n) + "/" + std::to_string(*d);
}

std::optional<std::string> numberItem(const QString& part, Exiv2::TypeId type) {
    if (type == Exiv2::tiffFloat || type == Exiv2::tiffDouble) {
        return floatItem(part);
    }
    const std::optional<Range> range = integerRange(type);
    if (!range) {
        return std::nullopt;
    }
    if (type == Exiv2::unsignedRational || type == Exiv2::signedRational) {
        return rationalItem(part, *range);
    }
    const auto v = integerIn(part, range->low, range->high);
    return v ? std::optional(std::to_string(*v)) : std::nullopt;
}

// The items in the plain form Exiv2 reads ("1 2 3", "1/3 2/3"); null on failure.
std::optional<std::string> normalisedNumbers(const QStringList& parts, Exiv2::TypeId type) {
    std::string out;
    for (const QString& part : parts) {
        const std::optional<std::string> item = numberItem(part, type);
        if (!item) {
            return std::nullopt;
        }
        out += (out.empty() ? "" : " ") + *item;
    }
    return out;
}

std::optional<std::string> hexList(const QStringList& parts) {
    std::string bytes;
    for (const QString& part : parts) {
        bool ok = false;
        const uint v = part.toUInt(&ok, 16);
        if (!ok || part.size() > 2 || v > 0xFF) {
            return std::nullopt;
        }
        bytes.push_back(char(v));
    }
    return bytes;
}

std::unique_ptr<Exiv2::Value> makeValue(Exiv2::TypeId type) {
    return std::unique_ptr<Exiv2::Value>(Exiv2::Value::create(type).release());
}

std::unique_ptr<Exiv2::Value> commentValue(const QString& text) {
    bool ascii = true;
    for (QChar c : text) {
        ascii = ascii && c.unicode() < 0x80;
    }
    const std::string prefix = ascii ? "charset=Ascii " : "charset=Unicode ";
    auto value = makeValue(Exiv2::comment);
    if (value->read(prefix + text.toStdString()) != 0) {
        return nullptr;
    }
    return value;
}

} // namespace

std::unique_ptr<Exiv2::Value> fromText(const QString& text, Exiv2::TypeId type, int count,
                                       bool isUserComment) {
    if (isUserComment) {
        return commentValue(text);
    }
    if (type == Exiv2::asciiString) {
        auto value = makeValue(type);
        value->read(text.toStdString());
        return value;
    }
    const QStringList parts = items(text);
    if (text.trimmed().isEmpty() || (count > 0 && parts.size() != count)) {
        return nullptr;
    }
    if (type == Exiv2::unsignedByte || type == Exiv2::undefined) {
        const std::optional<std::string> bytes = hexList(parts);
        if (!bytes) {
            return nullptr;
        }
        auto value = makeValue(type);
        value->read(reinterpret_cast<const Exiv2::byte*>(bytes->data()), long(bytes->size()),
                    Exiv2::littleEndian);
        return value;
    }
    const std::optional<std::string> numbers = normalisedNumbers(parts, type);
    if (!numbers) {
        return nullptr;
    }
    auto value = makeValue(type);
    if (value->read(*numbers) != 0 || value->count() != long(parts.size())) {
        return nullptr;
    }
    return value;
}

} // namespace picbasket::exifvalue
