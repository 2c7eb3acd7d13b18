#pragma once
#include "platform/jp2/AxImage.h"

#include <QImage>
#include <QString>
#include <cstdint>

// The JPEG 2000 coding module: writes a picture as a ".jp2" or ".jpc" file and
// reads a JPEG 2000 file into a picture, through the JPEG 2000 control. Neither
// procedure traps errors: a failure reaches the caller as AppError.
namespace picbasket {

// Hands the bitmap to the control, sets the rate (25 lossless, 1 to 24 lossy),
// takes the format from the path's extension and writes the file. A JP2 file
// also carries the colour profile and capture resolution (dots per inch) given.
void subSaveJPEG2000(AxImage& control, const QImage& bitmap, const QString& path, int16_t rate,
                     const QByteArray& iccProfile = {}, double xDpi = 0, double yDpi = 0);

// Decodes the file into the control and returns the picture of what it holds. An
// empty extension skips the decode and returns whatever the control already holds.
QImage fncLoadJPEG2000(AxImage& control, DeviceContext context, const QString& path,
                       const QString& extension);

// The picture over a decoded bitmap. A QImage shares its pixels implicitly, so the
// picture stays valid after the control loads or is given another image.
QImage fncHandleToPicture(const QImage& bitmap, int32_t palette);

} // namespace picbasket
