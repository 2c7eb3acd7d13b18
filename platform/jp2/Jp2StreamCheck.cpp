#include "platform/jp2/Jp2StreamCheck.h"

#include "core/AppError.h"

#include <cstdint>
#include <cstring>

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

// The image and tile size segment right after the start marker, at begin + 2:
// the decoder sets up every tile it announces before reading any, so the count
// is bounded here, before the decoder sees the file.
void checkTiling(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    constexpr qsizetype fixedPart = 2 + 2 + 2 + 8 * 4 + 2; // marker to the component count
    const qsizetype at = begin + 2;
    if (end - at < fixedPart + 3)
        damaged("the image size segment is cut off");
    const uint64_t length = readBigEndian(bytes, at + 2, 2);
    if (length < fixedPart - 2 + 3 || length > uint64_t(end - at - 2))
        damaged("the image size segment has an impossible length");
    const auto field = [&](int index) { return readBigEndian(bytes, at + 6 + 4 * index, 4); };
    const uint64_t width = field(0), height = field(1);
    const uint64_t tileWidth = field(4), tileHeight = field(5);
    const uint64_t tileX = field(6), tileY = field(7);
    const uint64_t components = readBigEndian(bytes, at + 38, 2);
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
}

// The codestream occupies bytes [begin, end) of the file.
void checkCodestream(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    if (end - begin < 4 + 2 || std::memcmp(bytes.constData() + begin, codestreamStart, 4) != 0)
        damaged("the codestream has no valid start");
    if (static_cast<unsigned char>(bytes[end - 2]) != 0xFF ||
        static_cast<unsigned char>(bytes[end - 1]) != 0xD9)
        damaged("the codestream is truncated (no end marker)");
    checkTiling(bytes, begin, end);
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
