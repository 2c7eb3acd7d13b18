#pragma once
#include <QImage>
#include <cstdint>

namespace picbasket::imagebox {

// The depth conversions the box applies to the copy it saves (never to the held
// image). All take and return images in the box formats (see ImageBox.h).

// ColorFormat values.
inline constexpr int Colour24 = 0;
inline constexpr int Palette8 = 1;
inline constexpr int Grey8 = 2;
inline constexpr int Mono1 = 6;

// 24-bit colour; alpha is composed over white.
QImage toColour24(const QImage& image);
// 8-bit palette: the exact colours when there are at most 256, else quantised.
// Mono and palette images keep their palette.
QImage toPalette8(const QImage& image);
// 8-bit grey.
QImage toGrey8(const QImage& image);
// The grey palette of toGrey8 as an Indexed8 image (for formats that need a palette).
QImage toGreyPalette8(const QImage& image);
// 1 bit, black and white, thresholded at the middle grey.
QImage toMono(const QImage& image);

// The copy ColorFormat asks for; values other than 1, 2 and 6 mean 24-bit colour.
QImage applyColorFormat(const QImage& image, int colorFormat);

// Makes the pixels of the OLE colour 0x00BBGGRR transparent: in a palette image the
// first matching entry, in a grey or colour image an alpha channel.
QImage withTransparentColour(const QImage& image, uint32_t oleColour);

} // namespace picbasket::imagebox
