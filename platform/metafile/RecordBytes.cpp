#include "platform/metafile/RecordBytes.h"

#include <cstring>

namespace picbasket {

bool RecordBytes::has(qint64 offset, qint64 length) const {
    return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
}

bool RecordBytes::check(qint64 offset, qint64 length) const {
    if (has(offset, length))
        return true;
    damaged_ = true;
    return false;
}

uint8_t RecordBytes::u8(qint64 offset) const {
    return check(offset, 1) ? uint8_t(data_[offset]) : 0;
}

uint16_t RecordBytes::u16(qint64 offset) const {
    if (!check(offset, 2))
        return 0;
    return uint16_t(uint8_t(data_[offset]) | uint8_t(data_[offset + 1]) << 8);
}

uint32_t RecordBytes::u32(qint64 offset) const {
    if (!check(offset, 4))
        return 0;
    return uint32_t(u16(offset)) | uint32_t(u16(offset + 2)) << 16;
}

float RecordBytes::f32(qint64 offset) const {
    const uint32_t bits = u32(offset);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray RecordBytes::bytes(qint64 offset, qint64 length) const {
    if (!check(offset, length))
        return {};
    return QByteArray(data_ + offset, length);
}

RecordBytes RecordBytes::part(qint64 offset, qint64 length) const {
    if (!check(offset, length)) {
        RecordBytes none;
        none.damaged_ = true;
        return none;
    }
    return RecordBytes(data_ + offset, length);
}

} // namespace picbasket
