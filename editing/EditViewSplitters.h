#pragma once

class QWidget;

namespace picbasket {

class Splitter;

// The two views of the main window live in its splitter tree itself:
//
//   explorer view                      edit view
//   splMain ── top:    splRight        splMain ── top:    (none)
//           │          ├ picBrowse             │          splRight ── picBrowse
//           │          └ splView               │                    └ (none)
//           │            ├ picView             │          splView ── (none)
//           │            └ PicMetadata         │                   └ PicMetadata
//           └─ bottom: splLeft                 └─ bottom: splLeft
//
// The layout then gives the detached preview pane the whole window.

// The edit view: neither splMain nor splView has its first pane.
bool fncIsEditView(const Splitter& splMain, const Splitter& splView);
// Detaches splRight from splMain, splView from splRight and the preview from splView.
void subDetachForEditView(Splitter& splMain, Splitter& splRight, Splitter& splView);
// Attaches splRight and splView again, and the preview only while splView still
// holds its other pane (the metadata pane); without it the explorer view shows the
// preview alone in the metadata pane's place.
void subAttachForExplorerView(Splitter& splMain, Splitter& splRight, Splitter& splView,
                              QWidget* picView);

} // namespace picbasket
