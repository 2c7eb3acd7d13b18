// What the folder pane asks of the preview and the basket, answered by the window
// that holds them.
#include "browser/BasketAdder.h"
#include "browser/NotAddedReport.h"
#include "browser/modBasketList.h"
#include "core/AppPaths.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmMain.h"

namespace picbasket {

void frmMain::showFolderRow(ListView* list, int row) {
    subShowSelectedFile(list, row);
}

FileListBox& frmMain::folderFiles() {
    return fileMain;
}

ImageBox& frmMain::listingBox() {
    return ibMain->box();
}

ProgressBar* frmMain::listingBar() {
    return pbQueue;
}

bool frmMain::basketAddRuns() const {
    return basketAdder->isRunning();
}

void frmMain::addFolderRowsToBasket(const std::vector<BasketSource>& rows, int maximum,
                                    ProgressBar* bar) {
    basketAdder->thumbnailWidth = BasketThumbnailWidth;
    basketAdder->thumbnailHeight = BasketThumbnailHeight;
    basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
    basketBar_ = bar;
    bar->setValue(0);
    bar->setMax(maximum);
    bar->show();
    struct BarScope {
        frmMain* w;
        ProgressBar* bar;
        ~BarScope() {
            bar->hide();
            w->basketBar_ = nullptr;
        }
    } scope{this, bar};
    NotAddedReport notAdded(*basketAdder);
    basketAdder->add(rows, maximum, BasketAdder::Mode::Command);
    sbMain->Panel(QStringLiteral("folder"))->setText(fileMain.Path);
    bar->hide();
    setQueuePanel();
    subResize();
    notAdded.show();
}

void frmMain::clearBasketSelection() {
    for (int r = 1; r <= lvPages->Count(); ++r)
        lvPages->setSelected(r, false);
}

void frmMain::pbQueue_MouseDown() {
    folder_->AbortFolderListing = true;
}

} // namespace picbasket
