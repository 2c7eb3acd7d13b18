#include "platform/comctl/ImageList.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TabStrip.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(ImageList, PicturesByIndexAndKey) {
    ImageList list;
    QImage red(4, 4, QImage::Format_RGB32), blue(8, 8, QImage::Format_RGB32);
    EXPECT_EQ(list.Add(red), 1);
    EXPECT_EQ(list.Add(blue, QStringLiteral("blue")), 2);
    EXPECT_EQ(list.Image(2).size(), QSize(8, 8));
    EXPECT_EQ(list.Image(QStringLiteral("blue")).size(), QSize(8, 8));
    EXPECT_TRUE(list.Image(0).isNull());
    EXPECT_TRUE(list.Image(3).isNull());
    EXPECT_TRUE(list.Image(QString()).isNull());
    EXPECT_FALSE(list.HasKey(QStringLiteral("red")));
}

TEST(StatusBar, PanelsByIndexAndKey) {
    StatusBar bar;
    bar.AddPanel(QStringLiteral("filename"), QStringLiteral("tip"),
                 QStringLiteral("No file selected"), 0);
    bar.AddPanel(QStringLiteral("status"), {}, {}, 60);
    EXPECT_EQ(bar.Count(), 2);
    EXPECT_EQ(bar.Panel(1)->Text(), QStringLiteral("No file selected"));
    EXPECT_EQ(bar.Panel(1)->toolTip(), QStringLiteral("tip"));
    EXPECT_EQ(bar.Panel(QStringLiteral("status")), bar.Panel(2));
    bar.Panel(QStringLiteral("status"))->setText(QStringLiteral("38%"));
    EXPECT_EQ(bar.Panel(2)->Text(), QStringLiteral("38%"));
    EXPECT_EQ(bar.Panel(QStringLiteral("queue")), nullptr);
    EXPECT_EQ(bar.Panel(3), nullptr);
}

TEST(ProgressBar, ValueStaysInsideTheRange) {
    ProgressBar bar;
    bar.setMax(10);
    bar.setValue(12);
    EXPECT_EQ(bar.Value(), 10);
    bar.setValue(-3);
    EXPECT_EQ(bar.Value(), 0);
    bar.setMin(20);
    EXPECT_EQ(bar.Max(), 20);
}

TEST(TabStrip, SelectionRaisesClickAndIgnoresUnknownTabs) {
    TabStrip strip;
    strip.AddTab(QStringLiteral("EXIF Tags"));
    strip.AddTab(QStringLiteral("IPTC File Info"));
    EXPECT_EQ(strip.SelectedItem(), 1);
    QSignalSpy clicks(&strip, &TabStrip::Click);
    strip.setSelectedItem(2);
    EXPECT_EQ(strip.SelectedItem(), 2);
    EXPECT_EQ(clicks.count(), 1);
    strip.setSelectedItem(5);
    EXPECT_EQ(strip.SelectedItem(), 2);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_GT(strip.TabFixedHeight(), 0);
    strip.resize(200, 150);
    EXPECT_GE(strip.ClientArea().top(), strip.TabFixedHeight());
}
