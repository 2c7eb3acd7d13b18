#include "platform/jp2/Jp2StreamCheck.h"

#include "core/AppError.h"
#include "core/ImageLimits.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace picbasket::jp2 {

namespace {

constexpr unsigned char jp2Signature[12] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50,
                                            0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
constexpr unsigned char codestreamStart[4] = {0xFF, 0x4F, 0xFF, 0x51};

uint64_t readBigEndian(const QByteArray& bytes, qsizetype at, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

[[noreturn]] void damaged(const char* what) {
    raiseError(err::InvalidPicture,
               QStringLiteral("The JPEG 2000 file is damaged: %1").arg(QLatin1String(what)));
}

[[noreturn]] void tooManyTiles(uint64_t tiles) {
    raiseError(err::InvalidPicture,
               QStringLiteral("The JPEG 2000 image cannot be shown: it has %1 tiles (at most %2)")
                   .arg(tiles)
                   .arg(maxTiles));
}

// What the image and tile size segment announces.
struct Tiling {
    uint64_t tiles = 0;
    qsizetype next = 0; // the marker after the segment
};

// The image and tile size segment right after the start marker, at begin + 2.
// The decoder sets up the image and every tile it announces before reading any,
// so the image size is held to the program's one limit and the tile count is
// bounded here, before the decoder sees the file.
Tiling checkTiling(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    constexpr qsizetype fixedPart = 2 + 2 + 2 + 8 * 4 + 2; // marker to the component count
    const qsizetype at = begin + 2;
    if (end - at < fixedPart + 3)
        damaged("the image size segment is cut off");
    const uint64_t length = readBigEndian(bytes, at + 2, 2);
    if (length < fixedPart - 2 + 3 || length > uint64_t(end - at - 2))
        damaged("the image size segment has an impossible length");
    const auto field = [&](int index) { return readBigEndian(bytes, at + 6 + 4 * index, 4); };
    const uint64_t width = field(0), height = field(1);
    const uint64_t imageX = field(2), imageY = field(3);
    const uint64_t tileWidth = field(4), tileHeight = field(5);
    const uint64_t tileX = field(6), tileY = field(7);
    const uint64_t components = readBigEndian(bytes, at + 38, 2);
    if (imageX >= width || imageY >= height)
        damaged("the image has no pixels");
    if (!isWithinImageLimits(qint64(width - imageX), qint64(height - imageY)))
        raiseError(err::InvalidPicture,
                   QStringLiteral("The JPEG 2000 image cannot be shown: it is too large (%1 x %2; "
                                  "at most %3 a side and %4 megapixels)")
                       .arg(width - imageX)
                       .arg(height - imageY)
                       .arg(MaxImageSide)
                       .arg(MaxImagePixels / (1 << 20)));
    if (tileWidth == 0 || tileHeight == 0 || tileX >= width || tileY >= height)
        damaged("the tiles cover no part of the image");
    if (components == 0)
        damaged("the image has no components");
    const uint64_t across = (width - tileX + tileWidth - 1) / tileWidth;
    const uint64_t down = (height - tileY + tileHeight - 1) / tileHeight;
    // Both are below 2^32: the product fits.
    const uint64_t tiles = across * down;
    if (tiles > uint64_t(maxTiles) || tiles * components > uint64_t(maxTileComponents))
        tooManyTiles(tiles);
    return {tiles, at + 2 + qsizetype(length)};
}

constexpr uint64_t startOfTile = 0xFF90;
constexpr uint64_t endOfCodestream = 0xFFD9;

// Walks the rest of the main header to the first tile-part, then from tile-part
// to tile-part by their lengths, to the end marker at end - 2. Every announced
// tile must have a tile-part: a codestream without some of them is cut short or
// damaged, and the decoder would make the whole picture of the few bytes there
// are (a 353-byte file became 133 megapixels of nothing).
void checkTileParts(const QByteArray& bytes, const Tiling& tiling, qsizetype end) {
    const qsizetype last = end - 2; // the end marker
    qsizetype at = tiling.next;
    for (;;) {
        if (at > last)
            damaged("the main header is cut off");
        const uint64_t marker = readBigEndian(bytes, at, 2);
        if (marker == startOfTile)
            break;
        if (marker == endOfCodestream)
            damaged("the codestream holds no tile");
        if ((marker >> 8) != 0xFF)
            damaged("a header segment is misplaced");
        if (last - at < 4)
            damaged("the main header is cut off");
        const uint64_t length = readBigEndian(bytes, at + 2, 2);
        if (length < 2 || length > uint64_t(last - at - 2))
            damaged("a header segment runs past the codestream");
        at += 2 + qsizetype(length);
    }
    std::vector<bool> present(size_t(tiling.tiles), false);
    constexpr qsizetype tilePartHeader = 12 + 2; // the tile-part's segment and its data marker
    while (at < last) {
        if (last - at < tilePartHeader || readBigEndian(bytes, at, 2) != startOfTile ||
            readBigEndian(bytes, at + 2, 2) != 10)
            damaged("a tile-part is cut off or misplaced");
        const uint64_t tile = readBigEndian(bytes, at + 4, 2);
        uint64_t length = readBigEndian(bytes, at + 6, 4);
        if (length == 0) // the last tile-part runs to the end marker
            length = uint64_t(last - at);
        if (tile >= tiling.tiles)
            damaged("a tile-part names a tile the image does not have");
        if (length < uint64_t(tilePartHeader) || length > uint64_t(last - at))
            damaged("a tile-part runs past the codestream (truncated)");
        present[size_t(tile)] = true;
        at += qsizetype(length);
    }
    for (bool has : present)
        if (!has)
            damaged("tiles are missing (the codestream is cut short)");
}

// The codestream occupies bytes [begin, end) of the file.
void checkCodestream(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    if (end - begin < 4 + 2 || std::memcmp(bytes.constData() + begin, codestreamStart, 4) != 0)
        damaged("the codestream has no valid start");
    if (static_cast<unsigned char>(bytes[end - 2]) != 0xFF ||
        static_cast<unsigned char>(bytes[end - 1]) != 0xD9)
        damaged("the codestream is truncated (no end marker)");
    checkTileParts(bytes, checkTiling(bytes, begin, end), end);
}

// Walks the top-level boxes; returns the codestream's range through begin and end.
void findCodestreamBox(const QByteArray& bytes, qsizetype& begin, qsizetype& end) {
    const auto size = static_cast<uint64_t>(bytes.size());
    uint64_t at = 0;
    int codestreams = 0;
    while (at < size) {
        if (size - at < 8)
            damaged("a box header is cut off");
        uint64_t length = readBigEndian(bytes, static_cast<qsizetype>(at), 4);
        const uint64_t type = readBigEndian(bytes, static_cast<qsizetype>(at) + 4, 4);
        uint64_t header = 8;
        if (length == 1) {
            if (size - at < 16)
                damaged("a box header is cut off");
            length = readBigEndian(bytes, static_cast<qsizetype>(at) + 8, 8);
            header = 16;
        } else if (length == 0) {
            length = size - at;
        }
        if (length < header)
            damaged("a box has an impossible length");
        if (length > size - at)
            damaged("a box runs past the end of the file (truncated)");
        if (type == 0x6A703263) { // "jp2c"
            ++codestreams;
            begin = static_cast<qsizetype>(at + header);
            end = static_cast<qsizetype>(at + length);
        }
        at += length;
    }
    if (codestreams != 1)
        damaged(codestreams == 0 ? "there is no codestream" : "there is more than one codestream");
}

} // namespace

StreamKind detectStreamKind(const QByteArray& bytes) {
    if (bytes.size() >= 12 && std::memcmp(bytes.constData(), jp2Signature, 12) == 0)
        return StreamKind::Jp2;
    if (bytes.size() >= 4 && std::memcmp(bytes.constData(), codestreamStart, 4) == 0)
        return StreamKind::Codestream;
    return StreamKind::Unknown;
}

void checkStreamIsWhole(const QByteArray& bytes) {
    switch (detectStreamKind(bytes)) {
    case StreamKind::Codestream:
        checkCodestream(bytes, 0, bytes.size());
        return;
    case StreamKind::Jp2: {
        qsizetype begin = 0, end = 0;
        findCodestreamBox(bytes, begin, end);
        checkCodestream(bytes, begin, end);
        return;
    }
    case StreamKind::Unknown:
        break;
    }
    raiseError(err::InvalidPicture, QStringLiteral("The file is not a JPEG 2000 image"));
}

} // namespace picbasket::jp2
