#pragma once
#include "core/OleColor.h"

#include <QImage>
#include <QString>
#include <cstdint>

// The one entry that turns an image file of any supported format into a picture,
// with the fit-size rule and the picture rescale the GDI+ helpers share.
namespace picbasket {

// How LoadPic and the GDI+ helpers size the picture they make.
namespace sizemode {
inline constexpr int32_t Original = 0; // the image's own size; callers pass -1 x -1
inline constexpr int32_t Fit = 1;      // inside the box, aspect kept, never enlarged
inline constexpr int32_t Box = 2;      // exactly the box, the image centred on the back colour
} // namespace sizemode

// Loads the file into a picture (an empty QImage when it cannot be loaded). The
// decoder is chosen from FreeImage's content probe and the lower-case extension:
// GDI+ for its own formats (FreeImage when GDI+ fails), FreeImage for the rest it
// knows, DevIL and the JPEG 2000 control for what FreeImage does not know. outW and
// outH receive the image's own size on every route that decoded it; a failed load
// leaves them as they were. Failures other than an unreadable picture are reported
// through the error tail with the source "LoadPic".
QImage LoadPic(QString path, int32_t sizeMode, int32_t maxW, int32_t maxH,
               const OleColor& backColour, int32_t& outW, int32_t& outH);

// The size of a w x h image fitted into maxW x maxH with its aspect ratio kept; an
// image that fits already keeps its size.
void subGetFitSize(int32_t w, int32_t h, int32_t maxW, int32_t maxH, int32_t& outW, int32_t& outH);

// A new picture of the given one in size mode 1 or 2, drawn centred on the back colour.
QImage fncResizePicture(const QImage& picture, int32_t sizeMode, int32_t maxW, int32_t maxH,
                        const OleColor& backColour);

} // namespace picbasket
