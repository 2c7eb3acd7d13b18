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

// The route for FreeImage's content probe (-1 unknown) and the lower-case extension:
// JPEG 2000 content, or a JPEG 2000 name with content FreeImage does not know, goes
// to the JPEG 2000 control.
LoadRoute chooseLoadRoute(int32_t contentFormat, const QString& extension);

// FreeImage's content probe of the file (a FREE_IMAGE_FORMAT, -1 unknown), read
// through a descriptor of our own: a name that is no regular file is unknown.
int32_t fncContentFormatOfFile(const QString& path);

// The temporary bitmap of the DevIL and JPEG 2000 routes: "4546643.bmp" in this
// run's private temporary folder.
QString temporaryBitmapPath();

// True when the file passes the structure check of the format its content holds
// (a FREE_IMAGE_FORMAT). Content of a format without a check is refused; content
// FreeImage does not know (a metafile) is left to the metafile reader.
bool passesStructureCheck(const QString& path, int32_t contentFormat);

// Each route's load. outW and outH receive the image's own size when it loaded.
// The FreeImage route decodes the format the content probe found, whatever the
// file's name says.
QImage loadThroughFreeImage(const QString& path, int32_t contentFormat, int32_t sizeMode,
                            int32_t maxW, int32_t maxH, OleColor backColour, int32_t& outW,
                            int32_t& outH);
QImage loadThroughDevIL(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                        OleColor backColour, int32_t& outW, int32_t& outH);
QImage loadThroughJpeg2000(AxImage& control, const QString& path, const QString& extension,
                           int32_t sizeMode, int32_t maxW, int32_t maxH, OleColor backColour,
                           int32_t& outW, int32_t& outH);

} // namespace picbasket
