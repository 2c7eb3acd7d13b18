#pragma once
#include "platform/imagebox/meta/MakerNote.h"
#include "platform/imagebox/meta/TiffStructure.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <exiv2/exiv2.hpp>
#include <functional>
#include <optional>
#include <vector>

// The EXIF block of a JPEG file (the TIFF structure its EXIF segment holds),
// written from the attributes, the camera's maker note as it came and a
// thumbnail.
namespace picbasket::exifblock {

// The attributes that encoded accepts, encoded by Exiv2 in the given byte order
// and read back as directories: the first one (index 0) and its Exif, GPS and
// interoperability directories. Without any attribute, one empty directory.
std::vector<tiffstructure::Directory>
encodedDirectories(const Exiv2::ExifData& exif, bool little,
                   const std::function<bool(const Exiv2::Exifdatum&)>& encoded);

// The block in the given byte order, made from the attributes and from source,
// the block as the file had it (empty for none). From source come what Exiv2
// does not encode: the second directory as it stood (every entry, and its
// thumbnail, a JPEG or uncompressed strips, byte for byte), a preview the
// first directory carries, and the bytes the maker note points at past its
// stated length. A new thumbnail (an empty one: none) takes the place of the
// source's; the second directory keeps its other entries. The maker note, and
// the thumbnail when it is not replaced, keep the offsets they had whenever the
// block can hold them there, so the note's inner offsets stay true whatever its
// layout; otherwise the note is moved when its layout is known and left out
// when not. An Exif directory the source did not have gets the entries every
// Exif directory of a JPEG carries (versions, colour space, components, and
// the pixel size when it is given). A thumbnail that
// would make the block too large for a JPEG segment is left out. Raises
// AppError when even the attributes alone do not fit.
QByteArray build(const Exiv2::ExifData& exif, const makernote::Note& note,
                 const QByteArray& source, const std::optional<QByteArray>& thumbnail,
                 bool little, const QSize& pixels = {});

// The thumbnail of an EXIF block (its second directory's JPEG); empty for none.
QByteArray thumbnailOf(const QByteArray& tiff);

// Whether an EXIF block has a second directory (a thumbnail of any kind).
bool hasSecondDirectory(const QByteArray& tiff);

// A thumbnail of the picture for an EXIF block: a JPEG at most 160 x 120.
QByteArray makeThumbnail(const QImage& picture);

} // namespace picbasket::exifblock
