#include "platform/print/PrintBackend.h"

#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// 200 x 100 pixels at 200 dpi: 25.4 x 12.7 mm of its own.
QImage image200dpi() {
    QImage image(200, 100, QImage::Format_RGB888);
    image.fill(Qt::white);
    image.setDotsPerMeterX(int(200 / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(200 / 0.0254 + 0.5));
    return image;
}

struct PlacementCase {
    const char* name;
    PrintSettings settings;
    QRectF expected;
};

void expectNear(const QRectF& got, const QRectF& want, const char* name) {
    EXPECT_NEAR(got.x(), want.x(), 0.01) << name;
    EXPECT_NEAR(got.y(), want.y(), 0.01) << name;
    EXPECT_NEAR(got.width(), want.width(), 0.01) << name;
    EXPECT_NEAR(got.height(), want.height(), 0.01) << name;
}

} // namespace

// A 100 x 150 mm printable area.
TEST(PrintPlacement, ScaleOffsetsAndCentring) {
    const auto with = [](auto change) {
        PrintSettings s;
        change(s);
        return s;
    };
    const PlacementCase cases[] = {
        {"fit fills the width, keeps the aspect", with([](PrintSettings&) {}), {0, 0, 100, 50}},
        {"fit leaves the offsets out of the room",
         with([](PrintSettings& s) { s.P85 = 20, s.P86 = 10; }),
         {20, 10, 80, 40}},
        {"own resolution", with([](PrintSettings& s) { s.P88 = 1; }), {0, 0, 25.4, 12.7}},
        {"percent of own resolution",
         with([](PrintSettings& s) { s.P88 = 2, s.P8B = 200; }),
         {0, 0, 50.8, 25.4}},
        {"offsets move it",
         with([](PrintSettings& s) { s.P88 = 1, s.P85 = 5, s.P86 = 7; }),
         {5, 7, 25.4, 12.7}},
        {"centred both ways ignores offsets",
         with([](PrintSettings& s) { s.P88 = 1, s.P85 = 5, s.P86 = 7, s.P8C = s.P8D = true; }),
         {37.3, 68.65, 25.4, 12.7}},
        {"centred left to right only",
         with([](PrintSettings& s) { s.P88 = 1, s.P86 = 7, s.P8C = true; }),
         {37.3, 7, 25.4, 12.7}},
    };
    for (const PlacementCase& c : cases)
        expectNear(fncPrintPlacement(QSizeF(100, 150), image200dpi(), c.settings), c.expected,
                   c.name);
}

TEST(PrintPlacement, ImageWithoutResolutionCountsAs96Dpi) {
    QImage image(96, 48, QImage::Format_RGB888);
    image.setDotsPerMeterX(0);
    image.setDotsPerMeterY(0);
    PrintSettings s;
    s.P88 = 1;
    expectNear(fncPrintPlacement(QSizeF(100, 100), image, s), {0, 0, 25.4, 12.7}, "96 dpi");
    EXPECT_TRUE(fncPrintPlacement(QSizeF(100, 100), QImage(), s).isNull());
}
