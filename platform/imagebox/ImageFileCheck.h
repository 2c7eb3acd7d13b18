#pragma once
#include <QByteArray>

namespace picbasket::imagebox {

// Checks the structure of an image file held in memory before a decoder sees
// it: the magic, the dimensions and that every size the file claims fits in its
// real length. Decoders of these formats return partial images from truncated
// files without a word; this turns such files into AppError 0x8000FFFF.
// `fif` is the FREE_IMAGE_FORMAT the bytes are meant to hold.
// Formats without a check raise too.
void checkImageBytes(const QByteArray& bytes, int fif);

// True for the formats checkImageBytes knows: the box's own (BMP, GIF, JPEG, PNG,
// PCX, PSD, WBMP, TIFF) and TGA, icons, SGI, the portable maps, MNG, JNG and
// WebP. No decoder is handed a file of any other format.
bool hasImageCheck(int fif);

} // namespace picbasket::imagebox
