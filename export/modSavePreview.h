#pragma once
#include "platform/jp2/AxImage.h"

#include <QString>

class QWidget;

namespace picbasket {

class ImageBox;

// "Save preview as": writes the preview's image, as it stands with every task
// applied, to one file whose extension chooses the format, with the options the
// save dialog's panel left in Setup.SaveOptions.

// The save dialog's file types, "|"-separated: every written format first, then one
// entry per format family.
const QString& SavePreviewFilter();

// Shows the save dialog with the options panel (owned by `owner`) and saves the
// image to the chosen name; a failure shows "The file could not be saved!". A
// cancelled dialog saves nothing, silently. Gives the path written, else empty.
QString fncSavePreviewToFile_Dialog(ImageBox& imageBox, QWidget* owner = nullptr,
                                 AxImage& jpeg2000 = AxImage::instance());

// Saves the box's image to `path` by its extension (any case). The box's save
// options are set for this save only and put back afterwards. False when the file
// could not be written (an error was reported, or a writer refused); true also for
// an extension no branch writes, which writes nothing.
bool fncSavePreviewImage(ImageBox& imageBox, const QString& path,
                         AxImage& jpeg2000 = AxImage::instance());

} // namespace picbasket
