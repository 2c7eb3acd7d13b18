#include "platform/imagebox/StatedResolution.h"

#include <QFile>
#include <cmath>
#include <cstdint>

namespace picbasket::imagebox {

namespace {

constexpr double metresPerInch = 0.0254;

uint32_t byteAt(const QByteArray& b, qsizetype at) {
    return static_cast<unsigned char>(b[at]);
}
uint32_t be16(const QByteArray& b, qsizetype at) {
    return byteAt(b, at) << 8 | byteAt(b, at + 1);
}
uint32_t be32(const QByteArray& b, qsizetype at) {
    return be16(b, at) << 16 | be16(b, at + 2);
}
uint32_t le32(const QByteArray& b, qsizetype at) {
    return byteAt(b, at) | byteAt(b, at + 1) << 8 | byteAt(b, at + 2) << 16 |
           byteAt(b, at + 3) << 24;
}

StatedResolution perMetre(double x, double y) {
    if (!(x > 0 && y > 0))
        return {};
    return {x * metresPerInch, y * metresPerInch};
}

// The segments before the first scan; the JFIF segment is APP0 with its
// identifier. Units: 1 dots per inch, 2 dots per centimetre, 0 only the aspect.
StatedResolution fromJpeg(const QByteArray& b) {
    qsizetype at = 2;
    while (at + 4 <= b.size()) {
        if (byteAt(b, at) != 0xFF)
            return {};
        const uint32_t marker = byteAt(b, at + 1);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return {};
        const qsizetype length = be16(b, at + 2);
        if (length < 2)
            return {};
        if (marker == 0xE0 && length >= 16 && at + 2 + length <= b.size() &&
            b.mid(at + 4, 5) == QByteArray("JFIF\0", 5)) {
            const uint32_t units = byteAt(b, at + 11);
            const double x = be16(b, at + 12), y = be16(b, at + 14);
            if (!(x > 0 && y > 0))
                return {};
            if (units == 1)
                return {x, y};
            if (units == 2)
                return {x * 2.54, y * 2.54};
            return {};
        }
        at += 2 + length;
    }
    return {};
}

// The chunks before the image data; pHYs of unit 1 counts pixels per metre.
StatedResolution fromPng(const QByteArray& b) {
    qsizetype at = 8;
    while (at + 12 <= b.size()) {
        const qsizetype length = be32(b, at);
        const QByteArray type = b.mid(at + 4, 4);
        if (type == "IDAT" || type == "IEND" || length > b.size())
            return {};
        if (type == "pHYs") {
            if (length != 9 || at + 8 + 9 > b.size() || byteAt(b, at + 16) != 1)
                return {};
            return perMetre(be32(b, at + 8), be32(b, at + 12));
        }
        at += 12 + length;
    }
    return {};
}

// The info header (40 bytes or more) holds pixels per metre; the 12-byte core
// header none.
StatedResolution fromBmp(const QByteArray& b) {
    if (b.size() < 46 || le32(b, 14) < 40)
        return {};
    return perMetre(double(int32_t(le32(b, 38))), double(int32_t(le32(b, 42))));
}

} // namespace

StatedResolution statedResolutionOf(const QByteArray& head) {
    if (head.startsWith("\xFF\xD8"))
        return fromJpeg(head);
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return fromPng(head);
    if (head.startsWith("BM"))
        return fromBmp(head);
    return {};
}

UnitResolution unitResolutionOfDotsPerMetre(int x, int y) {
    const auto wholeInches = [](int dpm) {
        const double dpi = std::nearbyint(dpm * metresPerInch);
        return dpi > 0 && std::lround(dpi / metresPerInch) == dpm ? dpi : 0.0;
    };
    const double xInch = wholeInches(x), yInch = wholeInches(y);
    if (xInch > 0 && yInch > 0)
        return {xInch, yInch, false};
    if (x > 0 && y > 0 && x % 100 == 0 && y % 100 == 0)
        return {x / 100.0, y / 100.0, true};
    return {x * metresPerInch, y * metresPerInch, false};
}

StatedResolution statedResolutionOfFile(const QString& path) {
    // The JFIF segment comes first in a JPEG and pHYs before a PNG's image data,
    // after at most a profile and some text: the start of the file is enough.
    constexpr qint64 headBytes = qint64(1) << 20;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return statedResolutionOf(file.read(headBytes));
}

} // namespace picbasket::imagebox
