#pragma once
#include <QImage>

namespace picbasket {

// The previewed image as loaded, and as it stood after the last confirmed task
// (implicitly shared copies: the box detaches from them on its first edit). The edit
// view keeps them; the preview's type switch and the acquisition windows read or
// reset them.
inline QImage OriginalImageData;
inline QImage ConfirmedImageData;

} // namespace picbasket
