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

// The codestream occupies bytes [begin, end) of the file.
void checkCodestream(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    if (end - begin < 4 + 2 || std::memcmp(bytes.constData() + begin, codestreamStart, 4) != 0)
        damaged("the codestream has no valid start");
    if (static_cast<unsigned char>(bytes[end - 2]) != 0xFF ||
        static_cast<unsigned char>(bytes[end - 1]) != 0xD9)
        damaged("the codestream is truncated (no end marker)");
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
