#include "shell/mainwindow/frmMain.h"

#include "export/modGenerators.h"
#include "export/modSavePreview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace picbasket {

// "Save Preview As" > "Image document": the preview's image, through the save
// dialog with its options panel. Nothing happens while the preview is empty.
void frmMain::subSavePreviewToFile() {
    if (!ibMain || !ibMain->box().HasImage())
        return;
    const QString saved = fncSavePreviewToFile_Dialog(ibMain->box(), this);
    // A file saved into the folder shown is listed with the others.
    if (!saved.isEmpty() && !folder_->CurrentFolder.isEmpty() &&
        QFileInfo(saved).absoluteDir() == QDir(folder_->CurrentFolder))
        folder_->timerShowFiles->start();
}

// The slide-show generator for the basket's images, modal.
void frmMain::subShowSlideShowDialog() {
    picbasket::subShowSlideShowDialog(*this);
}

// The screensaver generator: mode 0 the previewed image, 1 the basket's images.
// The single-image mode needs a file in the preview.
void frmMain::subShowScreensaverDemo(int generateMode) {
    picbasket::subShowScreensaverDemo(*this, generateMode);
}

// The greeting generator for the previewed image, modal; nothing without one.
void frmMain::subShowGreetingDemo() {
    picbasket::subShowGreetingDemo(*this);
}

// GeneratorHost: what the generator dialogs read of the window and its panes.
QWidget& frmMain::generatorOwner() {
    return *this;
}

const ListView& frmMain::generatorTaskList() {
    return *edit_->lvEdit;
}

const ListView& frmMain::generatorEditTaskList() {
    return *edit_->lvEditPreview;
}

const TaskRowList& frmMain::generatorTaskRows() {
    return edit_->lvEditBatch;
}

const ListView& frmMain::generatorBasket() {
    return *basket_->lvPages;
}

QString frmMain::generatorPreviewedFile() {
    return ibMain->box().Tag();
}

} // namespace picbasket
