#include "platform/imagebox/meta/ExifBlock.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/ExifNameTable.h"

#include <QBuffer>
#include <algorithm>

namespace picbasket::exifblock {

namespace ts = tiffstructure;

namespace {

// What a JPEG segment holds after its "Exif\0\0".
constexpr qint64 kMaxBlock = 65533 - 6;
constexpr int kThumbnailWidth = 160;
constexpr int kThumbnailHeight = 120;
constexpr uint16_t kStripOffsets = 273;
constexpr uint16_t kStripByteCounts = 279;
constexpr uint16_t kJpegOffset = 513;
constexpr uint16_t kJpegLength = 514;
constexpr uint16_t kOrientation = 274;

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

bool isTiff(const QByteArray& b) {
    return b.size() >= 8 && (b.startsWith("II*") || b.startsWith(QByteArray("MM\0*", 4)));
}

// The Exif directory's index, -1 without one.
int exifIndex(const std::vector<ts::Directory>& dirs) {
    for (const ts::Entry& e : dirs[0].entries)
        if (e.tag == ts::kExifPointer && e.child >= 0)
            return e.child;
    return -1;
}

// The Exif directory's index, made (with its pointer) when the tree has none.
int exifDirectory(std::vector<ts::Directory>& dirs) {
    const int found = exifIndex(dirs);
    if (found >= 0)
        return found;
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

bool hasTag(const ts::Directory& d, uint16_t tag) {
    return std::any_of(d.entries.begin(), d.entries.end(),
                       [&](const ts::Entry& e) { return e.tag == tag; });
}

// What every Exif directory of a JPEG carries, for one made anew.
void addRequiredExifEntries(ts::Directory& exif, bool little, const QSize& pixels) {
    const struct {
        uint16_t tag, type;
        QByteArray data;
    } required[] = {
        {36864, 7, QByteArray("0230")},
        {37121, 7, QByteArray("\x01\x02\x03\x00", 4)},
        {40960, 7, QByteArray("0100")},
        {40961, 3, encoded(little, {1}, 2)},
    };
    for (const auto& r : required)
        if (!hasTag(exif, r.tag))
            exif.entries.push_back(entry(r.tag, r.type, r.type == 3 ? 1 : 4, r.data));
    if (pixels.isValid() && !hasTag(exif, 40962) && !hasTag(exif, 40963)) {
        exif.entries.push_back(entry(40962, 4, 1, encoded(little, {uint32_t(pixels.width())}, 4)));
        exif.entries.push_back(entry(40963, 4, 1, encoded(little, {uint32_t(pixels.height())}, 4)));
    }
}

// A directory of the source as its entries stand, values read.
struct SourceDirectory {
    ts::Directory dir;
    bool present = false;
};

SourceDirectory readDirectory(const ts::Reader& r, qint64 at) {
    SourceDirectory out;
    const qint64 count = ts::entryCountAt(r, at);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 e = at + 2 + 12 * i;
        ts::Entry entry = ts::rawEntry(r, e);
        entry.data = ts::valueOf(r, entry, e);
        entry.hasData = true;
        out.dir.entries.push_back(entry);
    }
    out.present = true;
    return out;
}

const ts::Entry* findEntry(const ts::Directory& d, uint16_t tag) {
    for (const ts::Entry& e : d.entries)
        if (e.tag == tag)
            return &e;
    return nullptr;
}

void removeTags(ts::Directory& d, const std::function<bool(uint16_t)>& which) {
    d.entries.erase(std::remove_if(d.entries.begin(), d.entries.end(),
                                   [&](const ts::Entry& e) { return which(e.tag); }),
                    d.entries.end());
}

std::vector<qint64> numbers(const ts::Entry& e, bool little) {
    std::vector<qint64> out;
    const ts::Reader r(e.data, little);
    const int size = e.type == 3 ? 2 : 4;
    if (e.type != 3 && e.type != 4)
        ts::fail(QStringLiteral("tag %1 has the type %2").arg(e.tag).arg(e.type));
    for (qint64 i = 0; i < e.count; ++i)
        out.push_back(size == 2 ? r.u16(i * size) : r.u32(i * size));
    return out;
}

// Image data a directory points at (a JPEG, or strips), carried over as bytes.
struct Carried {
    int directory = -1; // 0: the first directory, 1: the second
    uint16_t offsetTag = 0;
    std::vector<qint64> offsets, lengths; // in the source
    QByteArray data;                      // every piece, one after the other
    bool contiguous = false;              // the pieces lie so in the source
    bool fresh = false;                   // a new thumbnail, not from the source
};

bool carry(const ts::Reader& r, const ts::Directory& d, int directory, uint16_t offsetTag,
           uint16_t lengthTag, Carried& out) {
    const ts::Entry* offsets = findEntry(d, offsetTag);
    const ts::Entry* lengths = findEntry(d, lengthTag);
    if (!offsets || !lengths)
        return false;
    Carried c;
    c.directory = directory;
    c.offsetTag = offsetTag;
    c.offsets = numbers(*offsets, r.little());
    c.lengths = numbers(*lengths, r.little());
    if (c.offsets.empty() || c.offsets.size() != c.lengths.size())
        ts::fail(QStringLiteral("a thumbnail's offsets and lengths do not match"));
    c.contiguous = true;
    for (size_t i = 0; i < c.offsets.size(); ++i) {
        c.data += r.slice(c.offsets[i], c.lengths[i]);
        if (i > 0 && c.offsets[i] != c.offsets[i - 1] + c.lengths[i - 1])
            c.contiguous = false;
    }
    out = c;
    return true;
}

// What the block keeps from the source beside the attributes.
struct Kept {
    std::optional<ts::Directory> second;
    std::vector<Carried> carried;
    bool hadExif = false;
};

// The second directory for a new JPEG thumbnail: the source's other entries,
// or those of a thumbnail at 72 dpi. The thumbnail's pixels are upright.
ts::Directory newThumbnailDirectory(const std::optional<ts::Directory>& source, bool little) {
    ts::Directory d;
    if (source) {
        d = *source;
        removeTags(d, [](uint16_t tag) { return exifnames::isImageLayoutTag(tag); });
        for (ts::Entry& e : d.entries)
            if (e.tag == kOrientation && e.type == 3 && e.count == 1)
                e.data = encoded(little, {1}, 2);
    } else {
        d.entries.push_back(entry(282, 5, 1, encoded(little, {72, 1}, 4)));
        d.entries.push_back(entry(283, 5, 1, encoded(little, {72, 1}, 4)));
        d.entries.push_back(entry(296, 3, 1, encoded(little, {2}, 2)));
    }
    d.entries.push_back(entry(259, 3, 1, encoded(little, {6}, 2)));
    d.entries.push_back(entry(kJpegOffset, 4, 1, encoded(little, {0}, 4)));
    d.entries.push_back(entry(kJpegLength, 4, 1, encoded(little, {0}, 4)));
    return d;
}

Carried newThumbnail(const QByteArray& thumbnail) {
    Carried c;
    c.directory = 1;
    c.offsetTag = kJpegOffset;
    c.offsets = {0};
    c.lengths = {thumbnail.size()};
    c.data = thumbnail;
    c.fresh = true;
    return c;
}

// Reads what is kept from the source. A damaged source gives what could be read
// up to the damage: the attributes never depend on it.
Kept keptFrom(const QByteArray& source, bool little,
              const std::optional<QByteArray>& thumbnail) {
    Kept k;
    std::optional<ts::Directory> sourceSecond;
    if (isTiff(source) && source.startsWith("II") == little) {
        const ts::Reader r(source, little);
        try {
            const qint64 first = r.u32(4);
            const SourceDirectory d0 = readDirectory(r, first);
            k.hadExif = findEntry(d0.dir, ts::kExifPointer) != nullptr;
            Carried preview;
            if (carry(r, d0.dir, 0, kJpegOffset, kJpegLength, preview))
                k.carried.push_back(preview);
            const qint64 next = r.u32(first + 2 + 12 * qint64(d0.dir.entries.size()));
            if (next != 0) {
                sourceSecond = readDirectory(r, next).dir;
                if (!thumbnail) {
                    Carried c;
                    if (carry(r, *sourceSecond, 1, kJpegOffset, kJpegLength, c) ||
                        carry(r, *sourceSecond, 1, kStripOffsets, kStripByteCounts, c))
                        k.carried.push_back(c);
                    k.second = sourceSecond;
                }
            }
        } catch (const AppError&) {
            if (!thumbnail)
                k.second.reset();
            k.carried.erase(std::remove_if(k.carried.begin(), k.carried.end(),
                                           [](const Carried& c) { return c.directory == 1; }),
                            k.carried.end());
        }
    } else if (isTiff(source)) {
        k.hadExif = true; // another byte order: nothing carried, nothing added
    }
    if (thumbnail && !thumbnail->isEmpty()) {
        k.second = newThumbnailDirectory(sourceSecond, little);
        k.carried.push_back(newThumbnail(*thumbnail));
    }
    return k;
}

// Writes new offsets into the entry of the directory at ifd.
void patchOffsets(ts::Writer& w, qint64 ifd, uint16_t tag, const std::vector<qint64>& offsets) {
    const ts::Reader r(w.bytes(), w.little());
    const qint64 at = ts::entryAt(r, ifd, tag);
    if (at < 0)
        ts::fail(QStringLiteral("the thumbnail's entry went missing"));
    const uint16_t type = r.u16(at + 2);
    const int size = type == 3 ? 2 : 4;
    const qint64 values = qint64(offsets.size()) * size <= 4 ? at + 8 : r.u32(at + 8);
    for (size_t i = 0; i < offsets.size(); ++i) {
        if (size == 2 && offsets[i] > 0xFFFF)
            ts::fail(QStringLiteral("a thumbnail offset does not fit its entry"));
        const qint64 field = values + qint64(i) * size;
        size == 2 ? w.patch16(field, uint16_t(offsets[i]))
                  : w.patch32(field, ts::checkedOffset(offsets[i]));
    }
}

struct Range {
    qint64 from, to;
    bool overlaps(const Range& o) const { return from < o.to && o.from < to; }
};

QByteArray assemble(const Exiv2::ExifData& exif, const makernote::Note& note,
                    const QByteArray& noteBytes, const Kept& kept, bool little, bool pinning,
                    const QSize& pixels) {
    std::vector<ts::Directory> dirs = encodedDirectories(exif, little, isEncoded);
    const bool stays = pinning && !note.isEmpty() && note.little == little && note.offset >= 8 &&
                       note.offset + noteBytes.size() <= kMaxBlock;
    const bool hasNote = !note.isEmpty();
    if (hasNote) {
        ts::Entry e;
        e.tag = ts::kMakerNoteTag;
        e.type = 7;
        e.count = uint32_t(note.bytes.size());
        e.field = encoded(little, {uint32_t(stays ? note.offset : 0)}, 4);
        dirs[size_t(exifDirectory(dirs))].entries.push_back(e);
    }
    const int exifAt = exifIndex(dirs);
    if (exifAt >= 0 && !kept.hadExif)
        addRequiredExifEntries(dirs[size_t(exifAt)], little, pixels);

    // The pieces that keep their offsets: the note, and carried data that lay
    // as one run in the source and meets nothing else kept.
    std::vector<Range> pinned;
    if (stays)
        pinned.push_back({note.offset, note.offset + noteBytes.size()});
    std::vector<bool> pinnedCarried(kept.carried.size(), false);
    for (size_t i = 0; i < kept.carried.size(); ++i) {
        const Carried& c = kept.carried[i];
        if (!pinning || !c.contiguous || c.offsets[0] < 8)
            continue;
        const Range range{c.offsets[0], c.offsets[0] + c.data.size()};
        if (range.to > kMaxBlock ||
            std::any_of(pinned.begin(), pinned.end(), [&](const Range& p) { return p.overlaps(range); }))
            continue;
        pinned.push_back(range);
        pinnedCarried[i] = true;
    }

    // A carried preview of the first directory keeps its entries.
    for (const Carried& c : kept.carried) {
        if (c.directory != 0)
            continue;
        dirs[0].entries.push_back(entry(kJpegOffset, 4, 1, encoded(little, {0}, 4)));
        dirs[0].entries.push_back(entry(kJpegLength, 4, 1, encoded(little, {uint32_t(c.data.size())}, 4)));
    }

    QByteArray out = little ? QByteArray("II*\0", 4) : QByteArray("MM\0*", 4);
    ts::Writer w(out, little);
    w.u32(8);
    if (stays)
        w.pin(note.offset, noteBytes);
    for (size_t i = 0; i < kept.carried.size(); ++i)
        if (pinnedCarried[i])
            w.pin(kept.carried[i].offsets[0], kept.carried[i].data);
    const uint32_t first = ts::writeTree(w, dirs, 0, 0);
    w.patch32(4, first);
    qint64 second = -1;
    if (kept.second) {
        std::vector<ts::Directory> list{*kept.second};
        second = ts::writeTree(w, list, 0, 0);
        w.patch32(ts::nextFieldOf(w, out, first), uint32_t(second));
    }
    for (size_t i = 0; i < kept.carried.size(); ++i) {
        const Carried& c = kept.carried[i];
        const qint64 ifd = c.directory == 0 ? first : second;
        if (ifd < 0)
            continue;
        std::vector<qint64> offsets = c.offsets;
        if (!pinnedCarried[i]) {
            qint64 at = w.claim(c.data.size());
            out.append(c.data);
            for (size_t k = 0; k < offsets.size(); ++k) {
                offsets[k] = at;
                at += c.lengths[k];
            }
        }
        patchOffsets(w, ifd, c.offsetTag, offsets);
        if (c.fresh)
            w.patch32(ts::entryAt(ts::Reader(out, little), ifd, kJpegLength) + 8,
                      uint32_t(c.data.size()));
    }
    w.finish();
    if (hasNote && !stays) {
        const qint64 at = w.claim(noteBytes.size());
        makernote::Note whole = note;
        whole.bytes = noteBytes;
        const std::optional<QByteArray> moved = makernote::movedTo(whole, at, little);
        const ts::Reader r(out, little);
        const qint64 exifDir = r.u32(ts::entryAt(r, first, ts::kExifPointer) + 8);
        const qint64 noteEntry = ts::entryAt(r, exifDir, ts::kMakerNoteTag);
        if (!moved)
            return assemble(exif, {}, {}, kept, little, pinning, pixels);
        out.append(*moved);
        w.patch32(noteEntry + 8, ts::checkedOffset(at));
    }
    return out;
}

// assemble, and without pinned offsets when they cannot all be kept.
QByteArray laidOut(const Exiv2::ExifData& exif, const makernote::Note& note,
                   const QByteArray& noteBytes, const Kept& kept, bool little,
                   const QSize& pixels) {
    try {
        return assemble(exif, note, noteBytes, kept, little, true, pixels);
    } catch (const AppError&) {
        return assemble(exif, note, noteBytes, kept, little, false, pixels);
    }
}

} // namespace

std::vector<ts::Directory>
encodedDirectories(const Exiv2::ExifData& exif, bool little,
                   const std::function<bool(const Exiv2::Exifdatum&)>& encoded) {
    Exiv2::ExifData own;
    for (const Exiv2::Exifdatum& d : exif)
        if (encoded(d))
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

QByteArray build(const Exiv2::ExifData& exif, const makernote::Note& note,
                 const QByteArray& source, const std::optional<QByteArray>& thumbnail,
                 bool little, const QSize& pixels) {
    const QByteArray noteBytes = makernote::withValuesPastItsEnd(note, source);
    Kept kept = keptFrom(source, little, thumbnail);
    QByteArray out = laidOut(exif, note, noteBytes, kept, little, pixels);
    if (out.size() > kMaxBlock && kept.second) {
        kept.second.reset();
        kept.carried.erase(std::remove_if(kept.carried.begin(), kept.carried.end(),
                                          [](const Carried& c) { return c.directory == 1; }),
                           kept.carried.end());
        out = laidOut(exif, note, noteBytes, kept, little, pixels);
    }
    if (out.size() > kMaxBlock)
        raiseError(
            err::Unexpected,
            QStringLiteral("The EXIF (%1 bytes) is too large for a JPEG file").arg(out.size()));
    return out;
}

namespace {
// A SHORT or LONG value held in an entry's field.
qint64 scalarAt(const ts::Reader& r, qint64 entry) {
    return r.u16(entry + 2) == 3 ? r.u16(entry + 8) : r.u32(entry + 8);
}
} // namespace

bool hasSecondDirectory(const QByteArray& tiff) {
    if (!isTiff(tiff))
        return false;
    const ts::Reader r(tiff, tiff.startsWith("II"));
    try {
        const qint64 first = r.u32(4);
        return r.u32(first + 2 + 12 * ts::entryCountAt(r, first)) != 0;
    } catch (const AppError&) {
        return false;
    }
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
