#include "EditTestImages.h"

#include "platform/imagebox/edit/PixelOps.h"
#include "platform/imagebox/edit/RowBands.h"

#include <QFont>
#include <cstdint>
#include <functional>
#include <string>

using namespace picbasket;
using namespace picbasket::test;

namespace {

// Every pixel its own hashed colour (and alpha for the alpha format), so a row
// written from the wrong band or a seam between bands shows.
QImage noiseImage(int w, int h, QImage::Format format) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        auto* px = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            uint32_t v = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u;
            v ^= v >> 15;
            v *= 2246822519u;
            px[x] = format == QImage::Format_ARGB32 ? v : (v | 0xFF000000u);
        }
    }
    return image.convertToFormat(format);
}

QImage stampImage() {
    QImage stamp = noiseImage(37, 23, QImage::Format_ARGB32);
    stamp.setPixel(3, 3, qRgb(255, 0, 255));
    return stamp;
}

struct Edit {
    const char* name;
    std::function<void(ImageBox&)> run;
};

const std::vector<Edit>& edits() {
    static const std::vector<Edit> all = {
        {"flip left-right", [](ImageBox& b) { b.Flip(0); }},
        {"flip top-bottom", [](ImageBox& b) { b.Flip(1); }},
        {"rotate 90", [](ImageBox& b) { b.Rotate(90); }},
        {"rotate 30 smooth", [](ImageBox& b) { b.Rotate(30); }},
        {"rotate -17 nearest",
         [](ImageBox& b) {
             b.setRotateResample(false);
             b.Rotate(-17);
         }},
        {"resize down", [](ImageBox& b) { b.Resize(std::max(1, b.image().width() / 3),
                                                   std::max(1, b.image().height() / 2)); }},
        {"resize up", [](ImageBox& b) { b.ResizePercent(170); }},
        {"crop inside",
         [](ImageBox& b) { b.Crop(0, 0, std::max(1, b.image().width() - 1), b.image().height()); }},
        {"canvas", [](ImageBox& b) { b.Crop(-3, -5, b.image().width() + 7, b.image().height() + 2); }},
        {"blur", [](ImageBox& b) { b.Blur(4); }},
        {"sharpen", [](ImageBox& b) { b.Sharpen(6); }},
        {"brightness", [](ImageBox& b) { b.Brightness(71, true, true, true); }},
        {"brightness red only", [](ImageBox& b) { b.Brightness(20, true, false, false); }},
        {"contrast", [](ImageBox& b) { b.Contrast(80, true, true, true); }},
        {"contrast green and blue", [](ImageBox& b) { b.Contrast(30, false, true, true); }},
        {"invert", [](ImageBox& b) { b.Invert(); }},
        {"invert in an ellipse",
         [](ImageBox& b) {
             b.setSelectionOnly(true);
             b.SelectEllipse(0, 0, b.image().width(), b.image().height());
             b.Invert();
         }},
        {"blur in a rectangle",
         [](ImageBox& b) {
             b.setSelectionOnly(true);
             b.SelectRectangle(0, b.image().height() / 3, b.image().width(), b.image().height());
             b.Blur(2);
         }},
        {"red eye",
         [](ImageBox& b) {
             b.SelectRectangle(0, 0, b.image().width(), b.image().height());
             b.RemoveRedEye();
         }},
        {"ellipse crop",
         [](ImageBox& b) {
             b.SelectEllipse(0, 0, b.image().width(), b.image().height());
             b.CropToSelection();
         }},
        {"merge centred 40 %",
         [](ImageBox& b) {
             b.setMergeTransparency(40);
             b.MergeBitmap(stampImage());
         }},
        {"merge tiled keyed",
         [](ImageBox& b) {
             b.setMergeStyle(2);
             b.setMergeTransparent(true);
             b.setMergeTransparentColor(rgbOle(255, 0, 255));
             b.MergeBitmap(stampImage());
         }},
        {"merge stretched", [](ImageBox& b) {
             b.setMergeStyle(3);
             b.MergeBitmap(stampImage());
         }},
        {"text", [](ImageBox& b) {
             b.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
             b.setTextTransparent(false);
             b.setTextAngle(20);
             b.DrawText(0, 0, QStringLiteral("Band\nseams"));
         }},
    };
    return all;
}

