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

// The tile count is bounded by the structure check, before the decoder sets up a
// single tile; at the bound the check still passes.
TEST(Jp2Corrupt, TileCountIsBoundedBeforeDecoding) {
    QTemporaryDir dir;
    const QByteArray jpc = goodFile(dir.path(), "jpc");
    struct Row {
        quint32 width, height, tileWidth, tileHeight, tileX, tileY;
        bool passes;
        const char* what;
    } rows[] = {
        {16384, 16384, 128, 128, 0, 0, true, "16384 tiles of 128 x 128"},
        {16385, 16384, 128, 128, 0, 0, false, "one column more: 16512 tiles"},
        {16384, 16384, 128, 128, 100, 100, true, "a tile origin inside the first tile"},
        {0x00100000, 1, 64, 1, 0, 0, true, "one row of 16384 tiles"},
        {0xFFFFFFFF, 0xFFFFFFFF, 1, 1, 0, 0, false, "2^64 tiles"},
        {64, 48, 64, 48, 64, 0, false, "the tile origin past the image"},
        {64, 48, 64, 0, 0, 0, false, "tiles of no height"},
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
        bool passed = true;
        try {
            jp2::checkStreamIsWhole(b);
        } catch (const AppError& e) {
            passed = false;
            EXPECT_EQ(e.number(), err::InvalidPicture) << row.what;
        }
        EXPECT_EQ(passed, row.passes) << row.what;
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
        try {
            jp2::checkStreamIsWhole(b);
            return true;
        } catch (const AppError&) {
            return false;
        }
    };
    EXPECT_TRUE(withComponents(16384, 4));
    EXPECT_FALSE(withComponents(16384, 5));
    EXPECT_TRUE(withComponents(64, 1024));
    EXPECT_FALSE(withComponents(64, 1025));
}
