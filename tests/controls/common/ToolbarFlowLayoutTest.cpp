#include "controls/common/ToolbarFlowLayout.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

using namespace picbasket;

namespace {

// A bar of fixed 20 x 10 buttons: three at the left (the last two kept together)
// and two at the right, with no margins and a gap of 1.
struct Bar {
    QWidget host;
    ToolbarFlowLayout* flow = new ToolbarFlowLayout(&host);
    std::vector<QWidget*> buttons;
    Bar() {
        flow->setContentsMargins(0, 0, 0, 0);
        flow->setSpacing(1);
        for (int i = 0; i < 5; ++i) {
            if (i == 1)
                flow->startGroup();
            if (i == 3)
                flow->addStretch(1);
            auto* button = new QWidget(&host);
            button->setFixedSize(i == 0 ? 30 : 20, 10);
            flow->addWidget(button);
            buttons.push_back(button);
        }
    }
    std::vector<QPoint> placedAt(int width) {
        const int height = flow->heightForWidth(width);
        flow->setGeometry(QRect(0, 0, width, height));
        std::vector<QPoint> at;
        for (QWidget* button : buttons)
            at.push_back(button->isHidden() ? QPoint(-1, -1) : button->pos());
        return at;
    }
};

} // namespace

TEST(ToolbarFlowLayout, WrapsInsteadOfCuttingAndKeepsTheRightGroupRight) {
    const struct {
        const char* name;
        int width;
        bool hideFirst;
        int height;
        std::vector<QPoint> at;
    } rows[] = {
        {"one row", 200, false, 10, {{0, 0}, {31, 0}, {52, 0}, {159, 0}, {180, 0}}},
        {"right group on its own row", 100, false, 21, {{0, 0}, {31, 0}, {52, 0}, {59, 11}, {80, 11}}},
        {"the pair moves on together", 60, false, 32,
         {{0, 0}, {0, 11}, {21, 11}, {19, 22}, {40, 22}}},
        {"narrower than the right group", 30, false, 54,
         {{0, 0}, {0, 11}, {0, 22}, {0, 33}, {0, 44}}},
        {"a hidden button takes no room", 100, true, 10,
         {{-1, -1}, {0, 0}, {21, 0}, {59, 0}, {80, 0}}},
    };
    for (const auto& row : rows) {
        Bar bar;
        if (row.hideFirst)
            bar.buttons[0]->hide();
        EXPECT_EQ(bar.flow->heightForWidth(row.width), row.height) << row.name;
        EXPECT_EQ(bar.placedAt(row.width), row.at) << row.name;
    }
}
