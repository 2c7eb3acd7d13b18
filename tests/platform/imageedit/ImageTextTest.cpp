#include "EditTestImages.h"

#include <QFont>

using namespace picbasket;
using namespace picbasket::test;

namespace {

constexpr QRgb White = 0xFFFFFFFFu;

// A box over a white 200 x 120 image with a crisp 20 pt font, black on blue.
void prepare(ImageBox& box, int dotsPerMeter = 3780) {
    QImage image = solidImage(200, 120, White);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    box.setImage(image);
    box.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    box.setTextColor(rgbOle(0, 0, 0));
    box.setTextBackColor(rgbOle(0, 0, 255));
    box.setTextAntiAlias(false);
}

// The smallest rectangle holding every pixel that is no longer white.
QRect changedArea(const ImageBox& box) {
    QRect area;
    for (int y = 0; y < box.image().height(); ++y)
        for (int x = 0; x < box.image().width(); ++x)
            if (rgbAt(box, x, y) != White)
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

TEST(ImageText, FilledBoxCoversExactlyTheMeasuredSizeAtEachAlignment) {
    struct Row {
        int alignment;
        int angle;
        // The filled box for text width tw and height th drawn at (100, 60).
        std::function<QRect(int, int)> expected;
    } rows[] = {
        {0, 0, [](int tw, int th) { return QRect(100, 60, tw, th); }},
        {1, 0, [](int tw, int th) { return QRect(100 - tw / 2, 60, tw, th); }},
        {2, 0, [](int tw, int th) { return QRect(100 - tw, 60, tw, th); }},
        // Turned a quarter counter-clockwise about (100, 60): the text runs upwards.
        {0, 90, [](int tw, int th) { return QRect(100, 60 - tw, th, tw); }},
        {0, -90, [](int tw, int th) { return QRect(100 - th, 60, th, tw); }},
    };
    for (const Row& row : rows) {
        ImageBox box;
        prepare(box);
        box.setTextTransparent(false);
        box.setTextAlignment(row.alignment);
        box.setTextAngle(row.angle);
        const QString text = QStringLiteral("Abc");
        const int tw = box.TextWidth(text), th = box.TextHeight(text);
        box.DrawText(100, 60, text);
        const QRect want = row.expected(tw, th);
        EXPECT_EQ(changedArea(box), want) << "alignment " << row.alignment << " angle " << row.angle;
        EXPECT_EQ(rgbAt(box, want.left(), want.top()), qRgb(0, 0, 255));
    }
}

TEST(ImageText, TransparentTextChangesOnlyItsInk) {
    ImageBox box;
    prepare(box);
    box.setTextTransparent(true);
    const QString text = QStringLiteral("Hello");
    box.DrawText(10, 10, text);
    const QRect area = changedArea(box);
    EXPECT_TRUE(QRect(10, 10, box.TextWidth(text), box.TextHeight(text)).contains(area));
    EXPECT_GT(area.width(), 10);
    int blue = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            blue += rgbAt(box, x, y) == qRgb(0, 0, 255);
    EXPECT_EQ(blue, 0);
}

TEST(ImageText, AntiAliasingDecidesWhetherEdgesAreBlended) {
    auto colours = [](bool antiAlias) {
        ImageBox box;
        prepare(box);
        box.setTextAntiAlias(antiAlias);
        box.DrawText(10, 10, QStringLiteral("Sow"));
        std::set<QRgb> seen;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 200; ++x)
                seen.insert(rgbAt(box, x, y));
        return seen.size();
    };
    EXPECT_EQ(colours(false), 2u);
    EXPECT_GT(colours(true), 4u);
}

TEST(ImageText, SizesArePointsAtNinetySixDpiWhateverTheImageClaims) {
    ImageBox box;
    prepare(box, 11811); // a 300 DPI image
    box.setFont(QFont(QStringLiteral("DejaVu Sans"), 72));
    // 72 points at 96 DPI make a 96-pixel em; a line is taller than its em.
    EXPECT_GE(box.TextHeight(QStringLiteral("X")), 96);
    EXPECT_LT(box.TextHeight(QStringLiteral("X")), 140);
    box.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    box.setTextTransparent(false);
    const int tw = box.TextWidth(QStringLiteral("Wide")), th = box.TextHeight(QStringLiteral("Wide"));
    box.DrawText(5, 5, QStringLiteral("Wide"));
    EXPECT_EQ(changedArea(box), QRect(5, 5, tw, th));
    EXPECT_EQ(box.image().dotsPerMeterX(), 11811);
}

TEST(ImageText, WidthAndHeightFollowTheTextAndTheFont) {
    ImageBox box;
    box.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    const int w = box.TextWidth(QStringLiteral("W"));
    EXPECT_GT(w, 5);
    EXPECT_NEAR(box.TextWidth(QStringLiteral("WWWW")), 4 * w, 3);
    EXPECT_EQ(box.TextWidth(QString()), 0);
    const int h = box.TextHeight(QStringLiteral("W"));
    EXPECT_NEAR(box.TextHeight(QStringLiteral("one\ntwo")), 2 * h, 3);
    box.setFont(QFont(QStringLiteral("DejaVu Sans"), 24));
    EXPECT_NEAR(box.TextWidth(QStringLiteral("W")), 2 * w, 2);
    QFont bold(QStringLiteral("DejaVu Sans"), 12);
    bold.setBold(true);
    box.setFont(bold);
    EXPECT_GT(box.TextWidth(QStringLiteral("WWWW")), 4 * w - 1);
}

TEST(ImageText, PropertiesReadBackAsSet) {
    ImageBox box;
    QFont font(QStringLiteral("DejaVu Serif"), 17);
    font.setItalic(true);
    font.setUnderline(true);
    box.setFont(font);
    box.setTextColor(0x80000008u);
    box.setTextBackColor(0x00123456u);
    box.setTextAngle(-90);
    box.setTextAlignment(2);
    EXPECT_EQ(box.Font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(box.Font().pointSize(), 17);
    EXPECT_TRUE(box.Font().italic());
    EXPECT_TRUE(box.Font().underline());
    EXPECT_FALSE(box.Font().bold());
    EXPECT_EQ(box.TextColor(), 0x80000008u);
    EXPECT_EQ(box.TextBackColor(), 0x00123456u);
    EXPECT_EQ(box.TextAngle(), -90);
    EXPECT_EQ(box.TextAlignment(), 2);
    EXPECT_THROW(box.setTextAlignment(3), AppError);
    EXPECT_EQ(box.TextAlignment(), 2);
}

TEST(ImageText, EmptyTextDrawsNothingAndNoImageIsRefused) {
    ImageBox box;
    expectRefused(box, [&] { box.DrawText(0, 0, QStringLiteral("x")); });
    prepare(box);
    box.setTextTransparent(false);
    const QImage before = box.image();
    box.DrawText(3, 3, QString());
    EXPECT_EQ(box.image(), before);
}
