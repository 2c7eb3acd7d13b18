// What the window gives its edit view: the preview's box, selection, flags and tool
// bar, and the switch of the splitter tree between the explorer and the edit view.
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

void PaneWiring::clearPreviewSelection() {
    w_.preview_->subClearSelection();
}

bool PaneWiring::previewOptimized() const {
    return w_.preview_->optimized();
}

bool PaneWiring::previewUnchanged() const {
    return w_.preview_->unchanged();
}

void PaneWiring::setPreviewUnchanged(bool unchanged) {
    w_.preview_->setUnchanged(unchanged);
}

QPushButton* PaneWiring::previewEditButton() {
    return w_.preview_->editButton();
}

QMenu* PaneWiring::previewMenu() {
    return w_.preview_->previewMenu();
}

void PaneWiring::enablePreviewType(bool enable) {
    w_.preview_->typeButton()->setEnabled(enable);
}

bool PaneWiring::editLayoutShown() const {
    return picbasket::fncIsEditView(*w_.splMain, *w_.splView);
}

void PaneWiring::enterEditLayout() {
    const FolderTreeview* tree = w_.folder_->tree();
    w_.folderTreePlace_ = {tree->SelectedFolder(), tree->verticalScrollBar()->value(),
                           tree->horizontalScrollBar()->value()};
    subDetachForEditView(*w_.splMain, *w_.splRight, *w_.splView);
}

void PaneWiring::leaveEditLayout() {
    subAttachForExplorerView(*w_.splMain, *w_.splRight, *w_.splView, w_.preview_->view());
}

// The tree was hidden and sized anew by the edit view; the place the user left it at is
// put back now and once more after the layout the return queued has run.
void PaneWiring::subRestoreFolderTree() {
    const auto place = w_.folderTreePlace_;
    FolderTreeview* tree = w_.folder_->tree();
    const auto restore = [tree, place] {
        if (!place.folder.isEmpty() && tree->SelectedFolder() != place.folder)
            tree->setSelectedFolder(place.folder);
        tree->verticalScrollBar()->setValue(place.vertical);
        tree->horizontalScrollBar()->setValue(place.horizontal);
    };
    restore();
    QTimer::singleShot(0, &w_, restore);
}

} // namespace picbasket
