#pragma once
#include <QByteArray>
#include <QImage>

namespace picbasket::imagebox {

// A colour JPEG decoded by libjpeg straight into the box's RGB888 picture, with the
// accurate DCT, in one buffer that asks for huge pages: the same pixels and
// resolution as the FreeImage decode, without its bitmap and the copy out of it.
// A null picture for what it leaves to FreeImage (grey, CMYK and other layouts);
// damaged data (any libjpeg warning) and sizes past the limit raise the box's error.
// The caller has run the JPEG structure check on the bytes.
QImage decodeColourJpeg(const QByteArray& bytes);

} // namespace picbasket::imagebox