QImage edited(const QImage& source, const Edit& edit, int threads, int64_t smallImagePixels) {
    pixelops::EditThreadLimit limit(threads, smallImagePixels);
    ImageBox box;
    box.setImage(source);
    box.setBackgroundColor(rgbOle(10, 200, 30));
    edit.run(box);
    return box.image();
}

void expectBandedEqualsSingle(const QImage& source, const std::string& what) {
    for (const Edit& edit : edits()) {
        const QImage single = edited(source, edit, 1, 0);
        // 7 threads split rows unevenly; a small-image size of 0 splits even 1 x N.
        const QImage banded = edited(source, edit, 7, 0);
        ASSERT_FALSE(single.isNull()) << what << ": " << edit.name;
        EXPECT_EQ(banded.format(), single.format()) << what << ": " << edit.name;
        EXPECT_TRUE(banded == single) << what << ": " << edit.name;
    }
}

} // namespace

TEST(BandedEdit, OddSizesMatchOneBandInEveryFormat) {
    struct Row {
        int w, h;
        QImage::Format format;
    } rows[] = {{1, 61, QImage::Format_RGB888},   {61, 1, QImage::Format_RGB888},
                {1, 61, QImage::Format_ARGB32},   {61, 1, QImage::Format_ARGB32},
                {1, 61, QImage::Format_Grayscale8}, {61, 1, QImage::Format_Grayscale8},
                {45, 33, QImage::Format_ARGB32},  {45, 33, QImage::Format_Grayscale8},
                {45, 33, QImage::Format_Indexed8}};
    for (const Row& row : rows)
        expectBandedEqualsSingle(noiseImage(row.w, row.h, row.format),
                                 std::to_string(row.w) + "x" + std::to_string(row.h) + " format " +
                                     std::to_string(int(row.format)));
}

TEST(BandedEdit, LargeOddImageMatchesOneBand) {
    expectBandedEqualsSingle(noiseImage(4001, 2999, QImage::Format_RGB888), "4001x2999");
}

