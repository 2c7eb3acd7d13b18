#pragma once
#include <QtGlobal>

namespace picbasket {

// The one size limit of the program's images. Decoders refuse larger files, edits
// refuse to make larger results and the page files hold nothing larger, so every
// image the program makes can be opened again. 2^28 pixels is 1 GiB at 32 bits.
inline constexpr qint64 MaxImagePixels = qint64(1) << 28;
// Longest side a file may have.
inline constexpr qint64 MaxImageSide = 65535;
// Longest side an edit may make: QPainter's raster coordinates end at 32767. It
// lies within the file limit, so edited images open again.
inline constexpr qint64 MaxEditedSide = 32767;

inline bool isWithinImageLimits(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
           width * height <= MaxImagePixels;
}

} // namespace picbasket
