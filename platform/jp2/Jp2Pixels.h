#pragma once
#include "core/ImageLimits.h"

#include <QImage>

#include <grok.h>

namespace picbasket::jp2 {

// Checks what a decoded image's header claims (size within the program's one
// limit, isWithinImageLimits; component count, precision,
// sub-sampling, palette) before its pixels are decoded. Throws AppError 481.
void checkDecodable(const grk_image& image);

// Turns Grok's decoded components into a QImage: 1 to 4 components of 1 to 16 bits,
// signed or unsigned, sub-sampled or not (a palette the library has expanded), sYCC turned into
// RGB, an opacity channel kept as alpha. Samples of up to 8 bits give an 8-bit image (Grayscale8,
// RGB888, ARGB32), deeper ones a 16-bit image (Grayscale16, RGBX64, RGBA64). Throws AppError 481
// when the components cannot form a picture.
QImage imageFromComponents(const grk_image& image);

} // namespace picbasket::jp2
