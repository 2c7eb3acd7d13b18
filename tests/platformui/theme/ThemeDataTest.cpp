#include "platform/theme/ThemeData.h"
#include "platform/theme/VisualStyle.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// Number of pixels that differ from the fill the image started with.
int changedPixels(const QImage& image, QRgb fill) {
    int changed = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            changed += image.pixel(x, y) != fill ? 1 : 0;
    return changed;
}

struct PartCase {
    const char* className;
    int partId;
    int stateId;
};

} // namespace

TEST(ThemeData, OpensKnownClassesInAnyCaseOnlyWhileActive) {
    VisualStyleOverride standard("Standard");
    for (const char* name : {"ExplorerBar", "Explorerbar", "button", "COMBOBOX"}) {
        const auto theme = ThemeData::open(nullptr, QString::fromLatin1(name));
        EXPECT_TRUE(theme.has_value()) << name;
        EXPECT_EQ(ThemeData::lastError(), 0);
    }
    EXPECT_FALSE(ThemeData::open(nullptr, "TREEVIEW").has_value());
    EXPECT_NE(ThemeData::lastError(), 0);

    VisualStyleOverride classic("Classic");
    EXPECT_FALSE(ThemeData::open(nullptr, "BUTTON").has_value());
}

TEST(ThemeData, MissingClassesOfTheOverrideFailToOpen) {
    VisualStyleInfo style = *namedVisualStyle("Standard");
    style.missingClasses = {"explorerbar"};
    VisualStyleOverride override(style);
    EXPECT_FALSE(ThemeData::open(nullptr, "ExplorerBar").has_value());
    EXPECT_TRUE(ThemeData::open(nullptr, "BUTTON").has_value());
}

TEST(ThemeData, EveryPartDrawsInsideItsBoundsOnly) {
    VisualStyleOverride standard("Standard");
    QWidget host;
    host.resize(200, 100);
    const PartCase parts[] = {
        {"ExplorerBar", ebp::HeaderBackground, 1},  {"ExplorerBar", ebp::NormalGroupBackground, 1},
        {"ExplorerBar", ebp::NormalGroupHead, 2},   {"ExplorerBar", ebp::SpecialGroupHead, 1},
        {"ExplorerBar", ebp::SpecialGroupBackground, 1}, {"ExplorerBar", ebp::NormalGroupExpand, 2},
        {"ExplorerBar", ebp::SpecialGroupCollapse, 3}, {"BUTTON", bp::PushButton, 1},
        {"BUTTON", bp::PushButton, 3},              {"COMBOBOX", cp::DropDownButton, 2},
    };
    const QRgb fill = qRgb(1, 2, 3);
    const QRect bounds(20, 10, 40, 24);
    for (const PartCase& c : parts) {
        QImage image(100, 50, QImage::Format_RGB32);
        image.fill(fill);
        const auto theme = ThemeData::open(&host, QString::fromLatin1(c.className));
        ASSERT_TRUE(theme.has_value());
        {
            QPainter painter(&image);
            EXPECT_TRUE(theme->drawBackground(painter, c.partId, c.stateId, bounds))
                << c.className << " part " << c.partId;
        }
        const QImage inside = image.copy(bounds);
        EXPECT_GT(changedPixels(inside, fill), 0) << c.className << " part " << c.partId;
        EXPECT_EQ(changedPixels(image, fill), changedPixels(inside, fill))
            << c.className << " part " << c.partId << " drew outside its bounds";
    }
}

TEST(ThemeData, UnknownPartsReportNotDrawn) {
    VisualStyleOverride standard("Standard");
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_FALSE(ThemeData::open(nullptr, "ExplorerBar")->drawBackground(painter, 2, 1, image.rect()));
    EXPECT_FALSE(ThemeData::open(nullptr, "BUTTON")->drawBackground(painter, 9, 1, image.rect()));
}

TEST(ThemeData, ContentRectLiesInsideBounds) {
    VisualStyleOverride standard("Standard");
    const QRect bounds(0, 0, 80, 24);
    const auto button = ThemeData::open(nullptr, "BUTTON");
    EXPECT_TRUE(bounds.contains(button->contentRect(bp::PushButton, 1, bounds)));
    const auto bar = ThemeData::open(nullptr, "ExplorerBar");
    EXPECT_EQ(bar->contentRect(ebp::NormalGroupHead, 1, bounds).left(), 12);
    EXPECT_EQ(bar->contentRect(ebp::SpecialGroupHead, 1, bounds).left(), 0);
}

TEST(ThemeData, ParentBackgroundShowsTheParentsColour) {
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    parent.setPalette(palette);
    QWidget child(&parent);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        EXPECT_TRUE(drawThemeParentBackground(&child, painter, QRect(0, 0, 4, 8)));
        EXPECT_FALSE(drawThemeParentBackground(nullptr, painter, QRect(0, 0, 8, 8)));
    }
    EXPECT_EQ(image.pixel(1, 1), qRgb(10, 200, 30));
    EXPECT_EQ(image.pixel(6, 1), qRgb(0, 0, 0));
}
