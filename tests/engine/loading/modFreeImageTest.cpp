#include "engine/loading/modFreeImage.h"
#include "core/AppError.h"

#include <FreeImage.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
    return image;
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

} // namespace

TEST(FreeImageSave, NamesGetTheFormatsExtensionWhenTheirsIsNotListed) {
    QTemporaryDir dir;
    struct Row {
        const char* name;
        int format;
        const char* written;
    } rows[] = {
        {"a.tif", FIF_TIFF, "a.tif"},
        {"a.xyz", FIF_TIFF, "a.xyz.tif"},
        {"plain", FIF_BMP, "plain.bmp"},
        {"b.TIF", FIF_TIFF, "b.TIF.tif"}, // the comparison is exact in case
        {"c.ti", FIF_TIFF, "c.ti"},       // a substring of the list counts
    };
    for (const Row& row : rows) {
        int32_t format = row.format;
        EXPECT_NE(fncSavePicture(gradient(8, 4), dir.filePath(row.name), format, 0), 0) << row.name;
        EXPECT_TRUE(QFile::exists(dir.filePath(row.written))) << row.name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5);
}

TEST(FreeImageSave, FormatFromTheNameAndUnknownFormats) {
    QTemporaryDir dir;
    int32_t format = FreeImageUnknown;
    EXPECT_NE(fncSavePicture(gradient(8, 4), dir.filePath("x.png"), format, 0), 0);
    EXPECT_EQ(format, FIF_PNG);
    format = FreeImageUnknown;
    EXPECT_EQ(fncSavePicture(gradient(8, 4), dir.filePath("x.unknown"), format, 0), 0);
    EXPECT_EQ(format, FreeImageUnknown);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.unknown")));
    EXPECT_EQ(errorOf([&] { fncSavePicture(QImage(), dir.filePath("y.bmp"), format, 0); }),
              err::ObjectNotSet);
}

TEST(FreeImageSave, TiffCompressionFlagsReachTheFile) {
    QTemporaryDir dir;
    const QImage image = gradient(64, 64);
    int32_t format = FIF_TIFF;
    ASSERT_NE(fncSavePicture(image, dir.filePath("lzw.tif"), format, TIFF_LZW), 0);
    ASSERT_NE(fncSavePicture(image, dir.filePath("none.tif"), format, TIFF_NONE), 0);
    EXPECT_LT(QFile(dir.filePath("lzw.tif")).size(), QFile(dir.filePath("none.tif")).size());
    EXPECT_TRUE(samePixels(fncLoadPicture(dir.filePath("lzw.tif")), image));
}

TEST(FreeImageLoad, RoundTripIsExactAndTheFormatIsWrittenBack) {
    QTemporaryDir dir;
    const QImage image = gradient(13, 7);
    int32_t format = FIF_BMP;
    ASSERT_NE(fncSavePicture(image, dir.filePath("g.bmp"), format, 0), 0);
    format = FreeImageUnknown;
    const QImage loaded = fncLoadPicture(dir.filePath("g.bmp"), {}, {}, false, 0, format);
    EXPECT_EQ(format, FIF_BMP);
    EXPECT_TRUE(samePixels(loaded, image));
}

TEST(FreeImageLoad, FailuresRaiseInvalidPicture) {
    QTemporaryDir dir;
    int32_t format = FIF_PNG;
    ASSERT_NE(fncSavePicture(gradient(8, 8), dir.filePath("real.png"), format, 0), 0);
    ASSERT_TRUE(QFile::copy(dir.filePath("real.png"), dir.filePath("real.noext")));
    QFile junk(dir.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("junk");
    junk.close();
    for (const char* name : {"real.noext", "junk.png", "missing.png"})
        EXPECT_EQ(errorOf([&] { fncLoadPicture(dir.filePath(name)); }), err::InvalidPicture)
            << name;
    EXPECT_TRUE(fncLoadPicture(QString()).isNull());
}

TEST(FreeImageLoad, WidthAndHeightRescale) {
    QTemporaryDir dir;
    int32_t format = FIF_PNG;
    ASSERT_NE(fncSavePicture(gradient(200, 100), dir.filePath("g.png"), format, 0), 0);
    struct Row {
        SizeArgument w, h;
        bool percent;
        QSize expected;
    } rows[] = {
        {int32_t(50), {}, false, {50, 25}}, // height derived from the aspect
        {{}, int32_t(20), false, {40, 20}}, // width derived
        {0.5, 0.25, false, {100, 25}},      // factors of the current size
        {25.0, {}, true, {50, 25}},         // a percentage
        {QString("80"), QString("10"), false, {80, 10}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(
            fncLoadPicture(dir.filePath("g.png"), row.w, row.h, row.percent, FILTER_BICUBIC, format)
                .size(),
            row.expected);
}

TEST(FreeImageBridge, PicturesKeepPaletteGreyAndAlpha) {
    QImage indexed(5, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 0), qRgba(0, 200, 0, 128)});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3));
    QImage grey(6, 2, QImage::Format_Grayscale8);
    for (int x = 0; x < 6; ++x)
        grey.setPixel(x, 0, qRgb(x * 40, x * 40, x * 40)), grey.setPixel(x, 1, qRgb(9, 9, 9));
    QImage alpha(4, 4, QImage::Format_ARGB32);
    alpha.fill(qRgba(10, 20, 30, 77));
    QImage mono(9, 2, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(8, 1, 1);
    struct Row {
        const char* what;
        QImage image;
        QImage::Format format;
    } rows[] = {
        {"palette with alpha", indexed, QImage::Format_Indexed8},
        {"grey", grey, QImage::Format_Grayscale8},
        {"alpha", alpha, QImage::Format_ARGB32},
        {"one bit", mono, QImage::Format_Mono},
        {"colour", gradient(7, 5), QImage::Format_BGR888},
    };
    for (const Row& row : rows) {
        FIBITMAP* dib = fncPictureToDib(row.image);
        ASSERT_NE(dib, nullptr) << row.what;
        const QImage back = fncDibToPicture(dib, true);
        EXPECT_EQ(back.format(), row.format) << row.what;
        // An 8-bit bitmap always carries 256 entries; the picture's own come first.
        EXPECT_EQ(back.colorTable().mid(0, row.image.colorTable().size()), row.image.colorTable())
            << row.what;
        EXPECT_TRUE(samePixels(back, row.image)) << row.what;
    }
}

