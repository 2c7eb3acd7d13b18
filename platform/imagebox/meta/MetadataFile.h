#pragma once
#include "platform/imagebox/meta/MakerNote.h"

#include <QByteArray>
#include <QString>
#include <exiv2/exiv2.hpp>
#include <optional>

namespace picbasket::metadatafile {

// The blocks of a file's metadata as they were read, so that what is written
// back keeps them byte for byte where nothing changed.
struct Blocks {
    QByteArray exif;      // a JPEG's EXIF block (a TIFF structure)
    QByteArray photoshop; // a JPEG's Photoshop resources (the IPTC among them)
    QByteArray xmp;       // the XMP packet
    QByteArray icc;       // the colour profile
    QByteArray thumbnail; // the EXIF thumbnail (a JPEG)
    makernote::Note makerNote;
};

// Reads the EXIF and IPTC of a JPEG, TIFF, PSD or PNG file into the two
// containers (emptied first), and its blocks. Any other file, an unreadable one,
// and damaged metadata give false with everything empty; this never raises.
bool read(const QString& path, Exiv2::ExifData& exif, Exiv2::IptcData& iptc, Blocks& blocks);

// Exiv2's XMP parser keeps process-wide state that it sets up on first use, which
// is not safe when files are first read on several threads at once: call this
// once before starting threads that read metadata.
void prepareForThreads();

// How write treats the blocks. A block not changed since it was read is
// written only where the file does not hold it already, so an edit of the IPTC
// leaves a JPEG's EXIF segment as it was. A thumbnail replaces the one read
// (an empty one drops it); without one the thumbnail read is kept.
struct Changes {
    bool exif = true;
    bool iptc = true;
    std::optional<QByteArray> thumbnail;
};

// Replaces the EXIF and IPTC of an existing JPEG, TIFF or PSD file without
// re-encoding its pixels; other pages, layers, XMP and the colour profile stay,
// and the XMP and profile read are added where the file has none. The file is
// replaced whole or not at all. Raises AppError (0x8000FFFF) for any other
// kind of file, among them a raw JPEG 2000 codestream, and when writing fails.
void write(const QString& path, const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc,
           const Blocks& blocks, const Changes& changes);

} // namespace picbasket::metadatafile
