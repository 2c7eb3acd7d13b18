#include "tests/platform/metadata/CameraFixtures.h"

#include <QBuffer>
#include <QColorSpace>
#include <QPainter>
#include <algorithm>

namespace picbasket::test {

namespace {

// A small little-endian TIFF layout: directories are laid out in order, each
// followed by its out-of-line values.
struct Field {
    uint16_t tag, type;
    uint32_t count;
    QByteArray data;
    int child = -1; // index of a sub-directory this entry points to
};
struct Ifd {
    std::vector<Field> fields;
    int next = -1;
};

void le16(QByteArray& b, uint32_t v) {
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
void le32(QByteArray& b, uint32_t v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}
void patch32(QByteArray& b, qint64 at, uint32_t v) {
    QByteArray t;
    le32(t, v);
    b.replace(at, 4, t);
}

QByteArray ascii(const char* s) {
    return QByteArray(s) + '\0';
}
QByteArray shorts(std::initializer_list<uint32_t> v) {
    QByteArray b;
    for (uint32_t x : v)
        le16(b, x);
    return b;
}
QByteArray longs(std::initializer_list<uint32_t> v) {
    QByteArray b;
    for (uint32_t x : v)
        le32(b, x);
    return b;
}
Field text(uint16_t tag, const char* s) {
    const QByteArray d = ascii(s);
    return {tag, 2, uint32_t(d.size()), d};
}

// Writes the directories starting at base (its offsets count from origin);
// dirs[0] first. Returns the bytes from base on.
QByteArray layOut(std::vector<Ifd> dirs, qint64 base, QByteArray out = {}) {
    std::vector<qint64> at(dirs.size(), 0), nextAt(dirs.size(), 0);
    std::vector<std::vector<qint64>> fieldAt(dirs.size());
    for (size_t i = 0; i < dirs.size(); ++i) {
        if (out.size() % 2)
            out.append('\0');
        at[i] = base + out.size();
        le16(out, uint32_t(dirs[i].fields.size()));
        for (const Field& f : dirs[i].fields) {
            le16(out, f.tag);
            le16(out, f.type);
            le32(out, f.count);
            fieldAt[i].push_back(out.size());
            QByteArray v = f.data.size() <= 4 ? f.data : QByteArray();
            v.resize(4, '\0');
            out += v;
        }
        nextAt[i] = out.size();
        le32(out, 0);
        for (size_t k = 0; k < dirs[i].fields.size(); ++k) {
            const Field& f = dirs[i].fields[k];
            if (f.data.size() > 4) {
                if (out.size() % 2)
                    out.append('\0');
                patch32(out, fieldAt[i][k], uint32_t(base + out.size()));
                out += f.data;
            }
        }
    }
    for (size_t i = 0; i < dirs.size(); ++i) {
        for (size_t k = 0; k < dirs[i].fields.size(); ++k)
            if (dirs[i].fields[k].child >= 0)
                patch32(out, fieldAt[i][k], uint32_t(at[size_t(dirs[i].fields[k].child)]));
        if (dirs[i].next >= 0)
            patch32(out, nextAt[i], uint32_t(at[size_t(dirs[i].next)]));
    }
    return out;
}

// A header-relative note: its values lie at offsets from the EXIF's TIFF
// header, so it is laid out knowing where it will stand.
QByteArray headerRelativeNote(qint64 at) {
    Ifd note;
    note.fields = {
        {1, 3, 12, shorts({24, 2, 0, 4, 0, 0, 0, 3, 1, 65535, 1, 0})}, // camera settings
        text(6, "IMG:PowerShot S1 IS JPEG"),                           // image type
        text(7, "Firmware Version 1.01"),                              // firmware
        text(9, "Test Owner"),                                         // owner name
        {12, 4, 1, longs({1234567})},                                  // serial number
    };
    return layOut({note}, at);
}

// An own-header note: "Nikon\0", version, and a TIFF structure counted from it.
QByteArray ownHeaderNote() {
    Ifd note;
    note.fields = {
        {1, 7, 4, QByteArray("0210")},               // version
        {2, 3, 2, shorts({0, 200})},                 // ISO
        text(4, "FINE   "),                          // quality
        text(5, "AUTO        "),                     // white balance
        text(0x80, "MANUAL     "),                   // image adjustment
        {0x0D, 7, 4, QByteArray("\0\x01\x06\0", 4)}, // program shift
    };
    QByteArray inner("MM\0*", 4);
    // The Nikon header's TIFF structure is normally big-endian; ours is
    // little-endian throughout for brevity.
    inner = QByteArray("II*\0", 4);
    le32(inner, 8);
    inner = layOut({note}, 0, inner);
    return QByteArray("Nikon\0\x02\x10\0\0", 10) + inner;
}

// The standard Exif directory of a camera JPEG of 64 x 48 pixels.
Ifd exifDirectory(std::vector<Field> extra = {}) {
    Ifd exif;
    exif.fields = {
        {33434, 5, 1, longs({1, 250})},
        {36864, 7, 4, QByteArray("0220")},
        text(36867, "2001:02:03 04:05:06"),
        {37121, 7, 4, QByteArray("\x01\x02\x03\x00", 4)},
        {40960, 7, 4, QByteArray("0100")},
        {40961, 3, 1, shorts({1})},
        {40962, 4, 1, longs({64})},
        {40963, 4, 1, longs({48})},
    };
    exif.fields.insert(exif.fields.end(), extra.begin(), extra.end());
    std::sort(exif.fields.begin(), exif.fields.end(),
              [](const Field& a, const Field& b) { return a.tag < b.tag; });
    return exif;
}

std::vector<Field> mainFields(const char* make, const char* model) {
    return {
        text(271, make),
        text(272, model),
        {274, 3, 1, shorts({1})},
        {282, 5, 1, longs({72, 1})},
        {283, 5, 1, longs({72, 1})},
        {296, 3, 1, shorts({2})},
        text(306, "2001:02:03 04:05:06"),
        {531, 3, 1, shorts({2})},
    };
}

QByteArray smallJpeg(int width, int height) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    quadrantPicture(width, height).save(&buffer, "JPEG", 70);
    return out;
}

// The block of the directories, the data at the end pointed at by the entry of
// tag in directory dir (its first value).
QByteArray withTrailingData(std::vector<Ifd> dirs, int dir, uint16_t tag, const QByteArray& data) {
    QByteArray head("II*\0", 4);
    le32(head, 8);
    QByteArray out = layOut(dirs, 0, head);
    const qint64 dataAt = out.size();
    out += data;
    // Find the entry: walk the laid-out directories in order.
    qint64 at = 8;
    for (int i = 0; i <= dir; ++i) {
        if (i > 0) {
            // The next directory follows the previous one's values: find it by
            // its next-directory chain or its pointer.
            const qint64 count = uchar(out[at]) | uchar(out[at + 1]) << 8;
            qint64 next = 0;
            for (int k = 0; k < 4; ++k)
                next |= qint64(uchar(out[at + 2 + 12 * count + k])) << (8 * k);
            if (next == 0)
                return {};
            at = next;
        }
    }
    const qint64 count = uchar(out[at]) | uchar(out[at + 1]) << 8;
    for (qint64 k = 0; k < count; ++k) {
        const qint64 e = at + 2 + 12 * k;
        if ((uchar(out[e]) | uchar(out[e + 1]) << 8) == tag)
            patch32(out, e + 8, uint32_t(dataAt));
    }
    return out;
}

} // namespace

LayoutExif layoutExif(ExifLayout layout) {
    switch (layout) {
    case ExifLayout::StripThumbnail: {
        // 96 x 72 RGB, one strip: 20,736 bytes of a pattern.
        QByteArray strip;
        for (int i = 0; i < 96 * 72; ++i)
            strip.append(char(i % 251)).append(char((i / 96) * 3)).append(char(255 - i % 256));
        Ifd ifd0, ifd1;
        ifd0.fields = mainFields("EARLYCAM", "Digital 1");
        ifd0.fields.push_back({34665, 4, 1, longs({0}), 1});
        ifd0.next = 2;
        ifd1.fields = {
            {256, 3, 1, shorts({96})},       {257, 3, 1, shorts({72})},
            {258, 3, 3, shorts({8, 8, 8})},  {259, 3, 1, shorts({1})},
            {262, 3, 1, shorts({2})},        {273, 4, 1, longs({0})},
            {277, 3, 1, shorts({3})},        {278, 3, 1, shorts({72})},
            {279, 4, 1, longs({uint32_t(strip.size())})},
            {282, 5, 1, longs({72, 1})},     {283, 5, 1, longs({72, 1})},
            {284, 3, 1, shorts({1})},        {296, 3, 1, shorts({2})},
        };
        return {withTrailingData({ifd0, exifDirectory(), ifd1}, 1, 273, strip), strip};
    }
    case ExifLayout::Thumbnail180: {
        const QByteArray thumb = smallJpeg(160, 120);
        Ifd ifd0, ifd1;
        ifd0.fields = mainFields("PENTAX Corporation", "PENTAX Optio 330");
        ifd0.fields.push_back({34665, 4, 1, longs({0}), 1});
        ifd0.next = 2;
        ifd1.fields = {
            {259, 3, 1, shorts({6})},
            text(271, "PENTAX Corporation"),
            text(272, "PENTAX Optio 330"),
            {274, 3, 1, shorts({1})},
            {282, 5, 1, longs({180, 1})},
            {283, 5, 1, longs({180, 1})},
            {296, 3, 1, shorts({2})},
            {513, 4, 1, longs({0})},
            {514, 4, 1, longs({uint32_t(thumb.size())})},
            {531, 3, 1, shorts({2})},
        };
        return {withTrailingData({ifd0, exifDirectory(), ifd1}, 1, 513, thumb), thumb};
    }
    case ExifLayout::NikonOwnHeader: {
        // A note of its own header; NEFBitDepth's value comes last and, as
        // some cameras write it, past the length the entry states.
        Ifd note;
        note.fields = {
            {1, 7, 4, QByteArray("0210")},
            {2, 3, 2, shorts({0, 200})},
            text(4, "FINE   "),
            {0x0e22, 3, 4, shorts({0, 0, 0, 0})},
        };
        QByteArray inner("II*\0", 4);
        le32(inner, 8);
        inner = layOut({note}, 0, inner);
        const QByteArray whole = QByteArray("Nikon\0\x02\x10\0\0", 10) + inner;
        Ifd ifd0, exif, gps, ifd1;
        ifd0.fields = mainFields("NIKON CORPORATION", "NIKON D300");
        ifd0.fields.push_back({34665, 4, 1, longs({0}), 1});
        ifd0.fields.push_back({34853, 4, 1, longs({0}), 2});
        ifd0.next = 3;
        exif = exifDirectory({{37500, 7, uint32_t(whole.size() - 8), whole}});
        gps.fields = {
            {0, 1, 4, QByteArray("\x02\x02\x00\x00", 4)},
            text(1, "N"),
            {2, 5, 3, longs({51, 1, 30, 1, 0, 1})},
            text(3, "E"),
            {4, 5, 3, longs({0, 1, 7, 1, 30, 1})},
        };
        const QByteArray thumb = smallJpeg(160, 120);
        ifd1.fields = {
            {259, 3, 1, shorts({6})},     {282, 5, 1, longs({300, 1})},
            {283, 5, 1, longs({300, 1})}, {296, 3, 1, shorts({2})},
            {513, 4, 1, longs({0})},      {514, 4, 1, longs({uint32_t(thumb.size())})},
        };
        return {withTrailingData({ifd0, exif, gps, ifd1}, 1, 513, thumb), thumb};
    }
    case ExifLayout::MinoltaNote: {
        // A note whose last value, a text, lies past the length its entry states.
        auto note = [](qint64 at) {
            Ifd d;
            d.fields = {
                {0x0000, 7, 4, QByteArray("MLT0")},
                {0x0040, 4, 1, longs({1234})},
                {0x0108, 2, 12, ascii("DiMAGE Z3 X")},
            };
            return layOut({d}, at);
        };
        auto build = [](const QByteArray& noteBytes) {
            Ifd ifd0;
            ifd0.fields = mainFields("Minolta Co., Ltd.", "DiMAGE Z3");
            ifd0.fields.push_back({34665, 4, 1, longs({0}), 1});
            const Ifd exif = exifDirectory(
                {{37500, 7, uint32_t(noteBytes.size() - 12), noteBytes}});
            QByteArray head("II*\0", 4);
            le32(head, 8);
            return layOut({ifd0, exif}, 0, head);
        };
        const QByteArray standIn(note(0).size(), 'N');
        const qint64 at = build(standIn).indexOf(standIn);
        return {build(note(at)), {}};
    }
    case ExifLayout::CiffStyle: {
        const QByteArray preview = smallJpeg(80, 60);
        Ifd ifd0;
        ifd0.fields = {
            text(270, "                               "),
            text(271, "Canon"),
            text(272, "Canon PowerShot A50"),
            {513, 4, 1, longs({0})},
            {514, 4, 1, longs({uint32_t(preview.size())})},
        };
        return {withTrailingData({ifd0}, 0, 513, preview), preview};
    }
    case ExifLayout::NoExifDirectory: {
        Ifd ifd0;
        ifd0.fields = mainFields("SCANMAKER", "Flatbed 1");
        ifd0.fields.push_back(text(305, "Scan Tool 2.0"));
        QByteArray head("II*\0", 4);
        le32(head, 8);
        return {layOut({ifd0}, 0, head), {}};
    }
    }
    return {};
}

QByteArray jpegSegment(int marker, const QByteArray& content) {
    QByteArray s;
    s.append(char(0xFF)).append(char(marker));
    s.append(char((content.size() + 2) >> 8)).append(char((content.size() + 2) & 0xFF));
    return s + content;
}

QByteArray withSegmentAfterStart(const QByteArray& jpeg, const QByteArray& segment) {
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray cameraExif(const CameraExif& o) {
    const bool canon = o.style == NoteStyle::HeaderRelative;
    auto build = [&](const QByteArray& note, const QByteArray& thumb) {
        Ifd ifd0, exif, ifd1;
        ifd0.fields = {
            text(271, canon ? "Canon" : "NIKON CORPORATION"),
            text(272, canon ? "Canon PowerShot S1 IS" : "NIKON D70"),
            {274, 3, 1, shorts({uint32_t(o.orientation)})},
            {282, 5, 1, longs({o.xDpi, 1})},
            {283, 5, 1, longs({o.xDpi, 1})},
            {296, 3, 1, shorts({2})},
            text(306, "2004:05:06 07:08:09"),
            {531, 3, 1, shorts({1})},
            {34665, 4, 1, longs({0}), 1},
        };
        exif.fields = {
            {33434, 5, 1, longs({1, 250})},
            {36864, 7, 4, QByteArray("0230")},
            text(36867, "2004:05:06 07:08:09"),
            {37121, 7, 4, QByteArray("\x01\x02\x03\x00", 4)},
            {37500, 7, uint32_t(note.size()), note},
            {40960, 7, 4, QByteArray("0100")},
            {40961, 3, 1, shorts({1})},
            {40962, 4, 1, longs({o.pixelWidth})},
            {40963, 4, 1, longs({o.pixelHeight})},
        };
        std::vector<Ifd> dirs{ifd0, exif};
        if (!thumb.isEmpty()) {
            ifd1.fields = {
                {259, 3, 1, shorts({6})},    {282, 5, 1, longs({72, 1})},
                {283, 5, 1, longs({72, 1})}, {296, 3, 1, shorts({2})},
                {513, 4, 1, longs({0})},     {514, 4, 1, longs({uint32_t(thumb.size())})},
            };
            dirs[0].next = 2;
            dirs.push_back(ifd1);
        }
        QByteArray out("II*\0", 4);
        le32(out, 8);
        out = layOut(dirs, 0, out);
        if (!thumb.isEmpty()) {
            // The thumbnail's bytes after everything; its entry points there.
            const qint64 thumbAt = out.size();
            out += thumb;
            const qint64 ifd1At = out.indexOf(QByteArray("\x06\x00\x03\x01\x03\x00", 6));
            patch32(out, ifd1At + 2 + 12 * 4 + 8, uint32_t(thumbAt));
        }
        return out;
    };
    QByteArray thumb;
    if (o.thumbnail) {
        QBuffer buffer(&thumb);
        buffer.open(QIODevice::WriteOnly);
        quadrantPicture(160, 120).save(&buffer, "JPEG", 70);
    }
    if (!canon)
        return build(ownHeaderNote(), thumb);
    // Lay out once with a stand-in of the note's size to learn where it goes.
    const QByteArray standIn(headerRelativeNote(0).size(), 'N');
    const QByteArray probe = build(standIn, thumb);
    const qint64 at = probe.indexOf(standIn);
    return build(headerRelativeNote(at), thumb);
}

QByteArray jpegWithBlocks(const QImage& picture, const QByteArray& exif, const QByteArray& icc,
                          const QByteArray& xmp) {
    QByteArray plain;
    QBuffer buffer(&plain);
    buffer.open(QIODevice::WriteOnly);
    QImage copy = picture;
    copy.setColorSpace(QColorSpace());
    copy.save(&buffer, "JPEG", 95);
    auto segment = [](int marker, const QByteArray& content) {
        QByteArray s;
        s.append(char(0xFF)).append(char(marker));
        s.append(char((content.size() + 2) >> 8)).append(char((content.size() + 2) & 0xFF));
        return s + content;
    };
    QByteArray blocks;
    if (!exif.isEmpty())
        blocks += segment(0xE1, QByteArray("Exif\0\0", 6) + exif);
    if (!xmp.isEmpty())
        blocks += segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + xmp);
    if (!icc.isEmpty())
        blocks += segment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + icc);
    // After SOI and the JFIF segment Qt writes.
    const qint64 jfifEnd = 2 + 2 + ((uchar(plain[4]) << 8) | uchar(plain[5]));
    return plain.left(jfifEnd) + blocks + plain.mid(jfifEnd);
}

QByteArray exifSegmentOf(const QByteArray& jpeg) {
    qint64 at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const int marker = uchar(jpeg[at + 1]);
        const qint64 length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
        if (marker == 0xDA)
            break;
        if (marker == 0xE1 && jpeg.mid(at + 4, 4) == "Exif")
            return jpeg.mid(at, 2 + length);
        at += 2 + length;
    }
    return {};
}

QImage quadrantPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, width / 2, height / 2, QColor(220, 30, 30));
    p.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(30, 200, 30));
    p.fillRect(0, height / 2, width / 2, height - height / 2, QColor(30, 30, 220));
    p.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(240, 240, 30));
    return image;
}

QByteArray displayP3Profile() {
    return QColorSpace(QColorSpace::DisplayP3).iccProfile();
}

} // namespace picbasket::test
