#include "platform/imagebox/meta/JpegSegments.h"

#include "core/AppError.h"

#include <algorithm>
#include <map>
#include <vector>

namespace picbasket::jpegsegments {

namespace {

constexpr qint64 kMaxSegmentContent = 65533;
const QByteArray kExifId("Exif\0\0", 6);
const QByteArray kXmpId("http://ns.adobe.com/xap/1.0/\0", 29);
const QByteArray kIccId("ICC_PROFILE\0", 12);
const QByteArray kPhotoshopId("Photoshop 3.0\0", 14);
// An ICC chunk carries its number and the count of chunks after the identifier.
constexpr qint64 kIccChunk = kMaxSegmentContent - 14;

[[noreturn]] void damaged(const char* why) {
    raiseError(err::Unexpected, QStringLiteral("The JPEG file is damaged: %1").arg(why));
}

struct Segment {
    qint64 at = 0;     // the marker's first byte
    qint64 length = 0; // marker and content
    int marker = 0;
    QByteArray content;
};

std::optional<Kind> kindOf(const Segment& s) {
    if (s.marker == 0xE1 && s.content.startsWith(kExifId))
        return Kind::Exif;
    if (s.marker == 0xE1 && s.content.startsWith(kXmpId))
        return Kind::Xmp;
    if (s.marker == 0xE2 && s.content.startsWith(kIccId) && s.content.size() >= 14)
        return Kind::Icc;
    if (s.marker == 0xED && s.content.startsWith(kPhotoshopId))
        return Kind::Photoshop;
    return std::nullopt;
}

int u8(const QByteArray& b, qint64 at) {
    return uchar(b[qsizetype(at)]);
}

// The segments before the first scan, and where the scan starts.
std::vector<Segment> segmentsOf(const QByteArray& jpeg, qint64& rest) {
    if (!jpeg.startsWith("\xFF\xD8"))
        raiseError(err::Unexpected, QStringLiteral("The file is no JPEG"));
    std::vector<Segment> out;
    qint64 at = 2;
    while (at + 4 <= jpeg.size() && u8(jpeg, at) == 0xFF) {
        const int marker = u8(jpeg, at + 1);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9 || marker == 0x01 ||
            (marker >= 0xD0 && marker <= 0xD7))
            break;
        const qint64 length = (qint64(u8(jpeg, at + 2)) << 8) | u8(jpeg, at + 3);
        if (length < 2 || at + 2 + length > jpeg.size())
            damaged("a segment ends too early");
        out.push_back({at, 2 + length, marker, jpeg.mid(at + 4, length - 2)});
        at += 2 + length;
    }
    rest = at;
    return out;
}

QByteArray withoutId(const Segment& s, Kind kind) {
    switch (kind) {
    case Kind::Exif:
        return s.content.mid(kExifId.size());
    case Kind::Xmp:
        return s.content.mid(kXmpId.size());
    case Kind::Icc:
        return s.content.mid(14);
    case Kind::Photoshop:
        return s.content.mid(kPhotoshopId.size());
    }
    return {};
}

QByteArray segment(int marker, const QByteArray& content) {
    if (content.size() > kMaxSegmentContent)
        raiseError(err::Unexpected,
                   QStringLiteral("A metadata block of %1 bytes does not fit a JPEG segment")
                       .arg(content.size()));
    QByteArray out;
    out.append(char(0xFF)).append(char(marker));
    const qint64 length = content.size() + 2;
    out.append(char(length >> 8)).append(char(length & 0xFF));
    return out + content;
}

QByteArray segmentsFor(Kind kind, const QByteArray& content) {
    if (content.isEmpty())
        return {};
    switch (kind) {
    case Kind::Exif:
        return segment(0xE1, kExifId + content);
    case Kind::Xmp:
        return segment(0xE1, kXmpId + content);
    case Kind::Photoshop:
        return segment(0xED, kPhotoshopId + content);
    case Kind::Icc: {
        const qint64 chunks = (content.size() + kIccChunk - 1) / kIccChunk;
        if (chunks > 255)
            raiseError(err::Unexpected,
                       QStringLiteral("The colour profile is too large for a JPEG"));
        QByteArray out;
        for (qint64 i = 0; i < chunks; ++i) {
            QByteArray head = kIccId;
            head.append(char(i + 1)).append(char(chunks));
            out += segment(0xE2, head + content.mid(i * kIccChunk, kIccChunk));
        }
        return out;
    }
    }
    return {};
}

const std::optional<QByteArray>& changeFor(const Blocks& blocks, Kind kind) {
    switch (kind) {
    case Kind::Exif:
        return blocks.exif;
    case Kind::Xmp:
        return blocks.xmp;
    case Kind::Icc:
        return blocks.icc;
    case Kind::Photoshop:
        break;
    }
    return blocks.photoshop;
}

constexpr Kind kAllKinds[] = {Kind::Exif, Kind::Xmp, Kind::Icc, Kind::Photoshop};

} // namespace

