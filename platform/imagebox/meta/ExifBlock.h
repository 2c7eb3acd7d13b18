#pragma once
#include "platform/imagebox/meta/MakerNote.h"

#include <QByteArray>
#include <QImage>
#include <exiv2/exiv2.hpp>

// The EXIF block of a JPEG file (the TIFF structure its EXIF segment holds),
// written from the attributes, the camera's maker note as it came and a
// thumbnail.
namespace picbasket::exifblock {

// The block in the given byte order. The maker note keeps the offset it had
// whenever the block can hold it there, so its inner offsets stay true whatever
// its layout; otherwise it is moved when its layout is known and left out when
// not. A thumbnail that would make the block too large for a JPEG segment is
// left out. Raises AppError when even the attributes alone do not fit.
QByteArray build(const Exiv2::ExifData& exif, const makernote::Note& note,
                 const QByteArray& thumbnail, bool little);

// The thumbnail of an EXIF block (its second directory's JPEG); empty for none.
QByteArray thumbnailOf(const QByteArray& tiff);

// A thumbnail of the picture for an EXIF block: a JPEG at most 160 x 120.
QByteArray makeThumbnail(const QImage& picture);

} // namespace picbasket::exifblock
