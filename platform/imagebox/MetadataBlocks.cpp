#include "platform/imagebox/MetadataBlocks.h"
#include "core/AppError.h"

#include <FreeImage.h>

namespace picbasket::imagebox {

namespace {

[[noreturn]] void damaged(const char* format, const char* why) {
    raiseError(err::Unexpected, QString("The %1 file is damaged: %2").arg(format, why));
}

int u8(const QByteArray& bytes, qint64 at) {
    return uchar(bytes[qsizetype(at)]);
}

qint64 be16(const QByteArray& bytes, qint64 at) {
    return (qint64(u8(bytes, at)) << 8) | u8(bytes, at + 1);
}

qint64 be32(const QByteArray& bytes, qint64 at) {
    return (be16(bytes, at) << 16) | be16(bytes, at + 2);
}

void appendBe32(QByteArray& out, qint64 value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

bool isMetadataSegment(int marker) {
    return marker >= 0xE1 && marker <= 0xEF && marker != 0xEE;
}

// Copies the segments before the first scan, leaving out the metadata ones, then
// the rest of the file as it is.
QByteArray jpegWithout(const QByteArray& bytes) {
    QByteArray out = bytes.left(2);
    qint64 at = 2;
    while (at + 4 <= bytes.size()) {
        if (u8(bytes, at) != 0xFF)
            break;
        const int marker = u8(bytes, at + 1);
        if (marker == 0xFF) {
            out.append(char(0xFF));
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9 || marker == 0x01 ||
            (marker >= 0xD0 && marker <= 0xD7))
            break;
        const qint64 length = be16(bytes, at + 2);
        if (length < 2 || at + 2 + length > bytes.size())
            damaged("JPEG", "a segment ends too early");
        if (!isMetadataSegment(marker))
            out.append(bytes.mid(at, 2 + length));
        at += 2 + length;
    }
    out.append(bytes.mid(at));
    return out;
}

bool isMetadataResource(qint64 id) {
    switch (id) {
    case 0x0404: // IPTC
    case 0x0409: // thumbnail, old layout
    case 0x040C: // thumbnail
    case 0x0422: // EXIF
    case 0x0423: // EXIF, second block
    case 0x0424: // XMP
        return true;
    default:
        return false;
    }
}

// The image resources without the metadata ones. Each resource is a signature,
// an id, a Pascal name padded to an even length and a data length, the data
// padded to an even length too.
QByteArray psdResourcesWithout(const QByteArray& bytes, qint64 at, qint64 end) {
    QByteArray kept;
    while (at < end) {
        // A few bytes of padding after the last resource are no resource.
        if (end - at < 8)
            break;
        const qint64 start = at;
        const qint64 id = be16(bytes, at + 4);
        const qint64 nameLength = u8(bytes, at + 6);
        at += 6 + ((nameLength + 2) & ~qint64(1));
        if (at + 4 > end)
            damaged("PSD", "an image resource ends too early");
        const qint64 size = be32(bytes, at);
        at += 4;
        if (size > end - at)
            damaged("PSD", "an image resource ends too early");
        at += (size + 1) & ~qint64(1);
        if (at > end)
            at = end;
        if (!isMetadataResource(id))
            kept.append(bytes.mid(start, at - start));
    }
    return kept;
}

QByteArray psdWithout(const QByteArray& bytes) {
    // Header (26 bytes), then the colour data and the image resources, each
    // behind a 32-bit length.
    if (bytes.size() < 30)
        damaged("PSD", "its header ends too early");
    const qint64 colourLength = be32(bytes, 26);
    const qint64 resources = 30 + colourLength;
    if (resources + 4 > bytes.size())
        damaged("PSD", "a section ends too early");
    const qint64 length = be32(bytes, resources);
    const qint64 end = resources + 4 + length;
    if (end > bytes.size())
        damaged("PSD", "a section ends too early");
    const QByteArray kept = psdResourcesWithout(bytes, resources + 4, end);
    QByteArray out = bytes.left(resources);
    appendBe32(out, kept.size());
    out.append(kept);
    out.append(bytes.mid(end));
    return out;
}

// Tags whose values FreeImage's TIFF reader parses itself or follows into
// directories of their own: XMP, IPTC, Photoshop resources, the EXIF, GPS and
// interoperability directories. Its IPTC parser trusts the dataset lengths.
bool isTiffMetadataTag(qint64 tag) {
    switch (tag) {
    case 700:   // XMP
    case 33723: // IPTC
    case 34377: // Photoshop image resources
    case 34665: // EXIF directory
    case 34853: // GPS directory
    case 40965: // interoperability directory
        return true;
    default:
        return false;
    }
}

// Reads and writes the integers of one TIFF in its own byte order, every read
// checked against the data.
class TiffWords {
public:
    explicit TiffWords(QByteArray& data) : data_(data), little_(data.startsWith("II")) {}
    qint64 get(qint64 at, int width) const {
        if (at < 0 || at > data_.size() - width)
            damaged("TIFF", "a directory lies past the end of the data");
        quint64 value = 0;
        for (int i = 0; i < width; ++i) {
            const int index = little_ ? width - 1 - i : i;
            value = (value << 8) | uchar(data_[qsizetype(at + index)]);
        }
        return qint64(value);
    }
    void put(qint64 at, int width, qint64 value) {
        for (int i = 0; i < width; ++i) {
            const int index = little_ ? i : width - 1 - i;
            data_[qsizetype(at + index)] = char((quint64(value) >> (8 * i)) & 0xFF);
        }
    }

private:
    QByteArray& data_;
    bool little_;
};

// Drops the metadata entries of one directory in place: the kept entries move
// up, the count shrinks and the link to the next directory follows them.
// Returns that link.
qint64 tiffDirectoryWithout(TiffWords& words, qint64 at, bool big) {
    const int countWidth = big ? 8 : 2, entryWidth = big ? 20 : 12, linkWidth = big ? 8 : 4;
    const qint64 count = words.get(at, countWidth);
    if (count > 65535)
        damaged("TIFF", "a directory holds too many entries");
    const qint64 first = at + countWidth;
    const qint64 next = words.get(first + count * entryWidth, linkWidth);
    qint64 kept = 0;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 entry = first + i * entryWidth;
        if (isTiffMetadataTag(words.get(entry, 2)))
            continue;
        for (int b = 0; b < entryWidth; b += 2)
            words.put(first + kept * entryWidth + b, 2, words.get(entry + b, 2));
        ++kept;
    }
    words.put(at, countWidth, kept);
    words.put(first + kept * entryWidth, linkWidth, next);
    return next;
}

QByteArray tiffWithout(const QByteArray& bytes) {
    QByteArray out = bytes;
    TiffWords words(out);
    const qint64 magic = words.get(2, 2);
    if (magic != 42 && magic != 43)
        damaged("TIFF", "it does not start as a TIFF");
    const bool big = magic == 43;
    qint64 at = big ? words.get(8, 8) : words.get(4, 4);
    // libtiff has walked the chain already, so a loop here is damage.
    for (int page = 0; at != 0; ++page) {
        if (page > 65535)
            damaged("TIFF", "its directories form a loop");
        at = tiffDirectoryWithout(words, at, big);
    }
    return out;
}

} // namespace

QByteArray withoutMetadataBlocks(const QByteArray& bytes, int fif) {
    if (fif == FIF_JPEG)
        return jpegWithout(bytes);
    if (fif == FIF_PSD)
        return psdWithout(bytes);
    if (fif == FIF_TIFF)
        return tiffWithout(bytes);
    return bytes;
}

} // namespace picbasket::imagebox
