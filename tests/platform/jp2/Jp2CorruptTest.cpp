#include "Jp2TestImages.h"

#include "core/AppError.h"
#include "platform/jp2/AxImage.h"
#include "platform/jp2/Jp2StreamCheck.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace picbasket::test::jp2;

namespace {

// A small lossless file of each container, made by our own encoder.
QByteArray goodFile(const QString& folder, const char* extension) {
    AxImage control;
    control.SetBitmapHandle(patternImage(64, 48, QImage::Format_ARGB32, 21));
    control.SetCompressionRate(25);
    const QString path = folder + QStringLiteral("/good.") + extension;
    control.SaveFile(path, control.FormatFromExtension(QString::fromLatin1(extension)));
    return readFile(path);
}

// The error number a load of these bytes raises, 0 when it succeeds; the control
// must keep the image it held before a failed load.
int loadError(const QString& folder, const QByteArray& bytes, QImage* decoded = nullptr) {
    const QString path = folder + QStringLiteral("/damaged.jp2");
    writeFile(path, bytes);
    AxImage control;
    const QImage before(3, 3, QImage::Format_RGB888);
    control.SetBitmapHandle(before);
    try {
        control.LoadFile(path, AxImage::FormatJp2);
    } catch (const AppError& e) {
        EXPECT_EQ(control.GetBitmapHandle(0).size(), before.size());
        return e.number();
    }
    if (decoded)
        *decoded = control.GetBitmapHandle(0);
    return 0;
}

// Offset of the codestream's SIZ marker segment (just after SOC).
qsizetype sizOffset(const QByteArray& bytes) {
    return bytes.indexOf(QByteArray::fromHex("ff4fff51")) + 2;
}

void putBigEndian32(QByteArray& bytes, qsizetype at, quint32 value) {
    qToBigEndian(value, bytes.data() + at);
}

} // namespace

// Cutting a file anywhere, in the boxes, the main header or the tile data, is
// reported as an invalid picture and never gives a partial image.
TEST(Jp2Corrupt, TruncatedFilesRaiseInvalidPicture) {
    QTemporaryDir dir;
    for (const char* extension : {"jp2", "jpc"}) {
        const QByteArray good = goodFile(dir.path(), extension);
        ASSERT_EQ(loadError(dir.path(), good), 0) << extension;
        for (qsizetype length :
             {qsizetype(0), qsizetype(1), qsizetype(11), qsizetype(20), qsizetype(60),
              good.size() / 4, good.size() / 2, good.size() - 40, good.size() - 2, good.size() - 1})
            EXPECT_EQ(loadError(dir.path(), good.left(length)), err::InvalidPicture)
                << extension << " cut to " << length;
    }
}

// Single-bit damage anywhere either raises the invalid-picture error or decodes to
// an image (damage in coded data cannot always be seen); it never crashes.
TEST(Jp2Corrupt, BitFlipsNeverCrash) {
    QTemporaryDir dir;
    for (const char* extension : {"jp2", "jpc"}) {
        const QByteArray good = goodFile(dir.path(), extension);
        quint32 state = 12345;
        int refused = 0;
        for (int trial = 0; trial < 150; ++trial) {
            state = state * 1664525u + 1013904223u;
            QByteArray damaged = good;
            // The first trials walk the headers byte by byte, the rest hit anywhere.
            const qsizetype at =
                trial < 100 ? trial : qsizetype((state >> 8) % quint32(good.size()));
            damaged[at] = char(damaged[at] ^ (1 << (state % 8)));
            QImage decoded;
            const int error = loadError(dir.path(), damaged, &decoded);
            if (error) {
                EXPECT_EQ(error, err::InvalidPicture) << extension << " byte " << at;
                ++refused;
            } else {
                EXPECT_FALSE(decoded.isNull()) << extension << " byte " << at;
            }
        }
        EXPECT_GT(refused, 0) << extension;
    }
}

