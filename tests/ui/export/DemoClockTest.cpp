#include "players/clsDemoClock.h"

#include <QImage>
#include <gtest/gtest.h>
#include <map>

using namespace picbasket;

namespace {

QImage canvas(int w, int h, QColor fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// Captures the clock's refusals while it lives.
class ReportRecorder {
public:
    ReportRecorder()
        : previous_(
              clsDemoClock::setReporter([this](const QString& m) { messages.push_back(m); })) {}
    ~ReportRecorder() { clsDemoClock::setReporter(previous_); }
    std::vector<QString> messages;

private:
    clsDemoClock::Reporter previous_;
};

} // namespace

TEST(DemoClock, LineFromOneToFiveThreeMatchesItsTable) {
    // Shallow line, white on black: core pixels 255, side pixels sharing 255 by the
    // error term, caps 42 and 127; each blended alpha a gives 255 * a \ 256.
    QImage image = canvas(8, 6, Qt::black);
    clsDemoClock clock;
    clock.DIB(&image, 8, 6);
    clock.LineDIB(1, 1, 5, 3, 0x00FFFFFF);
    clock.Array2Pic();
    const std::map<std::pair<int, int>, int> expected = {
        {{0, 0}, 41},  {{0, 1}, 126}, {{6, 4}, 41},  {{6, 3}, 126}, {{1, 1}, 255}, {{1, 0}, 127},
        {{1, 2}, 126}, {{2, 2}, 255}, {{2, 1}, 255}, {{3, 2}, 255}, {{3, 1}, 127}, {{3, 3}, 126},
        {{4, 3}, 255}, {{4, 2}, 255}, {{5, 3}, 255}, {{5, 2}, 127}, {{5, 4}, 126}};
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const auto it = expected.find({x, y});
            const int want = it == expected.end() ? 0 : it->second;
            EXPECT_EQ(image.pixel(x, y), qRgb(want, want, want)) << x << "," << y;
        }
    }
}

TEST(DemoClock, TheDrawnPixelsAreTheSameOnTheImageAndInTheArray) {
    QImage direct = canvas(40, 40, QColor(30, 60, 90));
    QImage viaArray = direct.copy();
    clsDemoClock clock;
    clock.LineGP(direct, 3, 30, 35, 4, 0x0000C0FF);
    clock.ArcGP(direct, 20, 20, 12, 9, 30, 250, 0x00FF8000, 2);
    clock.CircleGP(direct, 20, 20, 6, 6, 0x0080FF80, 1);
    clock.DIB(&viaArray, 40, 40);
    clock.LineDIB(3, 30, 35, 4, 0x0000C0FF);
    clock.ArcDIB(20, 20, 12, 9, 30, 250, 0x00FF8000, 2);
    clock.CircleDIB(20, 20, 6, 6, 0x0080FF80, 1);
    clock.Array2Pic();
    EXPECT_EQ(direct, viaArray);
    EXPECT_NE(direct, canvas(40, 40, QColor(30, 60, 90)));
}

TEST(DemoClock, OnePointLineDrawsNothing) {
    QImage image = canvas(10, 10, Qt::black);
    clsDemoClock clock;
    clock.LineGP(image, 4, 4, 4, 4, 0x00FFFFFF);
    EXPECT_EQ(image, canvas(10, 10, Qt::black));
}

TEST(DemoClock, ArcWhoseStartPassesItsStopRunsOnPast360) {
    auto arc = [](float start, float stop) {
        QImage image = canvas(60, 60, Qt::black);
        clsDemoClock clock;
        clock.ArcGP(image, 30, 30, 20, 20, start, stop, 0x00FFFFFF, 2);
        return image;
    };
    EXPECT_EQ(arc(300, 60), arc(300, 420));
    EXPECT_NE(arc(300, 60), arc(60, 300));
    // Angle 0 lies straight below the centre, 90 to its right.
    const QImage bottom = arc(0, 0);
    EXPECT_NE(bottom.pixel(29, 49) | bottom.pixel(30, 49) | bottom.pixel(29, 50) |
                  bottom.pixel(30, 50),
              qRgb(0, 0, 0));
    EXPECT_EQ(bottom.pixel(50, 30), qRgb(0, 0, 0));
}

