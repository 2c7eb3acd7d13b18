#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/LoadRoutes.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/PcxWriter.h"
#include "tests/common/TestSupport.h"

#include <FreeImage.h>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

constexpr OleColor White = 0xFFFFFF;
const QRgb Blue = qRgb(20, 40, 220);

QImage solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

bool near(QRgb a, QRgb b, int tolerance = 6) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// A 300 x 100 picture in a 120 x 120 box: white above and below, the image between.
void expectCentredInBox(const QImage& picture, QRgb colour) {
    ASSERT_EQ(picture.size(), QSize(120, 120));
    EXPECT_TRUE(near(picture.pixel(60, 10), qRgb(255, 255, 255)));
    EXPECT_TRUE(near(picture.pixel(60, 60), colour));
    EXPECT_TRUE(near(picture.pixel(60, 110), qRgb(255, 255, 255)));
}

class LoadPicFiles : public ::testing::Test {
protected:
    QString writeBytes(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString writeImage(const QString& name, const QImage& image, const char* format) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    QString writeFreeImage(const QString& name, const QImage& image, int fif) {
        return writeBytes(name, imagebox::encodeWithFreeImage(image, fif, 0));
    }
    // A grey map that begins with a comment line: DevIL reads it, while FreeImage's
    // content probe expects the "P5" at the very start.
    QString writeCommentedPgm(const QString& name, int w, int h, uchar grey) {
        QByteArray bytes = QString("# made by the test\nP5\n%1 %2\n255\n").arg(w).arg(h).toLatin1();
        bytes.append(QByteArray(w * h, char(grey)));
        return writeBytes(name, bytes);
    }
    QTemporaryDir dir;
    test::ErrorRecorder errors;
    test::MessageRecorder messages;
};

} // namespace

TEST(LoadPicRouting, ContentAndExtensionChooseTheDecoder) {
    struct Row {
        int fif;
        const char* ext;
        LoadRoute route;
    } rows[] = {
        {FIF_JPEG, "jpg", LoadRoute::GdiPlus},     {FIF_TIFF, "tiff", LoadRoute::GdiPlus},
        {FIF_PNG, "bmp", LoadRoute::GdiPlus},      {FIF_PCX, "pcx", LoadRoute::FreeImage},
        {FIF_PSD, "psd", LoadRoute::FreeImage},    {FIF_TARGA, "tga", LoadRoute::FreeImage},
        {FIF_PGMRAW, "pgm", LoadRoute::FreeImage}, {FIF_JP2, "jp2", LoadRoute::Jpeg2000},
        {FIF_PNG, "xyz", LoadRoute::FreeImage},    {FIF_UNKNOWN, "pgm", LoadRoute::DevIL},
        {FIF_UNKNOWN, "psp", LoadRoute::DevIL},    {FIF_UNKNOWN, "mng", LoadRoute::DevIL},
        {FIF_UNKNOWN, "jp2", LoadRoute::Jpeg2000}, {FIF_UNKNOWN, "j2k", LoadRoute::Jpeg2000},
        {FIF_UNKNOWN, "jpc", LoadRoute::Jpeg2000}, {FIF_UNKNOWN, "wmf", LoadRoute::GdiPlus},
        {FIF_UNKNOWN, "emf", LoadRoute::GdiPlus},  {FIF_UNKNOWN, "jpg", LoadRoute::Nothing},
        {FIF_UNKNOWN, "xyz", LoadRoute::Nothing},  {FIF_UNKNOWN, "", LoadRoute::Nothing},
    };
    for (const Row& row : rows)
        EXPECT_EQ(chooseLoadRoute(row.fif, row.ext), row.route) << row.fif << " " << row.ext;
}

TEST(LoadPicRouting, TemporaryBitmapLivesInThePrivateFolder) {
    EXPECT_TRUE(temporaryBitmapPath().endsWith("/4546643.bmp"));
}

TEST(LoadPicFit, FitSizeCases) {
    struct Row {
        int w, h, maxW, maxH, outW, outH;
    } rows[] = {{1000, 750, 160, 120, 160, 120},
                {100, 50, 160, 120, 100, 50},
                {400, 400, 160, 120, 120, 120},
                {400, 100, 160, 120, 160, 40}};
    for (const auto& r : rows) {
        int32_t w = 0, h = 0;
        subGetFitSize(r.w, r.h, r.maxW, r.maxH, w, h);
        EXPECT_EQ(QSize(w, h), QSize(r.outW, r.outH)) << r.w << "x" << r.h;
    }
}

