#pragma once
#include <QByteArray>
#include <QImage>

namespace picbasket::imagebox {

// A small PDF writer of our own: one image per page, the page sized to the
// image at its resolution (72 dpi when it has none), pixels stored losslessly
// (Flate), alpha as a soft mask.
//
// Our files start with a marker comment line; appending a page adds an
// incremental update (new objects, a new page tree object 2, an xref section
// pointing back to the previous one), so the earlier bytes stay as written.

// A new one-page document.
QByteArray writePdf(const QImage& image);
// The document with the image added as the last page. A document this writer did
// not make, or one changed since in a way it cannot follow, raises an AppError.
QByteArray appendPdfPage(const QByteArray& pdf, const QImage& image);

} // namespace picbasket::imagebox
