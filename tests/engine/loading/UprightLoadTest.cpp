#include "core/OleColor.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/platform/metadata/CameraFixtures.h"
#include "tests/platform/metadata/Exiftool.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The colour at the centre of each quadrant, as a short text to compare.
QString quadrants(const QImage& image) {
    QStringList parts;
    const int w = image.width(), h = image.height();
    for (const QPoint& p : {QPoint(w / 4, h / 4), QPoint(3 * w / 4, h / 4),
                            QPoint(w / 4, 3 * h / 4), QPoint(3 * w / 4, 3 * h / 4)}) {
        const QColor c = image.pixelColor(p);
        // Each quadrant is one of four clearly different colours.
        parts << QString("%1%2%3").arg(c.red() > 128).arg(c.green() > 128).arg(c.blue() > 128);
    }
    return QString("%1x%2 ").arg(w).arg(h) + parts.join(' ');
}

// The upright picture as ImageMagick turns it, the oracle.
QImage orientedByOracle(const QString& path, const QString& out) {
    QProcess p;
    p.start("convert", {path, "-auto-orient", out});
    p.waitForFinished(60000);
    return QImage(out);
}

// The eight Orientation values give the same upright picture through the
// image box and through the load entry, its thumbnails included.
TEST(UprightLoad, EveryOrientationIsTurnedUprightOnEveryRoute) {
    if (QStandardPaths::findExecutable("convert").isEmpty() || !test::haveExiftool())
        GTEST_SKIP() << "ImageMagick's convert or exiftool is not installed";
    QTemporaryDir dir;
    const QImage stored = test::quadrantPicture(64, 48);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        test::CameraExif o;
        o.orientation = orientation;
        const QString path = dir.filePath(QString("o%1.jpg").arg(orientation));
        writeBytes(path, test::jpegWithBlocks(stored, test::cameraExif(o)));
        const QString expected =
            quadrants(orientedByOracle(path, dir.filePath(QString("o%1.png").arg(orientation))));
        const bool swapped = orientation >= 5;
        EXPECT_EQ(expected.left(5), swapped ? "48x64" : "64x48") << orientation;

        ImageBox box;
        box.LoadFromFile(path);
        EXPECT_EQ(quadrants(box.Picture()), expected) << "box, " << orientation;
        // What the box writes is the upright picture, and says so.
        const QString saved = dir.filePath(QString("saved%1.jpg").arg(orientation));
        box.SaveToFile(saved);
        EXPECT_EQ(test::tag(saved, "Orientation"), "1") << orientation;
        ImageBox reloaded;
        reloaded.LoadFromFile(saved);
        EXPECT_EQ(quadrants(reloaded.Picture()), expected) << "saved, " << orientation;

        int32_t w = 0, h = 0;
        const QImage loaded = LoadPic(path, sizemode::Original, -1, -1, OleColor(0xFFFFFF), w, h);
        EXPECT_EQ(quadrants(loaded), expected) << "LoadPic, " << orientation;
        EXPECT_EQ(QSize(w, h), loaded.size()) << orientation;

        // A thumbnail box keeps the upright shape: taller than wide when turned.
        const QImage thumb = LoadPic(path, sizemode::Box, 32, 32, OleColor(0xFFFFFF), w, h);
        ASSERT_FALSE(thumb.isNull()) << orientation;
        EXPECT_EQ(QSize(w, h), loaded.size()) << "thumbnail, " << orientation;
    }
}

// A TIFF page's Orientation is its stored pixels' too.
TEST(UprightLoad, TiffOrientationIsAppliedOnce) {
    if (QStandardPaths::findExecutable("convert").isEmpty() || !test::haveExiftool())
        GTEST_SKIP() << "ImageMagick's convert or exiftool is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("turned.tif");
    ImageBox writer;
    writer.setImage(test::quadrantPicture(64, 48));
    writer.SaveToFile(path);
    test::exiftool({"-overwrite_original", "-n", "-Orientation=6", path});
    const QString expected = quadrants(orientedByOracle(path, dir.filePath("turned.png")));
    ImageBox box;
    box.LoadFromFile(path);
    EXPECT_EQ(quadrants(box.Picture()), expected);
    int32_t w = 0, h = 0;
    EXPECT_EQ(quadrants(LoadPic(path, sizemode::Original, -1, -1, OleColor(0xFFFFFF), w, h)),
              expected);
}

} // namespace
} // namespace picbasket
