#include "platform/imagebox/meta/TiffMetadataPatch.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/ExifNameTable.h"

#include <algorithm>
#include <vector>

namespace picbasket::tiffpatch {

namespace {

constexpr uint16_t kExifPointer = 34665;
constexpr uint16_t kGpsPointer = 34853;
constexpr uint16_t kInteropPointer = 40965;
constexpr uint16_t kIptcTag = 33723;
constexpr uint16_t kPhotoshopTag = 34377;
constexpr uint16_t kTypeLong = 4;
constexpr uint16_t kTypeUndefined = 7;
constexpr int kMaxEntries = 4096;

[[noreturn]] void fail(const QString& why) {
    raiseError(err::Unexpected, QStringLiteral("The TIFF file cannot take metadata: %1.").arg(why));
}

// Tags of the first directory that belong to the file, not to the metadata.
bool keptFromFile(uint16_t tag) {
    return exifnames::isImageLayoutTag(tag) || tag == 282 || tag == 283 || tag == 296 ||
           tag == 297 || tag == 34675 || tag == 700;
}

// Bounded reads of a TIFF in its byte order.
class Reader {
public:
    Reader(const QByteArray& bytes, bool little) : b_(bytes), little_(little) {}

    uint16_t u16(qint64 at) const {
        need(at, 2);
        return little_ ? uint16_t(byte(at) | byte(at + 1) << 8)
                       : uint16_t(byte(at) << 8 | byte(at + 1));
    }
    uint32_t u32(qint64 at) const {
        need(at, 4);
        return little_ ? uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16
                       : uint32_t(u16(at)) << 16 | uint32_t(u16(at + 2));
    }
    QByteArray slice(qint64 at, qint64 length) const {
        need(at, length);
        return b_.mid(at, length);
    }
    void need(qint64 at, qint64 length) const {
        if (at < 0 || length < 0 || at > b_.size() || length > b_.size() - at) {
            fail(QStringLiteral("a directory points beyond the end of the file"));
        }
    }

private:
    uint32_t byte(qint64 at) const { return static_cast<unsigned char>(b_[at]); }
    const QByteArray& b_;
    bool little_;
};

// One directory entry: the 4-byte value field as it stands, or the value's
// bytes to be written anew, and for a sub-directory pointer the directory.
struct Entry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    QByteArray field;
    QByteArray data;
    bool hasData = false;
    int child = -1;
};

struct Directory {
    std::vector<Entry> entries;
};

int typeSize(uint16_t type) {
    switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:
        return 1;
    case 3:
    case 8:
        return 2;
    case 4:
    case 9:
    case 11:
    case 13:
        return 4;
    case 5:
    case 10:
    case 12:
        return 8;
    default:
        return 0;
    }
}

qint64 entryCountAt(const Reader& r, qint64 offset) {
    const int count = r.u16(offset);
    if (count == 0 || count > kMaxEntries) {
        fail(QStringLiteral("a directory has %1 entries").arg(count));
    }
    r.need(offset, 2 + 12 * qint64(count) + 4);
    return count;
}

Entry rawEntry(const Reader& r, const QByteArray& bytes, qint64 at) {
    Entry e;
    e.tag = r.u16(at);
    e.type = r.u16(at + 2);
    e.count = r.u32(at + 4);
    e.field = bytes.mid(at + 8, 4);
    return e;
}

// The value bytes of an entry, inline or at its offset.
QByteArray valueOf(const Reader& r, const Entry& e, qint64 at) {
    const qint64 length = qint64(typeSize(e.type)) * e.count;
    if (typeSize(e.type) == 0) {
        fail(QStringLiteral("tag %1 has the unknown type %2").arg(e.tag).arg(e.type));
    }
    return length <= 4 ? e.field.left(length) : r.slice(r.u32(at + 8), length);
}

// Reads a directory of the metadata Exiv2 encoded, with its sub-directories.
int readTree(const Reader& r, const QByteArray& bytes, qint64 offset, std::vector<Directory>& dirs,
             int depth) {
    const qint64 count = entryCountAt(r, offset);
    const int index = int(dirs.size());
    dirs.emplace_back();
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = offset + 2 + 12 * i;
        Entry e = rawEntry(r, bytes, at);
        const bool pointer =
            e.tag == kExifPointer || e.tag == kGpsPointer || e.tag == kInteropPointer;
        if (pointer && depth < 2) {
            e.child = readTree(r, bytes, r.u32(at + 8), dirs, depth + 1);
        } else {
            e.data = valueOf(r, e, at);
            e.hasData = true;
        }
        dirs[index].entries.push_back(std::move(e));
    }
    return index;
}

class Writer {
public:
    Writer(QByteArray& out, bool little) : out_(out), little_(little) {}
    void u16(uint16_t v) { little_ ? (put(v & 0xFF), put(v >> 8)) : (put(v >> 8), put(v & 0xFF)); }
    void u32(uint32_t v) {
        little_ ? (u16(v & 0xFFFF), u16(v >> 16)) : (u16(v >> 16), u16(v & 0xFFFF));
    }
    void patch32(qint64 at, uint32_t v) {
        QByteArray tmp;
        Writer(tmp, little_).u32(v);
        out_.replace(at, 4, tmp);
    }
    void alignWord() {
        while (out_.size() % 4 != 0) {
            put(0);
        }
    }
    qint64 pos() const { return out_.size(); }
    QByteArray& bytes() { return out_; }

private:
    void put(int b) { out_.append(char(b)); }
    QByteArray& out_;
    bool little_;
};

