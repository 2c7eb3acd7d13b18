#include "platform/gdiplus/modGDIPlus.h"

#include <FreeImage.h>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

constexpr OleColor White = 0xFFFFFF;
const QRgb Red = qRgb(255, 0, 0);

QImage solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Colours within a small tolerance: the bicubic draw may leave a rounding step.
bool near(QRgb a, QRgb b, int tolerance = 2) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class GdiPlusFile : public ::testing::Test {
protected:
    QString write(const QImage& image, const QString& name, const char* format = nullptr) {
        const QString path = dir.filePath(name);
        if (name.endsWith(".gif"))
            return writeGif(image, path);
        QImageWriter writer(path, format);
        EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
        return path;
    }
    // Qt writes no GIF; FreeImage does.
    static QString writeGif(const QImage& image, const QString& path) {
        const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
        FIBITMAP* wide = FreeImage_Allocate(rgb.width(), rgb.height(), 24);
        for (int y = 0; y < rgb.height(); ++y)
            std::memcpy(FreeImage_GetScanLine(wide, rgb.height() - 1 - y), rgb.constScanLine(y),
                        size_t(rgb.width()) * 3);
        FIBITMAP* indexed = FreeImage_ColorQuantize(wide, FIQ_WUQUANT);
        EXPECT_TRUE(FreeImage_Save(FIF_GIF, indexed, QFile::encodeName(path).constData(), 0));
        FreeImage_Unload(indexed);
        FreeImage_Unload(wide);
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST(GdiPlusPlacement, CentredRectangles) {
    struct Row {
        const char* what;
        int iw, ih, w, h;
        QRect expected;
    } rows[] = {
        {"wide image in a square box", 300, 100, 120, 120, QRect(0, 40, 120, 40)},
        {"tall image in a wide box", 100, 300, 160, 120, QRect(60, 0, 40, 120)},
        {"equal aspect fills the box", 320, 240, 160, 120, QRect(0, 0, 160, 120)},
        // 121 wide in 160: (160 - 121) / 2 = 19.5 goes to 20, 123 gives 18.5 to 18.
        {"half to even upwards", 121, 120, 160, 120, QRect(20, 0, 121, 120)},
        {"half to even downwards", 123, 120, 160, 120, QRect(18, 0, 123, 120)},
        {"small image is enlarged", 10, 10, 50, 100, QRect(0, 25, 50, 50)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(centredDrawRect(row.iw, row.ih, row.w, row.h), row.expected) << row.what;
}

TEST(GdiPlusPlacement, FitSizeRule) {
    struct Row {
        int w, h, maxW, maxH, outW, outH;
    } rows[] = {
        {1000, 750, 160, 120, 160, 120}, {100, 50, 160, 120, 100, 50},
        {400, 400, 160, 120, 120, 120},  {400, 100, 160, 120, 160, 40},
        {160, 120, 160, 120, 160, 120},  {161, 120, 160, 120, 160, 119},
        {1000, 16, 62, 1, 62, 1},        {16, 1000, 1, 62, 1, 62},
        {200, 100, 100, 100, 100, 50},   {100, 100, 50, 50, 50, 50},
    };
    for (const auto& r : rows) {
        int32_t w = -7, h = -7;
        fitSizeInBox(r.w, r.h, r.maxW, r.maxH, w, h);
        EXPECT_EQ(w, r.outW) << r.w << "x" << r.h << " in " << r.maxW << "x" << r.maxH;
        EXPECT_EQ(h, r.outH) << r.w << "x" << r.h << " in " << r.maxW << "x" << r.maxH;
    }
}

TEST(GdiPlusPlacement, FitSizeRoundsHalvesToEven) {
    // 25 x 2 into a 5-high box: the ratio 2.5 is exact in single precision and
    // 25 x 2.5 = 62.5 becomes 62, 27 x 2.5 = 67.5 becomes 68.
    int32_t w = 0, h = 0;
    fitSizeInBox(2, 25, 1000, 10, w, h);
    EXPECT_EQ(h, 10);
    EXPECT_EQ(w, 1); // 2 x 0.4 = 0.8
    fitSizeInBox(125, 200, 1000, 100, w, h);
    EXPECT_EQ(w, 62); // 125 x 0.5 = 62.5
    fitSizeInBox(135, 200, 1000, 100, w, h);
    EXPECT_EQ(w, 68); // 135 x 0.5 = 67.5
}

TEST(GdiPlusRedraw, ModeTwoDrawsCentredOnTheBackColour) {
    const QImage picture = fncResizePictureGDIPlus(solid(300, 100, Red), 300, 100,
                                                   picturetype::Bitmap, 120, 120, 2, White, true);
    ASSERT_EQ(picture.size(), QSize(120, 120));
    EXPECT_TRUE(near(picture.pixel(60, 20), qRgb(255, 255, 255)));
    EXPECT_TRUE(near(picture.pixel(60, 39), qRgb(255, 255, 255)));
    EXPECT_TRUE(near(picture.pixel(60, 40), Red));
    EXPECT_TRUE(near(picture.pixel(60, 79), Red));
    EXPECT_TRUE(near(picture.pixel(60, 80), qRgb(255, 255, 255)));
    EXPECT_FALSE(picture.hasAlphaChannel());
}

TEST(GdiPlusRedraw, DrawFlagFalseStretchesOverTheBox) {
    const QImage picture = fncResizePictureGDIPlus(solid(300, 100, Red), 300, 100,
                                                   picturetype::Bitmap, 120, 120, 2, White, false);
    ASSERT_EQ(picture.size(), QSize(120, 120));
    EXPECT_TRUE(near(picture.pixel(0, 0), Red));
    EXPECT_TRUE(near(picture.pixel(119, 119), Red));
}

TEST(GdiPlusRedraw, ModeOneFitsFromTheGivenSourceSize) {
    const QImage picture = fncResizePictureGDIPlus(solid(400, 100, Red), 400, 100,
                                                   picturetype::Bitmap, 160, 120, 1, White, true);
    EXPECT_EQ(picture.size(), QSize(160, 40));
}

TEST(GdiPlusRedraw, TransparentPixelsShowTheBackColour) {
    QImage clear(10, 10, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QImage picture =
        fncResizePictureGDIPlus(clear, 10, 10, picturetype::Bitmap, 20, 20, 2, 0x0000FF, true);
    EXPECT_TRUE(near(picture.pixel(10, 10), Red)); // 0x0000FF is red in BGR order
}

TEST(GdiPlusRedraw, HandlesThatGiveNoPicture) {
    const QImage image = solid(10, 10, Red);
    EXPECT_TRUE(fncResizePictureGDIPlus(QImage(), 10, 10, 1, 20, 20, 2, White, true).isNull());
    EXPECT_TRUE(
        fncResizePictureGDIPlus(image, 10, 10, picturetype::Metafile, 20, 20, 2, White, true)
            .isNull());
    EXPECT_TRUE(fncResizePictureGDIPlus(image, 10, 10, picturetype::EnhancedMetafile, 20, 20, 2,
                                        White, true)
                    .isNull());
    EXPECT_TRUE(fncResizePictureGDIPlus(image, 10, 10, 5, 20, 20, 2, White, true).isNull());
    EXPECT_TRUE(fncResizePictureGDIPlus(image, 10, 10, 1, 20, 20, 0, White, true).isNull());
    // A box no bitmap can be made of is refused before anything is allocated.
    EXPECT_TRUE(fncResizePictureGDIPlus(image, 10, 10, 1, 0, 20, 2, White, true).isNull());
    EXPECT_TRUE(fncResizePictureGDIPlus(image, 10, 10, 1, -5, 20, 2, White, true).isNull());
    EXPECT_TRUE(fncResizePictureGDIPlus(image, 10, 10, 1, 65535, 65535, 2, White, true).isNull());
}

TEST_F(GdiPlusFile, EachSizeModeOfAFile) {
    const QString path = write(solid(300, 100, Red), "wide.png");
    struct Row {
        int mode;
        QSize expected;
    } rows[] = {{0, {300, 100}}, {1, {120, 40}}, {2, {120, 120}}};
    for (const Row& row : rows) {
        int32_t w = -1, h = -1;
        const QImage picture = fncLoadPictureGDIPlus(path, row.mode, 120, 120, White, true, w, h);
        EXPECT_EQ(picture.size(), row.expected) << "mode " << row.mode;
        EXPECT_EQ(w, 300);
        EXPECT_EQ(h, 100);
    }
}

TEST_F(GdiPlusFile, ReadsEveryFormatOfTheList) {
    const QImage image = solid(40, 30, qRgb(0, 128, 255));
    for (const char* format : {"bmp", "gif", "jpg", "png", "tif", "ico"}) {
        const QString path = write(image, QString("image.") + format);
        int32_t w = 0, h = 0;
        const QImage picture = fncLoadPictureGDIPlus(path, 0, -1, -1, White, true, w, h);
        ASSERT_EQ(picture.size(), QSize(40, 30)) << format;
        EXPECT_TRUE(near(picture.pixel(20, 15), qRgb(0, 128, 255), 12)) << format;
    }
}

TEST_F(GdiPlusFile, UndecodableFilesGiveNothingAndLeaveTheSize) {
    QFile junk(dir.filePath("junk.jpg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not an image at all");
    junk.close();
    QFile metafile(dir.filePath("drawing.wmf"));
    ASSERT_TRUE(metafile.open(QIODevice::WriteOnly));
    metafile.write(QByteArray::fromHex("d7cdc69a0000000000002003e80300000000"));
    metafile.close();
    for (const QString& path : {junk.fileName(), metafile.fileName(), dir.filePath("none.png")}) {
        int32_t w = 17, h = 19;
        EXPECT_TRUE(fncLoadPictureGDIPlus(path, 2, 160, 120, White, true, w, h).isNull());
        EXPECT_EQ(w, 17);
        EXPECT_EQ(h, 19);
    }
}

TEST_F(GdiPlusFile, ScaledJpegDecodeMatchesTheFullDecode) {
    // A large JPEG drawn into a thumbnail box is decoded at a reduced size; the
    // thumbnail must look the same as one drawn from the full decode.
    QImage image(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / 1600, y * 255 / 1200, (x / 100 % 2) * 200));
    const QString path = write(image, "big.jpg");
    int32_t w = 0, h = 0;
    const QImage fast = fncLoadPictureGDIPlus(path, 2, 160, 120, White, true, w, h);
    EXPECT_EQ(w, 1600);
    EXPECT_EQ(h, 1200);
    const QImage full =
        fncResizePictureGDIPlus(QImage(path), 1600, 1200, 1, 160, 120, 2, White, true);
    ASSERT_EQ(fast.size(), QSize(160, 120));
    ASSERT_EQ(full.size(), QSize(160, 120));
    int worst = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            const QRgb a = fast.pixel(x, y), b = full.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 24);
}

TEST(GdiPlusStartUp, TokenRoundTrip) {
    const GdiplusToken token = subStartGDIPlus();
    EXPECT_NE(token, 0u);
    subStopGDIPlus(token);
}
