#include "platform/theme/VisualStyle.h"

#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

struct NamedCase {
    const char* name;
    bool active;
    const char* fileName;
    const char* colorName;
};

// Counts the theme-change notifications a widget receives.
class ThemeWatcher : public QWidget {
public:
    int changes = 0;

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ThemeChange)
            ++changes;
        QWidget::changeEvent(event);
    }
};

} // namespace

TEST(VisualStyle, NamedStylesGiveTheirLooks) {
    const NamedCase cases[] = {
        {"Metallic", true, "luna.msstyles", "Metallic"},
        {"homestead", true, "luna.msstyles", "HomeStead"},
        {"CLASSIC", false, "", ""},
    };
    for (const NamedCase& c : cases) {
        const auto style = namedVisualStyle(QString::fromLatin1(c.name));
        ASSERT_TRUE(style.has_value()) << c.name;
        EXPECT_EQ(style->active, c.active) << c.name;
        EXPECT_EQ(style->fileName, QString::fromLatin1(c.fileName)) << c.name;
        EXPECT_EQ(style->colorName, QString::fromLatin1(c.colorName)) << c.name;
    }
    EXPECT_FALSE(namedVisualStyle("Luna").has_value());
    EXPECT_TRUE(namedVisualStyle("Standard")->active);
}

TEST(VisualStyle, DefaultIsTheActiveStandardLook) {
    ASSERT_FALSE(visualStyleOverride().has_value());
    if (!qEnvironmentVariableIsEmpty("PICBASKET_VISUAL_STYLE"))
        GTEST_SKIP() << "PICBASKET_VISUAL_STYLE chooses the look in this run";
    const VisualStyleInfo style = currentVisualStyle();
    EXPECT_TRUE(style.active);
    EXPECT_EQ(style.colorName, "NormalColor");
    EXPECT_FALSE(style.fileName.isEmpty());
}

TEST(VisualStyle, OverrideNestsRestoresAndNotifiesWidgets) {
    ThemeWatcher watcher;
    {
        VisualStyleOverride classic("Classic");
        EXPECT_FALSE(currentVisualStyle().active);
        {
            VisualStyleOverride metallic("Metallic");
            EXPECT_EQ(currentVisualStyle().colorName, "Metallic");
        }
        EXPECT_FALSE(currentVisualStyle().active);
    }
    EXPECT_FALSE(visualStyleOverride().has_value());
    EXPECT_EQ(watcher.changes, 4);
}
