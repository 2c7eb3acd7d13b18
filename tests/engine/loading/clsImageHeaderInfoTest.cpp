#include "engine/loading/clsImageHeaderInfo.h"
#include "core/AppError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

QByteArray le16(uint16_t v) {
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray le32(uint32_t v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray be16(uint16_t v) {
    QByteArray b(2, '\0');
    qToBigEndian(v, b.data());
    return b;
}
QByteArray be32(uint32_t v) {
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

QByteArray gif(uint16_t w, uint16_t h, uint8_t packed) {
    return "GIF89a" + le16(w) + le16(h) + QByteArray(1, char(packed)) + QByteArray(3, '\0');
}

QByteArray bmp(int32_t w, int32_t h, uint8_t bpp) {
    return "BM" + QByteArray(16, '\0') + le32(uint32_t(w)) + le32(uint32_t(h)) + le16(1) +
           QByteArray(1, char(bpp)) + QByteArray(25, '\0');
}

struct TiffTag {
    uint16_t tag;
    uint32_t value;
};

// A little-endian TIFF with one directory; xResolution, when given, is stored as
// a rational after the directory and tag 282 points at it.
QByteArray tiff(std::vector<TiffTag> tags, uint32_t num = 0, uint32_t den = 0) {
    const uint32_t rationalAt = 8 + 2 + uint32_t(tags.size() + (num ? 1 : 0)) * 12 + 4;
    if (num)
        tags.push_back({282, rationalAt});
    QByteArray out = "II" + le16(42) + le32(8) + le16(uint16_t(tags.size()));
    for (const TiffTag& t : tags)
        out += le16(t.tag) + le16(t.tag == 282 ? 5 : 4) + le32(1) + le32(t.value);
    out += le32(0);
    if (num)
        out += le32(num) + le32(den);
    return out;
}

QByteArray jpegSegment(uint8_t marker, const QByteArray& data) {
    return QByteArray("\xFF") + char(marker) + be16(uint16_t(data.size() + 2)) + data;
}
QByteArray jfif(uint8_t units, uint16_t density) {
    return jpegSegment(0xE0, QByteArray("JFIF\0\x01\x02", 7) + char(units) + be16(density) +
                                 be16(density) + QByteArray(2, '\0'));
}
QByteArray frame(uint8_t marker, uint16_t w, uint16_t h, uint8_t components) {
    QByteArray data = QByteArray(1, 8) + be16(h) + be16(w) + char(components);
    for (int i = 0; i < components; ++i)
        data += QByteArray("\x01\x11\x00", 3);
    return jpegSegment(marker, data);
}
QByteArray jpeg(const QByteArray& segments) {
    return "\xFF\xD8" + segments + jpegSegment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6)) +
           QByteArray("\x12\x34\x56", 3) + "\xFF\xD9";
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    return be32(uint32_t(data.size())) + type + data + be32(0);
}
QByteArray ihdr(uint32_t w, uint32_t h, uint8_t depth, uint8_t colourType) {
    return pngChunk("IHDR",
                    be32(w) + be32(h) + char(depth) + char(colourType) + QByteArray(3, '\0'));
}
QByteArray phys(uint32_t perUnit, uint8_t unit) {
    return pngChunk("pHYs", be32(perUnit) + be32(perUnit) + char(unit));
}
QByteArray png(const QByteArray& chunks) {
    return "\x89PNG\r\n\x1A\n" + chunks + pngChunk("IDAT", QByteArray(8, 'x')) +
           pngChunk("IEND", {});
}

struct Expected {
    bool result;
    int32_t width, height;
    int bpp, dpi;
    bool grey;
};

class HeaderFiles : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        const QString path = dir.filePath(QString("f%1").arg(++count));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    void expectRead(const char* what, const QByteArray& bytes, const Expected& e) {
        clsImageHeaderInfo info;
        EXPECT_EQ(info.ReadJPEG_TIFF_PNG_Header(write(bytes)), e.result) << what;
        EXPECT_EQ(info.Width(), e.width) << what;
        EXPECT_EQ(info.Height(), e.height) << what;
        EXPECT_EQ(info.BitsPerPixel(), e.bpp) << what;
        EXPECT_EQ(info.dpi(), e.dpi) << what;
        EXPECT_EQ(info.IsGray(), e.grey) << what;
    }
    QTemporaryDir dir;
    int count = 0;
};

} // namespace

