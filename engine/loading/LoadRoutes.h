#pragma once
#include "core/OleColor.h"
#include "platform/jp2/AxImage.h"

#include <QImage>
#include <QString>
#include <cstdint>

// The decoders LoadPic chooses between and the choice itself, kept apart from
// LoadPic's error handling so each route can be driven on its own.
namespace picbasket {

enum class LoadRoute {
    Nothing,   // neither the content nor the extension is known: no picture
    GdiPlus,   // GDI+ first, FreeImage when GDI+ fails
    FreeImage, // FreeImage, then the rescale for size modes 1 and 2
    DevIL,     // DevIL, through the temporary bitmap
    Jpeg2000,  // the JPEG 2000 control
};

// The route for FreeImage's content probe (-1 unknown) and the lower-case extension.
LoadRoute chooseLoadRoute(int32_t contentFormat, const QString& extension);

// The temporary bitmap of the DevIL and JPEG 2000 routes: "4546643.bmp" in this
// run's private temporary folder.
QString temporaryBitmapPath();

// Each route's load. outW and outH receive the image's own size when it loaded.
QImage loadThroughFreeImage(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                            OleColor backColour, int32_t& outW, int32_t& outH);
QImage loadThroughDevIL(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                        OleColor backColour, int32_t& outW, int32_t& outH);
QImage loadThroughJpeg2000(AxImage& control, const QString& path, const QString& extension,
                           int32_t sizeMode, int32_t maxW, int32_t maxH, OleColor backColour,
                           int32_t& outW, int32_t& outH);

} // namespace picbasket
