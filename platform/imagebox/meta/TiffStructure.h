#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// The directory structure of TIFF files and EXIF blocks, read and written by
// the metadata writers: directories of entries whose values lie inline or at
// offsets counted from the TIFF header.
namespace picbasket::tiffstructure {

inline constexpr uint16_t kExifPointer = 34665;
inline constexpr uint16_t kGpsPointer = 34853;
inline constexpr uint16_t kInteropPointer = 40965;
inline constexpr uint16_t kMakerNoteTag = 37500;
inline constexpr int kMaxEntries = 4096;

[[noreturn]] void fail(const QString& why);

// Bytes of a type (1 for BYTE, ASCII, SBYTE, UNDEFINED, ...), 0 for an unknown type.
int typeSize(uint16_t type);

// Bounded reads in a byte order; a read past the end raises.
class Reader {
public:
    Reader(const QByteArray& bytes, bool little) : b_(bytes), little_(little) {}
    uint16_t u16(qint64 at) const;
    uint32_t u32(qint64 at) const;
    QByteArray slice(qint64 at, qint64 length) const;
    void need(qint64 at, qint64 length) const;
    bool has(qint64 at, qint64 length) const;
    bool little() const { return little_; }
    const QByteArray& bytes() const { return b_; }

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

// The number of entries of the directory at offset, checked against the bytes.
qint64 entryCountAt(const Reader& r, qint64 offset);
Entry rawEntry(const Reader& r, qint64 at);
// The value bytes of the entry whose 12 bytes start at at: inline or at its offset.
QByteArray valueOf(const Reader& r, const Entry& e, qint64 at);
// Reads a directory and its Exif, GPS and interoperability sub-directories into
// dirs; returns the directory's index.
int readTree(const Reader& r, qint64 offset, std::vector<Directory>& dirs, int depth = 0);
// The offset of an entry's value in the directory at ifd, -1 without the tag.
qint64 entryAt(const Reader& r, qint64 ifd, uint16_t tag);

// Appends in a byte order. A pinned range holds bytes that must stay at their
// offset: appends skip over it, and the bytes are put there on the way. Ranges
// are pinned before the first append and must not overlap.
class Writer {
public:
    Writer(QByteArray& out, bool little) : out_(out), little_(little) {}
    void u16(uint16_t v);
    void u32(uint32_t v);
    void patch16(qint64 at, uint16_t v);
    void patch32(qint64 at, uint32_t v);
    // Pads to a word boundary free for length bytes; returns that offset.
    qint64 claim(qint64 length);
    void pin(qint64 at, const QByteArray& bytes);
    // Puts the pinned bytes in place if no append has passed them yet.
    void finish();
    qint64 pos() const { return out_.size(); }
    QByteArray& bytes() { return out_; }
    bool little() const { return little_; }

private:
    void put(int b) { out_.append(char(b)); }
    void placePinned();
    struct Pinned {
        qint64 at;
        QByteArray bytes;
    };
    QByteArray& out_;
    bool little_;
    std::vector<Pinned> pins_; // by offset; the first not placed yet at pinsPlaced_
    size_t pinsPlaced_ = 0;
};

uint32_t checkedOffset(qint64 pos);
// Appends a directory (entries sorted by tag), its out-of-line values and its
// sub-directories; returns the directory's offset. next is its next-directory
// offset.
uint32_t writeTree(Writer& w, std::vector<Directory>& dirs, int index, uint32_t next);
// The offset of the next-directory field of the directory written at start.
qint64 nextFieldOf(const Writer& w, const QByteArray& bytes, qint64 start);

} // namespace picbasket::tiffstructure
