#include "controls/explorerbar/isExplorerBar.h"
#include "tests/common/TestSupport.h"
#include "tests/controls/explorerbar/FixedTextMeasurer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringList>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A shown bar, 200 x 300, measured with fixed metrics, recording its events.
struct Bar {
    isExplorerBar bar;
    QStringList events;
    Bar() {
        bar.setTextMeasurer(std::make_shared<test::FixedTextMeasurer>());
        bar.resize(200, 300);
        QObject::connect(&bar, &isExplorerBar::MouseOver, [this] { events << "MouseOver"; });
        QObject::connect(&bar, &isExplorerBar::MouseOut, [this] { events << "MouseOut"; });
        QObject::connect(&bar, &isExplorerBar::GroupHover,
                         [this](const QString& g) { events << "GroupHover " + g; });
        QObject::connect(&bar, &isExplorerBar::GroupOut,
                         [this](const QString& g) { events << "GroupOut " + g; });
        QObject::connect(&bar, &isExplorerBar::ItemHover, [this](const QString& g, const QString& i) {
            events << "ItemHover " + g + "/" + i;
        });
        QObject::connect(&bar, &isExplorerBar::ItemOut, [this](const QString& g, const QString& i) {
            events << "ItemOut " + g + "/" + i;
        });
        QObject::connect(&bar, &isExplorerBar::ItemClick, [this](const QString& g, const QString& i) {
            events << "ItemClick " + g + "/" + i;
        });
        QObject::connect(&bar, &isExplorerBar::GroupClick, [this](int g, bool& expanded) {
            events << QStringLiteral("GroupClick %1 %2").arg(g).arg(expanded);
        });
    }
    // Shown with the pointer outside, whatever the platform reported meanwhile.
    void show() {
        bar.show();
        QApplication::processEvents();
        leave();
        events.clear();
    }
    void move(QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, bar.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    }
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent press(QEvent::MouseButtonPress, at, bar.mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&bar, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, bar.mapToGlobal(at), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &release);
    }
    void enter(QPoint at) {
        QEnterEvent event(at, at, bar.mapToGlobal(at));
        QApplication::sendEvent(&bar, &event);
    }
    void leave() {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&bar, &event);
    }
    void wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF at(50, 50);
        QWheelEvent event(at, bar.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&bar, &event);
    }
    static QPoint centre(const ExplorerRect& r) { return r.toQRect().center(); }
};

void addTallContent(isExplorerBar& bar) {
    for (int g = 1; g <= 6; ++g) {
        const QString key = QStringLiteral("G%1").arg(g);
        bar.AddGroup(key, key);
        for (int i = 1; i <= 4; ++i)
            bar.AddItem(key, QStringLiteral("i%1").arg(i), QStringLiteral("Item %1").arg(i));
    }
}

} // namespace

TEST(ExplorerBarWidget, UpdatesStartWithShowingOrEnabling) {
    Bar b;
    EXPECT_FALSE(b.bar.model().updatesEnabled());
    b.bar.DisableUpdates(true);
    b.bar.AddGroup("G", "Group");
    EXPECT_EQ(b.bar.model().group(1).HeaderRect, ExplorerRect{});
    b.show();
    EXPECT_TRUE(b.bar.model().updatesEnabled());
    EXPECT_EQ(b.bar.model().group(1).HeaderRect, (ExplorerRect{8, 10, 192, 34}));
}

TEST(ExplorerBarWidget, WheelScrollsOneNotchOfNothingHeld) {
    Bar b;
    addTallContent(b.bar);
    b.show();
    QScrollBar* bar = b.bar.scrollBar();
    ASSERT_FALSE(bar->isHidden());
    const int max = b.bar.layoutResult().ScrollMax;
    ASSERT_GT(max, 100);
    EXPECT_EQ(bar->maximum(), max);
    EXPECT_EQ(bar->pageStep(), 300);

    const int headerTop = b.bar.model().group(1).HeaderRect.Top;
    b.wheel(-120);
    EXPECT_EQ(bar->value(), 32);
    EXPECT_EQ(b.bar.model().group(1).HeaderRect.Top, headerTop - 32);
    b.wheel(-120, Qt::ControlModifier);
    b.wheel(-120, Qt::ShiftModifier);
    b.wheel(-240);
    b.wheel(-60);
    EXPECT_EQ(bar->value(), 32);
    b.wheel(120);
    b.wheel(120);
    EXPECT_EQ(bar->value(), 0);
    for (int i = 0; i < 100; ++i)
        b.wheel(-120);
    EXPECT_EQ(bar->value(), max);
    EXPECT_EQ(b.bar.layoutResult().ScrollTop, max);
}