TEST_F(HeaderFiles, GifAndBmpHeaders) {
    struct Row {
        const char* what;
        QByteArray bytes;
        int32_t w, h;
        int bpp;
    } rows[] = {
        {"GIF packed 0xF7", gif(320, 200, 0xF7), 320, 200, 8},
        {"GIF packed 0x80", gif(1, 2, 0x80), 1, 2, 1},
        {"BMP 640 x 480 x 24", bmp(640, 480, 24), 640, 480, 24},
        {"BMP width 70000 kept whole", bmp(70000, 10, 8), 70000, 10, 8},
        {"BMP of 40000 rows", bmp(10, 40000, 1), 10, 40000, 1},
        {"top-down BMP", bmp(300, -200, 32), 300, 200, 32},
        {"neither", QByteArray("PNG and more"), 0, 0, 0},
        {"short file", QByteArray("BM"), 0, 0, 0},
    };
    for (const Row& row : rows) {
        clsImageHeaderInfo info;
        info.ReadGIF_BMP_Header(write(row.bytes));
        EXPECT_EQ(info.Width(), row.w) << row.what;
        EXPECT_EQ(info.Height(), row.h) << row.what;
        EXPECT_EQ(info.BitsPerPixel(), row.bpp) << row.what;
        EXPECT_EQ(info.dpi(), 0) << row.what;
    }
}

TEST_F(HeaderFiles, GifBmpReadLeavesDpiAndGreyAndRaisesForMissingFiles) {
    clsImageHeaderInfo info;
    ASSERT_TRUE(info.ReadJPEG_TIFF_PNG_Header(write(png(ihdr(4, 4, 8, 0) + phys(11811, 1)))));
    info.ReadGIF_BMP_Header(write(gif(7, 8, 0)));
    EXPECT_EQ(info.Width(), 7);
    EXPECT_EQ(info.dpi(), 300);
    EXPECT_TRUE(info.IsGray());
    try {
        info.ReadGIF_BMP_Header(dir.filePath("missing.gif"));
        ADD_FAILURE() << "no error for a missing file";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), err::FileNotFound);
    }
}

TEST_F(HeaderFiles, TiffHeaders) {
    const std::vector<TiffTag> size{{256, 1200}, {257, 800}};
    auto with = [&](std::vector<TiffTag> extra) {
        std::vector<TiffTag> all = size;
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    };
    expectRead("unit 2", tiff(with({{296, 2}}), 72, 1), {true, 1200, 800, 24, 72, false});
    expectRead("unit 3", tiff(with({{296, 3}}), 72, 1), {true, 1200, 800, 24, 182, false});
    expectRead("no unit", tiff(size, 72, 1), {true, 1200, 800, 24, 182, false});
    expectRead("half to even", tiff(with({{296, 2}}), 145, 2), {true, 1200, 800, 24, 72, false});
    expectRead("no resolution", tiff(size), {true, 1200, 800, 24, 0, false});
    expectRead("big width kept", tiff({{256, 40000}, {257, 50000}}),
               {true, 40000, 50000, 24, 0, false});
    expectRead("zero denominator", tiff(size, 72, 0), {false, 1200, 800, 0, 0, false});
    QByteArray bigEndian = tiff(size, 72, 1);
    bigEndian[0] = bigEndian[1] = 'M';
    expectRead("MM TIFF", bigEndian, {false, 0, 0, 0, 0, false});
    QByteArray noMagic = tiff(size);
    noMagic[2] = 0x2B;
    expectRead("not 42", noMagic, {false, 0, 0, 0, 0, false});
}

TEST_F(HeaderFiles, JpegHeaders) {
    expectRead("units 1", jpeg(jfif(1, 300) + frame(0xC0, 640, 480, 3)),
               {true, 640, 480, 24, 300, false});
    expectRead("units 2", jpeg(jfif(2, 118) + frame(0xC0, 640, 480, 3)),
               {true, 640, 480, 24, 300, false});
    expectRead("units 0 leave dpi", jpeg(jfif(0, 1) + frame(0xC0, 64, 48, 3)),
               {true, 64, 48, 24, 1, false});
    expectRead("no APP0", jpeg(frame(0xC0, 64, 48, 3)), {true, 64, 48, 24, 1, false});
    expectRead("progressive", jpeg(jfif(1, 96) + frame(0xC2, 64, 48, 3)),
               {true, 0, 0, 24, 96, false});
    expectRead("grey baseline", jpeg(frame(0xC0, 16, 8, 1)), {true, 16, 8, 24, 1, true});
    expectRead("other segments skipped",
               jpeg(jpegSegment(0xE1, QByteArray(300, 'e')) + jfif(1, 72) + frame(0xC0, 5, 6, 3)),
               {true, 5, 6, 24, 72, false});
}

