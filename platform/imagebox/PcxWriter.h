#pragma once
#include <QByteArray>
#include <QImage>

namespace picbasket::imagebox {

// PCX through DevIL (FreeImage reads PCX but cannot write it): 8-bit palette for
// Mono, Indexed8 and grey images, 24-bit colour for the rest.
QByteArray writePcx(const QImage& image);
// SGI through DevIL, as 24-bit colour.
QByteArray writeSgi(const QImage& image);

} // namespace picbasket::imagebox
