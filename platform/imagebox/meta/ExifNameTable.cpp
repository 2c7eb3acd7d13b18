#include "platform/imagebox/meta/ExifNameTable.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <utility>

namespace picbasket::exifnames {

namespace {

const std::array<const char*, 4> kListedGroups = {"Image", "Photo", "GPSInfo", "Iop"};

// Exiv2 names that the attribute lists have always shown under another name.
const std::array<std::pair<const char*, const char*>, 6> kTraditionalNames = {{
    {"ExifTag", "ExifOffset"},
    {"GPSTag", "GPSInfo"},
    {"InteroperabilityTag", "InteroperabilityOffset"},
    {"FlashpixVersion", "FlashPixVersion"},
    {"RelatedSoundFile", "RelatedAudioFile"},
    {"Thresholding", "Threshholding"},
}};

const std::array<const char*, 7> kMainDirectoryNames = {
    "Make", "Model", "DateTime", "ImageDescription", "Artist", "Copyright", "Software"};

QString traditionalName(const char* exivName) {
    for (const auto& [exiv, traditional] : kTraditionalNames) {
        if (std::string_view(exiv) == exivName) {
            return QString::fromLatin1(traditional);
        }
    }
    return QString::fromLatin1(exivName);
}

// The tag lists of the four listed directories, indexed both ways.
struct Table {
    QHash<QString, std::vector<TagRef>> byName;
    std::map<std::pair<std::string, uint16_t>, const Exiv2::TagInfo*> byTag;
};

const Table& table() {
    static const Table built = [] {
        Table t;
        for (const char* group : kListedGroups) {
            for (const Exiv2::TagInfo* info = Exiv2::ExifTags::tagList(group);
                 info && info->tag_ != 0xFFFF; ++info) {
                t.byName[traditionalName(info->name_)].push_back({group, info->tag_});
                t.byTag[{group, info->tag_}] = info;
            }
        }
        return t;
    }();
    return built;
}

const Exiv2::TagInfo* infoFor(const TagRef& ref) {
    auto it = table().byTag.find({ref.group, ref.tag});
    return it == table().byTag.end() ? nullptr : it->second;
}

bool isMainDirectoryName(const QString& name) {
    return std::any_of(kMainDirectoryNames.begin(), kMainDirectoryNames.end(),
                       [&](const char* n) { return name == QLatin1String(n); });
}

std::optional<TagRef> inGroup(const std::vector<TagRef>& refs, const char* group) {
    for (const TagRef& ref : refs) {
        if (ref.group == group) {
            return ref;
        }
    }
    return std::nullopt;
}

} // namespace

bool isListedGroup(const std::string& group) {
    return std::find(kListedGroups.begin(), kListedGroups.end(), group) != kListedGroups.end();
}

QString attributeName(const std::string& group, uint16_t tag) {
    if (const Exiv2::TagInfo* info = infoFor({group, tag})) {
        return traditionalName(info->name_);
    }
    return QString::fromStdString(Exiv2::ExifKey(tag, group).tagName());
}

std::vector<TagRef> tagsNamed(const QString& name) {
    auto it = table().byName.find(name);
    return it == table().byName.end() ? std::vector<TagRef>{} : it.value();
}

std::optional<TagRef> placementFor(const QString& name) {
    const std::vector<TagRef> refs = tagsNamed(name);
    if (refs.empty()) {
        return std::nullopt;
    }
    if (isMainDirectoryName(name)) {
        return inGroup(refs, "Image");
    }
    if (auto photo = inGroup(refs, "Photo")) {
        return photo;
    }
    return refs.front();
}

bool isImageLayoutTag(uint16_t tag) {
    static const std::array<uint16_t, 53> kLayout = {
        254, 255, 256, 257, 258, 259, 262, 263, 264, 265, 266, 273, 277, 278, 279, 280, 281, 284,
        288, 289, 290, 291, 292, 293, 317, 320, 321, 322, 323, 324, 325, 330, 332, 333, 334, 336,
        337, 338, 339, 340, 341, 342, 347, 512, 513, 514, 515, 517, 518, 519, 520, 521, 530};
    return std::find(kLayout.begin(), kLayout.end(), tag) != kLayout.end();
}

bool isForeignBlockTag(uint16_t tag) {
    return tag == 700 || tag == 33723 || tag == 34377;
}

bool isStructural(const TagRef& ref) {
    if (ref.group == "Image") {
        return isImageLayoutTag(ref.tag) || ref.tag == 34665 || ref.tag == 34853 ||
               isForeignBlockTag(ref.tag);
    }
    if (ref.group == "Photo") {
        // The interoperability pointer, and the maker note, whose insides hold offsets.
        return ref.tag == 40965 || ref.tag == 37500;
    }
    return false;
}

Exiv2::TypeId defaultType(const TagRef& ref) {
    const Exiv2::TagInfo* info = infoFor(ref);
    return info ? info->typeId_ : Exiv2::undefined;
}

int defaultCount(const TagRef& ref) {
    const Exiv2::TagInfo* info = infoFor(ref);
    return info && info->count_ > 0 ? info->count_ : 0;
}

bool isUserComment(const TagRef& ref) {
    return ref.group == "Photo" && ref.tag == 0x9286;
}

} // namespace picbasket::exifnames
