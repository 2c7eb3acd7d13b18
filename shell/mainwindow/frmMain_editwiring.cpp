// What the window gives its edit view: the answers of EditViewHost (the preview's box,
// selection, flags and tool bar, and which view the splitter tree shows), and the
// window's side of the edit view's requests, the switch of the splitter tree between
// the explorer and the edit view (connected in frmMain::connectPanes).
#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

#include "browser/SelectionController.h"
#include "controls/splitter/Splitter.h"
#include "editing/EditViewSplitters.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace picbasket {

ImageBoxView* PaneWiring::previewView() {
    return w_.preview_->box();
}

SelectionController* PaneWiring::previewSelection() {
    return w_.preview_->selection();
}

bool PaneWiring::previewOptimized() const {
    return w_.preview_->optimized();
}

bool PaneWiring::previewUnchanged() const {
    return w_.preview_->unchanged();
}

QPushButton* PaneWiring::previewEditButton() {
    return w_.preview_->editButton();
}

QMenu* PaneWiring::previewMenu() {
    return w_.preview_->previewMenu();
}

bool PaneWiring::editLayoutShown() const {
    return picbasket::fncIsEditView(*w_.splMain, *w_.splView);
}

void frmMain::subEnterEditLayout() {
    const FolderTreeview* tree = folder_->tree();
    folderTreePlace_ = {tree->SelectedFolder(), tree->verticalScrollBar()->value(),
                        tree->horizontalScrollBar()->value()};
    subDetachForEditView(*splMain, *splRight, *splView);
}

void frmMain::subLeaveEditLayout() {
    subAttachForExplorerView(*splMain, *splRight, *splView, preview_->view());
}

// The tree was hidden and sized anew by the edit view; the place the user left it at is
// put back now and once more after the layout the return queued has run.
void frmMain::subRestoreFolderTree() {
    const auto place = folderTreePlace_;
    FolderTreeview* tree = folder_->tree();
    const auto restore = [tree, place] {
        if (!place.folder.isEmpty() && tree->SelectedFolder() != place.folder)
            tree->setSelectedFolder(place.folder);
        tree->verticalScrollBar()->setValue(place.vertical);
        tree->horizontalScrollBar()->setValue(place.horizontal);
    };
    restore();
    QTimer::singleShot(0, this, restore);
}

} // namespace picbasket
