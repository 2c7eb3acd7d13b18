#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace picbasket::imagebox {

// The EXIF Orientation of a photo says how its stored pixels are to be turned to
// show the picture as the camera meant it. Every decode route ends in
// uprightPicture, so the program works on the upright picture from then on, and
// what it writes says 1 (normal).
//
//   1 as stored   2 mirrored      3 turned 180    4 flipped upside down
//   5 transposed  6 turned 90 CW  7 transversed   8 turned 90 CCW

// The Orientation of the first image of a JPEG or TIFF file (its bytes, or its
// path); 1 for any other file, when the tag is missing or holds no value 1 to 8,
// and when the file cannot be read.
int storedOrientation(const QByteArray& fileBytes);
int storedOrientationOfFile(const QString& path);

// True for 5 to 8, the values whose upright picture has width and height swapped.
bool orientationSwapsSides(int orientation);

// The stored pixels turned upright for the given Orientation (1 or an unknown
// value: the image itself). Resolution and colour space go with the pixels.
QImage orientUpright(const QImage& stored, int orientation);

// orientUpright with the file's own Orientation: the last step of a decode.
QImage uprightPicture(const QImage& decoded, const QByteArray& fileBytes);
QImage uprightPictureOfFile(const QImage& decoded, const QString& path);

} // namespace picbasket::imagebox
