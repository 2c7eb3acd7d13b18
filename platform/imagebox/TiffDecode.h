#pragma once
#include "platform/imagebox/FreeImageCodec.h"

#include <QByteArray>

namespace picbasket::imagebox {

// The program's one decoder of TIFF pixels, on libtiff. It hands back a FreeImage
// bitmap laid out as the rest of the load expects (rows bottom-up, 24 and 32 bits
// in FreeImage's byte order, palettes, 16-bit and floating-point sample types), so
// the box, the load entry, the thumbnails, the page split and the batch all take
// it through the same conversion; FreeImage's own TIFF reader never sees a file.
//
// The page's layout decides the decode:
//   1, 2, 4, 8 bits, one sample  grey or palette bitmap (a grey ramp, turned round
//                                where white is zero, or the colour map; 2 bits
//                                widen to 4)
//   8 bits, grey and alpha       8-bit grey with each value's alpha in the
//                                transparency table
//   8 bits, RGB (and alpha)      24 (32) bits
//   16 bits, 1 / 3 / 4 samples   unsigned 16-bit grey, RGB, RGBA samples
//   16 bits signed, 32 bits      signed 16, unsigned 32, floating-point samples
//   CMYK, 8 bits                 converted to 24-bit RGB
//   YCbCr, CIE L*a*b*            through libtiff's RGBA reader (24 or 32 bits)
// Strips and tiles, contiguous and planar samples, every codec libtiff was built
// with. The resolution is the page's, 300 dots per inch when it states none.
// Any error or warning libtiff reports about the data while decoding raises
// (the damage rule of DecoderDamage.h); so does a page that is not there, a size
// past the image limits or a layout not listed above.
FreeImageDib decodeTiffPage(const QByteArray& bytes, int page);

} // namespace picbasket::imagebox