QSize frameSize(const QByteArray& jpeg) {
    qint64 rest = 0;
    for (const Segment& s : segmentsOf(jpeg, rest)) {
        const bool frame = s.marker >= 0xC0 && s.marker <= 0xCF && s.marker != 0xC4 &&
                           s.marker != 0xC8 && s.marker != 0xCC;
        if (frame && s.content.size() >= 5)
            return QSize((u8(s.content, 3) << 8) | u8(s.content, 4),
                         (u8(s.content, 1) << 8) | u8(s.content, 2));
    }
    return {};
}

QByteArray contentOf(const QByteArray& jpeg, Kind kind) {
    qint64 rest = 0;
    std::vector<Segment> icc;
    QByteArray out;
    for (const Segment& s : segmentsOf(jpeg, rest)) {
        if (kindOf(s) != kind)
            continue;
        if (kind == Kind::Icc)
            icc.push_back(s);
        else if (out.isEmpty())
            out = withoutId(s, kind);
        else if (kind == Kind::Photoshop)
            out += withoutId(s, kind);
    }
    std::stable_sort(icc.begin(), icc.end(), [](const Segment& a, const Segment& b) {
        return u8(a.content, 12) < u8(b.content, 12);
    });
    for (const Segment& s : icc)
        out += withoutId(s, Kind::Icc);
    return out;
}

QByteArray withBlocks(const QByteArray& jpeg, const Blocks& blocks) {
    qint64 rest = 0;
    const std::vector<Segment> segments = segmentsOf(jpeg, rest);
    std::map<Kind, bool> placed;
    QByteArray out = jpeg.left(2);
    auto placeNew = [&] {
        for (Kind kind : kAllKinds) {
            const auto& change = changeFor(blocks, kind);
            if (change && !placed[kind]) {
                out += segmentsFor(kind, *change);
                placed[kind] = true;
            }
        }
    };
    // New blocks go after the leading JFIF and EXIF segments, before the rest.
    bool leading = true;
    for (const Segment& s : segments) {
        const std::optional<Kind> kind = kindOf(s);
        const bool lead = s.marker == 0xE0 || kind == Kind::Exif;
        if (leading && !lead) {
            leading = false;
            for (Kind k : kAllKinds) {
                const bool hasOld = std::any_of(segments.begin(), segments.end(),
                                                [&](const Segment& o) { return kindOf(o) == k; });
                if (!hasOld && changeFor(blocks, k) && !placed[k]) {
                    out += segmentsFor(k, *changeFor(blocks, k));
                    placed[k] = true;
                }
            }
        }
        if (kind && changeFor(blocks, *kind)) {
            if (!placed[*kind])
                out += segmentsFor(*kind, *changeFor(blocks, *kind));
            placed[*kind] = true;
            continue;
        }
        out += jpeg.mid(s.at, s.length);
    }
    placeNew();
    return out + jpeg.mid(rest);
}

} // namespace picbasket::jpegsegments
