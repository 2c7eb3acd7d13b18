#pragma once
#include <QString>

namespace picbasket {

class frmMain;

// What the screen capture and the scanner share once a picture has become the
// preview's image and its file exists at `path`: a basket thumbnail of the preview's
// image (fitted into the basket box, centred on white) and, only when it could be
// made, a basket row for the file (text the file name without its extension,
// resolution "w X h" of the preview, size and type of the file, the path as tag and
// source), added through BasketPane::subAddBasketRow. The path becomes the preview's
// current file (PicTiffTag and the box's Tag), the status panels describe it, the
// EXIF list is emptied and the IPTC list filled from the preview. Returns the new
// row's number, 0 when no thumbnail could be made (the file stays). Failures raise
// AppError.
int subAddPreviewFileToBasket(frmMain& window, const QString& path);

} // namespace picbasket