// Headers that claim what the file cannot hold are refused before decoding.
TEST(Jp2Corrupt, ImpossibleHeadersAreRefused) {
    QTemporaryDir dir;
    const QByteArray jp2 = goodFile(dir.path(), "jp2");
    const QByteArray jpc = goodFile(dir.path(), "jpc");
    const qsizetype jp2c = jp2.indexOf("jp2c") - 4;
    struct Row {
        const char* name;
        QByteArray bytes;
    };
    std::vector<Row> rows;
    rows.push_back({"not JPEG 2000 at all", QByteArray("\x89PNG\r\n\x1a\n....", 12)});
    {
        QByteArray b = jp2;
        putBigEndian32(b, jp2c, quint32(jp2.size()));
        rows.push_back({"codestream box longer than the file", b});
    }
    {
        QByteArray b = jp2;
        putBigEndian32(b, 12, 3);
        rows.push_back({"box shorter than its header", b});
    }
    {
        QByteArray b = jp2.left(jp2c);
        rows.push_back({"no codestream box", b});
    }
    rows.push_back({"two codestream boxes", jp2 + jp2.mid(jp2c)});
    {
        QByteArray b = jpc;
        const qsizetype siz = sizOffset(b);
        putBigEndian32(b, siz + 6, 0x00100000);  // Xsiz
        putBigEndian32(b, siz + 10, 0x00100000); // Ysiz
        putBigEndian32(b, siz + 22, 0x00100000); // XTsiz
        putBigEndian32(b, siz + 26, 0x00100000); // YTsiz
        rows.push_back({"a million by a million pixels", b});
    }
    {
        QByteArray b = jpc;
        b[sizOffset(b) + 40] = char(19); // first component's Ssiz: 20 bits
        rows.push_back({"20-bit samples", b});
    }
    {
        // Each announced tile costs the decoder before any is read: seconds and
        // most of a gigabyte for this small file.
        QByteArray b = jpc;
        const qsizetype siz = sizOffset(b);
        putBigEndian32(b, siz + 6, 255);  // Xsiz
        putBigEndian32(b, siz + 10, 255); // Ysiz
        putBigEndian32(b, siz + 22, 1);   // XTsiz
        putBigEndian32(b, siz + 26, 1);   // YTsiz
        rows.push_back({"a tile per pixel, 65025 tiles", b});
    }
    {
        QByteArray b = jpc;
        putBigEndian32(b, sizOffset(b) + 22, 0); // XTsiz
        rows.push_back({"tiles of no width", b});
    }
    for (const Row& row : rows)
        EXPECT_EQ(loadError(dir.path(), row.bytes), err::InvalidPicture) << row.name;
}

// What the structure check says of these bytes; empty when it passes them.
QString refusal(const QByteArray& bytes) {
    try {
        jp2::checkStreamIsWhole(bytes);
        return {};
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::InvalidPicture);
        return e.description();
    }
}

// The tile count is bounded by the structure check, before the decoder sets up a
// single tile; at the bound the count passes (the file is then refused for the
// tiles it lacks, since it holds one).
TEST(Jp2Corrupt, TileCountIsBoundedBeforeDecoding) {
    QTemporaryDir dir;
    const QByteArray jpc = goodFile(dir.path(), "jpc");
    struct Row {
        quint32 width, height, tileWidth, tileHeight, tileX, tileY;
        const char* refusedFor; // what the refusal names
        const char* what;
    } rows[] = {
        {16384, 16384, 128, 128, 0, 0, "tiles are missing", "16384 tiles of 128 x 128"},
        {16384, 16384, 128, 127, 0, 0, "16640 tiles (at most", "one row more: 16640 tiles"},
        {16384, 16384, 128, 128, 100, 100, "tiles are missing", "a tile origin in the first tile"},
        {65535, 1, 4, 1, 0, 0, "tiles are missing", "one row of 16384 tiles"},
        {65535, 1, 3, 1, 0, 0, "21845 tiles (at most", "one row of 21845 tiles"},
        {0xFFFFFFFF, 0xFFFFFFFF, 1, 1, 0, 0, "too large", "2^64 tiles on 2^64 pixels"},
        {64, 48, 64, 48, 64, 0, "cover no part", "the tile origin past the image"},
        {64, 48, 64, 0, 0, 0, "cover no part", "tiles of no height"},
    };
    for (const Row& row : rows) {
        QByteArray b = jpc;
        const qsizetype siz = sizOffset(b);
        putBigEndian32(b, siz + 6, row.width);
        putBigEndian32(b, siz + 10, row.height);
        putBigEndian32(b, siz + 22, row.tileWidth);
        putBigEndian32(b, siz + 26, row.tileHeight);
        putBigEndian32(b, siz + 30, row.tileX);
        putBigEndian32(b, siz + 34, row.tileY);
        EXPECT_TRUE(refusal(b).contains(QLatin1String(row.refusedFor)))
            << row.what << ": " << refusal(b).toStdString();
    }
    // The components count as well: every tile holds each of them. Grows the
    // segment to that many components of 8 bits.
    const auto withComponents = [&](quint32 tiles, int components) {
        QByteArray b = jpc;
        const qsizetype siz = sizOffset(b);
        const int had = qFromBigEndian<quint16>(b.constData() + siz + 38);
        putBigEndian32(b, siz + 6, tiles);
        putBigEndian32(b, siz + 10, 1);
        putBigEndian32(b, siz + 22, 1);
        putBigEndian32(b, siz + 26, 1);
        QByteArray more;
        for (int c = had; c < components; ++c)
            more += QByteArray::fromHex("070101");
        b.insert(siz + 40 + 3 * had, more);
        qToBigEndian(quint16(38 + 3 * components), b.data() + siz + 2);
        qToBigEndian(quint16(components), b.data() + siz + 38);
        return !refusal(b).contains(QLatin1String("(at most"));
    };
    EXPECT_TRUE(withComponents(16384, 4));
    EXPECT_FALSE(withComponents(16384, 5));
    EXPECT_TRUE(withComponents(64, 1024));
    EXPECT_FALSE(withComponents(64, 1025));
}

