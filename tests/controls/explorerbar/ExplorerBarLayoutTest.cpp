#include "controls/explorerbar/ExplorerBarLayout.h"
#include "tests/controls/explorerbar/FixedTextMeasurer.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

const test::FixedTextMeasurer measurer;

ExplorerLayoutInput view(int width, int height, bool barVisible = false, int scrollTop = 0) {
    ExplorerLayoutInput input;
    input.ScaleWidth = width;
    input.ScaleHeight = height;
    input.ScrollBarWidth = 16;
    input.ScrollBarVisible = barVisible;
    input.ScrollTop = scrollTop;
    return input;
}

// Special group with two items, a group with one item, a group hosting a
// 100-pixel container.
struct Fixture {
    ExplorerBarModel model;
    QWidget panel;
    Fixture() {
        model.AddSpecialGroup("Tasks", QImage(), QImage());
        model.AddItem("Special Group", "r", "Resize");
        model.AddItem("Special Group", "c", "Canvas");
        model.AddGroup("Files", "Files");
        model.AddItem("Files", "o", "Open");
        model.AddGroup("Host", "Host");
        model.AddItem("Host", "hidden", "Never laid out");
        panel.resize(50, 100);
        model.SetGroupChild("Host", &panel);
    }
};

} // namespace

TEST(ExplorerBarLayout, PlacesHeadersItemsAndBodies) {
    Fixture f;
    const ExplorerLayoutResult result = CalculateLayout(f.model, view(200, 600), measurer);
    EXPECT_EQ(result.ContentWidth, 200);
    EXPECT_FALSE(result.ScrollBarVisible);

    const typSpecialGroup& special = f.model.specialGroup();
    EXPECT_EQ(special.HeaderRect, (ExplorerRect{8, 16, 192, 40}));
    EXPECT_EQ(special.item(1).ItemRect, (ExplorerRect{20, 50, 40 + 37, 63}));
    EXPECT_EQ(special.item(2).ItemRect.Top, 71);
    EXPECT_EQ(special.BodyHeight, 92 - 40 + 8);

    const typExplorerGroup& files = f.model.group(1);
    EXPECT_EQ(files.HeaderRect, (ExplorerRect{8, 114, 192, 138}));
    EXPECT_EQ(files.item(1).ItemRect, (ExplorerRect{20, 148, 40 + 25, 161}));
    EXPECT_EQ(files.BodyHeight, 169 - 138 + 12);

    // The hosted container's height is the body, whatever items the group has.
    const typExplorerGroup& host = f.model.group(2);
    EXPECT_EQ(host.HeaderRect, (ExplorerRect{8, 197, 192, 221}));
    EXPECT_EQ(host.BodyHeight, 100);
    EXPECT_EQ(host.item(1).ItemRect, ExplorerRect{});
}

TEST(ExplorerBarLayout, LongCaptionWrapsWithinTheBar) {
    ExplorerBarModel model;
    model.AddGroup("G", "Group");
    model.AddItem("G", "long", QString(40, QChar('x')));
    CalculateLayout(model, view(200, 600), measurer);
    const ExplorerRect& r = model.group(1).item(1).ItemRect;
    EXPECT_EQ(r.Left, 20);
    EXPECT_EQ(r.Right, 200 - 16);
    // 40 characters in lines of (184 - 40) / 6 = 24: two lines.
    EXPECT_EQ(r.height(), 2 * test::FixedTextMeasurer::LineHeight);
}

TEST(ExplorerBarLayout, CollapsingMovesLaterGroupsUp) {
    Fixture f;
    CalculateLayout(f.model, view(200, 600), measurer);
    const int hostTop = f.model.group(2).HeaderRect.Top;
    f.model.ExpandGroup("Files", false);
    CalculateLayout(f.model, view(200, 600), measurer);
    EXPECT_EQ(f.model.group(2).HeaderRect.Top, hostTop - 37);
    f.model.ExpandGroup(-1, false);
    CalculateLayout(f.model, view(200, 600), measurer);
    EXPECT_EQ(f.model.group(1).HeaderRect.Top, 40 + 6 + 10);
}

TEST(ExplorerBarLayout, ScrollBarComesAndGoesWithTheContent) {
    Fixture f; // content ends at y = 323
    struct Row {
        const char* name;
        int height;
        bool barBefore;
        int scrollTop;
        bool barAfter;
        int contentWidth;
        int max;
        int top;
    } rows[] = {
        {"taller content shows the bar", 300, false, 0, true, 184, 23, 0},
        {"offset past the range is pulled back", 300, true, 500, true, 184, 23, 23},
        {"offset within the range stays", 300, true, 10, true, 184, 23, 10},
        {"shorter content hides the bar", 600, true, 20, false, 200, 1, 0},
        {"exactly fitting content needs no bar", 323, false, 0, false, 200, 1, 0},
    };
    for (const Row& row : rows) {
        const ExplorerLayoutResult result =
            CalculateLayout(f.model, view(200, row.height, row.barBefore, row.scrollTop), measurer);
        EXPECT_EQ(result.ScrollBarVisible, row.barAfter) << row.name;
        EXPECT_EQ(result.ContentWidth, row.contentWidth) << row.name;
        EXPECT_EQ(result.ScrollMax, row.max) << row.name;
        EXPECT_EQ(result.ScrollTop, row.top) << row.name;
        EXPECT_EQ(result.LargeChange, row.height) << row.name;
        EXPECT_EQ(result.SmallChange, 4) << row.name;
        // The rectangles belong to the settled width and offset.
        EXPECT_EQ(f.model.specialGroup().HeaderRect.Right, row.contentWidth - 8) << row.name;
        EXPECT_EQ(f.model.specialGroup().HeaderRect.Top, 16 - row.top) << row.name;
    }
    const ExplorerLayoutResult fitting = CalculateLayout(f.model, view(200, 323), measurer);
    EXPECT_EQ(fitting.ClientRect, (ExplorerRect{1, 1, 200 - 16 - 2, 323 - 2}));
    EXPECT_EQ(fitting.ScrollBarRect, (ExplorerRect{184, 0, 200, 323}));
}

TEST(ExplorerBarLayout, HiddenControlNeverShowsTheBar) {
    Fixture f;
    ExplorerLayoutInput input = view(200, 100);
    input.ControlVisible = false;
    const ExplorerLayoutResult result = CalculateLayout(f.model, input, measurer);
    EXPECT_FALSE(result.ScrollBarVisible);
    EXPECT_EQ(result.ContentWidth, 200);
}

TEST(ExplorerBarLayout, DetailsBodyHoldsPictureTitleAndText) {
    for (int width : {60, 128, 300}) {
        ExplorerBarModel model;
        model.AddDetailsGroup("Details", "Title", "Some details text");
        model.SetDetailsImage(QImage(8, 8, QImage::Format_RGB32));
        CalculateLayout(model, view(width, 800), measurer);
        const typDetailsGroup& details = model.detailsGroup();
        const int room = 12 + std::max(0, width - 128);
        EXPECT_EQ(details.HeaderRect.Top, 8) << width;
        EXPECT_GE(details.TextRect.Top, details.HeaderRect.Bottom + room) << width;
        EXPECT_GE(details.TextRect.height(), 0) << width;
        EXPECT_LE(details.TextRect.Bottom, details.HeaderRect.Bottom + details.BodyHeight) << width;
    }
}
