#include "EditTestImages.h"

#include <QTemporaryDir>

using namespace picbasket;
using namespace picbasket::test;

namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Key = 0xFFFF00FFu;

// A 3 x 3 white stamp whose centre pixel is the key colour (magenta).
QImage keyedStamp() {
    QImage stamp = solidImage(3, 3, White, QImage::Format_ARGB32);
    stamp.setPixel(1, 1, Key);
    return stamp;
}

int countOf(const ImageBox& box, QRgb colour) {
    int n = 0;
    for (int y = 0; y < box.image().height(); ++y)
        for (int x = 0; x < box.image().width(); ++x)
            n += rgbAt(box, x, y) == colour;
    return n;
}

} // namespace

TEST(ImageMerge, StylePlacesTheStamp) {
    struct Row {
        int style;
        QRect covered; // where the stamp lands on a 9 x 7 image
    } rows[] = {{0, {3, 2, 3, 3}}, {1, {5, 1, 3, 3}}, {2, {0, 0, 9, 7}}, {3, {0, 0, 9, 7}}};
    for (const Row& row : rows) {
        ImageBox box;
        box.setImage(solidImage(9, 7, Black));
        box.setMergeStyle(row.style);
        box.setMergeX(5);
        box.setMergeY(1);
        box.MergeBitmap(solidImage(3, 3, White));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x)
                EXPECT_EQ(rgbAt(box, x, y), row.covered.contains(x, y) ? White : Black)
                    << "style " << row.style << " at " << x << "," << y;
    }
}

TEST(ImageMerge, TransparentColourIsSkippedInEveryStyle) {
    for (int style : {0, 1, 2}) {
        ImageBox box;
        box.setImage(solidImage(9, 9, Black));
        box.setMergeStyle(style);
        box.setMergeTransparent(true);
        box.setMergeTransparentColor(rgbOle(255, 0, 255));
        box.MergeBitmap(keyedStamp());
        EXPECT_EQ(countOf(box, Key), 0) << style;
        EXPECT_GT(countOf(box, Black), 0) << style;
    }
    ImageBox box;
    box.setImage(solidImage(9, 9, Black));
    box.setMergeStyle(1);
    box.MergeBitmap(keyedStamp());
    EXPECT_EQ(rgbAt(box, 1, 1), Key) << "without MergeTransparent the key colour is stamped";
}

TEST(ImageMerge, TransparencyBlendsAndItsOwnAlphaIsRespected) {
    ImageBox box;
    box.setImage(solidImage(4, 4, Black));
    box.setMergeStyle(1);
    box.setMergeTransparency(50);
    box.MergeBitmap(solidImage(2, 2, White));
    EXPECT_NEAR(qRed(box.image().pixel(0, 0)), 128, 1);
    EXPECT_EQ(rgbAt(box, 3, 3), Black);

    box.setImage(solidImage(4, 4, Black));
    box.setMergeTransparency(100);
    box.MergeBitmap(solidImage(2, 2, White));
    EXPECT_EQ(rgbAt(box, 0, 0), Black);

    QImage halfClear(2, 1, QImage::Format_ARGB32);
    halfClear.setPixel(0, 0, qRgba(255, 255, 255, 0));
    halfClear.setPixel(1, 0, qRgba(255, 255, 255, 128));
    box.setImage(solidImage(4, 4, Black));
    box.setMergeTransparency(0);
    box.MergeBitmap(halfClear);
    EXPECT_EQ(rgbAt(box, 0, 0), Black);
    EXPECT_NEAR(qRed(box.image().pixel(1, 0)), 128, 1);
}

TEST(ImageMerge, StretchedStampWithTransparentColourLeavesTheKeyAreaAlone) {
    QImage stamp = solidImage(2, 2, Key, QImage::Format_ARGB32);
    stamp.setPixel(0, 0, White);
    ImageBox box;
    box.setImage(solidImage(20, 20, Black));
    box.setMergeStyle(3);
    box.setMergeTransparent(true);
    box.setMergeTransparentColor(rgbOle(255, 0, 255));
    box.MergeBitmap(stamp);
    EXPECT_EQ(rgbAt(box, 2, 2), White);
    EXPECT_EQ(rgbAt(box, 17, 17), Black);
    EXPECT_EQ(countOf(box, Key), 0);
}

TEST(ImageMerge, StampPlacedFarOutsideChangesNothing) {
    ImageBox box;
    const QImage original = solidImage(6, 6, Black);
    box.setImage(original);
    box.setMergeStyle(1);
    for (QPoint at : {QPoint(2147483600, 0), QPoint(0, -2147483600), QPoint(-2147483647, 2147483647)}) {
        box.setMergeX(at.x());
        box.setMergeY(at.y());
        box.MergeBitmap(solidImage(100, 100, White));
        EXPECT_EQ(countOf(box, White), 0) << at.x() << "," << at.y();
    }
    box.setMergeX(-98);
    box.setMergeY(-99);
    box.MergeBitmap(solidImage(100, 100, White));
    EXPECT_EQ(countOf(box, White), 2);
}

TEST(ImageMerge, PropertiesReadBackAndBadValuesAreRefused) {
    ImageBox box;
    box.setMergeTransparentColor(0x80000005u);
    EXPECT_EQ(box.MergeTransparentColor(), 0x80000005u);
    box.setMergeTransparency(37.5);
    EXPECT_EQ(box.MergeTransparency(), 37.5);
    EXPECT_THROW(box.setMergeTransparency(101), AppError);
    EXPECT_THROW(box.setMergeStyle(4), AppError);
    EXPECT_EQ(box.MergeTransparency(), 37.5);
    box.setImage(solidImage(4, 4, Black));
    expectRefused(box, [&] { box.MergeBitmap(QImage()); });
}

TEST(ImageMerge, UnreadableFileRaisesAndChangesNothing) {
    QTemporaryDir dir;
    const QString junk = dir.filePath("junk.png");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not an image");
    f.close();
    ImageBox box;
    box.setImage(solidImage(4, 4, Black));
    for (const QString& path : {junk, dir.filePath("missing.png")}) {
        const QImage before = box.image();
        EXPECT_THROW(box.MergeFile(path), AppError) << path.toStdString();
        EXPECT_EQ(box.image(), before);
    }
}

TEST(ImageMerge, FileIsStampedLikeABitmap) {
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.png");
    ASSERT_TRUE(solidImage(2, 2, White).save(path));
    ImageBox box;
    box.setImage(solidImage(6, 6, Black));
    box.setMergeStyle(0);
    box.MergeFile(path);
    EXPECT_EQ(rgbAt(box, 2, 2), White);
    EXPECT_EQ(rgbAt(box, 3, 3), White);
    EXPECT_EQ(rgbAt(box, 0, 0), Black);
}
