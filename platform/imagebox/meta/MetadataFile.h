#pragma once
#include <QString>
#include <exiv2/exiv2.hpp>

namespace picbasket::metadatafile {

// Reads the EXIF and IPTC of a JPEG, TIFF, PSD or PNG file into the two
// containers (emptied first). Any other file, an unreadable one, and damaged
// metadata give false with both containers empty; this never raises.
bool read(const QString& path, Exiv2::ExifData& exif, Exiv2::IptcData& iptc);

// Exiv2's XMP parser keeps process-wide state that it sets up on first use, which
// is not safe when files are first read on several threads at once: call this
// once before starting threads that read metadata.
void prepareForThreads();

// Replaces the EXIF and IPTC of an existing JPEG, TIFF or PSD file without
// re-encoding its pixels; other pages, layers and XMP stay. The file is
// replaced whole or not at all. Raises AppError (0x8000FFFF) for any other
// kind of file, among them a raw JPEG 2000 codestream, and when writing fails.
void write(const QString& path, const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc);

} // namespace picbasket::metadatafile
