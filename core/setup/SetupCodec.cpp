#include "core/setup/SetupCodec.h"
#include "core/setup/SetupLayout.h"

#include <QStringDecoder>
#include <QtEndian>
#include <array>
#include <cstring>

namespace picbasket {

namespace {

constexpr qsizetype MaxStringBytes = 0xFFFF;

// Adds up the widths of the stored members.
struct SizeCounter {
    SetupLayoutSize size;
    template <class T> void operator()(const T&) { size.fixedBytes += qsizetype(sizeof(T)); }
    void operator()(const bool&) { size.fixedBytes += 2; }
    void operator()(const QString&) { ++size.strings; }
};

// The UTF-8 bytes of a string, cut back to whole characters within the length field.
QByteArray storedText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= MaxStringBytes)
        return bytes;
    qsizetype end = MaxStringBytes;
    while (end > 0 && (uchar(bytes[end]) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    return bytes;
}

struct Writer {
    QByteArray out;
    template <class T> void operator()(const T& value) {
        std::array<char, sizeof(T)> bytes;
        qToLittleEndian(value, bytes.data());
        out.append(bytes.data(), qsizetype(bytes.size()));
    }
    void operator()(const bool& value) { (*this)(int16_t(value ? -1 : 0)); }
    void operator()(const double& value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        (*this)(bits);
    }
    void operator()(const QString& value) {
        const QByteArray text = storedText(value);
        (*this)(uint16_t(text.size()));
        out.append(text);
    }
};

// Reads members in order; once the data runs out every further read fails.
struct Reader {
    QByteArrayView data;
    qsizetype pos = 0;
    bool failed = false;

    bool take(qsizetype count, const char*& at) {
        if (failed || count > data.size() - pos) {
            failed = true;
            return false;
        }
        at = data.data() + pos;
        pos += count;
        return true;
    }
    template <class T> void operator()(T& value) {
        const char* at = nullptr;
        if (take(qsizetype(sizeof(T)), at))
            value = qFromLittleEndian<T>(at);
    }
    void operator()(bool& value) {
        int16_t stored = 0;
        (*this)(stored);
        value = stored != 0;
    }
    void operator()(double& value) {
        uint64_t bits = 0;
        (*this)(bits);
        std::memcpy(&value, &bits, sizeof value);
    }
    void operator()(QString& value) {
        uint16_t length = 0;
        (*this)(length);
        const char* at = nullptr;
        if (take(length, at))
            value = decodeSetupText(QByteArrayView(at, length));
    }
};

// Windows-1252 code points of the bytes 0x80..0x9F; the rest equal their byte. The
// five bytes the code page leaves undefined keep their own value, as Windows does.
constexpr std::array<char16_t, 32> Cp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = uchar(c);
        text.append(QChar(b >= 0x80 && b <= 0x9F ? Cp1252High[b - 0x80] : char16_t(b)));
    }
    return text;
}

} // namespace

SetupLayoutSize setupLayoutSize() {
    SizeCounter counter;
    const typSetup record;
    visitSetup(counter, record);
    return counter.size;
}

QByteArray encodeSetup(const typSetup& record) {
    Writer writer;
    writer.out.reserve(setupLayoutSize().minimumFileSize() + 1024);
    visitSetup(writer, record);
    return writer.out;
}

bool decodeSetup(QByteArrayView data, typSetup& record) {
    typSetup read;
    Reader reader{data};
    visitSetup(reader, read);
    if (reader.failed)
        return false;
    record = std::move(read);
    return true;
}

QString decodeSetupText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

} // namespace picbasket
