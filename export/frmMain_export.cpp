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

} // namespace picbasket