TEST(FreeImageBridge, EmptyAndUnallocatablePictures) {
    EXPECT_EQ(fncPictureToDib(QImage()), nullptr);
    EXPECT_TRUE(fncDibToPicture(nullptr, true).isNull());
}

TEST(FreeImageConvert, PreparingForRescale) {
    struct Row {
        unsigned bpp, expected;
    } rows[] = {{1, 24}, {4, 8}, {8, 8}, {16, 16}, {24, 24}, {32, 32}};
    for (const Row& row : rows) {
        FIBITMAP* dib = FreeImage_Allocate(4, 4, int(row.bpp));
        FIBITMAP* out = fncConvertColorDepth(dib, 0x100, true);
        EXPECT_EQ(FreeImage_GetBPP(out), row.expected) << row.bpp;
        FreeImage_Unload(out);
    }
}

TEST(FreeImageConvert, CodesGiveTheirDepthAndKeepTheSourceWhenAsked) {
    struct Row {
        int code;
        unsigned bpp;
    } rows[] = {{1, 1}, {3, 1}, {4, 4}, {8, 8}, {9, 8}, {15, 16}, {16, 16}, {32, 32}, {7, 24}};
    for (const Row& row : rows) {
        FIBITMAP* source = fncPictureToDib(gradient(16, 16));
        FIBITMAP* out = fncConvertColorDepth(source, row.code, false);
        EXPECT_EQ(FreeImage_GetBPP(out), row.bpp) << row.code;
        EXPECT_EQ(FreeImage_GetBPP(source), 24u) << "the source stays usable";
        if (out != source)
            FreeImage_Unload(out);
        FreeImage_Unload(source);
    }
    FIBITMAP* source = fncPictureToDib(gradient(16, 16));
    FIBITMAP* few = fncConvertColorDepth(source, 8, true, 128, 0, FIQ_WUQUANT, 16);
    EXPECT_EQ(FreeImage_GetBPP(few), 8u);
    EXPECT_LE(FreeImage_GetColorsUsed(few), 256u);
    FreeImage_Unload(few);
    EXPECT_EQ(fncConvertColorDepth(nullptr, 24, true), nullptr);
}

TEST(FreeImageConvert, GreyPaletteJudgement) {
    QImage grey(4, 4, QImage::Format_Grayscale8);
    grey.fill(0);
    QImage colour(4, 4, QImage::Format_Indexed8);
    colour.setColorTable({qRgb(1, 2, 3), qRgb(9, 9, 9)});
    colour.fill(0);
    FIBITMAP* g = fncPictureToDib(grey);
    FIBITMAP* c = fncPictureToDib(colour);
    FIBITMAP* w = fncPictureToDib(gradient(4, 4));
    EXPECT_TRUE(fncIsGreyPalette(g));
    EXPECT_FALSE(fncIsGreyPalette(c));
    EXPECT_FALSE(fncIsGreyPalette(w));
    FreeImage_Unload(g);
    FreeImage_Unload(c);
    FreeImage_Unload(w);
}

TEST(FreeImageHelpers, ExtensionLists) {
    EXPECT_EQ(fncGetPrimaryExtension(FIF_TIFF), "tif");
    EXPECT_EQ(fncGetPrimaryExtension(FIF_BMP), "bmp");
    EXPECT_TRUE(fncGetExtensionList(FIF_JPEG).contains("jpeg"));
    EXPECT_TRUE(fncIsExtensionValid(FIF_TIFF, "x.tiff", Qt::CaseSensitive));
    EXPECT_FALSE(fncIsExtensionValid(FIF_TIFF, "x.TIFF", Qt::CaseSensitive));
    EXPECT_TRUE(fncIsExtensionValid(FIF_TIFF, "x.TIFF", Qt::CaseInsensitive));
    EXPECT_FALSE(fncIsExtensionValid(FIF_TIFF, "tif", Qt::CaseSensitive));
}

TEST(FreeImageSave, AFailedSaveLeavesTheExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.jpg");
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("the user's file");
    existing.close();
    // The JPEG writer takes no alpha channel, so the save fails.
    QImage alpha(8, 8, QImage::Format_ARGB32);
    alpha.fill(qRgba(1, 2, 3, 4));
    int32_t format = FIF_JPEG;
    EXPECT_EQ(fncSavePicture(alpha, path, format, 0), 0);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "the user's file");
}
