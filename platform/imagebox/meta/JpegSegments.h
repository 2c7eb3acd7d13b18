#pragma once
#include <QByteArray>
#include <QSize>
#include <optional>

// The metadata segments of a JPEG file, read and replaced one kind at a time
// so that a change to one block leaves every other byte of the file as it was.
namespace picbasket::jpegsegments {

enum class Kind {
    Exif,      // APP1 "Exif": a TIFF structure
    Xmp,       // APP1 with the XMP namespace: the packet
    Icc,       // APP2 "ICC_PROFILE": the profile, split over numbered chunks
    Photoshop, // APP13 "Photoshop 3.0": image resources, the IPTC among them
};

// The content of the kind's segments (identifiers left out, ICC chunks joined in
// their order); empty when the file has none. Raises AppError for a file that is
// no JPEG or whose segments end early.
QByteArray contentOf(const QByteArray& jpeg, Kind kind);

// The width and height its frame header gives; an empty size when the segments
// before the scan hold none. Raises AppError as contentOf does.
QSize frameSize(const QByteArray& jpeg);

// What becomes of one kind: no value keeps the file's segments, an empty
// content removes them, any other content replaces them.
struct Blocks {
    std::optional<QByteArray> exif, xmp, icc, photoshop;
};

// The file with the blocks replaced; a replaced kind takes the place of its
// first old segment, a new kind goes after the JFIF or EXIF segments at the
// start. Raises AppError when a block does not fit the segments a JPEG allows.
QByteArray withBlocks(const QByteArray& jpeg, const Blocks& blocks);

} // namespace picbasket::jpegsegments
