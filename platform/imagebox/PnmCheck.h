#pragma once
#include <QByteArray>

namespace picbasket {

// True when the bytes hold a whole portable bitmap, grey map or pixmap (P1 to P6):
// a header with the magic, a sane width and height and, but for bitmaps, a
// maximum value of 1 to 65535, followed by at least the samples it announces.
// FreeImage's and DevIL's readers of these files overrun their buffers, hang or
// free memory twice on headers and data cut short, so a file reaches neither
// before this check.
bool isCompletePnm(const QByteArray& bytes);

} // namespace picbasket
