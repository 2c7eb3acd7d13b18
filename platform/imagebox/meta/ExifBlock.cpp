#include "platform/imagebox/meta/ExifBlock.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/ExifNameTable.h"
#include "platform/imagebox/meta/TiffStructure.h"

#include <QBuffer>

namespace picbasket::exifblock {

namespace ts = tiffstructure;

namespace {

// What a JPEG segment holds after its "Exif\0\0".
constexpr qint64 kMaxBlock = 65533 - 6;
constexpr int kThumbnailWidth = 160;
constexpr int kThumbnailHeight = 120;

// The attributes that are encoded: those of the listed directories but for the
// pointers and blocks this writer places itself and the layout of a TIFF.
bool isEncoded(const Exiv2::Exifdatum& d) {
    if (!exifnames::isListedGroup(d.groupName()))
        return false;
    const uint16_t tag = d.tag();
    if (d.groupName() == "Photo")
        return tag != ts::kMakerNoteTag && tag != ts::kInteropPointer;
    if (d.groupName() == "Image")
        return !exifnames::isImageLayoutTag(tag) && !exifnames::isForeignBlockTag(tag) &&
               tag != ts::kExifPointer && tag != ts::kGpsPointer;
    return true;
}

std::vector<ts::Directory> encodedTree(const Exiv2::ExifData& exif, bool little) {
    Exiv2::ExifData own;
    for (const Exiv2::Exifdatum& d : exif)
        if (isEncoded(d))
            own.add(d);
    std::vector<ts::Directory> dirs;
    if (own.empty()) {
        dirs.emplace_back();
        return dirs;
    }
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, little ? Exiv2::littleEndian : Exiv2::bigEndian, own);
    const QByteArray bytes(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
    const ts::Reader r(bytes, little);
    ts::readTree(r, r.u32(4), dirs);
    return dirs;
}

QByteArray encoded(bool little, std::initializer_list<uint32_t> words, int size) {
    QByteArray out;
    ts::Writer w(out, little);
    for (uint32_t v : words)
        size == 2 ? w.u16(uint16_t(v)) : w.u32(v);
    return out;
}

ts::Entry entry(uint16_t tag, uint16_t type, uint32_t count, const QByteArray& data) {
    ts::Entry e;
    e.tag = tag;
    e.type = type;
    e.count = count;
    e.data = data;
    e.hasData = true;
    return e;
}

// The Exif directory's index, made (with its pointer) when the tree has none.
int exifDirectory(std::vector<ts::Directory>& dirs) {
    for (const ts::Entry& e : dirs[0].entries)
        if (e.tag == ts::kExifPointer && e.child >= 0)
            return e.child;
    dirs.emplace_back();
    ts::Entry pointer;
    pointer.tag = ts::kExifPointer;
    pointer.type = 4;
    pointer.count = 1;
    pointer.field = QByteArray(4, '\0');
    pointer.child = int(dirs.size()) - 1;
    dirs[0].entries.push_back(pointer);
    return pointer.child;
}

// The second directory: a JPEG thumbnail at 72 dpi, its offset filled in later.
ts::Directory thumbnailDirectory(qint64 length, bool little) {
    ts::Directory d;
    d.entries.push_back(entry(259, 3, 1, encoded(little, {6}, 2)));
    d.entries.push_back(entry(282, 5, 1, encoded(little, {72, 1}, 4)));
    d.entries.push_back(entry(283, 5, 1, encoded(little, {72, 1}, 4)));
    d.entries.push_back(entry(296, 3, 1, encoded(little, {2}, 2)));
    d.entries.push_back(entry(513, 4, 1, encoded(little, {0}, 4)));
    d.entries.push_back(entry(514, 4, 1, encoded(little, {uint32_t(length)}, 4)));
    return d;
}

qint64 fieldOf(const QByteArray& out, bool little, qint64 ifd, uint16_t tag) {
    const ts::Reader r(out, little);
    const qint64 at = ts::entryAt(r, ifd, tag);
    return at < 0 ? -1 : at + 8;
}

// A SHORT or LONG value held in an entry's field.
qint64 scalarAt(const ts::Reader& r, qint64 entry) {
    return r.u16(entry + 2) == 3 ? r.u16(entry + 8) : r.u32(entry + 8);
}

bool canStay(const makernote::Note& note) {
    return !note.isEmpty() && note.offset >= 8 && note.offset + note.bytes.size() <= kMaxBlock;
}

QByteArray assemble(const Exiv2::ExifData& exif, const makernote::Note& note,
                    const QByteArray& thumbnail, bool little) {
    std::vector<ts::Directory> dirs = encodedTree(exif, little);
    const bool stays = canStay(note) && note.little == little;
    const bool hasNote = !note.isEmpty();
    if (hasNote) {
        ts::Entry e;
        e.tag = ts::kMakerNoteTag;
        e.type = 7;
        e.count = uint32_t(note.bytes.size());
        e.field = encoded(little, {uint32_t(stays ? note.offset : 0)}, 4);
        dirs[size_t(exifDirectory(dirs))].entries.push_back(e);
    }
    QByteArray out = little ? QByteArray("II*\0", 4) : QByteArray("MM\0*", 4);
    ts::Writer w(out, little);
    w.u32(8);
    if (stays)
        w.pin(note.offset, note.bytes);
    const uint32_t first = ts::writeTree(w, dirs, 0, 0);
    w.patch32(4, first);
    if (!thumbnail.isEmpty()) {
        std::vector<ts::Directory> second{thumbnailDirectory(thumbnail.size(), little)};
        const uint32_t at = ts::writeTree(w, second, 0, 0);
        w.patch32(ts::nextFieldOf(w, out, first), at);
        const qint64 data = w.claim(thumbnail.size());
        out.append(thumbnail);
        w.patch32(fieldOf(out, little, at, 513), ts::checkedOffset(data));
    }
    w.finish();
    if (hasNote && !stays) {
        const qint64 at = w.claim(note.bytes.size());
        const std::optional<QByteArray> moved = makernote::movedTo(note, at, little);
        const ts::Reader r(out, little);
        const qint64 exifAt = r.u32(ts::entryAt(r, first, ts::kExifPointer) + 8);
        const qint64 noteEntry = ts::entryAt(r, exifAt, ts::kMakerNoteTag);
        if (moved) {
            out.append(*moved);
            w.patch32(noteEntry + 8, ts::checkedOffset(at));
        } else {
            return assemble(exif, {}, thumbnail, little);
        }
    }
    return out;
}

} // namespace

QByteArray build(const Exiv2::ExifData& exif, const makernote::Note& note,
                 const QByteArray& thumbnail, bool little) {
    QByteArray out = assemble(exif, note, thumbnail, little);
    if (out.size() > kMaxBlock && !thumbnail.isEmpty())
        out = assemble(exif, note, {}, little);
    if (out.size() > kMaxBlock)
        raiseError(
            err::Unexpected,
            QStringLiteral("The EXIF (%1 bytes) is too large for a JPEG file").arg(out.size()));
    return out;
}

QByteArray thumbnailOf(const QByteArray& tiff) {
    if (tiff.size() < 8 || !(tiff.startsWith("II*") || tiff.startsWith(QByteArray("MM\0*", 4))))
        return {};
    const ts::Reader r(tiff, tiff.startsWith("II"));
    try {
        const qint64 first = r.u32(4);
        const qint64 count = ts::entryCountAt(r, first);
        const qint64 second = r.u32(first + 2 + 12 * count);
        if (second == 0)
            return {};
        const qint64 offset = ts::entryAt(r, second, 513);
        const qint64 length = ts::entryAt(r, second, 514);
        if (offset < 0 || length < 0)
            return {};
        return r.slice(scalarAt(r, offset), scalarAt(r, length));
    } catch (const AppError&) {
        return {};
    }
}

QByteArray makeThumbnail(const QImage& picture) {
    if (picture.isNull())
        return {};
    const QImage small = picture
                             .scaled(kThumbnailWidth, kThumbnailHeight, Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB888);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    return small.save(&buffer, "JPEG", 80) ? out : QByteArray();
}

} // namespace picbasket::exifblock
