// What the preview needs answered at once: the edit view's state, the image as loaded
// and the save dialog.
#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

#include "editing/EditImageData.h"
#include "export/modSavePreview.h"

namespace picbasket {

bool PaneWiring::editViewShown() const {
    return w_.edit_->fncIsEditView();
}

QImage PaneWiring::originalImage() const {
    return OriginalImageData;
}

QString PaneWiring::savePreviewDialog(ImageBox& box) {
    return fncSavePreviewToFile_Dialog(box, &w_);
}

} // namespace picbasket