TEST(ExplorerBarWidget, ScrollBarGoesWhenContentShrinks) {
    Bar b;
    addTallContent(b.bar);
    b.show();
    b.bar.scrollBar()->setValue(40);
    b.bar.ClearStructure();
    b.bar.AddGroup("Only", "Only");
    EXPECT_TRUE(b.bar.scrollBar()->isHidden());
    EXPECT_EQ(b.bar.layoutResult().ScrollTop, 0);
    EXPECT_EQ(b.bar.layoutResult().ContentWidth, 200);
    EXPECT_EQ(b.bar.model().group(1).HeaderRect.Top, 10);
}

TEST(ExplorerBarWidget, HoverRaisesEventsAndLeavingEndsWithMouseOutFirst) {
    Bar b;
    b.bar.AddSpecialGroup("Tasks");
    b.bar.AddItem("Special Group", "r", "Resize");
    b.bar.AddGroup("Files", "Files");
    b.show();
    const QPoint header = Bar::centre(b.bar.model().group(1).HeaderRect);
    const QPoint item = Bar::centre(b.bar.model().specialGroup().item(1).ItemRect);

    b.enter(QPoint(100, 5));
    b.move(header);
    EXPECT_EQ(b.bar.model().group(1).HeaderState, 2);
    EXPECT_EQ(b.bar.cursor().shape(), Qt::PointingHandCursor);
    b.move(item);
    b.move(item);
    b.leave();
    EXPECT_EQ(b.events, QStringList({"MouseOver", "GroupHover Files", "GroupOut Files",
                                     "ItemHover Special Group/r", "MouseOut",
                                     "ItemOut Special Group/r"}));
    EXPECT_EQ(b.bar.model().group(1).HeaderState, 1);
    EXPECT_FALSE(b.bar.model().specialGroup().item(1).Hot);
    EXPECT_EQ(b.bar.cursor().shape(), Qt::ArrowCursor);
}

TEST(ExplorerBarWidget, HeaderClickTogglesAndReportsTheNewState) {
    Bar b;
    b.bar.AddGroup("A", "A");
    b.bar.AddItem("A", "x", "X");
    b.bar.AddGroup("B", "B");
    b.show();
    const int bTop = b.bar.model().group(2).HeaderRect.Top;
    b.click(Bar::centre(b.bar.model().group(1).HeaderRect), Qt::RightButton);
    EXPECT_TRUE(b.events.isEmpty());
    EXPECT_TRUE(b.bar.model().group(1).Expanded);

    b.click(Bar::centre(b.bar.model().group(1).HeaderRect));
    EXPECT_EQ(b.events, QStringList({"GroupClick 1 0"}));
    EXPECT_FALSE(b.bar.model().group(1).Expanded);
    EXPECT_EQ(b.bar.model().group(1).HeaderState, 2);
    EXPECT_LT(b.bar.model().group(2).HeaderRect.Top, bTop);
}

TEST(ExplorerBarWidget, ValueTheHostStoresInGroupClickIsKept) {
    Bar b;
    b.bar.AddGroup("A", "A");
    b.bar.AddGroup("B", "B");
    b.show();
    QObject::connect(&b.bar, &isExplorerBar::GroupClick, [](int, bool& expanded) { expanded = true; });
    b.click(Bar::centre(b.bar.model().group(1).HeaderRect));
    EXPECT_TRUE(b.bar.model().group(1).Expanded);
    EXPECT_EQ(b.bar.model().group(2).HeaderRect.Top, 10 + 24 + 10 + 6 + 12 + 10);
}

// The host's handler rebuilds the bar so that another item lies under the
// pointer; the release still raises one click and touches nothing freed.
TEST(ExplorerBarWidget, ReleaseRaisesAtMostOneClick) {
    Bar b;
    b.bar.AddGroup("A", "A");
    b.bar.AddItem("A", "x", "X");
    b.bar.AddItem("A", "y", "Y");
    b.show();
    QObject::connect(&b.bar, &isExplorerBar::ItemClick, [&b](const QString&, const QString&) {
        b.bar.ClearStructure();
        b.bar.AddGroup("N", "N");
        b.bar.AddItem("N", "z", "Z");
        b.bar.AddItem("N", "w", "W");
    });
    b.click(Bar::centre(b.bar.model().group(1).item(1).ItemRect));
    EXPECT_EQ(b.events, QStringList({"ItemClick A/x"}));
    EXPECT_EQ(b.bar.model().group(1).Key, "N");
}

