#include "acquisition/frmCapture.h"
#include "acquisition/frmTwain.h"
#include "metadata/MetadataPane.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmMain.h"

#include <QPushButton>

namespace picbasket {

void frmMain::connectAcquisition() {
    connect(folder_->cmdCapture, &QPushButton::clicked, this, &frmMain::subShowCaptureDialog);
}

// Screen capture: the capture dialog, modal, owned by the main window.
void frmMain::subShowCaptureDialog() {
    picbasket::subShowCaptureDialog(*this);
}

// Scanning: the acquisition dialog, modal; a new one each time, as closing it unloads it.
void frmMain::subShowTwainDialog() {
    picbasket::subShowTwainDialog(*this);
}

// AcquisitionTarget: a capture or a scan reaches the panes through the window.
QWidget& frmMain::acquisitionWindow() {
    return *this;
}

PaneWindow& frmMain::acquisitionPaneWindow() {
    return *this;
}

ImageBoxView& frmMain::acquisitionPreview() {
    return *preview_->ibMain;
}

void frmMain::setAcquiredPicture(const QImage& picture) {
    preview_->PicTiff = picture;
}

void frmMain::setAcquiredFile(const QString& path) {
    preview_->PicTiffTag = path;
}

void frmMain::clearAcquisitionSelection() {
    preview_->subClearSelection();
}

void frmMain::fitAcquiredPicture() {
    preview_->subFixedSizeTiff();
}

int frmMain::acquisitionPreviewFit() const {
    return preview_->checkedPreviewFit();
}

void frmMain::acquiredPictureChanged() {
    edit_->subEditViewImageChanged();
}

int frmMain::addAcquiredBasketRow(const BasketRow& row, const QImage& thumbnail) {
    return basket_->subAddBasketRow(row, thumbnail);
}

void frmMain::showAcquiredMetadata(ImageBox& box, const QString& path) {
    metadata_->lvExif->Clear();
    metadata_->lvIPTC->Clear();
    metadata_->ReadFileIPTCInfo(box, metadata_->lvIPTC, path);
}

} // namespace picbasket
