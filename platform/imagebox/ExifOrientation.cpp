#include "platform/imagebox/ExifOrientation.h"
#include "core/RegularFile.h"

#include <QFile>
#include <QTransform>
#include <functional>

namespace picbasket::imagebox {

namespace {

constexpr uint16_t kOrientationTag = 274;
constexpr int kMaxEntries = 4096;
// A JPEG's EXIF sits in its first segments; this is more than they can hold.
constexpr qint64 kJpegHeadBytes = qint64(1) << 20;

// Reads length bytes at an offset of the file; fewer when the file ends first.
using ReadAt = std::function<QByteArray(qint64 at, qint64 length)>;

uint32_t number(const QByteArray& b, qint64 at, int size, bool little) {
    uint32_t v = 0;
    for (int i = 0; i < size; ++i) {
        const uint32_t byte = uchar(b[qsizetype(at + (little ? size - 1 - i : i))]);
        v = v << 8 | byte;
    }
    return v;
}

int validOrNormal(uint32_t value) {
    return value >= 1 && value <= 8 ? int(value) : 1;
}

// The Orientation in the first directory of a TIFF structure that starts at base.
int orientationInTiff(const ReadAt& read, qint64 base) {
    const QByteArray header = read(base, 8);
    if (header.size() < 8 ||
        !(header.startsWith("II*") || header.startsWith(QByteArray("MM\0*", 4))))
        return 1;
    const bool little = header[0] == 'I';
    const qint64 ifd = base + number(header, 4, 4, little);
    const QByteArray countBytes = read(ifd, 2);
    if (countBytes.size() < 2)
        return 1;
    const qint64 count = number(countBytes, 0, 2, little);
    if (count == 0 || count > kMaxEntries)
        return 1;
    const QByteArray entries = read(ifd + 2, 12 * count);
    for (qint64 i = 0; i + 1 <= count && 12 * (i + 1) <= entries.size(); ++i) {
        const qint64 at = 12 * i;
        if (number(entries, at, 2, little) != kOrientationTag)
            continue;
        const uint32_t type = number(entries, at + 2, 2, little);
        if (type == 3)
            return validOrNormal(number(entries, at + 8, 2, little));
        if (type == 4)
            return validOrNormal(number(entries, at + 8, 4, little));
        return 1;
    }
    return 1;
}

// The Orientation of the EXIF segment of a JPEG, walking the segments before
// the first scan.
int orientationInJpeg(const QByteArray& head) {
    qint64 at = 2;
    while (at + 4 <= head.size() && uchar(head[qsizetype(at)]) == 0xFF) {
        const int marker = uchar(head[qsizetype(at + 1)]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break;
        const qint64 length = number(head, at + 2, 2, false);
        if (length < 2 || at + 2 + length > head.size())
            break;
        if (marker == 0xE1 && length >= 16 && head.mid(at + 4, 6) == QByteArray("Exif\0\0", 6)) {
            const QByteArray tiff = head.mid(at + 10, length - 8);
            return orientationInTiff(
                [&](qint64 from, qint64 n) { return from < 0 ? QByteArray() : tiff.mid(from, n); },
                0);
        }
        at += 2 + length;
    }
    return 1;
}

int orientationOf(const QByteArray& head, const ReadAt& read) {
    if (head.startsWith("\xFF\xD8"))
        return orientationInJpeg(head);
    return orientationInTiff(read, 0);
}

} // namespace

int storedOrientation(const QByteArray& fileBytes) {
    return orientationOf(fileBytes, [&](qint64 at, qint64 n) {
        return at < 0 ? QByteArray() : fileBytes.mid(at, n);
    });
}

int storedOrientationOfFile(const QString& path) {
    QFile file(path);
    if (!openRegularFile(file))
        return 1;
    const QByteArray head = file.read(kJpegHeadBytes);
    return orientationOf(head, [&](qint64 at, qint64 n) {
        if (at < 0 || !file.seek(at))
            return QByteArray();
        return file.read(n);
    });
}

bool orientationSwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// Each value as a mirror (left-right) followed by a turn clockwise:
//   2 mirror          3 turn 180        4 mirror, turn 180
//   5 mirror, 270     6 turn 90         7 mirror, turn 90   8 turn 270
QImage orientUpright(const QImage& stored, int orientation) {
    if (stored.isNull() || orientation < 2 || orientation > 8)
        return stored;
    static const int turns[9] = {0, 0, 0, 180, 180, 270, 90, 90, 270};
    const bool mirror =
        orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7;
    QImage out = mirror ? stored.mirrored(true, false) : stored;
    if (turns[orientation] != 0)
        out = out.transformed(QTransform().rotate(turns[orientation]));
    out.setDotsPerMeterX(orientationSwapsSides(orientation) ? stored.dotsPerMeterY()
                                                            : stored.dotsPerMeterX());
    out.setDotsPerMeterY(orientationSwapsSides(orientation) ? stored.dotsPerMeterX()
                                                            : stored.dotsPerMeterY());
    return out;
}

QImage uprightPicture(const QImage& decoded, const QByteArray& fileBytes) {
    return orientUpright(decoded, storedOrientation(fileBytes));
}

QImage uprightPictureOfFile(const QImage& decoded, const QString& path) {
    return orientUpright(decoded, storedOrientationOfFile(path));
}

} // namespace picbasket::imagebox
