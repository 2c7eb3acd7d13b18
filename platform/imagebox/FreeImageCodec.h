#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace picbasket::imagebox {

// The image box's bridge to FreeImage: decoding files held in memory into the
// box's QImage formats and encoding those formats back. Every failure raises
// AppError 0x8000FFFF with FreeImage's own message when it gave one.

// Largest image the box accepts, in pixels and per side.
inline constexpr qint64 MaxPixels = qint64(1) << 28;
inline constexpr int MaxSide = 65535;

// Decodes page `page` (0-based; TIFF only) of the file bytes. `fif` is a
// FREE_IMAGE_FORMAT; the bytes are checked against it before decoding.
QImage decodeWithFreeImage(const QByteArray& bytes, int fif, int page);
// Pages of a TIFF held in memory.
int tiffPageCountWithFreeImage(const QByteArray& bytes);
// The FREE_IMAGE_FORMAT the bytes hold, FIF_UNKNOWN (-1) when none.
int freeImageFormatOf(const QByteArray& bytes);
// Encodes the image, already in a depth the format takes, with the save flags.
QByteArray encodeWithFreeImage(const QImage& image, int fif, int flags);

// The held-image format for an arbitrary QImage (see ImageBox.h).
QImage toBoxFormat(const QImage& image);

} // namespace picbasket::imagebox
