#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>

namespace picbasket::test {

// Builds setup-file bytes by hand: each call appends one stored member.
class SetupBytes {
public:
    SetupBytes& u8(int v) { return put(uint64_t(uint8_t(v)), 1); }
    SetupBytes& i16(int v) { return put(uint64_t(uint16_t(int16_t(v))), 2); }
    SetupBytes& i32(int64_t v) { return put(uint64_t(uint32_t(v)), 4); }
    SetupBytes& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return put(bits, 8);
    }
    SetupBytes& str(const QString& s) { return raw(s.toUtf8()); }
    // A length field and the given bytes as they are.
    SetupBytes& raw(const QByteArray& bytes) {
        i16(int(bytes.size()));
        bytes_.append(bytes);
        return *this;
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    SetupBytes& put(uint64_t v, int width) {
        for (int i = 0; i < width; ++i)
            bytes_.append(char((v >> (8 * i)) & 0xFF));
        return *this;
    }
    QByteArray bytes_;
};

} // namespace picbasket::test
