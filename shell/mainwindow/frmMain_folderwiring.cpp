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
#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

namespace picbasket {

void PaneWiring::showFolderRow(ListView* list, int row) {
    w_.preview_->subShowSelectedFile(list, row);
}

FileListBox& PaneWiring::folderFiles() {
    return w_.preview_->fileMain;
}

ImageBox& PaneWiring::listingBox() {
    return w_.preview_->ibMain->box();
}

ProgressBar* PaneWiring::listingBar() {
    return w_.basket_->pbQueue;
}

bool PaneWiring::basketAddRuns() const {
    return w_.basket_->basketAdder->isRunning();
}

void PaneWiring::addFolderRowsToBasket(const std::vector<BasketSource>& rows, int maximum,
                                    ProgressBar* bar) {
    w_.basket_->basketAdder->thumbnailWidth = BasketThumbnailWidth;
    w_.basket_->basketAdder->thumbnailHeight = BasketThumbnailHeight;
    w_.basket_->basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
    w_.basket_->basketBar_ = bar;
    bar->setValue(0);
    bar->setMax(maximum);
    bar->show();
    struct BarScope {
        BasketPane* basket;
        ProgressBar* bar;
        ~BarScope() {
            bar->hide();
            basket->basketBar_ = nullptr;
        }
    } scope{w_.basket_, bar};
    NotAddedReport notAdded(*w_.basket_->basketAdder);
    w_.basket_->basketAdder->add(rows, maximum, BasketAdder::Mode::Command);
    w_.sbMain->Panel(QStringLiteral("folder"))->setText(w_.preview_->fileMain.Path);
    bar->hide();
    w_.basket_->setQueuePanel();
    w_.subResize();
    notAdded.show();
}

void PaneWiring::clearBasketSelection() {
    for (int r = 1; r <= w_.basket_->lvPages->Count(); ++r)
        w_.basket_->lvPages->setSelected(r, false);
}

} // namespace picbasket
