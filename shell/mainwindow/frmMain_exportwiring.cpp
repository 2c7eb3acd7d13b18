#include "shell/mainwindow/frmMain.h"

#include "export/modGenerators.h"
#include "export/modSavePreview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace picbasket {

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
    return preview_->ibMain->box().Tag();
}

} // namespace picbasket
