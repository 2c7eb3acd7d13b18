#include "shell/mainwindow/frmMain.h"

#include "export/modSavePreview.h"
#include "platform/imagebox/ImageBoxView.h"

namespace picbasket {

// "Save Preview As" > "Image document": the preview's image, through the save
// dialog with its options panel. Nothing happens while the preview is empty.
void frmMain::subSavePreviewToFile() {
    if (!ibMain || !ibMain->box().HasImage())
        return;
    fncSavePreviewToFile_Dialog(ibMain->box(), this);
}

// The slide-show generator for the basket's images, modal.
void frmMain::subShowSlideShowDialog() {}

// The screensaver generator: mode 0 the previewed image, 1 the basket's images.
void frmMain::subShowScreensaverDemo(int generateMode) {
    (void)generateMode;
}

// The greeting generator for the previewed image, modal.
void frmMain::subShowGreetingDemo() {}

} // namespace picbasket