// The edits that work on the image's own format (and the working copies made
// band by band) give what Qt's own conversions around a working copy give.
TEST(BandedEdit, OwnFormatRoutesMatchTheWorkingCopyRoute) {
    using Reference = std::function<QImage(const QImage& work)>;
    const pixelops::Lut lut = pixelops::contrastLut(80);
    auto withLut = [&](bool r, bool g, bool b) {
        return [=](const QImage& work) {
            QImage out = work;
            pixelops::applyLut(out, lut, r, g, b);
            return out;
        };
    };
    struct Row {
        const char* name;
        std::function<void(ImageBox&)> run;
        Reference reference;
    } rows[] = {
        {"invert", [](ImageBox& b) { b.Invert(); },
         [](const QImage& work) {
             QImage out = work;
             out.invertPixels(QImage::InvertRgb);
             return out;
         }},
        {"contrast", [](ImageBox& b) { b.Contrast(80, true, true, true); }, withLut(true, true, true)},
        {"contrast red and blue", [](ImageBox& b) { b.Contrast(80, true, false, true); },
         withLut(true, false, true)},
        {"flip left-right", [](ImageBox& b) { b.Flip(0); },
         [](const QImage& work) { return work.mirrored(true, false); }},
        {"flip top-bottom", [](ImageBox& b) { b.Flip(1); },
         [](const QImage& work) { return work.mirrored(false, true); }},
    };
    for (const QImage::Format format :
         {QImage::Format_RGB888, QImage::Format_ARGB32, QImage::Format_Grayscale8}) {
        for (const QSize size : {QSize(45, 33), QSize(1, 7), QSize(8, 1)}) {
            const QImage source = noiseImage(size.width(), size.height(), format);
            const QImage work = source.convertToFormat(
                source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            for (const Row& row : rows) {
                const QImage edited = row.reference(work);
                const QImage expected =
                    format == QImage::Format_Grayscale8 && edited.allGray()
                        ? edited.convertToFormat(QImage::Format_Grayscale8)
                        : edited.convertToFormat(format == QImage::Format_ARGB32
                                                     ? QImage::Format_ARGB32
                                                     : QImage::Format_RGB888);
                ImageBox box;
                box.setImage(source);
                row.run(box);
                EXPECT_EQ(box.image().format(), expected.format())
                    << row.name << " format " << int(format);
                EXPECT_TRUE(box.image() == expected) << row.name << " format " << int(format);
                EXPECT_TRUE(pixelops::toWorking(source) == work) << "working copy of " << int(format);
            }
        }
    }
}

// Text on a 24-bit image is drawn on a working copy of only the pixels it can
// reach; an opaque ARGB32 image of the same pixels takes the whole-image route.
// Both give the same pixels, whatever the angle, alignment, font, smoothing or
// position (a box turned by other than a right angle takes the whole route too).
TEST(BandedEdit, TextOverItsReachMatchesTheWholeImageRoute) {
    struct Row {
        const char* name;
        int x, y, angle, alignment;
        bool antiAlias, transparent, italic;
        const char* text;
    } rows[] = {
        {"plain", 20, 30, 0, 0, true, true, false, "Ag jy"},
        {"box, no antialiasing", 20, 30, 0, 0, false, false, false, "Ag jy"},
        {"box turned 30, centred", 450, 300, 30, 1, true, false, false, "Turned\ntext"},
        {"box turned 45, no antialiasing", 450, 300, 45, 0, false, false, false, "Turned\ntext"},
        {"box turned 90", 611, 477, 90, 0, false, false, false, "Ag jy\nWw"},
        {"box turned 270, centred", 211, 377, 270, 1, true, false, false, "Ag jy\nWw"},
        {"turned 33", 301, 211, 33, 0, true, true, false, "Ag jy\nWw"},
        {"turned -71, italic, centred", 333, 257, -71, 1, true, true, true, "Ag jy\nWw"},
        {"turned 147, right", 417, 369, 147, 2, true, true, false, "Ag jy\nWw"},
        {"turned 12, no antialiasing", 523, 401, 12, 0, false, true, false, "Ag jy\nWw"},
        {"turned 200, no antialiasing", 611, 477, 200, 0, false, true, false, "Ag jy\nWw"},
        {"turned -45, right", 150, 100, -45, 2, true, true, false, "Wide W"},
        {"upside down", 200, 100, 180, 0, false, true, false, "Down"},
        {"italic overhang", 10, 10, 0, 0, true, true, true, "ffff jjj"},
        {"past the top-left corner", -12, -9, 0, 0, true, false, false, "Corner"},
        {"turned past the top-left corner", -12, -9, 10, 0, true, true, false, "Corner"},
        {"past the bottom-right corner", 880, 690, 0, 0, true, false, false, "Edge text"},
        {"wholly outside", 900, 900, 0, 0, true, false, false, "Away"},
    };
    const QImage source = noiseImage(901, 707, QImage::Format_RGB888);
    const QImage opaque = source.convertToFormat(QImage::Format_ARGB32);
    for (const Row& row : rows) {
        auto draw = [&](const QImage& image) {
            ImageBox box;
            box.setImage(image);
            QFont font(QStringLiteral("DejaVu Sans"), 26);
            font.setItalic(row.italic);
            box.setFont(font);
            box.setTextAngle(row.angle);
            box.setTextAlignment(row.alignment);
            box.setTextAntiAlias(row.antiAlias);
            box.setTextTransparent(row.transparent);
            box.setTextColor(rgbOle(250, 240, 10));
            box.setTextBackColor(rgbOle(20, 30, 200));
            box.DrawText(row.x, row.y, QString::fromLatin1(row.text));
            return box.image();
        };
        const QImage region = draw(source);
        const QImage whole = draw(opaque).convertToFormat(QImage::Format_RGB888);
        EXPECT_EQ(region.format(), QImage::Format_RGB888) << row.name;
        EXPECT_TRUE(region == whole) << row.name;
    }
}
