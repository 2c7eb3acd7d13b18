#pragma once
#include <QImage>

namespace picbasket::pixelops {

// Resamples to exactly width x height with a Catmull-Rom bicubic filter widened
// when shrinking (so a reduction averages instead of skipping pixels). Alpha
// images are filtered premultiplied, so clear pixels leave no colour fringes.
QImage resampled(const QImage& image, int width, int height);

// Gaussian blur of radius 3 sigma on a working copy (see PixelOps.h).
QImage gaussianBlurred(const QImage& work, double sigma);

// Unsharp mask on a working copy: each channel moves away from its Gaussian-blurred
// value by `amount` times the difference; alpha is kept.
QImage unsharpMasked(const QImage& work, double sigma, double amount);

// Turns the image clockwise by `degrees` about its centre onto a canvas grown to
// the rotated bounds; canvas corners take `background`. Multiples of 90 degrees are
// exact; otherwise `smooth` interpolates bilinearly and its absence takes the
// nearest pixel.
QImage rotated(const QImage& image, double degrees, bool smooth, QRgb background);

} // namespace picbasket::pixelops
