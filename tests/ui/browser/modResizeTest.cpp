#include "browser/modResize.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/dialogs/modCommonDialogAPI.h"
#include "core/OleColor.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(FitPictureInBoxTest, CentresWhatFitsAndPutsTheRestAtItsStart) {
    struct Case {
        QSize box;
        QPoint at;
    };
    QWidget container;
    container.resize(200, 100);
    for (const Case& c : {Case{{50, 40}, {75, 30}}, Case{{200, 100}, {0, 0}},
                          Case{{300, 40}, {0, 30}}, Case{{51, 400}, {74, 0}}}) {
        QWidget box(&container);
        box.setGeometry(7, 9, c.box.width(), c.box.height());
        subFitPictureInBox(&container, &box);
        EXPECT_EQ(box.pos(), c.at) << c.box.width() << " x " << c.box.height();
        EXPECT_EQ(box.size(), c.box);
    }
}

TEST(ShowColorDialogTest, OnlyAChosenColourBecomesTheBackColour) {
    ColorDialog = {};
    FakeDialogBackend dialogs;
    QWidget owner, target;
    const QColor before = target.palette().color(QPalette::Window);

    dialogs.cancelColor();
    EXPECT_FALSE(fncShowColorDialog(&owner, &target));
    EXPECT_EQ(target.palette().color(QPalette::Window), before);

    dialogs.chooseColor(rgbOle(10, 20, 30));
    EXPECT_TRUE(fncShowColorDialog(&owner, &target));
    EXPECT_EQ(target.palette().color(QPalette::Window), QColor(10, 20, 30));
    EXPECT_TRUE(target.autoFillBackground());
    ColorDialog = {};
}
