// The preview pane's faces, answered from the window's other panes: the folder and basket
// lists, the metadata pane, the edit view and the export dialogs.
#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

#include "editing/EditImageData.h"
#include "export/modSavePreview.h"

#include <QTimer>

namespace picbasket {

ListView* PaneWiring::basketList() const {
    return w_.basket_->list();
}

QString PaneWiring::listedFolder() const {
    return w_.folder_->currentFolder();
}

void PaneWiring::relistFolder() {
    w_.folder_->relistSoon();
}

ListView* PaneWiring::exifList() const {
    return w_.metadata_->exifList();
}

ListView* PaneWiring::iptcList() const {
    return w_.metadata_->iptcList();
}

TabStrip* PaneWiring::metadataTabs() const {
    return w_.metadata_->tabs();
}

void PaneWiring::readExifInfo(ImageBox& box, const QString& filePath) {
    w_.metadata_->ReadFileEXIFInfo(box, w_.metadata_->exifList(), filePath);
}

void PaneWiring::readIptcInfo(ImageBox& box, const QString& filePath) {
    w_.metadata_->ReadFileIPTCInfo(box, w_.metadata_->iptcList(), filePath);
}

void PaneWiring::showMetadataPane(bool exif, bool iptc) {
    w_.subShowMetadataPane(exif, iptc);
}

bool PaneWiring::editViewShown() const {
    return w_.edit_->fncIsEditView();
}

void PaneWiring::editImageChanged() {
    w_.edit_->subEditViewImageChanged();
}

void PaneWiring::runTaskBasket(bool noStop) {
    w_.edit_->subProcessTaskBasket(noStop);
}

void PaneWiring::editPreviewedImage() {
    w_.edit_->CmdPreviewEdit_Click();
}

void PaneWiring::markTaskOptionsChanged() {
    w_.edit_->setTaskOptionsChanged(true);
}

QImage PaneWiring::originalImage() const {
    return OriginalImageData;
}

void PaneWiring::setOriginalImage(const QImage& image) {
    OriginalImageData = image;
}

QString PaneWiring::savePreviewDialog(ImageBox& box) {
    return fncSavePreviewToFile_Dialog(box, &w_);
}

void PaneWiring::showGreetingDemo() {
    w_.subShowGreetingDemo();
}

void PaneWiring::showScreensaverDemo(int generateMode) {
    w_.subShowScreensaverDemo(generateMode);
}

} // namespace picbasket
