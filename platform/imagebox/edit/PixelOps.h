#pragma once
#include "core/ImageLimits.h"
#include "core/OleColor.h"

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>

namespace picbasket::pixelops {

// Largest image an edit may produce: the program's one pixel limit, and sides
// QPainter can draw (core/ImageLimits.h).
inline constexpr int64_t MaxSide = MaxEditedSide;
inline constexpr int64_t MaxPixels = MaxImagePixels;
bool sizeAllowed(int64_t width, int64_t height);

// The image itself, or AppError 7 (out of memory) when making it failed: every
// image an edit allocates or converts passes through here before its pixels are
// touched.
QImage checked(const QImage& image);

// The 8-bit working copy the pixel operations run on: Format_ARGB32 when the image
// has an alpha channel, Format_RGB32 otherwise (0xAARRGGBB words either way).
QImage toWorking(const QImage& image);
// Brings a working copy back to a held format: grey stays grey while every pixel
// is still grey, alpha is kept as ARGB32, 16-bit colour returns to its own format,
// everything else becomes 24-bit RGB888.
QImage fromWorking(const QImage& work, const QImage& original);

// An OLE colour (system colours translated) as an opaque QRgb.
QRgb oleToRgb(OleColor color);
// A QRgb as an OLE colour (alpha dropped).
OleColor rgbToOle(QRgb rgb);

// Mirror left-right (horizontal) or top-bottom; the format is kept.
QImage flipped(const QImage& image, bool horizontal);

// The same edits made in the image's own pixels, for the formats where they give
// the very bytes the working-copy route gives (24-bit RGB, ARGB32, 8-bit grey; a
// table on some channels only of a grey image would make it colour). False, with
// the image untouched, for any other format. The pixels are written in place: an
// image that shares them with another is detached first (AppError 7 when that
// copy cannot be made).
bool invertInPlace(QImage& image);
bool applyLutInPlace(QImage& image, const std::array<uint8_t, 256>& lut, bool red, bool green,
                     bool blue);
bool flipInPlace(QImage& image, bool horizontal);

// The part of the image under rect, which may reach outside it: the new area takes
// the background. A rectangle inside the image keeps the image's format.
QImage cropped(const QImage& image, const QRect& rect, QRgb background);

// A per-channel look-up table applied to the flagged channels of a working copy.
using Lut = std::array<uint8_t, 256>;
void applyLut(QImage& work, const Lut& lut, bool red, bool green, bool blue);
// Brightness and contrast tables, amount 0..100 with 50 the identity.
Lut brightnessLut(int amount);
Lut contrastLut(int amount);

// Red reduced to the mean of green and blue where it clearly dominates them.
void reduceRedEye(QImage& work);

// Copies the pixels of `edited` into `target` where `inside` holds; both are
// working copies of equal size, `origin` is where `edited` sits in `target`.
void copyWhere(QImage& target, const QImage& edited, const QPoint& origin,
               const std::function<bool(int, int)>& inside);

// Stamps `stamp` (a working copy, its own alpha honoured) onto the working copy
// `work` with its top-left at (x, y), scaled in opacity by `opacity` (0..1).
void stampOver(QImage& work, const QImage& stamp, int x, int y, double opacity);
// A working copy of the stamp with every pixel of exactly `key`'s RGB made clear.
QImage withKeyTransparent(const QImage& stamp, QRgb key);

// The image itself when its format is one the box holds, else its working copy
// brought back through fromWorking (against `original`).
QImage normalised(const QImage& image, const QImage& original);

} // namespace picbasket::pixelops
