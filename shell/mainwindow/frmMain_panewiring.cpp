// What the panes ask of each other and need answered at once (PaneQueries), each
// answered from the pane that owns it.
#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

#include "browser/frmDummy.h"
#include "platform/imagebox/ImageBoxView.h"

namespace picbasket {

ImageBox& PaneWiring::batchBox() {
    return w_.preview_->batchBox();
}

FileListBox& PaneWiring::folderFiles() {
    return w_.preview_->folderFiles();
}

std::vector<BasketSource> PaneWiring::folderRowsSelected() const {
    return w_.folder_->selectedFolderRows();
}

bool& PaneWiring::folderListingAbort() {
    return w_.folder_->listingAbortFlag();
}

ProgressBar* PaneWiring::basketBar() {
    return w_.basket_->bar();
}

bool PaneWiring::basketAddRuns() const {
    return w_.basket_->adding();
}

const TaskRowList& PaneWiring::batchTaskRows() const {
    return w_.edit_->taskRows();
}

QMenu* PaneWiring::batchMenu() {
    return w_.Dummy()->mnuBatchParent();
}

} // namespace picbasket
