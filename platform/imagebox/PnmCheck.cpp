#include "platform/imagebox/PnmCheck.h"
#include "core/ImageLimits.h"

#include <cctype>
#include <optional>

namespace picbasket {

namespace {

constexpr qint64 MaxSide = MaxImageSide;
constexpr qint64 MaxPixels = MaxImagePixels;

// Walks the header: numbers separated by white space, comments from "#" to the end
// of the line.
class PnmCursor {
public:
    explicit PnmCursor(const QByteArray& bytes) : bytes_(bytes) {}

    std::optional<qint64> number() {
        skipSpaceAndComments();
        qint64 value = 0;
        const qsizetype start = pos_;
        while (pos_ < bytes_.size() && std::isdigit(uchar(bytes_[pos_]))) {
            value = value * 10 + (bytes_[pos_++] - '0');
            if (value > MaxPixels)
                return std::nullopt;
        }
        if (pos_ == start)
            return std::nullopt;
        return value;
    }
    // The single white-space byte that ends the header of a binary file.
    bool endOfHeader() {
        if (pos_ >= bytes_.size() || !std::isspace(uchar(bytes_[pos_])))
            return false;
        ++pos_;
        return true;
    }
    qint64 remaining() const { return bytes_.size() - pos_; }
    // ASCII samples left: numbers, or single digits for ASCII bitmaps.
    qint64 countSamples(bool digits, qint64 wanted) {
        qint64 count = 0;
        while (count < wanted) {
            skipSpaceAndComments();
            if (pos_ >= bytes_.size() || !std::isdigit(uchar(bytes_[pos_])))
                break;
            if (digits)
                ++pos_;
            else
                while (pos_ < bytes_.size() && std::isdigit(uchar(bytes_[pos_])))
                    ++pos_;
            ++count;
        }
        return count;
    }

private:
    void skipSpaceAndComments() {
        while (pos_ < bytes_.size()) {
            if (bytes_[pos_] == '#')
                while (pos_ < bytes_.size() && bytes_[pos_] != '\n' && bytes_[pos_] != '\r')
                    ++pos_;
            else if (std::isspace(uchar(bytes_[pos_])))
                ++pos_;
            else
                break;
        }
    }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

// The magic may follow comments and white space (DevIL accepts that much).
int magicOf(const QByteArray& bytes, qsizetype& after) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (bytes[pos] == '#')
            while (pos < bytes.size() && bytes[pos] != '\n')
                ++pos;
        else if (std::isspace(uchar(bytes[pos])))
            ++pos;
        else
            break;
    }
    if (pos + 1 >= bytes.size() || bytes[pos] != 'P' || bytes[pos + 1] < '1' ||
        bytes[pos + 1] > '6')
        return 0;
    after = pos + 2;
    return bytes[pos + 1] - '0';
}

} // namespace

bool isCompletePnm(const QByteArray& bytes) {
    qsizetype after = 0;
    const int kind = magicOf(bytes, after);
    if (kind == 0)
        return false;
    const QByteArray rest = bytes.mid(after);
    PnmCursor cursor(rest);
    const auto w = cursor.number(), h = cursor.number();
    if (!w || !h || *w < 1 || *h < 1 || *w > MaxSide || *h > MaxSide || *w * *h > MaxPixels)
        return false;
    const bool bitmap = kind == 1 || kind == 4;
    qint64 maxValue = 1;
    if (!bitmap) {
        const auto value = cursor.number();
        if (!value || *value < 1 || *value > 65535)
            return false;
        maxValue = *value;
    }
    const qint64 channels = (kind == 3 || kind == 6) ? 3 : 1;
    if (kind <= 3)
        return cursor.countSamples(kind == 1, *w * *h * channels) == *w * *h * channels;
    if (!cursor.endOfHeader())
        return false;
    const qint64 rowBytes = bitmap ? (*w + 7) / 8 : *w * channels * (maxValue > 255 ? 2 : 1);
    return cursor.remaining() >= rowBytes * *h;
}

} // namespace picbasket
