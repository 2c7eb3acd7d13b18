#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

using namespace picbasket;

namespace {

// A photo-like picture: gradients and edges, so that every DCT block differs.
QImage photoLike(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 255, (y * 5) & 255, (x ^ y) & 255));
    QPainter(&image).fillRect(width / 3, height / 3, width / 4, height / 5, QColor(20, 200, 90));
    return image;
}

QByteArray jpegOf(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

// The JFIF header's density: unit (0 none, 1 per inch, 2 per centimetre) and both figures.
QByteArray withDensity(QByteArray jpeg, char unit, int x, int y) {
    EXPECT_EQ(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    jpeg[13] = unit;
    jpeg[14] = char(x >> 8);
    jpeg[15] = char(x & 255);
    jpeg[16] = char(y >> 8);
    jpeg[17] = char(y & 255);
    return jpeg;
}

} // namespace

// The full image a fitted view settles on is the one a plain load gives: the same
// pixels, format and resolution, whatever the JFIF header says of the density.
TEST(ImageBoxViewLoad, TheSettledImageEqualsThePlainLoad) {
    QTemporaryDir dir;
    const QByteArray base = jpegOf(photoLike(800, 600), 90);
    const struct {
        const char* name;
        char unit;
        int x, y;
    } cases[] = {{"none", 0, 1, 1}, {"per inch", 1, 300, 240}, {"per centimetre", 2, 118, 59}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".jpg");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(withDensity(base, c.unit, c.x, c.y));
        file.close();
        ImageBox plain;
        plain.LoadFromFile(path);
        ImageBox viewed;
        viewed.LoadFromFileForView(path, 100, 75);
        EXPECT_TRUE(viewed.LoadPending());
        const QImage full = viewed.image();
        EXPECT_FALSE(viewed.LoadPending());
        ASSERT_EQ(full.format(), plain.image().format());
        EXPECT_EQ(full, plain.image());
        EXPECT_EQ(full.dotsPerMeterX(), plain.image().dotsPerMeterX());
        EXPECT_EQ(full.dotsPerMeterY(), plain.image().dotsPerMeterY());
    }
}

// Entropy data damaged in the middle of a file that still ends in EOI: the view's
// full decode refuses it as the plain load does, and the box then holds no image.
TEST(ImageBoxViewLoadCorrupt, DamagedEntropyDataIsRefused) {
    QTemporaryDir dir;
    QByteArray bytes = jpegOf(photoLike(800, 600), 90);
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 400; ++i)
        bytes[i] = char(0x5A);
    const QString path = dir.filePath("damaged.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ImageBox plain;
    EXPECT_THROW(plain.LoadFromFile(path), AppError);
    ImageBox viewed;
    try {
        viewed.LoadFromFileForView(path, 100, 75);
        viewed.WaitForLoad();
    } catch (const AppError&) {
    }
    EXPECT_FALSE(viewed.HasImage());
}
