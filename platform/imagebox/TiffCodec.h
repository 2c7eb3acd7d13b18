#pragma once
#include <QByteArray>
#include <QImage>

namespace picbasket::imagebox {

// The box's TIFF writer and snapshot reader on libtiff, working on bytes in memory.
// FreeImage reads the user's TIFF files; this writes them, because FreeImage
// would change the compression asked for (it writes LZW when asked for CCITT on a
// colour image), and it keeps the memory snapshots exact.

// TiffCompression values.
inline constexpr int TiffNone = 0;
inline constexpr int TiffPackBits = 1;
inline constexpr int TiffGroup4 = 2;

// One page in the image's own depth. Group 4 needs a black-and-white Mono image.
// A snapshot also records the palette's length and alpha in a private tag so that
// decodeTiffSnapshot restores them.
QByteArray encodeTiff(const QImage& image, int compression, bool snapshot = false);
// The TIFF bytes with the image added as the last page; damaged bytes raise.
QByteArray appendTiffPage(const QByteArray& tiff, const QImage& image, int compression);
// The first page of a TIFF whose layout this writer produces, exactly; a null
// image for any other layout; damaged data raises AppError 0x8000FFFF.
QImage decodeTiffSnapshot(const QByteArray& tiff);
// Pages of a TIFF held in memory; damaged data raises.
int tiffPageCount(const QByteArray& tiff);
// Raises AppError 0x8000FFFF unless every page's header reads and its strips or
// tiles lie within the data.
void checkTiffBytes(const QByteArray& tiff);

} // namespace picbasket::imagebox
