#pragma once
#include <QByteArray>

namespace picbasket::imagebox {

// The file's bytes without the blocks that carry metadata, for handing to
// FreeImage: its EXIF, IPTC and XMP readers trust the offsets and counts inside
// those blocks, and the program reads metadata through Exiv2 anyway.
//   JPEG: the APP1 to APP13 and APP15 segments (EXIF, XMP, ICC, IPTC, ...); the
//         JFIF segment and the Adobe segment that names the colour transform stay.
//   PSD:  the image resources with EXIF, IPTC, XMP and the thumbnails.
//   TIFF: in every directory, the entries of XMP, IPTC, Photoshop resources and
//         the EXIF, GPS and interoperability directories.
// Other formats come back as they are. The bytes must have passed the format's
// structure check.
QByteArray withoutMetadataBlocks(const QByteArray& bytes, int fif);

} // namespace picbasket::imagebox
