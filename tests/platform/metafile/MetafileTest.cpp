#include "platform/metafile/Metafile.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "tests/platform/metafile/MetafileFixtures.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace metafixture;

namespace {

constexpr OleColor White = 0xFFFFFF;

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

bool dark(QRgb p) {
    return qGray(p) < 128;
}

int darkPixels(const QImage& picture, const QRect& drawn, const QRectF& part) {
    const QRect box(int(drawn.x() + part.x() * drawn.width()),
                    int(drawn.y() + part.y() * drawn.height()), int(part.width() * drawn.width()),
                    int(part.height() * drawn.height()));
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            count += dark(picture.pixel(x, y));
    return count;
}

// Checks every probe of the scene where the drawing landed on the picture, and that
// the text line is drawn where it belongs and nowhere else.
// White probes are where the scene draws nothing, so the back colour shows.
void expectScene(const QImage& picture, const QRect& drawn, const std::string& what,
                 QRgb background = qRgb(255, 255, 255)) {
    ASSERT_FALSE(picture.isNull()) << what;
    for (const Probe& probe : sceneProbes()) {
        const int x = int(drawn.x() + probe.fx * drawn.width());
        const int y = int(drawn.y() + probe.fy * drawn.height());
        const QRgb expected = probe.colour == qRgb(255, 255, 255) ? background : probe.colour;
        EXPECT_TRUE(near(picture.pixel(x, y), expected, 40))
            << what << ": " << probe.what << " at " << x << "," << y << " is " << std::hex
            << picture.pixel(x, y);
    }
    EXPECT_GT(darkPixels(picture, drawn, sceneTextBox()), 20) << what << ": the text";
    EXPECT_EQ(darkPixels(picture, drawn, sceneEmptyBox()), 0) << what << ": right of the text";
}

class MetafileFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QTemporaryDir dir;
};

struct SceneFile {
    const char* name;
    QByteArray bytes;
};

std::vector<SceneFile> sceneFiles() {
    return {{"placeable.wmf", wmfScene(true)},
            {"bare.wmf", wmfScene(false)},
            {"scene.emf", emfScene()}};
}

} // namespace

TEST(MetafileHeader, PlaceableHeaderBytes) {
    // Key, handle, box 0, 0, 300, 200, 1440 units per inch, reserved and checksum.
    EXPECT_EQ(subMakeWmfHeader(300, 200).toHex().toStdString(),
              "d7cdc69a0000000000002c01c800a005000000000000");
}

TEST(MetafileHeader, SizeAtNinetySixPixelsPerInch) {
    struct Row {
        const char* what;
        QByteArray bytes;
        QSize size;
    } rows[] = {
        {"placeable, 1440 per inch", wmfScene(true), {192, 96}},
        {"placeable, 576 per inch", WmfWriter().file(true, QRect(0, 0, 576, 288), 576), {96, 48}},
        {"no placeable header: window extent in twips", wmfScene(false), {192, 96}},
        {"enhanced: frame in 0.01 mm", emfScene(), {192, 96}},
    };
    for (const Row& row : rows) {
        const auto metafile = Metafile::fromBytes(row.bytes);
        ASSERT_TRUE(metafile) << row.what;
        EXPECT_EQ(metafile->size(), row.size) << row.what;
    }
}

TEST(MetafileHeader, NotMetafiles) {
    // A Windows metafile without a placeable header and without a window extent has
    // no size to be drawn at.
    const QByteArray noExtent = WmfWriter().record(0x041B, {10, 10, 0, 0}).file(false);
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("GIF89a plain"), noExtent, wmfScene(true).left(22)})
        EXPECT_FALSE(Metafile::fromBytes(bytes)) << bytes.toHex().left(40).toStdString();
}

TEST_F(MetafileFiles, EachSizeModeDrawsTheScene) {
    for (const SceneFile& scene : sceneFiles()) {
        const QString path = write(scene.name, scene.bytes);
        struct Row {
            int mode;
            QSize size;
            QRect drawn;
        } rows[] = {{0, {192, 96}, {0, 0, 192, 96}},
                    {1, {120, 60}, {0, 0, 120, 60}},
                    {2, {160, 120}, {0, 20, 160, 80}}};
        for (const Row& row : rows) {
            int32_t w = -1, h = -1;
            const QImage picture = fncLoadPictureGDIPlus(path, row.mode, row.mode == 1 ? 120 : 160,
                                                         120, White, true, w, h);
            const std::string what = std::string(scene.name) + " mode " + std::to_string(row.mode);
            ASSERT_EQ(picture.size(), row.size) << what;
            EXPECT_EQ(QSize(w, h), QSize(192, 96)) << what;
            expectScene(picture, row.drawn, what);
        }
    }
}

