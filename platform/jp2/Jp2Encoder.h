#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace picbasket::jp2 {

// How the encoded image is wrapped: a JP2 file (boxes with the colour space) or the
// bare codestream.
enum class Container { Jp2, Codestream };

// The rate scale of the option dialogs: 25 is lossless, 1 to 24 lossy.
inline constexpr int losslessRate = 25;
inline constexpr int lowestRate = 1;

// The compression ratio (n : 1) a lossy rate stands for: (26 - rate) x 2, so 20
// gives 12:1, 1 gives 50:1 and 24 gives 4:1. 0 for the lossless rate.
double compressionRatioForRate(int rate);

// Encodes the image to path. Rate 25 uses the reversible 5/3 wavelet (bit-exact);
// 1 to 24 the irreversible 9/7 wavelet at the ratio above. 8-bit grey, RGB and RGBA,
// 16-bit grey, RGB and RGBA are written as such; palette images become grey or RGB.
// The file is written under a temporary name and renamed into place, so a failure
// never leaves a partial file. Throws AppError on any failure. The image is let go
// as soon as the encoder has read its samples, so a caller that moves its only
// copy in has those pixels freed while the codestream is being made.
//
// A JP2 file also carries what the description gives: the colour profile as a
// colour box (`colr`) of method 2 (when the profile's colour space is the
// image's: RGB or grey), and the capture resolution. A codestream has no boxes
// for either. The rate sizes the codestream by the pixels alone; the boxes come
// on top of it.
struct Description {
    QByteArray iccProfile;
    double xDpi = 0; // 0: no resolution known
    double yDpi = 0;
};
void encodeImage(QImage image, const QString& path, Container container, int rate,
                 const Description& description = {});

} // namespace picbasket::jp2
