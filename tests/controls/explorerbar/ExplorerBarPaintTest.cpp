#include "controls/explorerbar/isExplorerBar.h"
#include "core/OleColor.h"
#include "platform/theme/VisualStyle.h"
#include "tests/controls/explorerbar/FixedTextMeasurer.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStringList>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A shown 200 x 400 bar with a special group, a normal group with one item, a
// collapsed group and a hosted container; rendered with grab().
struct Painted {
    QWidget owner;
    QWidget* panel = new QWidget(&owner);
    isExplorerBar bar;
    QStringList silent;
    Painted() {
        bar.setTextMeasurer(std::make_shared<test::FixedTextMeasurer>());
        bar.setSilentSink([this](const QString& text) { silent << text; });
        bar.resize(200, 400);
        bar.AddSpecialGroup("Tasks");
        bar.AddItem("Special Group", "r", "Resize");
        bar.AddGroup("Files", "A caption far too long to fit on the header line");
        bar.AddItem("Files", "o", "Open");
        bar.AddGroup("Closed", "Closed");
        bar.ExpandGroup("Closed", false);
        bar.AddGroup("Host", "Host");
        panel->resize(100, 60);
        bar.SetGroupChild("Host", panel);
        bar.show();
        QApplication::processEvents();
    }
    QImage render() { return bar.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    const typExplorerGroup& group(int i) const { return bar.model().group(i); }
    QColor system(uint32_t colour) const { return oleToQColor(colour, bar.palette()); }
};

QColor at(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

void expectNear(const QColor& actual, const QColor& expected, int tolerance, const char* what) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << what;
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << what;
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << what;
}

struct OwnLook {
    const char* scheme;
    QColor headerFrom, headerTo, body;
};

} // namespace

TEST(ExplorerBarPaint, OwnLooksPaintTheirGradientsAndBodies) {
    const OwnLook looks[] = {
        {"Metallic", QColor(255, 255, 255), QColor(214, 215, 224), QColor(240, 241, 245)},
        {"HomeStead", QColor(255, 252, 236), QColor(224, 231, 184), QColor(246, 246, 236)},
    };
    for (const OwnLook& look : looks) {
        VisualStyleOverride style(QString::fromLatin1(look.scheme));
        Painted p;
        EXPECT_EQ(p.bar.colorScheme(), look.scheme);
        const QImage image = p.render();
        const ExplorerRect& h = p.group(1).HeaderRect;
        // Left edge of the gradient, its right end short of the button, and the
        // rounded corner left to the background.
        expectNear(at(image, h.Left + 2, h.Top), look.headerFrom, 0, look.scheme);
        expectNear(at(image, h.Left, h.Top + 12), look.headerFrom, 0, look.scheme);
        expectNear(at(image, h.Right - 2, h.Top + 12), look.headerTo, 2, look.scheme);
        EXPECT_NE(at(image, h.Left, h.Top), look.headerFrom) << look.scheme;
        // Body fill and its white outline.
        expectNear(at(image, h.Left + 4, h.Bottom + 4), look.body, 0, look.scheme);
        expectNear(at(image, h.Left, h.Bottom + 4), Qt::white, 0, look.scheme);
        // The hosted container shows the body colour on itself.
        const QPoint inPanel = p.panel->geometry().topLeft() + QPoint(4, 4);
        expectNear(at(image, inPanel.x(), inPanel.y()), look.body, 0, look.scheme);
    }
}

TEST(ExplorerBarPaint, MetallicSpecialHeaderHasItsOwnGradient) {
    VisualStyleOverride style("Metallic");
    Painted p;
    const QImage image = p.render();
    const ExplorerRect& h = p.bar.model().specialGroup().HeaderRect;
    expectNear(at(image, h.Left + 2, h.Top + 1), QColor(119, 119, 146), 0, "special start");
    expectNear(at(image, h.Right - 2, h.Top + 20), QColor(180, 182, 199), 2, "special end");
}

TEST(ExplorerBarPaint, ClassicLookUsesSystemColoursOnly) {
    VisualStyleOverride style("Classic");
    Painted p;
    const QImage image = p.render();
    EXPECT_EQ(p.bar.colorScheme(), "Classic");
    const ExplorerRect& special = p.bar.model().specialGroup().HeaderRect;
    const ExplorerRect& files = p.group(1).HeaderRect;
    EXPECT_EQ(at(image, 2, 2), p.system(syscolor::ButtonFace));
    EXPECT_EQ(at(image, special.Left + 2, special.Top + 2), p.system(syscolor::Highlight));
    EXPECT_EQ(at(image, files.Left + 2, files.Top + 2), p.system(syscolor::ButtonFace));
    // Special body outlined in the highlight colour.
    EXPECT_EQ(at(image, special.Left, special.Bottom + 4), p.system(syscolor::Highlight));
    // The collapsed group's button shows the downward chevrons in the button text colour:
    // first line (X+9, Y+8)-(X+13, Y+12).
    const int X = p.bar.layoutResult().ContentWidth - 32, Y = p.group(2).HeaderRect.Top;
    EXPECT_EQ(at(image, X + 9, Y + 8), p.system(syscolor::ButtonText));
    EXPECT_EQ(at(image, X + 12, Y + 11), p.system(syscolor::ButtonText));
    EXPECT_EQ(at(image, X + 12, Y + 8), p.system(syscolor::ButtonFace));
    // The hosted container is filled with the window colour.
    const QPoint inPanel = p.panel->geometry().topLeft() + QPoint(4, 4);
    EXPECT_EQ(at(image, inPanel.x(), inPanel.y()), p.system(syscolor::Window));
    EXPECT_TRUE(p.silent.isEmpty());
}