TEST_F(MetafileFiles, ThumbnailKeepsTheAspectOnTheBackColour) {
    const QString path = write("scene.wmf", wmfScene(true));
    int32_t w = 0, h = 0;
    const QImage thumb = fncLoadPictureGDIPlus(path, 2, 160, 120, 0xC0FFFF, true, w, h);
    ASSERT_EQ(thumb.size(), QSize(160, 120));
    // 2 : 1 in 160 x 120 is 160 x 80 at y = 20; the bands above and below, and what
    // the drawing leaves empty, show the back colour (light yellow).
    const QRgb back = qRgb(255, 255, 0xC0);
    for (int x : {0, 80, 159}) {
        EXPECT_EQ(thumb.pixel(x, 5), back);
        EXPECT_EQ(thumb.pixel(x, 115), back);
    }
    expectScene(thumb, QRect(0, 20, 160, 80), "thumbnail", back);
}

TEST_F(MetafileFiles, LargeDrawIsSharpNotAnUpscaledBitmap) {
    // Drawn at 8 times its size, the rectangle's edge is still one pixel wide.
    const QString path = write("scene.emf", emfScene());
    int32_t w = 0, h = 0;
    const QImage big = fncLoadPictureGDIPlus(path, 2, 1536, 768, White, true, w, h);
    ASSERT_EQ(big.size(), QSize(1536, 768));
    // The rectangle ends at x = 512; a scaled bitmap would blur the edge over ~8 pixels.
    EXPECT_TRUE(near(big.pixel(510, 20), qRgb(255, 0, 0), 10));
    EXPECT_TRUE(near(big.pixel(514, 20), qRgb(255, 255, 255), 10));
}

TEST(MetafileRedraw, HandlesOfBothKindsAtARequestedSize) {
    // A Windows-metafile handle holds its records without a placeable header.
    const auto windows = Metafile::fromBytes(wmfScene(false));
    const auto enhanced = Metafile::fromBytes(emfScene());
    ASSERT_TRUE(windows && enhanced);
    struct Row {
        const char* what;
        const Metafile& handle;
        int type;
    } rows[] = {{"Windows metafile", *windows, picturetype::Metafile},
                {"enhanced metafile", *enhanced, picturetype::EnhancedMetafile}};
    for (const Row& row : rows) {
        const QImage boxed =
            fncResizePictureGDIPlus(row.handle, 192, 96, row.type, 120, 120, 2, White, true);
        ASSERT_EQ(boxed.size(), QSize(120, 120)) << row.what;
        expectScene(boxed, QRect(0, 30, 120, 60), row.what);
        const QImage fitted =
            fncResizePictureGDIPlus(row.handle, 192, 96, row.type, 96, 96, 1, White, true);
        EXPECT_EQ(fitted.size(), QSize(96, 48)) << row.what;
        const QImage stretched =
            fncResizePictureGDIPlus(row.handle, 192, 96, row.type, 100, 100, 2, White, false);
        expectScene(stretched, QRect(0, 0, 100, 100), row.what + std::string(" stretched"));
    }
    // The type must name the handle's kind, and mode 0 is no redraw mode.
    EXPECT_TRUE(fncResizePictureGDIPlus(*windows, 192, 96, picturetype::EnhancedMetafile, 120, 120,
                                        2, White, true)
                    .isNull());
    EXPECT_TRUE(
        fncResizePictureGDIPlus(*enhanced, 192, 96, picturetype::Bitmap, 120, 120, 2, White, true)
            .isNull());
    EXPECT_TRUE(fncResizePictureGDIPlus(*enhanced, 192, 96, picturetype::EnhancedMetafile, 120, 120,
                                        0, White, true)
                    .isNull());
}

