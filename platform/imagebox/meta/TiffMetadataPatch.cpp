#include "platform/imagebox/meta/TiffMetadataPatch.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/ExifBlock.h"
#include "platform/imagebox/meta/ExifNameTable.h"
#include "platform/imagebox/meta/PhotoshopResources.h"
#include "platform/imagebox/meta/TiffStructure.h"

#include <algorithm>
#include <vector>

namespace picbasket::tiffpatch {

namespace ts = tiffstructure;

namespace {

constexpr uint16_t kIptcTag = 33723;
constexpr uint16_t kPhotoshopTag = 34377;
constexpr uint16_t kIccTag = 34675;
constexpr uint16_t kXmpTag = 700;
constexpr uint16_t kTypeLong = 4;
constexpr uint16_t kTypeUndefined = 7;

bool isResolutionTag(uint16_t tag) {
    return tag == 282 || tag == 283 || tag == 296;
}

// Tags of the first directory that belong to the file, not to the metadata.
bool keptFromFile(uint16_t tag) {
    return exifnames::isImageLayoutTag(tag) || isResolutionTag(tag) || tag == 297 ||
           tag == kIccTag || tag == kXmpTag;
}

bool hasResolution(const Exiv2::ExifData& exif) {
    return exif.findKey(Exiv2::ExifKey("Exif.Image.XResolution")) != exif.end() &&
           exif.findKey(Exiv2::ExifKey("Exif.Image.YResolution")) != exif.end();
}

// Whether an attribute goes into the new first directory from the metadata:
// not the pointers Exiv2 makes itself, not what the file keeps of its own, not
// the maker note, which is placed on its own.
bool encodedFromMetadata(const Exiv2::Exifdatum& d, bool ownResolution) {
    if (!exifnames::isListedGroup(d.groupName()))
        return false;
    if (d.groupName() == "Photo")
        return d.tag() != ts::kMakerNoteTag;
    if (d.groupName() != "Image")
        return true;
    const uint16_t tag = d.tag();
    if (isResolutionTag(tag))
        return ownResolution;
    return !keptFromFile(tag) && tag != ts::kExifPointer && tag != ts::kGpsPointer &&
           tag != kIptcTag && tag != kPhotoshopTag;
}

// The EXIF of the first page, encoded by Exiv2, read back as directories.
std::vector<ts::Directory> encodedExif(const Exiv2::ExifData& exif, Exiv2::ByteOrder order,
                                       bool ownResolution) {
    return exifblock::encodedDirectories(
        exif, order == Exiv2::littleEndian,
        [&](const Exiv2::Exifdatum& d) { return encodedFromMetadata(d, ownResolution); });
}

ts::Entry blockEntry(uint16_t tag, uint16_t type, const QByteArray& data) {
    ts::Entry e;
    e.tag = tag;
    e.type = type;
    e.data = data;
    e.count = uint32_t(data.size() / ts::typeSize(type));
    e.hasData = true;
    return e;
}

ts::Entry iptcEntry(const Exiv2::IptcData& iptc) {
    const Exiv2::DataBuf stream = Exiv2::IptcParser::encode(iptc);
    QByteArray data(reinterpret_cast<const char*>(stream.pData_), stream.size_);
    data.resize((data.size() + 3) / 4 * 4, '\0');
    return blockEntry(kIptcTag, kTypeLong, data);
}

ts::Entry photoshopEntry(const QByteArray& resources, const Exiv2::IptcData& iptc) {
    QByteArray stream;
    if (!iptc.empty()) {
        const Exiv2::DataBuf encoded = Exiv2::IptcParser::encode(iptc);
        stream = QByteArray(reinterpret_cast<const char*>(encoded.pData_), encoded.size_);
    }
    return blockEntry(kPhotoshopTag, kTypeUndefined,
                      photoshopresources::withIptc(resources, stream));
}

bool hasTag(const std::vector<ts::Entry>& entries, uint16_t tag) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const ts::Entry& e) { return e.tag == tag; });
}

int exifDirectoryOf(const std::vector<ts::Directory>& dirs) {
    for (const ts::Entry& e : dirs[0].entries)
        if (e.tag == ts::kExifPointer && e.child >= 0)
            return e.child;
    return -1;
}

