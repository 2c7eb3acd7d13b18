#pragma once

namespace picbasket {

class ImageBox;
struct typPrint;

// The print settings of the setup record go into the box before printing and come
// back after it, so the dialog's choices become the next defaults.
void putPrintSettings(ImageBox& box, const typPrint& p);
void takePrintSettings(const ImageBox& box, typPrint& p);

} // namespace picbasket
