#pragma once
#include <QByteArray>
#include <QString>

namespace picbasket::imagebox {

// The resolution an image file states in its own header, in dots per inch: a
// JPEG's JFIF segment (dots per inch or per centimetre), a PNG's pHYs chunk and a
// BMP's header (both pixels per metre). The figures are the file's, not rounded
// to whole dots per metre as a QImage keeps them. 0 and 0 when the file states
// none, states only an aspect ratio, or is of another format.
struct StatedResolution {
    double xDpi = 0;
    double yDpi = 0;
    bool isKnown() const { return xDpi > 0 && yDpi > 0; }
};

StatedResolution statedResolutionOf(const QByteArray& head);
// Reads only the header part of the file; a file that cannot be read states none.
StatedResolution statedResolutionOfFile(const QString& path);

// A resolution kept as whole dots per metre (a QImage's) in the unit it was
// most likely stated in: whole dots per inch when those round to it (300 dpi is
// kept as 11811 and comes back as 300, not 299.9994), else whole dots per
// centimetre (118 per centimetre is 11800), else the dots per inch it is.
struct UnitResolution {
    double x = 0, y = 0;
    bool perCentimetre = false;
};
UnitResolution unitResolutionOfDotsPerMetre(int x, int y);

} // namespace picbasket::imagebox
