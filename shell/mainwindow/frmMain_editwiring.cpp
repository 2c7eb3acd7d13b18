// What the window gives its edit view: the preview's box, selection, flags and tool
// bar, and the switch of the splitter tree between the explorer and the edit view.
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

ImageBoxView* frmMain::previewView() {
    return preview_->ibMain;
}

SelectionController* frmMain::previewSelection() {
    return preview_->PreviewSelection;
}

void frmMain::clearPreviewSelection() {
    preview_->subClearSelection();
}

bool frmMain::previewOptimized() const {
    return preview_->PreviewOptimized;
}

bool frmMain::previewUnchanged() const {
    return preview_->PreviewUnchanged;
}

void frmMain::setPreviewUnchanged(bool unchanged) {
    preview_->PreviewUnchanged = unchanged;
}

QPushButton* frmMain::previewEditButton() {
    return preview_->CmdPreviewEdit;
}

QMenu* frmMain::previewMenu() {
    return preview_->mnuPreviewParent;
}

void frmMain::enablePreviewType(bool enable) {
    preview_->cmdPreviewType->setEnabled(enable);
}

bool frmMain::editLayoutShown() const {
    return picbasket::fncIsEditView(*splMain, *splView);
}

void frmMain::enterEditLayout() {
    folderTreePlace_ = {folder_->ftvBrowse->SelectedFolder(), folder_->ftvBrowse->verticalScrollBar()->value(),
                        folder_->ftvBrowse->horizontalScrollBar()->value()};
    subDetachForEditView(*splMain, *splRight, *splView);
}

void frmMain::leaveEditLayout() {
    subAttachForExplorerView(*splMain, *splRight, *splView, preview_->picView);
}

// The tree was hidden and sized anew by the edit view; the place the user left it at is
// put back now and once more after the layout the return queued has run.
void frmMain::subRestoreFolderTree() {
    const FolderTreePlace place = folderTreePlace_;
    const auto restore = [this, place] {
        if (!place.folder.isEmpty() && folder_->ftvBrowse->SelectedFolder() != place.folder)
            folder_->ftvBrowse->setSelectedFolder(place.folder);
        folder_->ftvBrowse->verticalScrollBar()->setValue(place.vertical);
        folder_->ftvBrowse->horizontalScrollBar()->setValue(place.horizontal);
    };
    restore();
    QTimer::singleShot(0, this, restore);
}

} // namespace picbasket
