#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

// Camera-like JPEG files built byte by byte: an EXIF block with a maker note
// of one of the two common layouts, a thumbnail, and the blocks photos carry.
namespace picbasket::test {

enum class NoteStyle {
    HeaderRelative, // a bare directory whose values lie at offsets from the EXIF's TIFF header
    OwnHeader,      // "Nikon\0" and a TIFF header of its own, offsets counted from there
};

struct CameraExif {
    NoteStyle style = NoteStyle::HeaderRelative;
    int orientation = 1;
    uint32_t xDpi = 300;
    uint32_t pixelWidth = 2272, pixelHeight = 1704;
    bool thumbnail = true;
};

// The EXIF block (the TIFF structure after "Exif\0\0"), little-endian.
QByteArray cameraExif(const CameraExif& options);

// EXIF blocks of the layouts whose edits once lost data, little-endian, each
// with the thumbnail bytes it carries (for exiftool's comparisons).
enum class ExifLayout {
    StripThumbnail,   // a second directory with a 96 x 72 uncompressed RGB strip
    Thumbnail180,     // a JPEG thumbnail whose directory has 180 dpi, Make, Model, ...
    NikonOwnHeader,   // a Nikon note of its own TIFF header, NEFBitDepth, a GPS directory
    MinoltaNote,      // a header-relative Minolta note with a value past its stated length
    CiffStyle,        // only a first directory: Make, Model, a comment and a preview
    NoExifDirectory,  // a first directory without an Exif directory
};
struct LayoutExif {
    QByteArray block;
    QByteArray thumbnail; // the bytes of its thumbnail or preview
};
LayoutExif layoutExif(ExifLayout layout);

// A JPEG of the picture with the given blocks (empty ones are left out).
QByteArray jpegWithBlocks(const QImage& picture, const QByteArray& exif, const QByteArray& icc = {},
                          const QByteArray& xmp = {});

// The content of a JPEG's first APP1 segment that starts with "Exif".
QByteArray exifSegmentOf(const QByteArray& jpeg);

// A JPEG segment: marker, length, content.
QByteArray jpegSegment(int marker, const QByteArray& content);
// The file with the segment put right after its start-of-image marker.
QByteArray withSegmentAfterStart(const QByteArray& jpeg, const QByteArray& segment);

// A picture whose four quadrants differ, so every turn and mirror shows.
QImage quadrantPicture(int width, int height);

// A matrix ICC profile with Display P3 primaries, made by Qt.
QByteArray displayP3Profile();

} // namespace picbasket::test
