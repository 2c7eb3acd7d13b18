// What the preview pane reaches outside itself, as the window gives it today: the
// folder and basket lists, the metadata pane, the edit view and the export dialogs.
#include "shell/mainwindow/frmMain.h"

#include "editing/EditImageData.h"
#include "export/modSavePreview.h"

#include <QTimer>

namespace picbasket {

ListView* frmMain::folderList() const {
    return folder_->lvFolder;
}

ListView* frmMain::basketList() const {
    return basket_->lvPages;
}

QString frmMain::listedFolder() const {
    return folder_->CurrentFolder;
}

void frmMain::relistFolder() {
    folder_->timerShowFiles->start();
}

ListView* frmMain::exifList() const {
    return metadata_->lvExif;
}

ListView* frmMain::iptcList() const {
    return metadata_->lvIPTC;
}

TabStrip* frmMain::metadataTabs() const {
    return metadata_->tbsMetadata;
}

void frmMain::readExifInfo(ImageBox& box, const QString& filePath) {
    metadata_->ReadFileEXIFInfo(box, metadata_->lvExif, filePath);
}

void frmMain::readIptcInfo(ImageBox& box, const QString& filePath) {
    metadata_->ReadFileIPTCInfo(box, metadata_->lvIPTC, filePath);
}

void frmMain::showMetadataPane(bool exif, bool iptc) {
    subShowMetadataPane(exif, iptc);
}

bool frmMain::editViewShown() const {
    return edit_->fncIsEditView();
}

void frmMain::editImageChanged() {
    edit_->subEditViewImageChanged();
}

void frmMain::runTaskBasket(bool noStop) {
    edit_->subProcessTaskBasket(noStop);
}

void frmMain::editPreviewedImage() {
    edit_->CmdPreviewEdit_Click();
}

void frmMain::markTaskOptionsChanged() {
    edit_->TaskOptionsChanged = true;
}

QImage frmMain::originalImage() const {
    return OriginalImageData;
}

void frmMain::setOriginalImage(const QImage& image) {
    OriginalImageData = image;
}

QString frmMain::savePreviewDialog(ImageBox& box) {
    return fncSavePreviewToFile_Dialog(box, this);
}

void frmMain::showGreetingDemo() {
    subShowGreetingDemo();
}

} // namespace picbasket
