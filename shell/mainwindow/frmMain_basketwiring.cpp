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

ImageBox& frmMain::batchBox() {
    return ibTemp;
}

void frmMain::showListRow(ListView* list, int row) {
    subShowSelectedFile(list, row);
}

void frmMain::savePreviewAs(int index) {
    mnuSavePreviewAs_Click(index);
}

ListView* frmMain::folderList() {
    return lvFolder;
}

std::vector<BasketSource> frmMain::folderRowsSelected() const {
    return selectedFolderRows();
}

bool& frmMain::folderListingAbort() {
    return AbortFolderListing;
}

void frmMain::relistFolderSoon() {
    if (!CurrentFolder.isEmpty())
        timerShowFiles->start();
}

const TaskRowList& frmMain::batchTaskRows() const {
    return lvEditBatch;
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

// Copies of the selected folder rows in list order, with their own thumbnails when
// the folder list holds thumbnails.
std::vector<BasketSource> frmMain::selectedFolderRows() const {
    std::vector<BasketSource> sources;
    const bool thumbnails = ilFolder->Count() > 0;
    for (int r : lvFolder->SelectedRows()) {
        BasketSource source;
        source.position = r;
        source.row.text = lvFolder->Text(r);
        source.row.tag = lvFolder->Tag(r);
        for (size_t s = 0; s < source.row.subItems.size(); ++s)
            source.row.subItems[s] = lvFolder->SubItem(r, static_cast<int>(s) + 1);
        if (thumbnails)
            source.row.thumbnail = ilFolder->Image(lvFolder->IconKey(r));
        sources.push_back(std::move(source));
    }
    return sources;
}

// Adds the selected folder rows. An add that runs already refuses a second one.
void frmMain::cmdAddToQueue_Click() {
    if (basket_->basketAdder->isRunning())
        return;
    errorTail(QStringLiteral("FrmMain.cmdAddToQueue_Click"), [&] {
        CurrentActivity = QStringLiteral("Adding selected files to basket!");
        if (lvFolder->Count() > 0) {
            const std::vector<BasketSource> sources = selectedFolderRows();
            basket_->basketAdder->thumbnailWidth = BasketThumbnailWidth;
            basket_->basketAdder->thumbnailHeight = BasketThumbnailHeight;
            basket_->basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
            basket_->basketBar_ = pbAddToBasket;
            pbAddToBasket->setValue(0);
            pbAddToBasket->setMax(lvFolder->Count());
            pbAddToBasket->show();
            struct BarScope {
                frmMain* w;
                ~BarScope() {
                    w->pbAddToBasket->hide();
                    w->basket_->basketBar_ = nullptr;
                }
            } bar{this};
            NotAddedReport notAdded(*basket_->basketAdder);
            basket_->basketAdder->add(sources, lvFolder->Count(), BasketAdder::Mode::Command);
            sbMain->Panel(QStringLiteral("folder"))->setText(fileMain.Path);
            pbAddToBasket->hide();
            basket_->setQueuePanel();
            subResize();
            notAdded.show();
        }
        for (int r = 1; r <= basket_->lvPages->Count(); ++r)
            basket_->lvPages->setSelected(r, false);
    });
}

// The preview's print button: the print dialog with the stored settings, which then
// keep what the user chose in it.
void frmMain::cmdPreviewPrint_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPreviewPrint_Click"), [&] {
        ImageBox& box = ibMain->box();
        if (!box.HasImage())
            return;
        putPrintSettings(box, Setup.Print);
        box.setPrintProperty89(true);
        box.PrintImage();
        box.EndPrintJob();
        takePrintSettings(box, Setup.Print);
    });
}

} // namespace picbasket
