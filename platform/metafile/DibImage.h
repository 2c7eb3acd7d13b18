#pragma once
#include "platform/metafile/RecordBytes.h"

#include <QImage>

namespace picbasket {

// A device-independent bitmap as metafiles carry it: a bitmap header with its colour
// table, then the pixel rows.
struct DibImage {
    QImage image;
    // The header or the rows claim more than is there (the record lies).
    bool damaged = false;
    // The rows are stored bottom-up (a positive height), as most are.
    bool bottomUp = true;

    // A source rectangle given as a metafile gives it (from the bottom row for a
    // bottom-up bitmap) in the rows of the decoded image.
    QRectF sourceRect(double x, double y, double w, double h) const {
        return bottomUp ? QRectF(x, image.height() - y - h, w, h) : QRectF(x, y, w, h);
    }
};

// Decodes a header (with its colour table) and the rows that follow it. The sizes
// the header claims are checked against both parts before anything is decoded; a
// compression Qt's reader does not know gives an empty image without damage.
DibImage decodeDib(const RecordBytes& header, const RecordBytes& rows);

// The length of the header and colour table at the start of a packed bitmap (as
// Windows metafiles store them), or -1 when the header is not a bitmap header.
qint64 packedDibHeaderLength(const RecordBytes& dib);

} // namespace picbasket
