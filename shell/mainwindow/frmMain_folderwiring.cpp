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
    preview_->subShowSelectedFile(list, row);
}

FileListBox& frmMain::folderFiles() {
    return preview_->fileMain;
}

ImageBox& frmMain::listingBox() {
    return preview_->ibMain->box();
}

ProgressBar* frmMain::listingBar() {
    return basket_->pbQueue;
}

bool frmMain::basketAddRuns() const {
    return basket_->basketAdder->isRunning();
}

void frmMain::addFolderRowsToBasket(const std::vector<BasketSource>& rows, int maximum,
                                    ProgressBar* bar) {
    basket_->basketAdder->thumbnailWidth = BasketThumbnailWidth;
    basket_->basketAdder->thumbnailHeight = BasketThumbnailHeight;
    basket_->basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
    basket_->basketBar_ = bar;
    bar->setValue(0);
    bar->setMax(maximum);
    bar->show();
    struct BarScope {
        frmMain* w;
        ProgressBar* bar;
        ~BarScope() {
            bar->hide();
            w->basket_->basketBar_ = nullptr;
        }
    } scope{this, bar};
    NotAddedReport notAdded(*basket_->basketAdder);
    basket_->basketAdder->add(rows, maximum, BasketAdder::Mode::Command);
    sbMain->Panel(QStringLiteral("folder"))->setText(preview_->fileMain.Path);
    bar->hide();
    basket_->setQueuePanel();
    subResize();
    notAdded.show();
}

void frmMain::clearBasketSelection() {
    for (int r = 1; r <= basket_->lvPages->Count(); ++r)
        basket_->lvPages->setSelected(r, false);
}

} // namespace picbasket