TEST(ExplorerBarPaint, StandardLookDrawsThroughTheStyleAndFallsBackWithoutIt) {
    VisualStyleOverride standard("Standard");
    Painted p;
    const QImage themed = p.render();
    EXPECT_EQ(p.bar.colorScheme(), "NormalColor");
    EXPECT_TRUE(p.silent.isEmpty());

    VisualStyleInfo broken = standardVisualStyle();
    broken.missingClasses = {"Explorerbar"};
    VisualStyleOverride missing(broken);
    const QImage classic = p.render();
    EXPECT_EQ(p.bar.colorScheme(), "Classic");
    const ExplorerRect& special = p.bar.model().specialGroup().HeaderRect;
    EXPECT_EQ(at(classic, special.Left + 2, special.Top + 2), p.system(syscolor::Highlight));
    EXPECT_NE(themed, classic);
}

TEST(ExplorerBarPaint, LongCaptionIsShortenedOnlyOnScreen) {
    VisualStyleOverride style("Classic");
    Painted p;
    const QImage image = p.render();
    const ExplorerRect& h = p.group(1).HeaderRect;
    // Nothing of the caption reaches the button's side of the header.
    for (int x = h.Right - 25; x < p.bar.layoutResult().ContentWidth - 32 + 4; ++x)
        for (int y = h.Top; y < h.Bottom; ++y)
            ASSERT_EQ(at(image, x, y), p.system(syscolor::ButtonFace)) << x << "," << y;
    EXPECT_EQ(p.group(1).Caption, "A caption far too long to fit on the header line");
}

TEST(ExplorerBarPaint, HotItemIsHighlightedOthersKeepTheButtonText) {
    VisualStyleOverride style("Classic");
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(200, 0, 0));
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 200));
    Painted p;
    p.bar.setPalette(palette);
    p.bar.AddItem("Files", "s", "Save");
    const ExplorerRect open = p.group(1).item(1).ItemRect;
    const ExplorerRect save = p.group(1).item(2).ItemRect;
    QMouseEvent move(QEvent::MouseMove, open.toQRect().center(), open.toQRect().center(),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&p.bar, &move);
    const QImage image = p.render();
    auto counts = [&image](const ExplorerRect& r, const QColor& colour) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left + 20; x < r.Right; ++x)
                n += at(image, x, y) == colour ? 1 : 0;
        return n;
    };
    EXPECT_GT(counts(open, QColor(200, 0, 0)), 0);
    EXPECT_EQ(counts(open, QColor(0, 0, 200)), 0);
    EXPECT_GT(counts(save, QColor(0, 0, 200)), 0);
    EXPECT_EQ(counts(save, QColor(200, 0, 0)), 0);
}

TEST(ExplorerBarPaint, NothingIsDrawnWhileUpdatesAreDisabled) {
    VisualStyleOverride style("Classic");
    Painted p;
    p.bar.DisableUpdates(true);
    p.bar.AddGroup("Late", "Late");
    EXPECT_EQ(p.bar.model().group(4).HeaderRect, ExplorerRect{});
    p.bar.DisableUpdates(false);
    EXPECT_NE(p.bar.model().group(4).HeaderRect, ExplorerRect{});
}

// Without the style's text function the bar colours themed captions itself: the
// highlight colour for a header in its normal state.
TEST(ExplorerBarPaint, OwnCaptionColourWhenNotUsingTheStylesText) {
    VisualStyleOverride standard("Standard");
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(200, 0, 0));
    Painted p;
    p.bar.setPalette(palette);
    auto captionPixels = [&p] {
        const QImage image = p.render();
        const ExplorerRect& h = p.group(1).HeaderRect;
        int n = 0;
        for (int y = h.Top; y < h.Bottom; ++y)
            for (int x = h.Left + 12; x < h.Right - 25; ++x)
                n += at(image, x, y) == QColor(200, 0, 0) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(captionPixels(), 0);
    p.bar.SetUseUxThemeText(false);
    EXPECT_GT(captionPixels(), 0);
}