TEST_F(HeaderFiles, PngHeaders) {
    struct Row {
        const char* what;
        uint8_t depth, colourType;
        int bpp;
        bool grey;
    } rows[] = {
        {"RGBA 8", 8, 6, 24, false}, {"RGB 8", 8, 2, 24, false},    {"palette 8", 8, 3, 8, false},
        {"grey 8", 8, 0, 8, true},   {"grey alpha", 8, 4, 8, true}, {"RGB 16", 16, 2, 16, false},
        {"grey 1", 1, 0, 1, false},
    };
    for (const Row& row : rows)
        expectRead(row.what, png(ihdr(30, 20, row.depth, row.colourType)),
                   {true, 30, 20, row.bpp, 0, row.grey});
    expectRead("pHYs 11811 per metre", png(ihdr(3, 2, 8, 2) + phys(11811, 1)),
               {true, 3, 2, 24, 300, false});
    expectRead("pHYs without unit", png(ihdr(3, 2, 8, 2) + phys(11811, 0)),
               {true, 3, 2, 24, 0, false});
    expectRead("other chunks skipped",
               png(pngChunk("tEXt", "Comment\0hi") + ihdr(3, 2, 8, 2) + phys(2835, 1)),
               {true, 3, 2, 24, 72, false});
    expectRead("big size kept", png(ihdr(100000, 40000, 8, 6)),
               {true, 100000, 40000, 24, 0, false});
}

TEST_F(HeaderFiles, FilesNoParserTakes) {
    clsImageHeaderInfo info;
    EXPECT_FALSE(info.ReadJPEG_TIFF_PNG_Header(dir.filePath("missing.png")));
    EXPECT_FALSE(info.ReadJPEG_TIFF_PNG_Header(write({})));
    EXPECT_FALSE(info.ReadJPEG_TIFF_PNG_Header(write("GIF89a")));
    EXPECT_FALSE(info.ReadJPEG_TIFF_PNG_Header(write("\x89PNX\r\n\x1A\n")));
}

// Headers cut short or claiming sizes the file does not hold: the parse gives up
// without reading outside the file or allocating what the file claims.
class HeaderCorrupt : public HeaderFiles {};

TEST_F(HeaderCorrupt, DamagedHeadersEndTheParse) {
    const QByteArray goodPng = png(ihdr(30, 20, 8, 2));
    expectRead("PNG cut inside IHDR", goodPng.left(20), {false, 0, 0, 0, 0, false});
    expectRead("PNG chunk longer than the file",
               "\x89PNG\r\n\x1A\n" + be32(0x7FFFFFF0) + "tEXt" + "abc", {false, 0, 0, 0, 0, false});
    expectRead("PNG IHDR too short", png(pngChunk("IHDR", be32(5))), {false, 0, 0, 0, 0, false});
    expectRead("PNG without IDAT", QByteArray("\x89PNG\r\n\x1A\n") + ihdr(3, 4, 8, 2),
               {false, 3, 4, 24, 0, false});
    expectRead("JPEG segment length 0", QByteArray("\xFF\xD8\xFF\xE0\x00\x00", 6),
               {false, 0, 0, 0, 0, false});
    expectRead("JPEG APP0 too short", jpeg(jpegSegment(0xE0, "JF")), {false, 0, 0, 0, 0, false});
    expectRead("JPEG cut after its start", QByteArray("\xFF\xD8"), {true, 0, 0, 24, 1, false});
    expectRead("TIFF directory beyond the end", "II" + le16(42) + le32(0xFFFFFFF0),
               {false, 0, 0, 0, 0, false});
    expectRead("TIFF directory count beyond the end", "II" + le16(42) + le32(8) + le16(0xFFFF),
               {true, 0, 0, 24, 0, false});
    expectRead("TIFF rational beyond the end",
               "II" + le16(42) + le32(8) + le16(1) + le16(282) + le16(5) + le32(1) +
                   le32(0x7FFFFFFF),
               {false, 0, 0, 0, 0, false});
}
