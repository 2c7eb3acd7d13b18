// What the image basket asks of the preview, the folder pane, the edit view and the
// window's dialogs, answered from those.
#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

#include "browser/BasketAdder.h"
#include "browser/NotAddedReport.h"
#include "browser/PrintSettings.h"
#include "browser/frmDummy.h"
#include "browser/modBasketList.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QTimer>

namespace picbasket {

ImageBox& PaneWiring::previewBox() {
    return w_.preview_->ibMain->box();
}

ImageBox& PaneWiring::batchBox() {
    return w_.preview_->ibTemp;
}

void PaneWiring::showListRow(ListView* list, int row) {
    w_.preview_->subShowSelectedFile(list, row);
}

void PaneWiring::savePreviewAs(int index) {
    w_.preview_->mnuSavePreviewAs_Click(index);
}

ListView* PaneWiring::folderList() {
    return w_.folder_->lvFolder;
}

std::vector<BasketSource> PaneWiring::folderRowsSelected() const {
    return w_.folder_->selectedFolderRows();
}

bool& PaneWiring::folderListingAbort() {
    return w_.folder_->AbortFolderListing;
}

void PaneWiring::relistFolderSoon() {
    if (!w_.folder_->CurrentFolder.isEmpty())
        w_.folder_->timerShowFiles->start();
}

const TaskRowList& PaneWiring::batchTaskRows() const {
    return w_.edit_->lvEditBatch;
}

void PaneWiring::showScannerDialog() {
    w_.subShowTwainDialog();
}

void PaneWiring::showCaptureDialog() {
    w_.subShowCaptureDialog();
}

void PaneWiring::showSlideShowDialog() {
    w_.subShowSlideShowDialog();
}

void PaneWiring::showScreensaverDemo(int generateMode) {
    w_.subShowScreensaverDemo(generateMode);
}

void PaneWiring::deleteTemporaryPages() {
    w_.subDeleteTemporaryPages();
}

QMenu* PaneWiring::batchMenu() {
    return w_.Dummy()->mnuBatchParent();
}

} // namespace picbasket
