#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/dialogs/QtDialogBackend.h"
#include "controls/dialogs/modCommonDialogAPI.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

class ColorDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ColorDialog = {}; }
    void TearDown() override { ColorDialog = {}; }
    FakeDialogBackend dialogs;
};

} // namespace

TEST_F(ColorDialogTest, ColourSequenceOfARun) {
    QWidget owner;
    CustomColors userColors{};
    userColors.fill(rgbOle(254, 254, 254));
    userColors[3] = rgbOle(10, 20, 30);

    dialogs.chooseColor(rgbOle(200, 100, 50), userColors);
    const ColorResult first = fncShowColor(&owner, true);
    EXPECT_FALSE(first.Cancel);
    EXPECT_EQ(first.Color, 0x003264C8u);

    dialogs.cancelColor();
    const ColorResult cancelled = fncShowColor(&owner, true);
    EXPECT_TRUE(cancelled.Cancel);
    EXPECT_EQ(cancelled.Color, 0u);

    dialogs.chooseColor(rgbOle(1, 2, 3));
    fncShowColor(nullptr, false);

    const auto& requests = dialogs.colorRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].initial, 0u) << "the first dialog starts from black";
    for (OleColor c : requests[0].customColors) {
        EXPECT_EQ(c, 0x00FEFEFEu) << "custom colours start near-white";
    }
    EXPECT_EQ(requests[0].owner, &owner);
    EXPECT_TRUE(requests[0].centreOverOwner);
    EXPECT_EQ(requests[1].initial, 0x003264C8u) << "the next starts from the last colour";
    EXPECT_EQ(requests[1].customColors, userColors) << "custom colours as the user left them";
    EXPECT_EQ(requests[2].initial, 0x003264C8u) << "a cancel keeps the stored colour";
    EXPECT_FALSE(requests[2].centreOverOwner);
    EXPECT_EQ(ColorDialog.resultColor, rgbOle(1, 2, 3));
}

TEST(ColorDialogCentring, CentredPositionTable) {
    const struct {
        QRect area;
        QSize dialog;
        QPoint expected;
    } rows[] = {
        {{0, 0, 800, 600}, {300, 200}, {250, 200}},
        {{100, 50, 401, 301}, {200, 100}, {200, 150}}, // 300.5 and 150.5 round to even
        {{100, 50, 403, 303}, {200, 100}, {202, 152}}, // 301.5 and 151.5 round to even
        {{10, 10, 100, 100}, {300, 200}, {-90, -40}},  // larger than the owner
    };
    for (const auto& r : rows) {
        EXPECT_EQ(fncCentredPosition(r.area, r.dialog), r.expected) << r.area.x();
    }
}
