#include "platform/imagebox/meta/TiffStructure.h"

#include "core/AppError.h"

#include <algorithm>

namespace picbasket::tiffstructure {

void fail(const QString& why) {
    raiseError(err::Unexpected, QStringLiteral("The TIFF file cannot take metadata: %1.").arg(why));
}

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

uint16_t Reader::u16(qint64 at) const {
    need(at, 2);
    return little_ ? uint16_t(byte(at) | byte(at + 1) << 8)
                   : uint16_t(byte(at) << 8 | byte(at + 1));
}

uint32_t Reader::u32(qint64 at) const {
    need(at, 4);
    return little_ ? uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16
                   : uint32_t(u16(at)) << 16 | uint32_t(u16(at + 2));
}

QByteArray Reader::slice(qint64 at, qint64 length) const {
    need(at, length);
    return b_.mid(at, length);
}

bool Reader::has(qint64 at, qint64 length) const {
    return at >= 0 && length >= 0 && at <= b_.size() && length <= b_.size() - at;
}

void Reader::need(qint64 at, qint64 length) const {
    if (!has(at, length))
        fail(QStringLiteral("a directory points beyond the end of the file"));
}

qint64 entryCountAt(const Reader& r, qint64 offset) {
    const int count = r.u16(offset);
    if (count == 0 || count > kMaxEntries)
        fail(QStringLiteral("a directory has %1 entries").arg(count));
    r.need(offset, 2 + 12 * qint64(count) + 4);
    return count;
}

Entry rawEntry(const Reader& r, qint64 at) {
    Entry e;
    e.tag = r.u16(at);
    e.type = r.u16(at + 2);
    e.count = r.u32(at + 4);
    e.field = r.slice(at + 8, 4);
    return e;
}

QByteArray valueOf(const Reader& r, const Entry& e, qint64 at) {
    if (typeSize(e.type) == 0)
        fail(QStringLiteral("tag %1 has the unknown type %2").arg(e.tag).arg(e.type));
    const qint64 length = qint64(typeSize(e.type)) * e.count;
    return length <= 4 ? e.field.left(length) : r.slice(r.u32(at + 8), length);
}

int readTree(const Reader& r, qint64 offset, std::vector<Directory>& dirs, int depth) {
    const qint64 count = entryCountAt(r, offset);
    const int index = int(dirs.size());
    dirs.emplace_back();
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = offset + 2 + 12 * i;
        Entry e = rawEntry(r, at);
        const bool pointer =
            e.tag == kExifPointer || e.tag == kGpsPointer || e.tag == kInteropPointer;
        if (pointer && depth < 2) {
            e.child = readTree(r, r.u32(at + 8), dirs, depth + 1);
        } else {
            e.data = valueOf(r, e, at);
            e.hasData = true;
        }
        dirs[size_t(index)].entries.push_back(std::move(e));
    }
    return index;
}

qint64 entryAt(const Reader& r, qint64 ifd, uint16_t tag) {
    const qint64 count = entryCountAt(r, ifd);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = ifd + 2 + 12 * i;
        if (r.u16(at) == tag)
            return at;
    }
    return -1;
}

void Writer::u16(uint16_t v) {
    little_ ? (put(v & 0xFF), put(v >> 8)) : (put(v >> 8), put(v & 0xFF));
}

void Writer::u32(uint32_t v) {
    little_ ? (u16(v & 0xFFFF), u16(v >> 16)) : (u16(v >> 16), u16(v & 0xFFFF));
}

void Writer::patch16(qint64 at, uint16_t v) {
    QByteArray tmp;
    Writer(tmp, little_).u16(v);
    out_.replace(at, 2, tmp);
}

void Writer::patch32(qint64 at, uint32_t v) {
    QByteArray tmp;
    Writer(tmp, little_).u32(v);
    out_.replace(at, 4, tmp);
}

void Writer::pin(qint64 at, const QByteArray& bytes) {
    auto it = std::find_if(pins_.begin(), pins_.end(), [&](const Pinned& p) { return p.at > at; });
    pins_.insert(it, {at, bytes});
}

void Writer::placePinned() {
    const Pinned& p = pins_[pinsPlaced_];
    if (p.at < out_.size())
        fail(QStringLiteral("a block that keeps its offset cannot stay where it was"));
    out_.append(QByteArray(p.at - out_.size(), '\0'));
    out_.append(p.bytes);
    ++pinsPlaced_;
}

qint64 Writer::claim(qint64 length) {
    while (out_.size() % 4 != 0)
        put(0);
    while (pinsPlaced_ < pins_.size() && out_.size() + length > pins_[pinsPlaced_].at) {
        placePinned();
        while (out_.size() % 4 != 0)
            put(0);
    }
    return out_.size();
}

void Writer::finish() {
    while (pinsPlaced_ < pins_.size())
        placePinned();
}

uint32_t checkedOffset(qint64 pos) {
    if (pos > qint64(0xFFFFFFF0LL))
        fail(QStringLiteral("the file would exceed 4 GB"));
    return uint32_t(pos);
}

uint32_t writeTree(Writer& w, std::vector<Directory>& dirs, int index, uint32_t next) {
    std::vector<Entry>& entries = dirs[size_t(index)].entries;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    const uint32_t start = checkedOffset(w.claim(2 + 12 * qint64(entries.size()) + 4));
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
            w.patch32(fieldAt[i], checkedOffset(w.claim(e.data.size())));
            w.bytes().append(e.data);
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].child >= 0)
            w.patch32(fieldAt[i], writeTree(w, dirs, entries[i].child, 0));
    }
    return start;
}

qint64 nextFieldOf(const Writer& w, const QByteArray& bytes, qint64 start) {
    const Reader r(bytes, w.little());
    return start + 2 + 12 * qint64(r.u16(start));
}

} // namespace picbasket::tiffstructure
