#pragma once
#include <QImage>

namespace picbasket {

// Resamples an image to w x h with a separable cubic convolution (a = -0.5). When
// shrinking, the kernel is widened by the scale factor so every source pixel
// contributes (a pre-filtered bicubic), which keeps thumbnails free of aliasing.
// The result is premultiplied ARGB32; an empty image when a size is not positive.
QImage resampleBicubic(const QImage& source, int w, int h);

} // namespace picbasket
