// The window's side of the image basket: what the basket asks of the preview, the
// folder pane, the edit view and the window's dialogs, and the folder pane's add
// command, which fills the basket.
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

ImageBox& frmMain::previewBox() {
    return preview_->ibMain->box();
}

ImageBox& frmMain::batchBox() {
    return preview_->ibTemp;
}

void frmMain::showListRow(ListView* list, int row) {
    preview_->subShowSelectedFile(list, row);
}

void frmMain::savePreviewAs(int index) {
    preview_->mnuSavePreviewAs_Click(index);
}

ListView* frmMain::folderList() {
    return folder_->lvFolder;
}

std::vector<BasketSource> frmMain::folderRowsSelected() const {
    return folder_->selectedFolderRows();
}

bool& frmMain::folderListingAbort() {
    return folder_->AbortFolderListing;
}

void frmMain::relistFolderSoon() {
    if (!folder_->CurrentFolder.isEmpty())
        folder_->timerShowFiles->start();
}

const TaskRowList& frmMain::batchTaskRows() const {
    return edit_->lvEditBatch;
}

void frmMain::showScannerDialog() {
    subShowTwainDialog();
}

void frmMain::showCaptureDialog() {
    subShowCaptureDialog();
}

void frmMain::showSlideShowDialog() {
    subShowSlideShowDialog();
}

void frmMain::showScreensaverDemo(int generateMode) {
    subShowScreensaverDemo(generateMode);
}

void frmMain::deleteTemporaryPages() {
    subDeleteTemporaryPages();
}

QMenu* frmMain::batchMenu() {
    return Dummy()->mnuBatchParent();
}

} // namespace picbasket
