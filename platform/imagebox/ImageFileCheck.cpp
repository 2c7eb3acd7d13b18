#include "platform/imagebox/ImageFileCheck.h"
#include "core/AppError.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/PnmCheck.h"
#include "platform/imagebox/TiffCodec.h"

#include <FreeImage.h>
#include <cstring>
#include <vector>

namespace picbasket::imagebox {

namespace {

[[noreturn]] void damaged(const char* format, const char* why) {
    raiseError(err::Unexpected, QString("The %1 file is damaged: %2").arg(format, why));
}

// Bounds-checked reading of the file's bytes; a read past the end raises.
class Bytes {
public:
    Bytes(const QByteArray& data, const char* format) : data_(data), format_(format) {}

    qint64 size() const { return data_.size(); }
    void need(qint64 offset, qint64 count, const char* what) const {
        if (offset < 0 || count < 0 || offset > size() || count > size() - offset)
            damaged(format_, what);
    }
    int u8(qint64 at) const {
        need(at, 1, "it ends too early");
        return uchar(data_[at]);
    }
    int le16(qint64 at) const { return u8(at) | (u8(at + 1) << 8); }
    qint64 le32(qint64 at) const { return qint64(le16(at)) | (qint64(le16(at + 2)) << 16); }
    int be16(qint64 at) const { return (u8(at) << 8) | u8(at + 1); }
    qint64 be32(qint64 at) const { return (qint64(be16(at)) << 16) | be16(at + 2); }
    bool startsWith(const char* magic) const { return data_.startsWith(magic); }
    bool matches(qint64 at, const char* text) const {
        const qint64 n = qint64(std::strlen(text));
        return at >= 0 && n <= size() - at &&
               std::memcmp(data_.constData() + at, text, size_t(n)) == 0;
    }
    qint64 find(const char* pattern, qint64 from) const { return data_.indexOf(pattern, from); }
    [[noreturn]] void fail(const char* why) const { damaged(format_, why); }
    void require(bool condition, const char* why) const {
        if (!condition)
            fail(why);
    }
    void checkSize(qint64 w, qint64 h) const {
        require(w > 0 && h > 0 && w <= MaxSide && h <= MaxSide && w * h <= MaxPixels,
                "its dimensions are impossible");
    }

private:
    const QByteArray& data_;
    const char* format_;
};

// Walks a BMP run-length stream to its end-of-bitmap code, following the pen:
// every run must lie inside the image's rows, which may run on into the row's
// padding (writers fill the padding too), and the rows must not pass the bottom.
void checkBmpRle(const Bytes& b, qint64 at, bool fourBit, qint64 w, qint64 h) {
    const qint64 rowPixels = fourBit ? ((w * 4 + 31) / 32) * 8 : ((w * 8 + 31) / 32) * 4;
    qint64 x = 0, y = 0;
    auto draw = [&](qint64 count) {
        b.require(y < h && x + count <= rowPixels, "its pixel data runs outside the image");
        x += count;
    };
    while (true) {
        const int count = b.u8(at), code = b.u8(at + 1);
        at += 2;
        if (count > 0) {
            draw(count);
            continue;
        }
        if (code == 0) {
            x = 0;
            ++y;
            b.require(y <= h, "its pixel data runs outside the image");
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            x += b.u8(at);
            y += b.u8(at + 1);
            b.require(y <= h && x <= rowPixels, "its pixel data runs outside the image");
            at += 2;
        } else {
            draw(code);
            at += fourBit ? ((code + 3) / 4) * 2 : ((code + 1) / 2) * 2;
        }
        b.need(at, 0, "its pixel data ends too early");
    }
}

void checkBmp(const Bytes& b) {
    b.require(b.startsWith("BM"), "it does not start as a BMP");
    const qint64 offBits = b.le32(10), header = b.le32(14);
    b.require(header == 12 || (header >= 40 && header <= 124), "its header size is unknown");
    b.need(14, header, "its header ends too early");
    const bool os2 = header == 12;
    const qint64 w = os2 ? b.le16(18) : qint32(b.le32(18));
    const qint64 rawHeight = os2 ? b.le16(20) : qint32(b.le32(22));
    const int bpp = os2 ? b.le16(24) : b.le16(28);
    const qint64 compression = os2 ? 0 : b.le32(30);
    const qint64 h = rawHeight < 0 ? -rawHeight : rawHeight;
    b.checkSize(w, h);
    b.require(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32,
              "its bit depth is unknown");
    b.require(offBits >= 14 + header && offBits < b.size(), "its pixel offset is impossible");
    if (compression == 1 || compression == 2) {
        b.require((compression == 1 && bpp == 8) || (compression == 2 && bpp == 4),
                  "its compression does not fit its depth");
        checkBmpRle(b, offBits, compression == 2, w, h);
        return;
    }
    b.require(compression == 0 || compression == 3 || compression == 6,
              "its compression is unknown");
    const qint64 stride = ((w * bpp + 31) / 32) * 4;
    b.need(offBits, stride * h, "its pixel data ends too early");
}

// Skips GIF data sub-blocks up to and including their terminator.
qint64 skipSubBlocks(const Bytes& b, qint64 at) {
    while (int length = b.u8(at))
        at += 1 + length;
    return at + 1;
}

// The LZW codes of one GIF image, read across its data sub-blocks.
class GifCodes {
public:
    GifCodes(const Bytes& b, qint64 at) : b_(b), at_(at) {}
    // The next code of `width` bits; -1 when the sub-blocks end first.
    int next(int width) {
        while (bitCount_ < width) {
            const int byte = nextByte();
            if (byte < 0)
                return -1;
            bits_ |= uint32_t(byte) << bitCount_;
            bitCount_ += 8;
        }
        const int code = int(bits_ & ((1u << width) - 1));
        bits_ >>= width;
        bitCount_ -= width;
        return code;
    }

private:
    int nextByte() {
        while (left_ == 0) {
            if (ended_)
                return -1;
            left_ = b_.u8(at_++);
            ended_ = left_ == 0;
        }
        --left_;
        return b_.u8(at_++);
    }