TEST(MetafilePlay, RecordsOfTheEnhancedSubset) {
    // A hatched brush, a pie, a path filled with the winding rule, a clip rectangle
    // and a world transform, each checked where it must and must not have drawn.
    EmfWriter e;
    e.record(37, le32({0x80000008}))           // null pen
        .record(39, le32({1, 0, 0x0000FF, 0})) // red
        .record(37, le32({1}))
        .record(33, {})                        // save
        .record(30, le32({0, 0, 48, 48}))      // clip to the top left
        .record(43, le32({0, 0, 96, 96}))      // clipped rectangle
        .record(34, le32({-1}))                // restore: no clip
        .record(39, le32({2, 0, 0xFF0000, 0})) // blue
        .record(37, le32({2}))
        .record(47, le32({96, 0, 192, 96, 192, 48, 144, 0})) // pie: the top right quarter
        .record(35, le32({0x3F800000, 0, 0, 0x3F800000, 0, 0x42400000})) // world: move down 48
        .record(39, le32({3, 0, 0x00FF00, 0}))
        .record(37, le32({3}))
        .record(59, {})
        .record(86, le32({0, 0, 0, 0, 4}) + le16({0, 0, 40, 0, 40, 40, 0, 40}))
        .record(60, {})
        .record(62, le32({0, 0, 0, 0}));
    const auto metafile = Metafile::fromBytes(e.file(QRect(0, 0, 5080, 2540)));
    ASSERT_TRUE(metafile);
    QImage picture(192, 96, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    ASSERT_TRUE(metafile->play(painter, QRectF(0, 0, 192, 96)));
    painter.end();
    struct Row {
        int x, y;
        QRgb colour;
        const char* what;
    } rows[] = {
        {20, 20, qRgb(255, 0, 0), "inside the clip"},
        {70, 20, qRgb(255, 255, 255), "clipped away right"},
        {20, 70, qRgb(0, 255, 0), "the path, moved down by the world transform"},
        {20, 30, qRgb(255, 0, 0), "above the moved path"},
        {170, 20, qRgb(0, 0, 255), "the pie's quarter"},
        {120, 20, qRgb(255, 255, 255), "the rest of the pie's ellipse"},
        {170, 70, qRgb(255, 255, 255), "below the pie"},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(near(picture.pixel(row.x, row.y), row.colour, 30))
            << row.what << ": " << std::hex << picture.pixel(row.x, row.y);
}

TEST_F(MetafileFiles, AgreesWithImageMagick) {
    const QString path = write("scene.wmf", wmfScene(true));
    const QString png = dir.filePath("magick.png");
    QProcess convert;
    convert.start("convert", {path, png});
    if (!convert.waitForFinished(30000) || convert.exitCode() != 0 || !QFile::exists(png))
        GTEST_SKIP() << "ImageMagick's convert cannot draw WMF here: "
                     << convert.readAllStandardError().trimmed().toStdString();
    const QImage theirs(png);
    ASSERT_FALSE(theirs.isNull());
    int32_t w = 0, h = 0;
    const QImage ours =
        fncLoadPictureGDIPlus(path, 2, theirs.width(), theirs.height(), White, false, w, h);
    ASSERT_EQ(ours.size(), theirs.size());
    qint64 difference = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            difference += std::abs(qGray(ours.pixel(x, y)) - qGray(theirs.pixel(x, y)));
    EXPECT_LT(double(difference) / (ours.width() * ours.height()), 12.0);
}

// Another renderer's drawing of our WMF fixtures, libwmf's wmf2gd, as the oracle.
// Rasterisers differ on the edges of shapes and on glyphs, so the drawings are
// compared pixel by pixel with a tolerance: at most 4 % of the pixels may differ
// by more than 96 in a channel (an edge moved by a pixel), and the mean grey
// difference stays below 8 (no shape, colour or fill missing). libwmf's gd device
// draws no filled ellipse under a null pen, so the scene's ellipse (the top of its
// middle third) is left out of the comparison.
TEST_F(MetafileFiles, AgreesWithWmf2gd) {
    if (QStandardPaths::findExecutable("wmf2gd").isEmpty())
        GTEST_SKIP() << "wmf2gd (libwmf-bin) is not installed";
    for (const SceneFile& file : sceneFiles()) {
        if (!QByteArray(file.name).endsWith(".wmf"))
            continue;
        const QString path = write(file.name, file.bytes);
        const QString png = dir.filePath(QString(file.name) + ".png");
        QProcess tool;
        tool.start("wmf2gd", {"-t", "png", "-o", png, path});
        ASSERT_TRUE(tool.waitForFinished(30000) && tool.exitCode() == 0)
            << file.name << ": " << tool.readAllStandardError().toStdString();
        const QImage theirs = QImage(png).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(theirs.isNull()) << file.name;
        int32_t w = 0, h = 0;
        const QImage ours =
            fncLoadPictureGDIPlus(path, 2, theirs.width(), theirs.height(), White, false, w, h);
        ASSERT_EQ(ours.size(), theirs.size()) << file.name;
        const QRect ellipse(ours.width() / 3, 0, ours.width() / 3, ours.height() / 2);
        qint64 difference = 0, far = 0, pixels = 0;
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x) {
                if (ellipse.contains(x, y))
                    continue;
                const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
                difference += std::abs(qGray(a) - qGray(b));
                far += !near(a, b, 96);
                ++pixels;
            }
        std::printf("%s: %dx%d, mean grey difference %.2f, %.2f %% of pixels apart\n", file.name,
                    ours.width(), ours.height(), double(difference) / pixels,
                    100.0 * double(far) / pixels);
        EXPECT_LT(double(difference) / pixels, 8.0) << file.name;
        EXPECT_LT(double(far) / pixels, 0.04) << file.name;
    }
}

// One small enhanced metafile per record family, on a 96 x 96 picture where one
// logical unit is one pixel unless the family changes that. The expected colours
// are worked out from the records by hand (points two pixels or more inside or
// outside each edge, so antialiased edges do not count).
TEST(MetafilePlay, EnhancedRecordFamiliesDrawTheirHandComputedPixels) {
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255),
               yellow = qRgb(255, 255, 0), white = qRgb(255, 255, 255);
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixel(0, 0, red);
    quarters.setPixel(1, 0, green);
    quarters.setPixel(0, 1, blue);
    quarters.setPixel(1, 1, yellow);
    const QByteArray dib = dib24(quarters);
    auto redFill = [](EmfWriter& e) -> EmfWriter& {
        return e
            .record(37, le32({0x80000008}))        // null pen
            .record(39, le32({1, 0, 0x0000FF, 0})) // red brush
            .record(37, le32({1}));
    };
    struct Point {
        int x, y;
        QRgb colour;
    };
    struct Family {
        const char* what;
        EmfWriter records;
        std::vector<Point> points;
    };
    std::vector<Family> families;
    {
        // Anisotropic mapping: a 10 x 10 window on the 96 x 96 viewport, so the
        // rectangle (0,0)-(5,5) covers 48 x 48 pixels.
        EmfWriter e;
        redFill(e).record(17, le32({8})).record(9, le32({10, 10})).record(11, le32({96, 96}));
        e.record(43, le32({0, 0, 5, 5}));
        families.push_back({"window and viewport extents",
                            e,
                            {{4, 4, red}, {44, 44, red}, {52, 20, white}, {20, 52, white}}});
    }
    {
        // The viewport origin moves the rectangle (0,0)-(20,20) to (48,48)-(68,68).
        EmfWriter e;
        redFill(e).record(12, le32({48, 48})).record(43, le32({0, 0, 20, 20}));
        families.push_back({"viewport origin",
                            e,
                            {{58, 58, red}, {50, 66, red}, {44, 58, white}, {10, 10, white}}});
    }
    {
        // An 8-pixel blue pen around (20,20)-(76,76) with a null brush: the lines
        // cover 16 to 24 and 72 to 80, the inside stays white.
        EmfWriter e;
        e.record(38, le32({1, 0, 8, 0, 0xFF0000}))
            .record(37, le32({1}))
            .record(37, le32({0x80000005})) // null brush
            .record(43, le32({20, 20, 76, 76}));
        families.push_back({"pen and null brush",
                            e,
                            {{20, 48, blue},
                             {76, 48, blue},
                             {48, 20, blue},
                             {48, 76, blue},
                             {48, 48, white},
                             {30, 30, white},
                             {10, 48, white},
                             {86, 48, white}}});
    }
    {
        // The triangle (0,0), (96,0), (0,96): green where x + y < 96.
        EmfWriter e;
        e.record(37, le32({0x80000008}))
            .record(39, le32({1, 0, 0x00FF00, 0}))
            .record(37, le32({1}))
            .record(86, le32({0, 0, 96, 96, 3}) + le16({0, 0, 96, 0, 0, 96}));
        families.push_back({"polygon",
                            e,
                            {{10, 10, green},
                             {60, 20, green},
                             {20, 60, green},
                             {60, 60, white},
                             {90, 90, white}}});
    }
    {
        // A path of the lower half, filled.
        EmfWriter e;
        redFill(e)
            .record(59, {})
            .record(27, le32({0, 48}))
            .record(54, le32({96, 48}))
            .record(54, le32({96, 96}))
            .record(54, le32({0, 96}))
            .record(61, {})
            .record(60, {})
            .record(62, le32({0, 48, 96, 96}));
        families.push_back(
            {"path", e, {{48, 60, red}, {4, 92, red}, {48, 44, white}, {48, 4, white}}});
    }
    {
        // The left half excluded from the clip: a rectangle over everything shows
        // only on the right.
        EmfWriter e;
        redFill(e).record(29, le32({0, 0, 48, 96})).record(43, le32({0, 0, 96, 96}));
        families.push_back(
            {"clipping", e, {{20, 48, white}, {44, 10, white}, {52, 10, red}, {90, 90, red}}});
    }
    {
        // A world transform of scale one half: (0,0)-(96,96) covers the top left
        // quarter only.
        EmfWriter e;
        redFill(e)
            .record(35, le32({0x3F000000, 0, 0, 0x3F000000, 0, 0}))
            .record(43, le32({0, 0, 96, 96}));
        families.push_back(
            {"world transform",
             e,
             {{20, 20, red}, {44, 44, red}, {70, 20, white}, {20, 70, white}, {70, 70, white}}});
    }
    {
        // StretchDIBits of the 2 x 2 bitmap over the whole picture: its quarters.
        EmfWriter e;
        e.record(81, le32({0, 0, 96, 96, 0, 0, 0, 0, 2, 2, 80, 40, 120, dib.size() - 40, 0,
                           0x00CC0020, 96, 96}) +
                         dib);
        families.push_back({"stretched bitmap",
                            e,
                            {{20, 20, red}, {76, 20, green}, {20, 76, blue}, {76, 76, yellow}}});
    }
    {
        // SetDIBitsToDevice copies the bitmap at its own size to (10,10).
        EmfWriter e;
        e.record(80,
                 le32({10, 10, 12, 12, 10, 10, 0, 0, 2, 2, 76, 40, 116, dib.size() - 40, 0, 0, 2}) +
                     dib);
        families.push_back({"bitmap at its own size",
                            e,
                            {{10, 10, red},
                             {11, 10, green},
                             {10, 11, blue},
                             {11, 11, yellow},
                             {14, 14, white},
                             {40, 40, white}}});
    }
    {
        // BitBlt without a bitmap paints the brush over its rectangle (PATCOPY).
        EmfWriter e;
        redFill(e).record(76,
                          le32({0, 0, 96,         96, 40, 40, 20, 20, 0x00F00021, 0, 0, 0x3F800000,
                                0, 0, 0x3F800000, 0,  0,  0,  0,  0,  0,          0, 0}));
        families.push_back(
            {"pattern blit", e, {{50, 50, red}, {42, 58, red}, {36, 50, white}, {64, 50, white}}});
    }
    for (const Family& family : families) {
        const auto metafile = Metafile::fromBytes(family.records.file(QRect(0, 0, 2540, 2540)));
        ASSERT_TRUE(metafile) << family.what;
        QImage picture(96, 96, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        EXPECT_TRUE(metafile->play(painter, QRectF(0, 0, 96, 96))) << family.what;
        painter.end();
        for (const Point& p : family.points)
            EXPECT_TRUE(near(picture.pixel(p.x, p.y), p.colour, 30))
                << family.what << " at " << p.x << "," << p.y << ": " << std::hex
                << picture.pixel(p.x, p.y) << " instead of " << p.colour;
    }
}

TEST(MetafilePlay, RecordsOfTheWindowsSubset) {
    // 96 units per inch: one unit is one pixel of the 200 x 100 picture.
    QImage cyan(8, 8, QImage::Format_RGB32);
    cyan.fill(qRgb(0, 255, 255));
    WmfWriter w;
    w.record(0x02FA, {5, 0, 0}, le32({0})) // 0: null pen
        .record(0x012D, {0})
        .record(0x0201, {}, le32({0x00FFFF}))              // yellow background
        .record(0x0102, {2})                               // opaque
        .record(0x02FC, {2}, le32({0xFF0000}) + le16({4})) // 1: blue cross hatch
        .record(0x012D, {1})
        .record(0x041B, {50, 50, 0, 0})
        .record(0x02FC, {0}, le32({0x0000FF}) + le16({0})) // 2: red
        .record(0x012D, {2})
        .record(0x061C, {40, 40, 50, 110, 0, 60})
        .record(0x02FC, {0}, le32({0x00FF00}) + le16({0})) // 3: green
        .record(0x012D, {3})
        .record(0x0830, {25, 120, 25, 170, 50, 170, 0, 120}) // chord: the top half
        .record(0x041F, {}, le32({0xFF00FF}) + le16({5, 190}))
        .record(0x02FC, {0}, le32({0}) + le16({0})) // 4: black
        .record(0x012D, {4})
        .record(0x0538, {2, 4, 4, 0, 60, 20, 60, 20, 80, 0, 80, 30, 60, 50, 60, 50, 80, 30, 80})
        .record(0x0142, {5, 0}, dib24(cyan)) // 5: pattern from a bitmap
        .record(0x012D, {5})
        .record(0x041B, {90, 110, 60, 60})
        .record(0x0A32, {60, 120, 0, 2, 120, 60, 190, 95}) // no text, opaque box
        .record(0x02FA, {0, 4, 0}, le32({0}))              // 6: black pen, 4 wide
        .record(0x012D, {6})
        .record(0x0214, {98, 0})
        .record(0x0213, {98, 200});
    const auto metafile = Metafile::fromBytes(w.file(true, QRect(0, 0, 200, 100), 96));
    ASSERT_TRUE(metafile);
    ASSERT_EQ(metafile->size(), QSize(200, 100));
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    ASSERT_TRUE(metafile->play(painter, QRectF(0, 0, 200, 100)));
    painter.end();
    struct Row {
        int x, y;
        QRgb colour;
        const char* what;
    } rows[] = {
        {85, 25, qRgb(255, 0, 0), "round rectangle"},
        {61, 1, qRgb(255, 255, 255), "cut-off corner of the round rectangle"},
        {145, 10, qRgb(0, 255, 0), "chord's upper half"},
        {145, 40, qRgb(255, 255, 255), "below the chord"},
        {190, 5, qRgb(255, 0, 255), "the pixel set"},
        {10, 70, qRgb(0, 0, 0), "first square of the poly-polygon"},
        {25, 70, qRgb(255, 255, 255), "between the squares"},
        {40, 70, qRgb(0, 0, 0), "second square"},
        {85, 75, qRgb(0, 255, 255), "bitmap pattern fill"},
        {150, 80, qRgb(255, 255, 0), "opaque text box"},
        {100, 98, qRgb(0, 0, 0), "the wide line"},
        {100, 93, qRgb(255, 255, 255), "above the wide line"},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(near(picture.pixel(row.x, row.y), row.colour, 30))
            << row.what << ": " << std::hex << picture.pixel(row.x, row.y);
    // The hatch shows blue lines on the opaque yellow background, never white.
    int blue = 0, yellow = 0, other = 0;
    for (int y = 2; y < 48; ++y)
        for (int x = 2; x < 48; ++x) {
            const QRgb p = picture.pixel(x, y);
            blue += near(p, qRgb(0, 0, 255), 30);
            yellow += near(p, qRgb(255, 255, 0), 30);
            other += !near(p, qRgb(0, 0, 255), 30) && !near(p, qRgb(255, 255, 0), 30);
        }
    EXPECT_GT(blue, 100);
    EXPECT_GT(yellow, 1000);
    EXPECT_EQ(other, 0);
}

TEST(MetafilePlay, NewObjectsTakeTheLowestFreeIndex) {
    // Records select objects by index: a new object fills the lowest emptied slot
    // first, and only then grows the table.
    WmfWriter w;
    w.record(0x02FA, {5, 0, 0}, le32({0}))               // 0: null pen
        .record(0x012D, {0})
        .record(0x02FC, {0}, le32({0x000000}) + le16({0})) // 1: black
        .record(0x02FC, {0}, le32({0x000000}) + le16({0})) // 2: black
        .record(0x02FC, {0}, le32({0x000000}) + le16({0})) // 3: black
        .record(0x01F0, {2})
        .record(0x01F0, {1})
        .record(0x01F0, {1})                               // deleting twice frees once
        .record(0x01F0, {40})                              // no such object
        .record(0x02FC, {0}, le32({0x0000FF}) + le16({0})) // red takes 1
        .record(0x02FC, {0}, le32({0x00FF00}) + le16({0})) // green takes 2
        .record(0x02FC, {0}, le32({0xFF0000}) + le16({0})) // blue takes 4
        .record(0x012D, {1})
        .record(0x041B, {50, 50, 0, 0})
        .record(0x012D, {2})
        .record(0x041B, {50, 100, 0, 50})
        .record(0x012D, {4})
        .record(0x041B, {50, 150, 0, 100})
        .record(0x012D, {3})
        .record(0x041B, {50, 200, 0, 150});
    const auto metafile = Metafile::fromBytes(w.file(true, QRect(0, 0, 200, 50), 96));
    ASSERT_TRUE(metafile);
    QImage picture(200, 50, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    ASSERT_TRUE(metafile->play(painter, QRectF(0, 0, 200, 50)));
    painter.end();
    const struct {
        int x;
        QRgb colour;
        const char* what;
    } rows[] = {
        {25, qRgb(255, 0, 0), "object 1, the first new one"},
        {75, qRgb(0, 255, 0), "object 2, the second"},
        {125, qRgb(0, 0, 255), "object 4, past the table's end"},
        {175, qRgb(0, 0, 0), "object 3, never deleted"},
    };
    for (const auto& row : rows)
        EXPECT_TRUE(near(picture.pixel(row.x, 25), row.colour, 30))
            << row.what << ": " << std::hex << picture.pixel(row.x, 25);
}

TEST(MetafilePlay, ClipRegionOfManyRectanglesKeepsTheFirstOnesExactly) {
    // 1500 rectangles: the first 1023 stay as they are, the rest clip as their
    // bounding rectangle, which still shows everything inside them.
    QByteArray rects = le32({0, 0, 20, 20});
    for (int i = 1; i < 1023; ++i)
        rects += le32({100, 0, 101, 1});
    rects += le32({0, 60, 10, 70});
    for (int i = 1024; i < 1499; ++i)
        rects += le32({0, 60, 10, 70});
    rects += le32({180, 80, 190, 90});
    const QByteArray region = le32({32, 1, 1500, rects.size(), 0, 0, 190, 90}) + rects;
    EmfWriter e;
    e.record(37, le32({0x80000008}))           // null pen
        .record(39, le32({1, 0, 0x0000FF, 0})) // red
        .record(37, le32({1}))
        .record(75, le32({region.size(), 5}) + region)
        .record(43, le32({0, 0, 192, 96}));
    const auto metafile = Metafile::fromBytes(e.file(QRect(0, 0, 5080, 2540)));
    ASSERT_TRUE(metafile);
    QImage picture(192, 96, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    ASSERT_TRUE(metafile->play(painter, QRectF(0, 0, 192, 96)));
    painter.end();
    const struct {
        int x, y;
        QRgb colour;
        const char* what;
    } rows[] = {
        {10, 10, qRgb(255, 0, 0), "the first rectangle"},
        {50, 10, qRgb(255, 255, 255), "between two of the first rectangles"},
        {5, 65, qRgb(255, 0, 0), "a later rectangle"},
        {185, 85, qRgb(255, 0, 0), "the last rectangle"},
        {100, 75, qRgb(255, 0, 0), "between the later rectangles, inside their bounds"},
        {100, 40, qRgb(255, 255, 255), "above the later rectangles' bounds"},
        {191, 93, qRgb(255, 255, 255), "past the later rectangles' bounds"},
    };
    for (const auto& row : rows)
        EXPECT_TRUE(near(picture.pixel(row.x, row.y), row.colour, 30))
            << row.what << ": " << std::hex << picture.pixel(row.x, row.y);
}