TEST(DemoClock, ThicknessOneSamplesTwiceAsDenselyAndOtherValuesAreAlike) {
    // White on white: every blended touch of a pixel takes about one step off it
    // (the divisor is 256), so the darkening counts the samples.
    auto circle = [](int thickness) {
        QImage image = canvas(200, 200, Qt::white);
        clsDemoClock clock;
        clock.CircleGP(image, 100, 100, 80, 60, 0x00FFFFFF, thickness);
        return image;
    };
    auto darkening = [](const QImage& image) {
        int64_t sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += 255 - qRed(image.pixel(x, y));
        return sum;
    };
    EXPECT_EQ(circle(2), circle(7));
    EXPECT_EQ(circle(0), circle(2));
    const double ratio = double(darkening(circle(1))) / double(darkening(circle(2)));
    EXPECT_GT(ratio, 1.6);
    EXPECT_LT(ratio, 2.2);
}

TEST(DemoClock, AlphaAbove252WritesTheColourUnblended) {
    // A steep line of dx 1, dy 100 puts alpha 253 and then 250 on its left side at
    // rows 51 and 52 (a = acc * 255 \ dy with acc 1, then 2).
    QImage image = canvas(5, 102, QColor(100, 100, 100));
    clsDemoClock clock;
    clock.DIB(&image, 5, 102);
    clock.LineDIB(1, 0, 2, 100, 0x00FFFFFF);
    clock.Array2Pic();
    EXPECT_EQ(image.pixel(1, 51), qRgb(255, 255, 255));
    const int blended = (255 * 250 + 100 * 5) / 256;
    EXPECT_EQ(image.pixel(1, 52), qRgb(blended, blended, blended));
}

TEST(DemoClock, ColourThatCannotBeTranslatedDrawsBlack) {
    clsDemoClock clock;
    for (uint32_t colour : {0x05123456u, 0x80FF0001u, 0x800000FFu, 0x00000000u}) {
        QImage image = canvas(10, 10, Qt::white);
        clock.LineGP(image, 1, 5, 8, 5, colour);
        EXPECT_EQ(clock.DrawColor(), 0u) << std::hex << colour;
        EXPECT_EQ(image.pixel(4, 5), qRgb(0, 0, 0)) << std::hex << colour;
    }
    clock.SetRGBComponents(0x00123456);
    EXPECT_EQ(clock.Red(), 0x56);
    EXPECT_EQ(clock.Green(), 0x34);
    EXPECT_EQ(clock.Blue(), 0x12);
}

TEST(DemoClock, ArrayMembersRefuseBeforeDibAndAfterArray2Pic) {
    ReportRecorder reports;
    QImage image = canvas(10, 10, Qt::black);
    clsDemoClock clock;
    clock.CircleDIB(5, 5, 3, 3, 0x00FFFFFF, 1);
    clock.LineDIB(1, 1, 8, 8, 0x00FFFFFF);
    ASSERT_EQ(reports.messages.size(), 2u);
    EXPECT_EQ(reports.messages[0], "You must create a DIB array\r\nbefore calling CircleDIB.");
    EXPECT_EQ(reports.messages[1], "You must create a DIB array\r\nbefore calling LineDIB.");
    clock.DIB(&image, 10, 10);
    EXPECT_TRUE(clock.HasArray());
    clock.Array2Pic();
    EXPECT_FALSE(clock.HasArray());
    clock.ArcDIB(5, 5, 3, 3, 0, 90, 0x00FFFFFF, 1);
    ASSERT_EQ(reports.messages.size(), 3u);
    EXPECT_EQ(reports.messages[2], "You must create a DIB array\r\nbefore calling ArcDIB.");
    EXPECT_EQ(image, canvas(10, 10, Qt::black));
}

TEST(DemoClock, PixelsOutsideTheArrayAreSkipped) {
    QImage image = canvas(6, 6, Qt::black);
    clsDemoClock clock;
    clock.DIB(&image, 6, 6);
    clock.LineDIB(-20, -3, 30, 9, 0x00FFFFFF);
    clock.CircleDIB(3, 3, 40, 40, 0x00FFFFFF, 1);
    clock.Array2Pic();
    EXPECT_EQ(image.size(), QSize(6, 6));
}