// The image size is held to the program's one limit (65535 a side, 2^28 pixels)
// from the image size segment, before the decoder allocates anything; a picture
// of one tile at the limit passes the check.
TEST(Jp2Corrupt, ImageSizeIsHeldToTheOneLimitBeforeDecoding) {
    QTemporaryDir dir;
    const QByteArray jpc = goodFile(dir.path(), "jpc");
    struct Row {
        quint32 width, height, imageX, imageY;
        bool passes;
    } rows[] = {
        {65535, 4096, 0, 0, true},      {65536, 1, 0, 0, false},     {1, 65536, 0, 0, false},
        {65535, 4097, 0, 0, false},     {16384, 16384, 0, 0, true},  {16385, 16384, 0, 0, false},
        {131088, 268, 0, 0, false},     {16, 525580, 0, 0, false},   {70000, 10, 5000, 0, true},
        {70000, 10, 4464, 0, false},    {64, 48, 64, 0, false},
    };
    for (const Row& row : rows) {
        QByteArray b = jpc;
        const qsizetype siz = sizOffset(b);
        putBigEndian32(b, siz + 6, row.width);
        putBigEndian32(b, siz + 10, row.height);
        putBigEndian32(b, siz + 14, row.imageX);
        putBigEndian32(b, siz + 18, row.imageY);
        putBigEndian32(b, siz + 22, row.width); // one tile over the whole image
        putBigEndian32(b, siz + 26, row.height);
        EXPECT_EQ(refusal(b).isEmpty(), row.passes)
            << row.width << " x " << row.height << " from " << row.imageX << ": "
            << refusal(b).toStdString();
    }
}

// Every tile a codestream announces must have a tile-part, and tile-parts must
// follow each other by their lengths to the end marker: a codestream cut inside
// its tiles (and its end marker put back) is refused, not decoded into a picture
// of mostly nothing.
TEST(Jp2Corrupt, CodestreamsLackingTilesAreRefused) {
    QTemporaryDir dir;
    AxImage control;
    control.SetBitmapHandle(patternImage(64, 48, QImage::Format_RGB888, 5));
    control.SetCompressionRate(25);
    const QString path = dir.path() + QStringLiteral("/whole.jpc");
    control.SaveFile(path, AxImage::FormatCodestream);
    QByteArray whole = readFile(path);
    const qsizetype siz = sizOffset(whole);
    putBigEndian32(whole, siz + 22, 32);
    putBigEndian32(whole, siz + 26, 24);
    // The encoder writes one tile. The check reads no coded data, so the cases
    // change the layout only: the tile size above makes four tiles, and copies of
    // the one tile-part, renumbered, stand for each.
    const qsizetype sot = whole.indexOf(QByteArray::fromHex("ff90000a"));
    ASSERT_GT(sot, 0);
    const QByteArray header = whole.left(sot);
    const QByteArray tilePart = whole.mid(sot, whole.size() - 2 - sot);
    const auto withTile = [](QByteArray part, quint16 tile, quint32 length) {
        qToBigEndian(tile, part.data() + 4);
        qToBigEndian(length, part.data() + 6);
        return part;
    };
    const quint32 n = quint32(tilePart.size());
    const QByteArray end = QByteArray::fromHex("ffd9");
    QByteArray all = header;
    for (quint16 t = 0; t < 4; ++t)
        all += withTile(tilePart, t, n);
    EXPECT_TRUE(refusal(all + end).isEmpty()) << refusal(all + end).toStdString();
    struct Row {
        QByteArray bytes;
        const char* refusedFor;
        const char* what;
    } rows[] = {
        {header + withTile(tilePart, 0, n) + end, "tiles are missing", "three tiles missing"},
        {header + withTile(tilePart, 0, n) + withTile(tilePart, 1, n) + withTile(tilePart, 1, n) +
             withTile(tilePart, 2, n) + end,
         "tiles are missing", "tile 3 missing, tile 1 twice"},
        {header + withTile(tilePart, 0, n) + withTile(tilePart, 4, n) + end, "does not have",
         "a tile the image lacks"},
        {all.left(all.size() - 5) + end, "runs past", "the last tile-part cut short"},
        {header + withTile(tilePart, 0, n + 7) + end, "runs past", "a tile-part too long"},
        {header + withTile(tilePart, 0, n - 1) + end, "cut off or misplaced",
         "a tile-part too short"},
        {header + end, "no tile", "no tile-part at all"},
        {header.left(header.size() - 4) + end, "runs past", "the main header cut short"},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(refusal(row.bytes).contains(QLatin1String(row.refusedFor)))
            << row.what << ": " << refusal(row.bytes).toStdString();
    // The last tile-part may give 0 as its length: it runs to the end marker.
    QByteArray open = header;
    for (quint16 t = 0; t < 3; ++t)
        open += withTile(tilePart, t, n);
    EXPECT_TRUE(refusal(open + withTile(tilePart, 3, 0) + end).isEmpty());
}