// A maker note whose bytes still lie in the file where they were.
bool stillInFile(const QByteArray& file, const makernote::Note& note) {
    return note.offset >= 8 && note.offset + note.bytes.size() <= file.size() &&
           file.mid(note.offset, note.bytes.size()) == note.bytes;
}

// The maker note's entry: at its bytes when they are still in the file, else
// a field filled in by placeMovedNote. False when the note is to be left out.
bool addNoteEntry(std::vector<ts::Directory>& dirs, const QByteArray& file,
                  const makernote::Note& note, bool little, bool& inPlace) {
    const int exif = exifDirectoryOf(dirs);
    if (note.isEmpty() || exif < 0)
        return false;
    inPlace = stillInFile(file, note);
    if (!inPlace && !makernote::movable(note, little))
        return false;
    ts::Entry e;
    e.tag = ts::kMakerNoteTag;
    e.type = kTypeUndefined;
    e.count = uint32_t(note.bytes.size());
    QByteArray field;
    ts::Writer(field, little).u32(uint32_t(inPlace ? note.offset : 0));
    e.field = field;
    dirs[size_t(exif)].entries.push_back(e);
    return true;
}

// Appends a note from another file, its offsets moved to its new place.
void placeMovedNote(ts::Writer& w, uint32_t first, const makernote::Note& note) {
    const qint64 at = w.claim(note.bytes.size());
    const std::optional<QByteArray> moved = makernote::movedTo(note, at, w.little());
    if (!moved)
        return;
    w.bytes().append(*moved);
    const ts::Reader r(w.bytes(), w.little());
    const qint64 exif = r.u32(ts::entryAt(r, first, ts::kExifPointer) + 8);
    w.patch32(ts::entryAt(r, exif, ts::kMakerNoteTag) + 8, ts::checkedOffset(at));
}

} // namespace

QByteArray apply(const QByteArray& file, const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc,
                 const Extras& extras) {
    if (file.size() < 8 || !(file.startsWith("II*\0") || file.startsWith(QByteArray("MM\0*", 4))))
        ts::fail(QStringLiteral("it is no classic TIFF (BigTIFF is not supported)"));
    const bool little = file.startsWith("II");
    const ts::Reader r(file, little);
    const qint64 first = r.u32(4);
    const qint64 count = ts::entryCountAt(r, first);
    const bool ownResolution = hasResolution(exif);

    std::vector<ts::Directory> dirs =
        encodedExif(exif, little ? Exiv2::littleEndian : Exiv2::bigEndian, ownResolution);
    std::vector<ts::Entry>& top = dirs[0].entries;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = first + 2 + 12 * i;
        const ts::Entry e = ts::rawEntry(r, at);
        if (isResolutionTag(e.tag) && ownResolution)
            continue;
        if (keptFromFile(e.tag)) {
            top.push_back(e);
        } else if (e.tag == kPhotoshopTag) {
            // Resources of an unusual type are kept as they are.
            top.push_back(ts::typeSize(e.type) == 1 ? photoshopEntry(ts::valueOf(r, e, at), iptc)
                                                    : e);
        }
    }
    if (!iptc.empty())
        top.push_back(iptcEntry(iptc));
    if (!extras.iccProfile.isEmpty() && !hasTag(top, kIccTag))
        top.push_back(blockEntry(kIccTag, kTypeUndefined, extras.iccProfile));
    if (!extras.xmp.isEmpty() && !hasTag(top, kXmpTag))
        top.push_back(blockEntry(kXmpTag, 1, extras.xmp));
    bool noteInPlace = false;
    const bool withNote = addNoteEntry(dirs, file, extras.makerNote, little, noteInPlace);
    const uint32_t next = r.u32(first + 2 + 12 * count);

    QByteArray out = file;
    ts::Writer w(out, little);
    const uint32_t newFirst = ts::writeTree(w, dirs, 0, next);
    w.patch32(4, newFirst);
    if (withNote && !noteInPlace)
        placeMovedNote(w, newFirst, extras.makerNote);
    return out;
}

} // namespace picbasket::tiffpatch
