#include "platform/imagebox/PngProfile.h"

#include <array>

namespace picbasket::imagebox {

namespace {

const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);
// Signature, then the header chunk: length, "IHDR", 13 bytes, CRC.
constexpr qint64 kHeaderEnd = 8 + 4 + 4 + 13 + 4;

uint32_t crc32(const QByteArray& bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (char b : bytes)
        c = table[(c ^ uchar(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBe32(QByteArray& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

QByteArray chunk(const QByteArray& type, const QByteArray& data) {
    QByteArray out;
    appendBe32(out, uint32_t(data.size()));
    const QByteArray body = type + data;
    out += body;
    appendBe32(out, crc32(body));
    return out;
}

bool profileFits(const QByteArray& icc, int colourType) {
    if (icc.size() < 128)
        return false;
    const QByteArray space = icc.mid(16, 4);
    const bool grey = colourType == 0 || colourType == 4;
    return grey ? space == "GRAY" : space == "RGB ";
}

} // namespace

QByteArray withIccProfile(const QByteArray& png, const QByteArray& icc) {
    if (icc.isEmpty() || png.size() < kHeaderEnd || !png.startsWith(kSignature) ||
        png.mid(12, 4) != "IHDR" || png.contains("iCCP") || png.contains("sRGB"))
        return png;
    if (!profileFits(icc, uchar(png[8 + 8 + 9])))
        return png;
    // The name, the compression method 0 and the zlib stream (qCompress puts a
    // length of its own in front).
    const QByteArray data = QByteArray("ICC Profile\0\0", 13) + qCompress(icc, 9).mid(4);
    return png.left(kHeaderEnd) + chunk("iCCP", data) + png.mid(kHeaderEnd);
}

} // namespace picbasket::imagebox