TEST(ExplorerBarWidget, HostedChildIsPlacedAndHandedBack) {
    QWidget owner;
    QPointer<QWidget> panel = new QWidget(&owner);
    panel->resize(120, 90);
    {
        Bar b;
        b.bar.AddGroup("Host", "Host");
        b.bar.SetGroupChild("Host", panel);
        b.show();
        const typExplorerGroup& group = b.bar.model().group(1);
        EXPECT_EQ(panel->parentWidget(), &b.bar);
        EXPECT_EQ(panel->geometry(), QRect(8, group.HeaderRect.Bottom, 184, 90));
        EXPECT_TRUE(panel->isVisible());

        b.bar.ExpandGroup("Host", false);
        EXPECT_TRUE(panel->isHidden());
        b.bar.ExpandGroup("Host", true);
        EXPECT_TRUE(panel->isVisible());

        // A taller container takes more room at once.
        b.bar.AddGroup("After", "After");
        const int afterTop = b.bar.model().group(2).HeaderRect.Top;
        panel->resize(184, 120);
        EXPECT_EQ(b.bar.model().group(2).HeaderRect.Top, afterTop + 30);

        b.bar.ClearStructure();
        ASSERT_FALSE(panel.isNull());
        EXPECT_EQ(panel->parentWidget(), &owner);
        EXPECT_TRUE(panel->isHidden());

        b.bar.AddGroup("Again", "Again");
        b.bar.SetGroupChild("Again", panel);
        EXPECT_EQ(panel->parentWidget(), &b.bar);
    }
    // Destroying the bar gives the container back too.
    ASSERT_FALSE(panel.isNull());
    EXPECT_EQ(panel->parentWidget(), &owner);
}

// The sequence the main window runs to build its task chooser.
TEST(ExplorerBarWidget, TaskChooserBuildsAndLaysOut) {
    test::MessageRecorder messages;
    QStringList silent;
    QWidget window;
    QWidget* picDialog = new QWidget(&window);
    QWidget* picEditPreview = new QWidget(&window);
    picDialog->resize(180, 260);
    picEditPreview->resize(180, 200);

    Bar b;
    b.bar.setSilentSink([&silent](const QString& text) { silent << text; });
    const QStringList iconKeys = {"crop",   "resize", "rotate",     "flip", "canvas",    "invert",
                                  "contrast", "sharpen", "blur",   "brightness", "text", "watermark",
                                  "mask",   "shadow", "frame",      "RedEye"};
    auto ilEdit = std::make_shared<KeyedImageList>();
    for (const QString& key : iconKeys) {
        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(Qt::red);
        ilEdit->add(key, icon);
    }
    const struct {
        const char* key;
        const char* caption;
        const char* icon;
    } items[] = {{"Resize", "Resize", "resize"},       {"Canvas", "Canvas", "canvas"},
                 {"Crop", "Crop", "crop"},             {"Rotate", "Rotate", "rotate"},
                 {"Flip", "Flip", "flip"},             {"Invert", "Invert", "invert"},
                 {"Contrast", "Contrast", "contrast"}, {"Sharpen", "Sharpen", "sharpen"},
                 {"Blur", "Blur", "blur"},             {"Brightness", "Brightness", "brightness"},
                 {"Text", "Text", "text"},             {"Watermark", "Watermark/Merge", "watermark"},
                 {"Mask", "Mask", "mask"},             {"Shadow", "Shadow", "shadow"},
                 {"Frame", "Frame", "frame"},          {"RedEye", "Red-Eye Correction", "RedEye"}};

    b.bar.DisableUpdates(true);
    b.bar.ClearStructure();
    b.bar.SetImageList(ilEdit);
    QImage chartIcon(32, 32, QImage::Format_ARGB32);
    chartIcon.fill(Qt::transparent);
    b.bar.AddSpecialGroup("Tasks Chart", chartIcon);
    for (const auto& item : items)
        b.bar.AddItem("Special Group", item.key, item.caption, ExplorerRef(item.icon));
    b.bar.AddGroup("Dialog", " Task Options");
    b.bar.SetGroupChild("Dialog", picDialog);
    b.bar.AddGroup("Editing", "Task Basket");
    b.bar.SetGroupChild("Editing", picEditPreview);
    b.bar.resize(200, 700);
    b.show();

    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(silent.isEmpty()) << silent.join("; ").toStdString();
    const ExplorerBarModel& model = b.bar.model();
    ASSERT_EQ(model.specialGroup().ItemCount(), 16);
    for (int i = 1; i <= 16; ++i) {
        const typExplorerItem& item = model.specialGroup().item(i);
        EXPECT_EQ(item.Index, i);
        EXPECT_EQ(ilEdit->key(item.Icon), QString::fromLatin1(items[i - 1].icon));
        if (i > 1) {
            EXPECT_GT(item.ItemRect.Top, model.specialGroup().item(i - 1).ItemRect.Bottom);
        }
    }
    ASSERT_EQ(model.GroupCount(), 2);
    EXPECT_EQ(picDialog->parentWidget(), &b.bar);
    EXPECT_EQ(picDialog->y(), model.group(1).HeaderRect.Bottom);
    EXPECT_EQ(picEditPreview->y(), model.group(2).HeaderRect.Bottom);
    EXPECT_GT(model.group(2).HeaderRect.Top, picDialog->geometry().bottom());
    EXPECT_FALSE(b.bar.scrollBar()->isHidden());

    b.bar.SetGroupCaption("Dialog", "Task Option - Resize");
    EXPECT_EQ(model.group(1).Caption, "Task Option - Resize");
}
