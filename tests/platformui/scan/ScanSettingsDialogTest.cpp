#include "platform/scan/ScanSettingsDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>

using namespace picbasket;

namespace {

std::vector<ScanDeviceOptions> twoDevices() {
    ScanDeviceOptions flatbed;
    flatbed.device = {"flat:0", "Acme", "Flat 1", "flatbed scanner"};
    flatbed.modes = {"Lineart", "Gray", "Color"};
    flatbed.mode = "Color";
    flatbed.depths = {1, 8, 16};
    flatbed.depth = 8;
    flatbed.resolutions = {75, 150, 300};
    flatbed.resolution = 150;
    flatbed.sources = {"Flatbed", "ADF"};
    flatbed.source = "Flatbed";
    // A device that offers nothing to choose.
    ScanDeviceOptions bare;
    bare.device = {"bare:0", "", "", ""};
    return {flatbed, bare};
}

} // namespace

TEST(ScanSettingsDialog, StartsFromTheDevicesOwnValuesAndGivesThemBack) {
    ScanSettingsDialog dialog(twoDevices(), {});
    EXPECT_EQ(dialog.cboDevice->count(), 2);
    EXPECT_EQ(dialog.cboDevice->itemText(0), "Acme Flat 1 (flat:0)");
    EXPECT_EQ(dialog.cboDevice->itemText(1), "bare:0");
    EXPECT_EQ(dialog.cboMode->currentText(), "Color");
    EXPECT_EQ(dialog.cboResolution->currentText(), "150 dpi");
    ScanSettings expected;
    expected.device = "flat:0";
    expected.mode = "Color";
    expected.depth = 8;
    expected.resolution = 150;
    expected.source = "Flatbed";
    EXPECT_EQ(dialog.settings(), expected);

    dialog.cboSource->setCurrentText("ADF");
    dialog.cboDepth->setCurrentIndex(0);
    EXPECT_EQ(dialog.settings().source, "ADF");
    EXPECT_EQ(dialog.settings().depth, 1);
}

TEST(ScanSettingsDialog, ADeviceWithoutChoicesLeavesEverySettingToTheDevice) {
    ScanSettingsDialog dialog(twoDevices(), {});
    dialog.cboDevice->setCurrentIndex(1);
    EXPECT_FALSE(dialog.cboMode->isEnabled());
    EXPECT_FALSE(dialog.cboResolution->isEnabled());
    ScanSettings expected;
    expected.device = "bare:0";
    EXPECT_EQ(dialog.settings(), expected);

    // Back on the first device its lists are filled again.
    dialog.cboDevice->setCurrentIndex(0);
    EXPECT_TRUE(dialog.cboMode->isEnabled());
    EXPECT_EQ(dialog.cboMode->count(), 3);
}

TEST(ScanSettingsDialog, TheLastSettingsOfTheRunAreOfferedForTheirDeviceOnly) {
    ScanSettings last;
    last.device = "flat:0";
    last.mode = "Lineart";
    last.depth = 1;
    last.resolution = 300;
    last.source = "ADF";
    last.extra = {{"gamma", "1.8"}};
    ScanSettingsDialog dialog(twoDevices(), last);
    EXPECT_EQ(dialog.cboDevice->currentIndex(), 0);
    EXPECT_EQ(dialog.settings(), last);

    ScanSettings elsewhere = last;
    elsewhere.device = "gone:0";
    ScanSettingsDialog other(twoDevices(), elsewhere);
    EXPECT_EQ(other.cboDevice->currentIndex(), 0);
    EXPECT_EQ(other.settings().mode, "Color");
    EXPECT_TRUE(other.settings().extra.empty());
}
