#include "platform/imagebox/meta/MakerNote.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/TiffStructure.h"

namespace picbasket::makernote {

namespace ts = tiffstructure;

namespace {

// How a note's inner offsets count.
struct Layout {
    bool known = false;
    bool selfContained = false; // counted from the note itself (or its own TIFF header)
    qint64 directory = 0;       // else: where its directory starts in the note
};

bool startsWith(const QByteArray& b, const char* prefix, int length) {
    return b.startsWith(QByteArray(prefix, length));
}

Layout layoutOf(const Note& note) {
    const QByteArray& b = note.bytes;
    if (startsWith(b, "Nikon\0\x02", 7) || startsWith(b, "FUJIFILM", 8) ||
        startsWith(b, "OLYMPUS\0", 8) || startsWith(b, "OM SYSTEM\0", 10))
        return {true, true, 0};
    if (startsWith(b, "Nikon\0\x01", 7) || startsWith(b, "OLYMP\0", 6))
        return {true, false, 8};
    if (startsWith(b, "Panasonic\0\0\0", 12) || startsWith(b, "SONY DSC \0\0\0", 12) ||
        startsWith(b, "SONY CAM \0\0\0", 12))
        return {true, false, 12};
    const QString make = note.make.trimmed().toLower();
    if (make.startsWith("canon") || make.startsWith("minolta") || make.startsWith("konica minolta"))
        return {true, false, 0};
    return {};
}

// Adds delta to every out-of-line value offset of the note's directory.
QByteArray shifted(const Note& note, qint64 directory, qint64 delta) {
    QByteArray out = note.bytes;
    const ts::Reader r(note.bytes, note.little);
    ts::Writer w(out, note.little);
    const qint64 count = r.u16(directory);
    if (count == 0 || count > ts::kMaxEntries)
        ts::fail(QStringLiteral("the maker note has %1 entries").arg(count));
    r.need(directory, 2 + 12 * count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = directory + 2 + 12 * i;
        const ts::Entry e = ts::rawEntry(r, at);
        const qint64 size = qint64(ts::typeSize(e.type)) * e.count;
        if (size <= 4)
            continue;
        const qint64 moved = qint64(r.u32(at + 8)) + delta;
        if (moved < 0 || moved > qint64(0xFFFFFFF0LL))
            ts::fail(QStringLiteral("a maker note value would move outside the file"));
        w.patch32(at + 8, uint32_t(moved));
    }
    return out;
}

} // namespace

Note find(const QByteArray& tiff, const QString& make) {
    if (tiff.size() < 8 || !(tiff.startsWith("II*") || tiff.startsWith(QByteArray("MM\0*", 4))))
        return {};
    const bool little = tiff.startsWith("II");
    const ts::Reader r(tiff, little);
    try {
        const qint64 pointer = ts::entryAt(r, r.u32(4), ts::kExifPointer);
        if (pointer < 0)
            return {};
        const qint64 at = ts::entryAt(r, r.u32(pointer + 8), ts::kMakerNoteTag);
        if (at < 0)
            return {};
        const ts::Entry e = ts::rawEntry(r, at);
        const qint64 length = qint64(ts::typeSize(e.type)) * e.count;
        if (length <= 4)
            return {};
        const qint64 offset = r.u32(at + 8);
        return {r.slice(offset, length), offset, little, make};
    } catch (const AppError&) {
        return {};
    }
}

std::optional<QByteArray> movedTo(const Note& note, qint64 newOffset, bool little) {
    const Layout layout = layoutOf(note);
    if (!layout.known)
        return std::nullopt;
    if (layout.selfContained || newOffset == note.offset)
        return note.bytes;
    // A directory in the EXIF's byte order would be read in the new one.
    if (little != note.little)
        return std::nullopt;
    try {
        return shifted(note, layout.directory, newOffset - note.offset);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

QByteArray withValuesPastItsEnd(const Note& note, const QByteArray& tiff) {
    constexpr qint64 kMaxReach = 65536;
    if (note.isEmpty() || note.offset + note.bytes.size() > tiff.size() ||
        tiff.mid(note.offset, note.bytes.size()) != note.bytes)
        return note.bytes;
    const Layout layout = layoutOf(note);
    // Where the note's directory is, in which byte order, and where the offsets
    // of its values count from (relative to the note's start).
    qint64 directory = 0, origin = 0;
    bool little = note.little;
    if (startsWith(note.bytes, "Nikon\0\x02", 7) && note.bytes.size() >= 18) {
        little = note.bytes.mid(10, 2) == "II";
        origin = 10;
        directory = origin + ts::Reader(note.bytes, little).u32(14);
    } else if (layout.known && !layout.selfContained) {
        directory = layout.directory;
        origin = -note.offset;
    } else {
        return note.bytes;
    }
    try {
        const ts::Reader r(note.bytes, little);
        const qint64 count = r.u16(directory);
        if (count == 0 || count > ts::kMaxEntries)
            return note.bytes;
        r.need(directory, 2 + 12 * count);
        qint64 end = note.bytes.size();
        for (qint64 i = 0; i < count; ++i) {
            const ts::Entry e = ts::rawEntry(r, directory + 2 + 12 * i);
            const qint64 size = qint64(ts::typeSize(e.type)) * e.count;
            if (size <= 4)
                continue;
            const qint64 valueEnd = origin + qint64(r.u32(directory + 2 + 12 * i + 8)) + size;
            if (valueEnd > end && valueEnd <= note.bytes.size() + kMaxReach &&
                note.offset + valueEnd <= tiff.size())
                end = valueEnd;
        }
        return tiff.mid(note.offset, end);
    } catch (const AppError&) {
        return note.bytes;
    }
}

bool movable(const Note& note, bool little) {
    return !note.isEmpty() && movedTo(note, note.offset + 4, little).has_value();
}

} // namespace picbasket::makernote
