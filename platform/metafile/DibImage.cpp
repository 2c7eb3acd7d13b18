#include "platform/metafile/DibImage.h"

namespace picbasket {

namespace {

constexpr uint32_t CoreHeaderLength = 12;
constexpr uint32_t InfoHeaderLength = 40;
constexpr uint32_t MaxHeaderLength = 124;
constexpr uint32_t Uncompressed = 0;
constexpr uint32_t Rle8 = 1;
constexpr uint32_t Rle4 = 2;
constexpr uint32_t BitFields = 3;
constexpr qint64 MaxDibPixels = qint64(1) << 26;

// What the bitmap header says, in 64 bits so no product of its fields can wrap.
struct DibLayout {
    qint64 width = 0, height = 0;
    int bitCount = 0;
    uint32_t compression = Uncompressed;
    qint64 imageLength = 0;
    // The header and its colour table.
    qint64 headerLength = 0;

    qint64 rows() const { return height < 0 ? -height : height; }
    qint64 rowLength() const { return (width * bitCount + 31) / 32 * 4; }
};

bool readCoreLayout(const RecordBytes& h, DibLayout& l) {
    l.width = h.u16(4);
    l.height = h.u16(6);
    l.bitCount = h.u16(10);
    l.headerLength = CoreHeaderLength + (l.bitCount <= 8 ? 3 * (qint64(1) << l.bitCount) : 0);
    return true;
}

bool readInfoLayout(const RecordBytes& h, uint32_t length, DibLayout& l) {
    l.width = h.s32(4);
    l.height = h.s32(8);
    l.bitCount = h.u16(14);
    l.compression = h.u32(16);
    l.imageLength = h.u32(20);
    const qint64 used = h.u32(32);
    if (used > 256 && l.bitCount <= 8)
        return false;
    const qint64 colours = used ? used : (l.bitCount <= 8 ? qint64(1) << l.bitCount : 0);
    l.headerLength = length + 4 * colours;
    if (l.compression == BitFields && length == InfoHeaderLength)
        l.headerLength += 12;
    return true;
}

bool readLayout(const RecordBytes& h, DibLayout& l) {
    const uint32_t length = h.u32(0);
    bool known = false;
    if (length == CoreHeaderLength)
        known = readCoreLayout(h, l);
    else if (length >= InfoHeaderLength && length <= MaxHeaderLength)
        known = readInfoLayout(h, length, l);
    const bool depth = l.bitCount == 1 || l.bitCount == 4 || l.bitCount == 8 || l.bitCount == 16 ||
                       l.bitCount == 24 || l.bitCount == 32;
    return known && !h.damaged() && depth && l.width > 0 && l.rows() > 0 &&
           l.width * l.rows() <= MaxDibPixels;
}

// The length of the rows the layout needs; -1 for a compression not read here.
qint64 rowsLength(const DibLayout& l) {
    if (l.compression == Uncompressed || l.compression == BitFields)
        return l.rowLength() * l.rows();
    if (l.compression == Rle8 || l.compression == Rle4)
        return l.imageLength;
    return -1;
}

void putU32(QByteArray& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.append(char(v >> (8 * i) & 0xFF));
}

// The bitmap as a BMP file, for Qt's reader to decode.
QByteArray asBmpFile(const QByteArray& header, const QByteArray& rows) {
    QByteArray file("BM");
    putU32(file, uint32_t(14 + header.size() + rows.size()));
    putU32(file, 0);
    putU32(file, uint32_t(14 + header.size()));
    return file + header + rows;
}

} // namespace

qint64 packedDibHeaderLength(const RecordBytes& dib) {
    DibLayout layout;
    if (!readLayout(dib, layout))
        return -1;
    return layout.headerLength;
}

DibImage decodeDib(const RecordBytes& header, const RecordBytes& rows) {
    DibImage result;
    DibLayout layout;
    if (!readLayout(header, layout) || header.size() < layout.headerLength) {
        result.damaged = true;
        return result;
    }
    const qint64 needed = rowsLength(layout);
    if (needed < 0)
        return result;
    if (needed > rows.size()) {
        result.damaged = true;
        return result;
    }
    result.bottomUp = layout.height > 0;
    const QByteArray bmp = asBmpFile(
        header.bytes(0, layout.headerLength),
        rows.bytes(0, layout.compression == Uncompressed || layout.compression == BitFields
                          ? needed
                          : rows.size()));
    result.image = QImage::fromData(bmp, "BMP");
    return result;
}

} // namespace picbasket
