#include "acquisition/frmCapture.h"
#include "acquisition/frmTwain.h"
#include "metadata/MetadataPane.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

namespace picbasket {

// Screen capture: the capture dialog, modal, owned by the main window.
void frmMain::subShowCaptureDialog() {
    picbasket::subShowCaptureDialog(*wiring_);
}

// Scanning: the acquisition dialog, modal; a new one each time, as closing it unloads it.
void frmMain::subShowTwainDialog() {
    picbasket::subShowTwainDialog(*wiring_);
}

// AcquisitionTarget: a capture or a scan reaches the panes through the window.
QWidget& PaneWiring::acquisitionWindow() {
    return w_;
}

PaneWindow& PaneWiring::acquisitionPaneWindow() {
    return w_;
}

void PaneWiring::setAcquiredPicture(const QImage& picture) {
    w_.preview_->setShownPicture(picture);
}

void PaneWiring::setAcquiredFile(const QString& path) {
    w_.listFocus_.PicTiffTag = path;
}

void PaneWiring::clearAcquisitionSelection() {
    w_.preview_->subClearSelection();
}

void PaneWiring::fitAcquiredPicture() {
    w_.preview_->subFixedSizeTiff();
}

int PaneWiring::acquisitionPreviewFit() const {
    return w_.preview_->checkedPreviewFit();
}

void PaneWiring::acquiredPictureChanged() {
    w_.edit_->subEditViewImageChanged();
}

int PaneWiring::addAcquiredBasketRow(const BasketRow& row, const QImage& thumbnail) {
    return w_.basket_->subAddBasketRow(row, thumbnail);
}

void PaneWiring::showAcquiredMetadata(ImageBox& box, const QString& path) {
    w_.metadata_->clearLists();
    w_.metadata_->ReadFileIPTCInfo(box, w_.metadata_->iptcList(), path);
}

} // namespace picbasket
