#include "engine/loading/clsImageHeaderInfo.h"
#include "core/AppError.h"
#include "core/Convert.h"
#include "core/RegularFile.h"

#include <QFile>
#include <cmath>
#include <limits>

namespace picbasket {

namespace {

uint32_t u8At(const QByteArray& b, int i) {
    return uint8_t(b[i]);
}

// Two bytes, low then high.
uint32_t le16(const QByteArray& b, int i) {
    return u8At(b, i) | u8At(b, i + 1) << 8;
}
uint32_t le32(const QByteArray& b, int i) {
    return le16(b, i) | le16(b, i + 2) << 16;
}
uint32_t be16(const QByteArray& b, int i) {
    return u8At(b, i) << 8 | u8At(b, i + 1);
}
uint32_t be32(const QByteArray& b, int i) {
    return be16(b, i) << 16 | be16(b, i + 2);
}

// The next n bytes of the file; past its end the missing bytes read as zeros.
QByteArray take(QFile& file, qint64 n) {
    QByteArray bytes = file.read(n);
    if (bytes.size() < n)
        bytes.append(QByteArray(int(n - bytes.size()), '\0'));
    return bytes;
}

bool fitsInt32(uint32_t value) {
    return value <= uint32_t(std::numeric_limits<int32_t>::max());
}

// A dpi value held in 16 bits; false when it does not fit.
bool setDpi(int16_t& dpi, double value) {
    if (!(value >= -32768.0 && value <= 32767.0))
        return false;
    dpi = int16_t(value);
    return true;
}

} // namespace

void clsImageHeaderInfo::ReadGIF_BMP_Header(const QString& fileName) {
    width_ = height_ = 0;
    bitsPerPixel_ = 0;
    QFile file(fileName);
    if (!openRegularFile(file))
        raiseError(file.exists() ? err::PermissionDenied : err::FileNotFound);
    const QByteArray head = take(file, 65536);
    if (head.startsWith("GIF")) {
        width_ = int32_t(le16(head, 6));
        height_ = int32_t(le16(head, 8));
        bitsPerPixel_ = uint8_t((u8At(head, 10) & 7) + 1);
    } else if (head.startsWith("BM")) {
        // A negative height marks a top-down bitmap; its size is the magnitude.
        const auto width = int32_t(le32(head, 18));
        const qint64 height = std::llabs(qint64(int32_t(le32(head, 22))));
        width_ = width > 0 ? width : 0;
        height_ = height <= std::numeric_limits<int32_t>::max() ? int32_t(height) : 0;
        bitsPerPixel_ = uint8_t(u8At(head, 28));
    }
}

bool clsImageHeaderInfo::ReadJPEG_TIFF_PNG_Header(const QString& fileName) {
    QFile file(fileName);
    if (!file.exists())
        return false;
    height_ = width_ = 0;
    bitsPerPixel_ = 0;
    dpi_ = 0;
    gray_ = false;
    if (!openRegularFile(file) || file.size() == 0)
        return false;
    const QByteArray signature = take(file, 2);
    if (signature == "II")
        return readTiff(file);
    if (signature == "\xFF\xD8")
        return readJpeg(file);
    if (signature == "\x89P")
        return readPng(file);
    return false;
}

bool clsImageHeaderInfo::readTiff(QFile& file) {
    const QByteArray head = take(file, 6);
    const qint64 directory = le32(head, 2);
    if (u8At(head, 0) != 0x2A || directory + 2 > file.size() || !file.seek(directory))
        return false;
    const uint32_t count = le16(take(file, 2), 0);
    const QByteArray entries = take(file, qint64(count) * 12);
    double xResolution = 0.0;
    int unit = 0;
    for (uint32_t i = 0; i < count; ++i)
        if (!readTiffEntry(file, entries.mid(int(i) * 12, 12), xResolution, unit))
            return false;
    const double dpi = unit == 2 ? roundHalfEven(xResolution) : std::floor(xResolution * 2.54);
    if (!setDpi(dpi_, dpi))
        return false;
    bitsPerPixel_ = 24;
    return true;
}

// The value field of every entry is read as 32 bits, whatever the entry's type:
// short values sit in its low half with zeros above.
bool clsImageHeaderInfo::readTiffEntry(QFile& file, const QByteArray& entry, double& xResolution,
                                       int& unit) {
    const uint32_t value = le32(entry, 8);
    switch (le16(entry, 0)) {
    case 256:
    case 257:
        if (!fitsInt32(value))
            return false;
        (le16(entry, 0) == 256 ? width_ : height_) = int32_t(value);
        return true;
    case 282: {
        if (!file.seek(value))
            return false;
        const QByteArray rational = take(file, 8);
        if (le32(rational, 4) == 0)
            return false;
        xResolution = double(le32(rational, 0)) / double(le32(rational, 4));
        return true;
    }
    case 296:
        unit = int(value & 0xFF);
        return true;
    default:
        return true;
    }
}

bool clsImageHeaderInfo::readJpeg(QFile& file) {
    for (;;) {
        const QByteArray marker = take(file, 4);
        if (u8At(marker, 0) != 0xFF)
            break;
        const uint32_t length = be16(marker, 2);
        if (length < 2)
            return false;
        const QByteArray data = take(file, length - 2);
        const uint32_t kind = u8At(marker, 1);
        if (kind == 0xE0 && !readJpegDensity(data))
            return false;
        if (kind == 0xC0 && !readJpegFrame(data))
            return false;
    }
    if (dpi_ == 0)
        dpi_ = 1;
    bitsPerPixel_ = 24;
    return true;
}

bool clsImageHeaderInfo::readJpegDensity(const QByteArray& data) {
    if (data.size() < 10)
        return false;
    const uint32_t density = be16(data, 8);
    switch (u8At(data, 7)) {
    case 1:
        return setDpi(dpi_, density);
    case 2:
        return setDpi(dpi_, roundHalfEven(density * 2.54));
    default:
        return true;
    }
}

bool clsImageHeaderInfo::readJpegFrame(const QByteArray& data) {
    if (data.size() < 6)
        return false;
    height_ = int32_t(be16(data, 1));
    width_ = int32_t(be16(data, 3));
    if (u8At(data, 5) == 1)
        gray_ = true;
    return true;
}

bool clsImageHeaderInfo::readPng(QFile& file) {
    if (take(file, 6) != QByteArray("NG\r\n\x1A\n"))
        return false;
    for (;;) {
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            return false;
        const uint32_t length = be32(header, 0);
        const QByteArray type = header.mid(4, 4);
        if (type == "IDAT" || type == "IEND")
            return true;
        if (length > file.size() - file.pos())
            return false;
        if (type == "IHDR" || type == "pHYs") {
            const QByteArray data = file.read(length);
            if (!(type == "IHDR" ? readPngHeader(data) : readPngDensity(data)))
                return false;
        } else if (!file.seek(file.pos() + length)) {
            return false;
        }
        take(file, 4);
    }
}

bool clsImageHeaderInfo::readPngHeader(const QByteArray& data) {
    if (data.size() < 10 || !fitsInt32(be32(data, 0)) || !fitsInt32(be32(data, 4)))
        return false;
    width_ = int32_t(be32(data, 0));
    height_ = int32_t(be32(data, 4));
    bitsPerPixel_ = uint8_t(u8At(data, 8));
    if (bitsPerPixel_ == 8) {
        const uint32_t colourType = u8At(data, 9);
        if (colourType == 0 || colourType == 4)
            gray_ = true;
        else if (colourType == 2 || colourType == 6)
            bitsPerPixel_ = 24;
    }
    return true;
}

bool clsImageHeaderInfo::readPngDensity(const QByteArray& data) {
    if (data.size() < 9)
        return false;
    if (u8At(data, 8) != 1)
        return true;
    return setDpi(dpi_, roundHalfEven(be32(data, 0) * 0.0254));
}

} // namespace picbasket