TEST(LoadPicFit, ResizePictureDrawsIntoTheBox) {
    const QImage picture = fncResizePicture(solid(300, 100, Blue), 2, 120, 120, White);
    expectCentredInBox(picture, Blue);
    EXPECT_EQ(fncResizePicture(solid(300, 100, Blue), 1, 120, 120, White).size(), QSize(120, 40));
}

TEST_F(LoadPicFiles, JpegLoadsThroughGdiPlusInEachSizeMode) {
    const QString path = writeImage("photo.jpg", solid(300, 100, Blue), "JPEG");
    int32_t w = -1, h = -1;
    EXPECT_EQ(LoadPic(path, 0, -1, -1, White, w, h).size(), QSize(300, 100));
    EXPECT_EQ(QSize(w, h), QSize(300, 100));
    expectCentredInBox(LoadPic(path, 2, 120, 120, White, w, h), Blue);
    EXPECT_EQ(LoadPic(path, 1, 120, 120, White, w, h).size(), QSize(120, 40));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(LoadPicFiles, JpegThatGdiPlusRefusesLoadsThroughFreeImage) {
    // GDI+ here refuses images above its allocation limit; FreeImage has none.
    const QString path = writeImage("large.jpg", solid(1200, 400, Blue), "JPEG");
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    int32_t w = -1, h = -1;
    const QImage gdi = fncLoadPictureGDIPlus(path, 0, -1, -1, White, true, w, h);
    const QImage picture = LoadPic(path, 2, 120, 120, White, w, h);
    QImageReader::setAllocationLimit(limit);
    EXPECT_TRUE(gdi.isNull());
    ASSERT_EQ(picture.size(), QSize(120, 120));
    EXPECT_TRUE(near(picture.pixel(60, 60), Blue));
    EXPECT_EQ(QSize(w, h), QSize(1200, 400));
}

TEST_F(LoadPicFiles, PcxAndPsdLoadThroughFreeImageIntoTheBox) {
    const QString pcx = writeBytes("picture.pcx", imagebox::writePcx(solid(300, 100, Blue)));
    const QString psd = writeFreeImage("layers.psd", solid(300, 100, Blue), FIF_PSD);
    for (const QString& path : {pcx, psd}) {
        int32_t w = -1, h = -1;
        expectCentredInBox(LoadPic(path, 2, 120, 120, White, w, h), Blue);
        // The FreeImage route reports the image's size like every other route.
        EXPECT_EQ(QSize(w, h), QSize(300, 100)) << path.toStdString();
        EXPECT_EQ(LoadPic(path, 0, -1, -1, White, w, h).size(), QSize(300, 100));
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(LoadPicFiles, PgmFreeImageDoesNotKnowLoadsThroughDevIL) {
    const QString path = writeCommentedPgm("scan.pgm", 30, 10, 90);
    ASSERT_EQ(FreeImage_GetFileType(QFile::encodeName(path).constData(), 0), FIF_UNKNOWN);
    int32_t w = -1, h = -1;
    const QImage picture = LoadPic(path, 2, 120, 120, White, w, h);
    ASSERT_EQ(picture.size(), QSize(120, 120));
    EXPECT_TRUE(near(picture.pixel(60, 60), qRgb(90, 90, 90)));
    EXPECT_TRUE(near(picture.pixel(60, 5), qRgb(255, 255, 255)));
    EXPECT_EQ(QSize(w, h), QSize(30, 10));
    EXPECT_FALSE(QFile::exists(temporaryBitmapPath()));
}

TEST_F(LoadPicFiles, DevILFailureGivesNothingSilently) {
    const QString path = writeBytes("broken.pgm", "# only a comment\n");
    int32_t w = 3, h = 4;
    EXPECT_TRUE(LoadPic(path, 2, 120, 120, White, w, h).isNull());
    EXPECT_EQ(QSize(w, h), QSize(3, 4));
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_FALSE(QFile::exists(temporaryBitmapPath()));
}

TEST_F(LoadPicFiles, StaleTemporaryBitmapDoesNotBlockTheDevILRoute) {
    // A bitmap left by a crashed run must not make DevIL's save fail.
    QFile stale(temporaryBitmapPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("stale");
    stale.close();
    int32_t w = 0, h = 0;
    EXPECT_EQ(LoadPic(writeCommentedPgm("a.pgm", 8, 8, 10), 0, -1, -1, White, w, h).size(),
              QSize(8, 8));
    EXPECT_FALSE(QFile::exists(temporaryBitmapPath()));
}

TEST_F(LoadPicFiles, Jpeg2000RouteDecodesThroughTheControl) {
    const QString path = dir.filePath("scan.jp2");
    AxImage control;
    subSaveJPEG2000(control, solid(300, 100, Blue), path, 25);
    int32_t w = -1, h = -1;
    const QImage full = loadThroughJpeg2000(control, path, "jp2", 0, -1, -1, White, w, h);
    EXPECT_EQ(full.size(), QSize(300, 100));
    EXPECT_EQ(QSize(w, h), QSize(300, 100));
    w = h = -1;
    expectCentredInBox(loadThroughJpeg2000(control, path, "jp2", 2, 120, 120, White, w, h), Blue);
    EXPECT_EQ(QSize(w, h), QSize(300, 100));
    EXPECT_FALSE(QFile::exists(temporaryBitmapPath()));
}

TEST_F(LoadPicFiles, FilesNoDecoderTakesGiveNothingSilently) {
    const QByteArray png = imagebox::encodeWithFreeImage(solid(10, 10, Blue), FIF_PNG, 0);
    const QString paths[] = {
        writeBytes("notes.xyz", "plain text, no image"),        // unknown content and name
        writeBytes("picture.png.xyz", png),                     // known content, unknown name
        writeBytes("drawing.wmf", "\xD7\xCD\xC6\x9A metafile"), // a metafile cut in its header
        writeBytes("empty.jpg", ""),
        dir.filePath("missing.jpg"),
    };
    for (const QString& path : paths) {
        int32_t w = 5, h = 6;
        EXPECT_TRUE(LoadPic(path, 2, 160, 120, White, w, h).isNull()) << path.toStdString();
        EXPECT_EQ(QSize(w, h), QSize(5, 6));
    }
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(messages.shown().empty());
}

// Damaged files on the FreeImage route, also run under the sanitizers.
class LoadPicCorrupt : public LoadPicFiles {};

TEST_F(LoadPicCorrupt, DamagedFreeImageFilesGiveNothing) {
    QByteArray pcx = imagebox::writePcx(solid(300, 100, Blue));
    QByteArray psd = imagebox::encodeWithFreeImage(solid(300, 100, Blue), FIF_PSD, 0);
    const QString paths[] = {
        writeBytes("short.pcx", pcx.left(200)),
        writeBytes("short.psd", psd.left(40)),
        writeBytes("huge.pcx", pcx.left(8) + QByteArray("\xFF\xFF\xFF\xFF", 4) + pcx.mid(12)),
    };
    for (const QString& path : paths) {
        int32_t w = 0, h = 0;
        EXPECT_TRUE(LoadPic(path, 2, 120, 120, White, w, h).isNull()) << path.toStdString();
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(LoadPicCorrupt, PortableMapsCutShortNeverReachDevIL) {
    // Each of these made DevIL hang or free memory twice.
    const QByteArray rows[] = {
        "# only a comment\n",
        "# c",
        QByteArray("# c\nP5\n4 2\n255\n\x01", 16),
        QByteArray("# x\nP6\n2 2\n255\n\x01\x02", 17),
        QByteArray("# x\nP4\n16 2\n\x01", 13),
        " P2\n4 2\n255\n1 2 3",
        " P1\n4 2\n1 0",
        "# x\nP5\n0 2\n255\n",
        "# x\nP5\n99999999999 2\n255\n",
        "# x\nP5\n4 2\n0\n\x01\x02\x03\x04\x05\x06\x07\x08",
    };
    int n = 0;
    for (const QByteArray& bytes : rows) {
        const QString path = writeBytes(QString("cut%1.pgm").arg(++n), bytes);
        int32_t w = 0, h = 0;
        EXPECT_TRUE(LoadPic(path, 0, -1, -1, White, w, h).isNull()) << bytes.toStdString();
    }
    // The same kinds, whole, load.
    const QByteArray whole[] = {
        QByteArray("# c\nP5\n4 2\n255\n\x01\x02\x03\x04\x05\x06\x07\x08", 23),
        QByteArray("# x\nP4\n16 2\n\x01\x02\x03\x04", 16),
        " P2\n4 2\n255\n1 2 3 4 5 6 7 8\n",
    };
    for (const QByteArray& bytes : whole) {
        const QString path = writeBytes(QString("whole%1.pgm").arg(++n), bytes);
        int32_t w = 0, h = 0;
        EXPECT_FALSE(LoadPic(path, 0, -1, -1, White, w, h).isNull()) << bytes.toStdString();
    }
    EXPECT_TRUE(errors.reports().empty());
}
