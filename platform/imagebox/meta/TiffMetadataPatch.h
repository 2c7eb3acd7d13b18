#pragma once
#include "platform/imagebox/meta/MakerNote.h"

#include <QByteArray>
#include <exiv2/exiv2.hpp>

namespace picbasket::tiffpatch {

// What goes with the EXIF and IPTC besides the attributes: the camera's maker
// note as it came, and the colour profile and XMP packet for a file that has
// none of its own.
struct Extras {
    makernote::Note makerNote;
    QByteArray iccProfile;
    QByteArray xmp;
};

// Returns the TIFF file with the metadata of its first page replaced by the
// given EXIF and IPTC, every other byte left where it was:
//
//   header --> old IFD0 (now unreferenced) -> page 2 -> page 3 ...
//   header --> new IFD0 ------------------/        (appended at the end)
//                 +-> Exif IFD -> interoperability IFD, GPS IFD (appended too)
//
// The new first directory keeps the entries of the old one that describe the
// pixels (sizes, strips, tiles, compression, page number, colour profile, XMP)
// verbatim, so strips and later pages are never moved or re-encoded; the
// resolution is the metadata's when it has one. A maker note still lying in
// the file is pointed at where it is; one from elsewhere is moved with its
// offsets when its layout is known and left out when not. The IPTC goes into
// the IPTC tag and, when the file has Photoshop image resources, into those
// too. Raises AppError for a file that is no classic TIFF or whose first
// directory is damaged.
QByteArray apply(const QByteArray& file, const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc,
                 const Extras& extras = {});

} // namespace picbasket::tiffpatch
