#pragma once
#include "controls/explorerbar/ExplorerBarModel.h"
#include "controls/explorerbar/ExplorerTextMeasurer.h"

namespace picbasket {

// What the layout pass needs to know of the widget.
struct ExplorerLayoutInput {
    int ScaleWidth = 0;  // client size in pixels, scroll bar included
    int ScaleHeight = 0;
    int ScrollBarWidth = 16;
    bool ScrollBarVisible = false; // the bar's state before this pass
    bool ControlVisible = true;    // the bar is shown only while the control is
    int ScrollTop = 0;
};

// The scroll bar and view the pass settled on.
struct ExplorerLayoutResult {
    int ContentWidth = 0;
    bool ScrollBarVisible = false;
    int ScrollMax = 1;
    int SmallChange = 4;
    int LargeChange = 0;
    int ScrollTop = 0;
    ExplorerRect ClientRect;
    ExplorerRect ScrollBarRect; // at the right edge, full height
};

// The layout pass: writes HeaderRect, BodyHeight, ItemRect and the details
// TextRect of every group in pixels, then decides the scroll bar. Showing or
// hiding the bar changes the content width, so the pass runs again until both
// agree; a scroll offset past the new range is pulled back the same way.
//
//   y = -ScrollTop
//   special header   (8, y+16)-(W-8, y+40), body from +10: items 8 apart
//   each group       10 above, header 24 high, body: items or the hosted child
//   details header   8 above, 24 high, body: picture room, title, text
ExplorerLayoutResult CalculateLayout(ExplorerBarModel& model, const ExplorerLayoutInput& input,
                                     const ExplorerTextMeasurer& measurer);

} // namespace picbasket