    const Bytes& b_;
    qint64 at_;
    int left_ = 0;
    bool ended_ = false;
    uint32_t bits_ = 0;
    int bitCount_ = 0;
};

// Runs the LZW decoder without keeping pixels: each code must be one the table
// holds (or the one it is about to add), and the codes must give every pixel of
// the image before they end. Damage inside the data breaks one or the other long
// before its end.
void checkGifLzw(const Bytes& b, qint64 at, int minimum, qint64 pixels) {
    GifCodes codes(b, at);
    const int clear = 1 << minimum, end = clear + 1;
    std::vector<qint64> lengths(4096, 1);
    int width = minimum + 1, next = clear + 2, previous = -1;
    qint64 produced = 0;
    while (produced < pixels) {
        const int code = codes.next(width);
        b.require(code >= 0 && code != end, "its image data ends too early");
        if (code == clear) {
            width = minimum + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        const bool known = code < clear || (code > end && code < next);
        b.require(known || (code == next && previous >= 0), "its image data is damaged");
        const qint64 length = known ? lengths[code] : lengths[previous] + 1;
        if (previous >= 0 && next < 4096) {
            lengths[next++] = lengths[previous] + 1;
            if (next == (1 << width) && width < 12)
                ++width;
        }
        previous = code;
        produced += length;
    }
}

void checkGif(const Bytes& b) {
    b.require(b.startsWith("GIF87a") || b.startsWith("GIF89a"), "it does not start as a GIF");
    b.checkSize(b.le16(6), b.le16(8));
    const int flags = b.u8(10);
    qint64 at = 13 + ((flags & 0x80) ? 3 * (2 << (flags & 7)) : 0);
    while (true) {
        const int introducer = b.u8(at);
        if (introducer == 0x21) {
            at = skipSubBlocks(b, at + 2);
            continue;
        }
        b.require(introducer == 0x2C, "it has no image");
        const qint64 w = b.le16(at + 5), h = b.le16(at + 7);
        b.checkSize(w, h);
        const int local = b.u8(at + 9);
        at += 10 + ((local & 0x80) ? 3 * (2 << (local & 7)) : 0);
        const int minimum = b.u8(at);
        b.require(minimum >= 1 && minimum <= 11, "its code size is impossible");
        skipSubBlocks(b, at + 1);
        checkGifLzw(b, at + 1, minimum, w * h);
        return;
    }
}

bool isFrameMarker(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void checkJpeg(const Bytes& b) {
    b.require(b.startsWith("\xFF\xD8"), "it does not start as a JPEG");
    qint64 at = 2;
    bool frame = false;
    while (true) {
        b.require(b.u8(at) == 0xFF, "a marker is missing");
        const int marker = b.u8(at + 1);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        b.require(marker != 0xD9, "it ends before its image data");
        const int length = b.be16(at + 2);
        b.require(length >= 2, "a segment length is impossible");
        b.need(at + 2, length, "a segment ends too early");
        if (isFrameMarker(marker)) {
            b.checkSize(b.be16(at + 7), b.be16(at + 5));
            const int components = b.u8(at + 9);
            b.require(components >= 1 && components <= 4, "its component count is impossible");
            frame = true;
        }
        if (marker == 0xDA) {
            b.require(frame, "its image data comes before its frame header");
            b.require(b.find("\xFF\xD9", at + 2 + length) >= 0, "its image data ends too early");
            return;
        }
        at += 2 + length;
    }
}

void checkPng(const Bytes& b) {
    b.require(b.startsWith("\x89PNG\r\n\x1A\n"), "it does not start as a PNG");
    b.require(b.be32(8) == 13 && b.find("IHDR", 12) == 12, "its header is missing");
    b.checkSize(b.be32(16), b.be32(20));
    qint64 at = 8;
    bool data = false;
    while (true) {
        const qint64 length = b.be32(at);
        b.require(length < (qint64(1) << 31), "a chunk length is impossible");
        b.need(at, 12 + length, "a chunk ends too early");
        const bool idat = b.find("IDAT", at + 4) == at + 4;
        const bool iend = b.find("IEND", at + 4) == at + 4;
        data = data || idat;
        if (iend) {
            b.require(data, "it has no image data");
            return;
        }
        at += 12 + length;
    }
}

// Decodes the PCX run lengths far enough to know the pixel data is all there.
qint64 checkPcxRuns(const Bytes& b, qint64 needed) {
    qint64 at = 128, produced = 0;
    while (produced < needed) {
        const int value = b.u8(at);
        if (value >= 0xC0) {
            b.u8(at + 1);
            produced += value & 0x3F;
            at += 2;
        } else {
            produced += 1;
            at += 1;
        }
    }
    return at;
}

void checkPcx(const Bytes& b) {
    b.need(0, 128, "its header ends too early");
    b.require(b.u8(0) == 0x0A && b.u8(2) <= 1, "it does not start as a PCX");
    const int bpp = b.u8(3), planes = b.u8(65), bytesPerLine = b.le16(66);
    b.require(bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8, "its bit depth is unknown");
    b.require(planes >= 1 && planes <= 4, "its plane count is impossible");
    const qint64 w = qint64(b.le16(8)) - b.le16(4) + 1, h = qint64(b.le16(10)) - b.le16(6) + 1;
    b.checkSize(w, h);
    b.require(bytesPerLine >= (w * bpp + 7) / 8, "its line length is too short");
    const qint64 needed = qint64(bytesPerLine) * planes * h;
    const qint64 end = b.u8(2) == 1 ? checkPcxRuns(b, needed) : 128 + needed;
    b.need(128, end - 128, "its pixel data ends too early");
    if (bpp == 8 && planes == 1) {
        b.require(b.size() - 769 >= end && b.u8(b.size() - 769) == 0x0C, "its palette is missing");
    }
}

// One PSD row of PackBits runs must unpack to exactly the row's bytes.
void checkPackBitsRow(const Bytes& b, qint64 at, qint64 count, qint64 rowBytes) {
    b.need(at, count, "its pixel data ends too early");
    const qint64 end = at + count;
    qint64 produced = 0;
    while (at < end) {
        const int n = int(static_cast<signed char>(b.u8(at++)));
        if (n >= 0) {
            b.require(at + n + 1 <= end, "a pixel row runs past its length");
            produced += n + 1;
            at += n + 1;
        } else if (n != -128) {
            b.require(at + 1 <= end, "a pixel row runs past its length");
            produced += 1 - n;
            at += 1;
        }
        b.require(produced <= rowBytes, "a pixel row is too long");
    }
    b.require(produced == rowBytes, "a pixel row is too short");
}

// Colour modes and the channels and depths they need.
void checkPsdMode(const Bytes& b, int mode, int channels, int depth, qint64 colourData) {
    const bool known = mode == 0 || mode == 1 || mode == 2 || mode == 3 || mode == 4 || mode == 7 ||
                       mode == 8 || mode == 9;
    b.require(known, "its colour mode is unknown");
    b.require((depth == 1) == (mode == 0), "its depth does not fit its colour mode");
    const int needed = mode == 3 || mode == 9 ? 3 : mode == 4 ? 4 : 1;
    b.require(channels >= needed, "it has too few channels for its colour mode");
    if (mode == 2)
        b.require(depth == 8 && colourData == 768, "its palette is damaged");
}

qint64 skipPsdSection(const Bytes& b, qint64 at, bool large) {
    const qint64 length = large ? (b.be32(at) << 32 | b.be32(at + 4)) : b.be32(at);
    const qint64 width = large ? 8 : 4;
    b.need(at + width, length, "a section ends too early");
    return at + width + length;
}

void checkPsd(const Bytes& b) {
    b.require(b.startsWith("8BPS"), "it does not start as a PSD");
    const int version = b.be16(4), channels = b.be16(12), depth = b.be16(22);
    b.require(version == 1 || version == 2, "its version is unknown");
    b.require(channels >= 1 && channels <= 56, "its channel count is impossible");
    const qint64 h = b.be32(14), w = b.be32(18);
    b.checkSize(w, h);
    b.require(depth == 1 || depth == 8 || depth == 16 || depth == 32, "its bit depth is unknown");
    checkPsdMode(b, b.be16(24), channels, depth, b.be32(26));
    qint64 at = skipPsdSection(b, 26, false);
    at = skipPsdSection(b, at, false);
    at = skipPsdSection(b, at, version == 2);
    const int compression = b.be16(at);
    at += 2;
    const qint64 rows = h * channels, rowBytes = (w * depth + 7) / 8;
    if (compression == 0) {
        b.need(at, rows * rowBytes, "its pixel data ends too early");
        return;
    }
    b.require(compression == 1, "its compression is unknown");
    const int countWidth = version == 2 ? 4 : 2;
    b.need(at, rows * countWidth, "its row table ends too early");
    qint64 data = at + rows * countWidth;
    for (qint64 row = 0; row < rows; ++row) {
        const qint64 count = countWidth == 2 ? b.be16(at + row * 2) : b.be32(at + row * 4);
        checkPackBitsRow(b, data, count, rowBytes);
        data += count;
    }
}

// The multi-byte integers of WBMP: seven bits per byte, high bit set on all but the last.
qint64 wbmpInteger(const Bytes& b, qint64& at) {
    qint64 value = 0;
    for (int i = 0; i < 4; ++i) {
        const int byte = b.u8(at++);
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    b.fail("a number in its header is too long");
}

void checkWbmp(const Bytes& b) {
    qint64 at = 0;
    b.require(wbmpInteger(b, at) == 0, "its type is unknown");
    b.require((b.u8(at++) & 0x80) == 0, "it has extension headers");
    const qint64 w = wbmpInteger(b, at), h = wbmpInteger(b, at);
    b.checkSize(w, h);
    b.need(at, ((w + 7) / 8) * h, "its pixel data ends too early");
}

// Walks TGA run-length packets until the image's pixels are all there.
void checkTgaRle(const Bytes& b, qint64 at, qint64 pixels, int pixelBytes) {
    qint64 produced = 0;
    while (produced < pixels) {
        const int packet = b.u8(at++);
        const int count = (packet & 0x7F) + 1;
        const qint64 payload = (packet & 0x80) ? pixelBytes : qint64(count) * pixelBytes;
        b.need(at, payload, "its pixel data ends too early");
        at += payload;
        produced += count;
    }
}

void checkTga(const Bytes& b) {
    b.need(0, 18, "its header ends too early");
    const int idLength = b.u8(0), mapType = b.u8(1), type = b.u8(2), depth = b.u8(16);
    const int mapLength = b.le16(5), mapEntryBits = b.u8(7);
    b.require(mapType <= 1, "its colour map type is unknown");
    b.checkSize(b.le16(12), b.le16(14));
    const int kind = type & ~8;
    if (kind == 1 || kind == 3)
        b.require(depth == 8 && (kind == 3 || mapType == 1), "its depth does not fit its type");
    else
        b.require(kind == 2 && (depth == 15 || depth == 16 || depth == 24 || depth == 32),
                  "its depth does not fit its type");
    qint64 at = 18 + idLength;
    if (mapType == 1) {
        b.require(mapEntryBits == 15 || mapEntryBits == 16 || mapEntryBits == 24 ||
                      mapEntryBits == 32,
                  "its colour map entries are of an unknown size");
        b.require(kind != 1 || (mapLength >= 1 && b.le16(3) + mapLength <= 256),
                  "its colour map does not fit its depth");
        at += qint64(mapLength) * ((mapEntryBits + 7) / 8);
    }
    const qint64 pixels = qint64(b.le16(12)) * b.le16(14);
    const int pixelBytes = (depth + 7) / 8;
    if (type & 8)
        checkTgaRle(b, at, pixels, pixelBytes);
    else
        b.need(at, pixels * pixelBytes, "its pixel data ends too early");
}

// An icon image stored as a device-independent bitmap: the header, the palette,
// the colour rows and the one-bit mask rows, all inside the entry.
void checkIconBitmap(const Bytes& b, qint64 at, qint64 length) {
    b.require(b.le32(at) == 40, "an icon image has an unknown header");
    const qint64 w = qint32(b.le32(at + 4)), doubled = qint32(b.le32(at + 8));
    const int bpp = b.le16(at + 14);
    const qint64 colours = b.le32(at + 32);
    b.require(doubled > 0 && doubled % 2 == 0, "an icon image has an impossible height");
    const qint64 h = doubled / 2;
    b.checkSize(w, h);
    b.require(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32,
              "an icon image has an unknown bit depth");
    b.require(b.le32(at + 16) == 0, "an icon image is compressed");
    b.require(colours <= 256, "an icon palette is too large");
    const qint64 palette = bpp <= 8 ? 4 * (colours ? colours : qint64(1) << bpp) : 0;
    const qint64 rows = ((w * bpp + 31) / 32) * 4 * h, mask = ((w + 31) / 32) * 4 * h;
    b.require(40 + palette + rows + mask <= length, "an icon image ends too early");
}

void checkIco(const QByteArray& data, const Bytes& b) {
    b.require(b.le16(0) == 0 && (b.le16(2) == 1 || b.le16(2) == 2), "it does not start as an icon");
    const int count = b.le16(4);
    b.require(count >= 1, "it holds no image");
    b.need(6, qint64(count) * 16, "its directory ends too early");
    for (int i = 0; i < count; ++i) {
        const qint64 entry = 6 + qint64(i) * 16;
        const qint64 length = b.le32(entry + 8), at = b.le32(entry + 12);
        b.require(at >= 6 + qint64(count) * 16, "an icon image overlaps the directory");
        b.need(at, length, "an icon image ends too early");
        if (length >= 8 && data.mid(at, 8) == QByteArray("\x89PNG\r\n\x1A\n", 8))
            checkPng(Bytes(data.mid(at, length), "PNG"));
        else
            checkIconBitmap(b, at, length);
    }
}

// One row of SGI run-length data must unpack to exactly the row's samples.
void checkSgiRow(const Bytes& b, qint64 at, qint64 length, qint64 width, int sampleBytes) {
    b.need(at, length, "a pixel row runs past the file");
    const qint64 end = at + length;
    qint64 produced = 0;
    while (at + sampleBytes <= end) {
        const int code = sampleBytes == 1 ? b.u8(at) : b.be16(at) & 0xFF;
        at += sampleBytes;
        const int count = code & 0x7F;
        if (count == 0)
            break;
        const qint64 payload = ((code & 0x80) ? count : 1) * qint64(sampleBytes);
        b.require(at + payload <= end, "a pixel row runs past its length");
        at += payload;
        produced += count;
        b.require(produced <= width, "a pixel row is too long");
    }
    b.require(produced == width, "a pixel row is too short");
}

void checkSgi(const Bytes& b) {
    b.need(0, 512, "its header ends too early");
    b.require(b.be16(0) == 474, "it does not start as an SGI image");
    const int storage = b.u8(2), sampleBytes = b.u8(3), dimension = b.be16(4);
    b.require(storage <= 1, "its storage is unknown");
    b.require(sampleBytes == 1 || sampleBytes == 2, "its sample size is unknown");
    b.require(dimension >= 1 && dimension <= 3, "its dimension count is impossible");
    const qint64 w = b.be16(6), h = dimension >= 2 ? b.be16(8) : 1;
    const qint64 channels = dimension == 3 ? b.be16(10) : 1;
    b.checkSize(w, h);
    b.require(channels >= 1 && channels <= 4, "its channel count is impossible");
    b.require(b.be32(104) == 0, "it is a colour map, not an image");
    const qint64 rows = h * channels;
    if (storage == 0) {
        b.need(512, rows * w * sampleBytes, "its pixel data ends too early");
        return;
    }
    b.need(512, rows * 8, "its row table ends too early");
    for (qint64 row = 0; row < rows; ++row)
        checkSgiRow(b, b.be32(512 + row * 4), b.be32(512 + (rows + row) * 4), w, sampleBytes);
}

// MNG and JNG are PNG-style chunk streams: a length (below 2^31), a type, the
// data and a CRC, every chunk inside the file. An MNG opens with its frame header
// and closes with MEND; a JNG opens with its image header and closes with IEND.
// Each embedded image needs its header, its data and its IEND, and every size
// that allocates (frame and image) is bounded before a reader sees the file.
struct MngImage {
    bool header = false, data = false;
};

void checkMngImageHeader(const Bytes& b, qint64 at, qint64 length, MngImage& image) {
    b.require(length >= 8, "an image header is too short");
    b.checkSize(b.be32(at + 8), b.be32(at + 12));
    b.require(!image.header, "an image has two headers");
    image.header = true;
}

void checkMng(const Bytes& b, bool jng) {
    const char* signature = jng ? "\x8BJNG\r\n\x1A\n" : "\x8AMNG\r\n\x1A\n";
    b.require(b.startsWith(signature), "it does not start as an MNG or JNG");
    qint64 at = 8;
    bool first = true, images = false;
    MngImage image;
    while (true) {
        const qint64 length = b.be32(at);
        b.require(length < (qint64(1) << 31), "a chunk length is impossible");
        b.need(at, 12 + length, "a chunk ends too early");
        auto is = [&](const char* name) { return b.matches(at + 4, name); };
        if (first) {
            b.require(is(jng ? "JHDR" : "MHDR"), "its header is missing");
            b.require(length >= (jng ? 16 : 28), "its header is too short");
            if (!jng)
                b.checkSize(b.be32(at + 8), b.be32(at + 12));
        }
        if (is("IHDR") || is("JHDR"))
            checkMngImageHeader(b, at, length, image);
        if (is("IDAT") || is("JDAT") || is("JDAA")) {
            b.require(image.header, "its image data comes before its image header");
            image.data = true;
        }
        if (is("IEND")) {
            b.require(image.header && image.data, "an image has no data");
            images = true;
            image = MngImage{};
            if (jng)
                return;
        }
        if (!jng && is("MEND")) {
            b.require(images && !image.header, "it holds no whole image");
            return;
        }
        first = false;
        at += 12 + length;
    }
}

// A WebP file is a RIFF container: "RIFF", the size of what follows, "WEBP",
// then chunks of a type, a length and the data padded to an even length. Returns
// 1 for a chunk that holds an image, after checking the size it claims.
int webpImageChunk(const Bytes& b, qint64 at, qint64 length) {
    if (b.matches(at, "VP8X")) {
        b.require(length >= 10, "its extended header is too short");
        const qint64 w = 1 + (b.le32(at + 12) & 0xFFFFFF), h = 1 + (b.le32(at + 15) & 0xFFFFFF);
        b.checkSize(w, h);
        return 0;
    }
    if (b.matches(at, "VP8L")) {
        b.require(length >= 5 && b.u8(at + 8) == 0x2F, "its lossless header is damaged");
        const qint64 bits = b.le32(at + 9);
        b.checkSize(1 + (bits & 0x3FFF), 1 + ((bits >> 14) & 0x3FFF));
        return 1;
    }
    if (b.matches(at, "VP8 ")) {
        b.require(length >= 10 && b.u8(at + 11) == 0x9D && b.u8(at + 12) == 0x01 &&
                      b.u8(at + 13) == 0x2A,
                  "its lossy header is damaged");
        b.checkSize(b.le16(at + 14) & 0x3FFF, b.le16(at + 16) & 0x3FFF);
        return 1;
    }
    return 0;
}

void checkWebp(const Bytes& b) {
    b.require(b.startsWith("RIFF") && b.matches(8, "WEBP"), "it does not start as a WebP");
    const qint64 end = 8 + b.le32(4);
    b.need(0, end, "it ends too early");
    qint64 at = 12, images = 0;
    while (at < end) {
        const qint64 length = b.le32(at + 4);
        b.require(length <= end - at - 8, "a chunk ends too early");
        images += webpImageChunk(b, at, length);
        at += 8 + length + (length & 1);
    }
    b.require(images > 0, "it holds no image");
}

} // namespace

bool hasImageCheck(int fif) {
    switch (fif) {
    case FIF_BMP:
    case FIF_GIF:
    case FIF_JPEG:
    case FIF_PNG:
    case FIF_PCX:
    case FIF_PSD:
    case FIF_WBMP:
    case FIF_TIFF:
    case FIF_TARGA:
    case FIF_ICO:
    case FIF_SGI:
    case FIF_PBM:
    case FIF_PBMRAW:
    case FIF_PGM:
    case FIF_PGMRAW:
    case FIF_PPM:
    case FIF_PPMRAW:
    case FIF_MNG:
    case FIF_JNG:
    case FIF_WEBP:
        return true;
    default:
        return false;
    }
}

void checkImageBytes(const QByteArray& bytes, int fif) {
    if (bytes.isEmpty())
        raiseError(err::Unexpected, "The file is empty");
    switch (fif) {
    case FIF_BMP:
        return checkBmp(Bytes(bytes, "BMP"));
    case FIF_GIF:
        return checkGif(Bytes(bytes, "GIF"));
    case FIF_JPEG:
        return checkJpeg(Bytes(bytes, "JPEG"));
    case FIF_PNG:
        return checkPng(Bytes(bytes, "PNG"));
    case FIF_PCX:
        return checkPcx(Bytes(bytes, "PCX"));
    case FIF_PSD:
        return checkPsd(Bytes(bytes, "PSD"));
    case FIF_WBMP:
        return checkWbmp(Bytes(bytes, "WBMP"));
    case FIF_TIFF:
        checkTiffBytes(bytes);
        return;
    case FIF_TARGA:
        return checkTga(Bytes(bytes, "TGA"));
    case FIF_ICO:
        return checkIco(bytes, Bytes(bytes, "icon"));
    case FIF_SGI:
        return checkSgi(Bytes(bytes, "SGI"));
    case FIF_PBM:
    case FIF_PBMRAW:
    case FIF_PGM:
    case FIF_PGMRAW:
    case FIF_PPM:
    case FIF_PPMRAW:
        if (!isCompletePnm(bytes))
            damaged("portable map", "its header or samples are incomplete");
        return;
    case FIF_MNG:
        return checkMng(Bytes(bytes, "MNG"), false);
    case FIF_JNG:
        return checkMng(Bytes(bytes, "JNG"), true);
    case FIF_WEBP:
        return checkWebp(Bytes(bytes, "WebP"));
    default:
        raiseError(err::Unexpected, "The file is in no format the box reads");
    }
}

} // namespace picbasket::imagebox
