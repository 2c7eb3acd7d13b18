#include "editing/EditViewSplitters.h"

#include "controls/splitter/Splitter.h"

namespace picbasket {

bool fncIsEditView(const Splitter& splMain, const Splitter& splView) {
    return splMain.LeftOrTopControl() == nullptr && splView.LeftOrTopControl() == nullptr;
}

void subDetachForEditView(Splitter& splMain, Splitter& splRight, Splitter& splView) {
    splMain.setLeftOrTopControl(nullptr);
    splRight.setRightOrBottomControl(nullptr);
    splView.setLeftOrTopControl(nullptr);
}

void subAttachForExplorerView(Splitter& splMain, Splitter& splRight, Splitter& splView,
                              QWidget* picView) {
    splMain.setLeftOrTopControl(&splRight);
    splRight.setRightOrBottomControl(&splView);
    if (splView.RightOrBottomControl() != nullptr)
        splView.setLeftOrTopControl(picView);
}

} // namespace picbasket