uint32_t checkedOffset(qint64 pos) {
    if (pos > qint64(0xFFFFFFF0LL)) {
        fail(QStringLiteral("the file would exceed 4 GB"));
    }
    return uint32_t(pos);
}

// Appends a directory, its out-of-line values and its sub-directories; returns
// the directory's offset.
uint32_t writeTree(Writer& w, std::vector<Directory>& dirs, int index, uint32_t next) {
    w.alignWord();
    const uint32_t start = checkedOffset(w.pos());
    std::vector<Entry>& entries = dirs[size_t(index)].entries;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    w.u16(uint16_t(entries.size()));
    std::vector<qint64> fieldAt;
    for (const Entry& e : entries) {
        w.u16(e.tag);
        w.u16(e.type);
        w.u32(e.count);
        fieldAt.push_back(w.pos());
        QByteArray field = e.hasData && e.data.size() <= 4 ? e.data : e.field;
        field.resize(4, '\0');
        w.bytes().append(field);
    }
    w.u32(next);
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (e.hasData && e.data.size() > 4) {
            w.alignWord();
            w.patch32(fieldAt[i], checkedOffset(w.pos()));
            w.bytes().append(e.data);
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].child >= 0) {
            w.patch32(fieldAt[i], writeTree(w, dirs, entries[i].child, 0));
        }
    }
    return start;
}

// Whether an attribute goes into the new first directory from the metadata:
// not the pointers Exiv2 makes itself, not what the file keeps of its own.
bool encodedFromMetadata(const Exiv2::Exifdatum& d) {
    if (!exifnames::isListedGroup(d.groupName())) {
        return false;
    }
    if (d.groupName() != "Image") {
        return true;
    }
    const uint16_t tag = d.tag();
    return !keptFromFile(tag) && tag != kExifPointer && tag != kGpsPointer && tag != kIptcTag &&
           tag != kPhotoshopTag;
}

// The EXIF of the first page, encoded by Exiv2, read back as directories.
std::vector<Directory> encodedExif(const Exiv2::ExifData& exif, Exiv2::ByteOrder order) {
    Exiv2::ExifData own;
    for (const Exiv2::Exifdatum& d : exif) {
        if (encodedFromMetadata(d)) {
            own.add(d);
        }
    }
    std::vector<Directory> dirs;
    if (own.empty()) {
        dirs.emplace_back();
        return dirs;
    }
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, order, own);
    const QByteArray bytes(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
    const Reader r(bytes, order == Exiv2::littleEndian);
    readTree(r, bytes, r.u32(4), dirs, 0);
    return dirs;
}

Entry iptcEntry(const Exiv2::IptcData& iptc) {
    const Exiv2::DataBuf stream = Exiv2::IptcParser::encode(iptc);
    Entry e;
    e.tag = kIptcTag;
    e.type = kTypeLong;
    e.data = QByteArray(reinterpret_cast<const char*>(stream.pData_), stream.size_);
    e.data.resize((e.data.size() + 3) / 4 * 4, '\0');
    e.count = uint32_t(e.data.size() / 4);
    e.hasData = true;
    return e;
}

Entry photoshopEntry(const QByteArray& resources, const Exiv2::IptcData& iptc) {
    const Exiv2::DataBuf updated = Exiv2::Photoshop::setIptcIrb(
        reinterpret_cast<const Exiv2::byte*>(resources.constData()), long(resources.size()), iptc);
    Entry e;
    e.tag = kPhotoshopTag;
    e.type = kTypeUndefined;
    e.data = QByteArray(reinterpret_cast<const char*>(updated.pData_), updated.size_);
    e.count = uint32_t(e.data.size());
    e.hasData = true;
    return e;
}

} // namespace

QByteArray apply(const QByteArray& file, const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc) {
    if (file.size() < 8 || !(file.startsWith("II*\0") || file.startsWith(QByteArray("MM\0*", 4)))) {
        fail(QStringLiteral("it is no classic TIFF (BigTIFF is not supported)"));
    }
    const bool little = file.startsWith("II");
    const Reader r(file, little);
    const qint64 first = r.u32(4);
    const qint64 count = entryCountAt(r, first);

    std::vector<Directory> dirs =
        encodedExif(exif, little ? Exiv2::littleEndian : Exiv2::bigEndian);
    std::vector<Entry>& top = dirs[0].entries;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = first + 2 + 12 * i;
        const Entry e = rawEntry(r, file, at);
        if (keptFromFile(e.tag)) {
            top.push_back(e);
        } else if (e.tag == kPhotoshopTag) {
            // Resources of an unusual type are kept as they are.
            top.push_back(typeSize(e.type) == 1 ? photoshopEntry(valueOf(r, e, at), iptc) : e);
        }
    }
    if (!iptc.empty()) {
        top.push_back(iptcEntry(iptc));
    }
    const uint32_t next = r.u32(first + 2 + 12 * count);

    QByteArray out = file;
    Writer w(out, little);
    const uint32_t newFirst = writeTree(w, dirs, 0, next);
    w.patch32(4, newFirst);
    return out;
}

} // namespace picbasket::tiffpatch
