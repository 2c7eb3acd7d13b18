#pragma once
#include <QByteArray>
#include <QImage>

namespace picbasket::imagebox {

// A GIF writer for the "uncompressed" GIF: the pixel data is still a valid LZW
// stream, but of literal codes only, with a clear code before the code table
// would grow, so no decoder needs the patented compression step. The image must
// be Mono or Indexed8; a palette entry with alpha 0 becomes the transparent colour.
QByteArray writeUncompressedGif(const QImage& image);

} // namespace picbasket::imagebox
