#pragma once
#include <QByteArray>

namespace picbasket {

// The previewed image as loaded, and as it stood after the last confirmed task
// (in-memory TIFF files). The edit view keeps them; the preview's type switch and
// the acquisition windows read or reset them.
inline QByteArray OriginalImageData;
inline QByteArray ConfirmedImageData;

} // namespace picbasket
