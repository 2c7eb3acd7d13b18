#pragma once
#include "core/OleColor.h"
#include "platform/metafile/Metafile.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>

// Our GDI+ layer: decodes an image file into a picture at a requested size and
// redraws an existing picture at a requested size. Every picture made here is a
// 32-bit opaque bitmap the size of the target, filled with the back colour and then
// drawn on with high-quality bicubic interpolation, so thumbnails and scaled
// previews look the same whatever the source.
namespace picbasket {

// What the start-up hands back and the shut-down takes. Nothing needs starting on
// this platform; the calls stay so the program's start and end keep their order.
using GdiplusToken = uintptr_t;

GdiplusToken subStartGDIPlus();
void subStopGDIPlus(GdiplusToken token);

// Kinds of handle fncResizePictureGDIPlus redraws.
namespace picturetype {
inline constexpr int32_t Bitmap = 1;
inline constexpr int32_t Metafile = 2;
inline constexpr int32_t Icon = 3;
inline constexpr int32_t EnhancedMetafile = 4;
} // namespace picturetype

// Decodes the file (BMP, GIF, JPEG, PNG, TIFF, ICO, and Windows and enhanced
// metafiles, which are drawn straight at the target size so they stay sharp). Size mode 0 keeps the
// image's size, 1 fits it into maxW x maxH, 2 makes exactly maxW x maxH. drawFlag true draws
// centred with the aspect kept, false stretches over the target. outW and outH receive the image's
// own size. Any failure gives an empty picture silently and leaves outW and outH as they were.
QImage fncLoadPictureGDIPlus(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                             OleColor backColour, bool drawFlag, int32_t& outW, int32_t& outH);

// Redraws the handle in size mode 1 (fitted, from srcW x srcH) or 2 (exactly the
// box). Bitmaps and icons are redrawn; a bitmap named a metafile, an empty handle
// or another size mode give an empty picture.
QImage fncResizePictureGDIPlus(const QImage& handle, int32_t srcW, int32_t srcH, int32_t type,
                               int32_t maxW, int32_t maxH, int32_t sizeMode, OleColor backColour,
                               bool drawFlag);

// Redraws a metafile handle the same way: type 2 takes a Windows metafile, whose
// placeable header (subMakeWmfHeader) its own extent gives, type 4 an enhanced
// metafile. A type that does not match the metafile, a damaged record or another
// size mode give an empty picture.
QImage fncResizePictureGDIPlus(const Metafile& handle, int32_t srcW, int32_t srcH, int32_t type,
                               int32_t maxW, int32_t maxH, int32_t sizeMode, OleColor backColour,
                               bool drawFlag);

// The fit-size rule: a w x h image inside maxW x maxH with the aspect kept, never
// enlarged. The ratios are single precision, the products rounded halves to even.
void fitSizeInBox(int32_t w, int32_t h, int32_t maxW, int32_t maxH, int32_t& outW, int32_t& outH);

// Where a centred draw puts an iw x ih image in a W x H target:
//
//   +-----------W-----------+
//   |      y                |
//   |<-x->+---------+       |      the drawn rectangle keeps iw : ih and touches
//   |     |  drawn  |       H      the target on two opposite sides; x and y are
//   |     +---------+       |      the halves of what is left, halves to even
//   +-----------------------+
QRect centredDrawRect(int32_t iw, int32_t ih, int32_t targetW, int32_t targetH);

// The bitmap the drawing goes into: targetW x targetH filled with the back colour,
// or an empty image when the size is not positive or too large to allocate.
QImage subCreateMemoryDC(int32_t targetW, int32_t targetH, OleColor backColour);

// Draws the image into the target, centred (drawFlag) or stretched, resampled with
// high-quality bicubic interpolation and blended over the back colour.
void subDrawImageGDIPlus(const QImage& image, QImage& target, bool drawFlag);

} // namespace picbasket
