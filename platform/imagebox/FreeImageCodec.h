#pragma once
#include "core/ImageLimits.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

struct FIBITMAP;

namespace picbasket::imagebox {

// The image box's bridge to FreeImage: decoding files held in memory into the
// box's QImage formats and encoding those formats back. Every failure raises
// AppError 0x8000FFFF with FreeImage's own message when it gave one.

// Largest image the box accepts, in pixels and per side (core/ImageLimits.h).
inline constexpr qint64 MaxPixels = MaxImagePixels;
inline constexpr int MaxSide = int(MaxImageSide);

// How samples deeper than 8 bits come out of FreeImage: 16-bit grey, RGB and
// RGBA kept in QImage's 16-bit formats, or brought to 8 bits on a straight line
// (v x 255 / 65535, rounded). Floating-point samples always give 8 bits, 0 to 1
// mapped onto 0 to 255.
enum class DeepSamples { Keep, Reduce };

struct FreeImageDibDeleter {
    void operator()(FIBITMAP* dib) const;
};
using FreeImageDib = std::unique_ptr<FIBITMAP, FreeImageDibDeleter>;

// The one FreeImage load of the program, for the box and the load entry alike.
// Decodes page `page` (0-based; TIFF only) of the file bytes as `fif` (a
// FREE_IMAGE_FORMAT): the bytes are checked against the format first where a
// structure check exists (ImageFileCheck.h), the decoder gets them without their
// metadata blocks (MetadataBlocks.h), and JPEG is decoded with the accurate DCT.
// TIFF is decoded by libtiff into a FreeImage bitmap (TiffDecode.h); FreeImage's
// TIFF reader is never used. Damaged JPEG and TIFF data raise rather than give
// filler.
// `reducedSide` above 0 asks the JPEG decoder for a picture reduced in its DCT
// with the longer side at least that long.
FreeImageDib loadDibWithFreeImage(const QByteArray& bytes, int fif, int page, int reducedSide = 0);
// The one conversion of a FreeImage bitmap into a QImage: 1 and 8-bit palettes
// (a linear grey one as Grayscale8), 4 bits as Indexed8, 24 bits as BGR888, 32
// bits as ARGB32 (RGB32 without transparency), deep samples as `deep` says,
// other depths through 24 bits; the resolution kept.
QImage pictureOfDib(FIBITMAP* dib, DeepSamples deep);

// Decodes page `page` of the file bytes in one of the box's formats into the
// box's held formats, deep samples kept.
QImage decodeWithFreeImage(const QByteArray& bytes, int fif, int page);
// A JPEG decoded as decodeWithFreeImage does (the same checks, the same
// conversion) but reduced in libjpeg's DCT by the largest of 1/2, 1/4 and 1/8 that
// leaves its longer side at least `longSide`; `fullSize` gets the full image's
// size. A JPEG too small to reduce comes out whole.
QImage decodeReducedJpeg(const QByteArray& bytes, int longSide, QSize& fullSize);
// Pages of a TIFF held in memory, after the TIFF check, as libtiff counts them.
int tiffPageCountWithFreeImage(const QByteArray& bytes);
// The FREE_IMAGE_FORMAT the bytes hold, FIF_UNKNOWN (-1) when none. A TIFF is
// known by its signature, without FreeImage.
int freeImageFormatOf(const QByteArray& bytes);
// Encodes the image, already in a depth the format takes, with the save flags.
QByteArray encodeWithFreeImage(const QImage& image, int fif, int flags);

// The held-image format for an arbitrary QImage (see ImageBox.h).
QImage toBoxFormat(const QImage& image);

} // namespace picbasket::imagebox
