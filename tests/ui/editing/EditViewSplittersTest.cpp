#include "editing/EditViewSplitters.h"
#include "controls/splitter/Splitter.h"

#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// The main window's splitter tree, panes and all.
struct Tree {
    Splitter splMain, splRight, splLeft, splView;
    QWidget picBrowse, picView, PicMetadata;
    Tree() {
        splMain.setLeftOrTopControl(&splRight);
        splMain.setRightOrBottomControl(&splLeft);
        splRight.setLeftOrTopControl(&picBrowse);
        splRight.setRightOrBottomControl(&splView);
        splView.setLeftOrTopControl(&picView);
        splView.setRightOrBottomControl(&PicMetadata);
    }
};

} // namespace

TEST(EditViewSplitters, EnteringAndLeavingRestoresTheTree) {
    Tree t;
    EXPECT_FALSE(fncIsEditView(t.splMain, t.splView));
    subDetachForEditView(t.splMain, t.splRight, t.splView);
    EXPECT_TRUE(fncIsEditView(t.splMain, t.splView));
    EXPECT_EQ(t.splRight.RightOrBottomControl(), nullptr);
    EXPECT_EQ(t.splRight.LeftOrTopControl(), &t.picBrowse);
    EXPECT_EQ(t.splView.RightOrBottomControl(), &t.PicMetadata);
    EXPECT_EQ(t.splMain.RightOrBottomControl(), &t.splLeft);

    subAttachForExplorerView(t.splMain, t.splRight, t.splView, &t.picView);
    EXPECT_FALSE(fncIsEditView(t.splMain, t.splView));
    EXPECT_EQ(t.splMain.LeftOrTopControl(), &t.splRight);
    EXPECT_EQ(t.splRight.RightOrBottomControl(), &t.splView);
    EXPECT_EQ(t.splView.LeftOrTopControl(), &t.picView);
    EXPECT_EQ(t.splView.RightOrBottomControl(), &t.PicMetadata);
}

TEST(EditViewSplitters, HiddenMetadataPaneStaysHiddenOnReturn) {
    Tree t;
    t.splView.setLeftOrTopControl(nullptr);
    t.splView.setRightOrBottomControl(nullptr);
    // Only the main splitter's first pane tells the edit view from this state.
    EXPECT_FALSE(fncIsEditView(t.splMain, t.splView));
    subDetachForEditView(t.splMain, t.splRight, t.splView);
    EXPECT_TRUE(fncIsEditView(t.splMain, t.splView));
    subAttachForExplorerView(t.splMain, t.splRight, t.splView, &t.picView);
    EXPECT_FALSE(fncIsEditView(t.splMain, t.splView));
    EXPECT_EQ(t.splView.LeftOrTopControl(), nullptr);
    EXPECT_EQ(t.splView.RightOrBottomControl(), nullptr);
}
