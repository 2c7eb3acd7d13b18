#include "core/OleColor.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(OleColors, RgbRoundTrip) {
    const OleColor colors[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x123456};
    for (OleColor c : colors) {
        const QColor q = oleToQColor(c, QPalette());
        EXPECT_EQ(qColorToOle(q), c) << std::hex << c;
    }
    // 0x00BBGGRR: the low byte is red.
    EXPECT_EQ(oleToQColor(0x0000FF, QPalette()), QColor(255, 0, 0));
    EXPECT_EQ(qColorToOle(QColor(0, 0, 255)), 0xFF0000u);
}

TEST(OleColors, SystemColorsComeFromThePalette) {
    QPalette p;
    p.setColor(QPalette::Button, QColor(1, 2, 3));
    p.setColor(QPalette::Base, QColor(4, 5, 6));
    p.setColor(QPalette::Highlight, QColor(7, 8, 9));
    EXPECT_EQ(oleToQColor(syscolor::ButtonFace, p), QColor(1, 2, 3));
    EXPECT_EQ(oleToQColor(syscolor::Window, p), QColor(4, 5, 6));
    EXPECT_EQ(oleToQColor(syscolor::Highlight, p), QColor(7, 8, 9));
    EXPECT_TRUE(isSystemColor(syscolor::ButtonFace));
    EXPECT_FALSE(isSystemColor(0x00FFFFFF));
}
