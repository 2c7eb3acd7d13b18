#pragma once
#include <QByteArray>
#include <cstdint>

namespace picbasket {

// A little-endian view of a metafile record (or of the whole file) whose every read
// is checked against the bytes that are really there. A read outside them gives 0
// and marks the view damaged, so a player reads a record first and asks once,
// instead of trusting any length, count or offset the record claims.
class RecordBytes {
public:
    RecordBytes() = default;
    explicit RecordBytes(const QByteArray& bytes) : RecordBytes(bytes.constData(), bytes.size()) {}
    RecordBytes(const char* data, qint64 size) : data_(data), size_(size < 0 ? 0 : size) {}

    qint64 size() const { return size_; }
    bool has(qint64 offset, qint64 length) const;
    bool damaged() const { return damaged_; }
    void markDamaged() const { damaged_ = true; }

    uint8_t u8(qint64 offset) const;
    uint16_t u16(qint64 offset) const;
    int16_t s16(qint64 offset) const { return int16_t(u16(offset)); }
    uint32_t u32(qint64 offset) const;
    int32_t s32(qint64 offset) const { return int32_t(u32(offset)); }
    float f32(qint64 offset) const;
    // A copy of length bytes, or an empty array (and damaged) when they are not there.
    QByteArray bytes(qint64 offset, qint64 length) const;
    // The part [offset, offset + length), or an empty damaged view when it is not there.
    RecordBytes part(qint64 offset, qint64 length) const;

private:
    bool check(qint64 offset, qint64 length) const;

    const char* data_ = nullptr;
    qint64 size_ = 0;
    mutable bool damaged_ = false;
};

} // namespace picbasket
