#pragma once
#include <QByteArray>

// Photoshop image resources (a JPEG's APP13 content after its identifier, a
// TIFF's tag 34377): a run of resources, each a signature ("8BIM" and the few
// others), a number, a padded name and a padded length-counted value. The IPTC
// record stream is resource 0x0404, and 0x0425 holds its MD5 digest, which
// readers compare to tell whether the XMP was written after the IPTC.
namespace picbasket::photoshopresources {

inline constexpr uint16_t kIptcResource = 0x0404;
inline constexpr uint16_t kIptcDigestResource = 0x0425;

// The resources with the IPTC stream as their IPTC resource: the first one is
// replaced where it stood (or the stream is added at the end), further copies
// are dropped, an empty stream removes it; a digest the resources carry is
// made that of the new stream (and removed with the stream). Every other
// resource is kept byte for byte. Zero bytes after the last resource are
// padding and go. Raises AppError, naming the byte, when the resources do not
// parse to their end: nothing may be written then that would drop data.
QByteArray withIptc(const QByteArray& resources, const QByteArray& iptcStream);

// The resources for a file newly written from the picture they came with:
// every one that parses up to any damage, but the thumbnails of the old
// picture (0x0409, 0x040C). Never raises.
QByteArray forNewPicture(const QByteArray& resources);

// The value of the first IPTC resource; empty for none and for resources that
// do not parse up to it. Never raises.
QByteArray iptcOf(const QByteArray& resources);

} // namespace picbasket::photoshopresources
