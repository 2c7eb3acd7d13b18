#pragma once
#include <QString>
#include <exiv2/exiv2.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace picbasket::exifnames {

// One EXIF tag: its directory (the Exiv2 group "Image", "Photo", "GPSInfo" or
// "Iop") and its number.
struct TagRef {
    std::string group;
    uint16_t tag = 0;
};

// True for the directories the image box lists: main image, Exif, GPS, interoperability.
bool isListedGroup(const std::string& group);

// The attribute name of a tag: Exiv2's tag name, except where the traditional
// name differs ("ExifOffset", "GPSInfo", "InteroperabilityOffset",
// "FlashPixVersion", "RelatedAudioFile", "Threshholding").
QString attributeName(const std::string& group, uint16_t tag);

// Every listed directory that knows a tag of that attribute name, in the order
// main image, Exif, GPS, interoperability. Empty when the name is unknown.
std::vector<TagRef> tagsNamed(const QString& name);

// Where a new attribute of that name goes: Make, Model, DateTime,
// ImageDescription, Artist, Copyright and Software into the main directory, any
// other name the Exif directory knows into the Exif directory, and a name only
// one other directory knows (GPS tags, Orientation, ...) into that directory.
std::optional<TagRef> placementFor(const QString& name);

// Tags that hold offsets, strip or tile layout or sub-directory pointers, and
// the main-directory tags that describe the pixel data of a TIFF. Such tags are
// never set or deleted by name: a wrong value would break the file.
bool isStructural(const TagRef& ref);

// The main-directory tags that describe how the pixels of a TIFF are stored.
bool isImageLayoutTag(uint16_t tag);

// Main-directory tags that carry other metadata blocks (IPTC, Photoshop image
// resources, XMP); the image box keeps them out of its EXIF list.
bool isForeignBlockTag(uint16_t tag);

// Exiv2's type and value count for a tag (count 0: any number of values).
Exiv2::TypeId defaultType(const TagRef& ref);
int defaultCount(const TagRef& ref);

// The UserComment tag, whose value carries a character-set prefix.
bool isUserComment(const TagRef& ref);

} // namespace picbasket::exifnames
