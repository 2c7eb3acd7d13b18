#include "platform/imagebox/meta/MakerNote.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/TiffStructure.h"

namespace picbasket::makernote {

namespace ts = tiffstructure;

namespace {

// Values a note had outside its bytes are carried along up to this much; a
// camera's few stray values are far smaller.
constexpr qint64 kMaxOutsideBytes = 64 * 1024;

// How a note's inner offsets count.
struct Layout {
    bool known = false;
    bool selfContained = false; // counted from the note itself (or its own TIFF header)
    qint64 directory = 0;       // else: where its directory starts in the note
};

bool startsWith(const QByteArray& b, const char* prefix, int length) {
    return b.startsWith(QByteArray(prefix, length));
}

bool madeBy(const Note& note, const char* maker) {
    return note.make.trimmed().toLower().startsWith(QLatin1String(maker));
}

bool isMinolta(const Note& note) {
    return madeBy(note, "minolta") || madeBy(note, "konica minolta");
}

// Minolta's notes that are no directory but a block of camera data.
bool isMinoltaBinary(const QByteArray& b) {
    return startsWith(b, "MLY0", 4) || startsWith(b, "KC", 2) || startsWith(b, "+M+M", 4) ||
           startsWith(b, "\xd7", 1);
}

Layout layoutOf(const Note& note) {
    const QByteArray& b = note.bytes;
    if (startsWith(b, "Nikon\0\x02", 7) || startsWith(b, "FUJIFILM", 8) ||
        startsWith(b, "OLYMPUS\0", 8) || startsWith(b, "OM SYSTEM\0", 10))
        return {true, true, 0};
    if (startsWith(b, "Nikon\0\x01", 7) || startsWith(b, "OLYMP\0", 6) ||
        startsWith(b, "MINOL\0", 6) || startsWith(b, "CAMER\0", 6))
        return {true, false, 8};
    if (startsWith(b, "Panasonic\0\0\0", 12) || startsWith(b, "SONY DSC \0\0\0", 12) ||
        startsWith(b, "SONY CAM \0\0\0", 12))
        return {true, false, 12};
    if (isMinolta(note) && isMinoltaBinary(b))
        return {true, true, 0};
    if (madeBy(note, "canon") || isMinolta(note))
        return {true, false, 0};
    return {};
}

bool plausibleIn(const QByteArray& b, qint64 directory, bool little) {
    const ts::Reader r(b, little);
    if (!r.has(directory, 2))
        return false;
    const qint64 count = r.u16(directory);
    if (count == 0 || count > ts::kMaxEntries || !r.has(directory, 2 + 12 * count))
        return false;
    const uint16_t type = r.u16(directory + 4);
    return type >= 1 && type <= 13;
}

// The byte order of a note's directory: readers find it from the entry count,
// and some cameras write their note in an order of their own, so it is taken
// from the note, the EXIF's order first.
std::optional<bool> directoryOrder(const Note& note, qint64 directory) {
    if (plausibleIn(note.bytes, directory, note.little))
        return note.little;
    if (plausibleIn(note.bytes, directory, !note.little))
        return !note.little;
    return std::nullopt;
}

qint64 valueSize(const ts::Entry& e) {
    return qint64(ts::typeSize(e.type)) * e.count;
}

// Canon notes may end in a TIFF-like footer holding the note's own offset,
// which readers take to re-base its values: it moves with them.
void moveCanonFooter(QByteArray& out, const Note& note, bool little, qint64 delta) {
    if (!madeBy(note, "canon") || out.size() < 16)
        return;
    const QByteArray tail = out.right(8);
    if (!tail.startsWith(little ? QByteArray("II*\0", 4) : QByteArray("MM\0*", 4)))
        return;
    const ts::Reader r(out, little);
    const qint64 moved = qint64(r.u32(out.size() - 4)) + delta;
    if (moved >= 0 && moved <= qint64(0xFFFFFFF0LL))
        ts::Writer(out, little).patch32(out.size() - 4, uint32_t(moved));
}

const OutsideValue* outsideFor(const Note& note, qint64 entry) {
    for (const OutsideValue& v : note.outside)
        if (v.entry == entry)
            return &v;
    return nullptr;
}

// Adds delta to every out-of-line value offset of the note's directory; the
// values it had outside follow its bytes, each on a word boundary.
QByteArray shifted(const Note& note, qint64 directory, bool little, qint64 newOffset) {
    const qint64 delta = newOffset - note.offset;
    QByteArray out = note.bytes;
    QByteArray after;
    const ts::Reader r(note.bytes, little);
    ts::Writer w(out, little);
    const qint64 count = r.u16(directory);
    r.need(directory, 2 + 12 * count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = directory + 2 + 12 * i;
        if (valueSize(ts::rawEntry(r, at)) <= 4)
            continue;
        qint64 moved = qint64(r.u32(at + 8)) + delta;
        if (const OutsideValue* v = outsideFor(note, i)) {
            if ((out.size() + after.size()) % 2)
                after.append('\0');
            moved = newOffset + out.size() + after.size();
            after += v->bytes;
        }
        if (moved < 0 || moved > qint64(0xFFFFFFF0LL))
            ts::fail(QStringLiteral("a maker note value would move outside the file"));
        w.patch32(at + 8, uint32_t(moved));
    }
    moveCanonFooter(out, note, little, delta);
    return out + after;
}

// The values of the note's directory that lie outside its bytes but inside the
// structure it came from.
std::vector<OutsideValue> outsideValues(const ts::Reader& tiff, const Note& note,
                                        qint64 directory, bool little) {
    std::vector<OutsideValue> out;
    const ts::Reader r(note.bytes, little);
    const ts::Reader values(tiff.bytes(), little);
    const qint64 count = r.u16(directory);
    qint64 total = 0;
    for (qint64 i = 0; i < count && r.has(directory + 2 + 12 * i, 12); ++i) {
        const qint64 at = directory + 2 + 12 * i;
        const qint64 size = valueSize(ts::rawEntry(r, at));
        const qint64 offset = r.u32(at + 8);
        const bool inside = offset >= note.offset && offset + size <= note.offset + note.bytes.size();
        if (size <= 4 || inside || !values.has(offset, size) || total + size > kMaxOutsideBytes)
            continue;
        total += size;
        out.push_back({i, values.slice(offset, size)});
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
        Note note{r.slice(offset, length), offset, little, make, {}};
        const Layout layout = layoutOf(note);
        if (layout.known && !layout.selfContained)
            if (const std::optional<bool> order = directoryOrder(note, layout.directory))
                note.outside = outsideValues(r, note, layout.directory, *order);
        return note;
    } catch (const AppError&) {
        return {};
    }
}

std::optional<QByteArray> movedTo(const Note& note, qint64 newOffset, bool /*little*/) {
    const Layout layout = layoutOf(note);
    if (!layout.known)
        return std::nullopt;
    if (layout.selfContained || (newOffset == note.offset && note.outside.empty()))
        return note.bytes;
    // The note keeps its own byte order: readers take it from the note.
    const std::optional<bool> order = directoryOrder(note, layout.directory);
    if (!order)
        return std::nullopt;
    try {
        return shifted(note, layout.directory, *order, newOffset);
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

QString whyNotMovable(const Note& note) {
    if (note.isEmpty() || movable(note, note.little))
        return {};
    const QString maker = note.make.trimmed().isEmpty() ? QStringLiteral("an unnamed maker")
                                                        : note.make.trimmed();
    if (!layoutOf(note).known)
        return QStringLiteral("the maker note of %1 is of a layout that cannot be moved").arg(maker);
    return QStringLiteral("the maker note of %1 is damaged").arg(maker);
}

} // namespace picbasket::makernote
