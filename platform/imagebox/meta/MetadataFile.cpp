#include "platform/imagebox/meta/MetadataFile.h"

#include "core/AppError.h"
#include "core/RegularFile.h"
#include "platform/imagebox/meta/ExifBlock.h"
#include "platform/imagebox/meta/ExifNameTable.h"
#include "platform/imagebox/meta/IptcText.h"
#include "platform/imagebox/meta/JpegSegments.h"
#include "platform/imagebox/meta/PhotoshopResources.h"
#include "platform/imagebox/meta/TiffMetadataPatch.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <iterator>
#include <memory>

namespace picbasket::metadatafile {

namespace {

// Files are rewritten in memory; beyond this size that is refused.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

using ImagePtr = std::unique_ptr<Exiv2::Image>;

[[noreturn]] void fail(const QString& path, const QString& why) {
    raiseError(err::Unexpected,
               QStringLiteral("Cannot write metadata into \"%1\": %2").arg(path, why));
}

// Exiv2 reports harmless oddities of files on stderr; real failures reach us as
// exceptions, so only its errors are let through.
void quietenLibrary() {
    static const bool done = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::error);
        return true;
    }();
    (void)done;
}

bool isReadableType(int type) {
    return type == Exiv2::ImageType::jpeg || type == Exiv2::ImageType::tiff ||
           type == Exiv2::ImageType::psd || type == Exiv2::ImageType::png;
}

// What the image box keeps of a file's EXIF: the listed directories of a TIFF
// (its further directories are pages, not metadata), everything of the other
// formats (thumbnail, maker notes), never the blocks of other metadata.
void keepOwnExif(Exiv2::ExifData& exif, bool fromTiff) {
    for (auto it = exif.begin(); it != exif.end();) {
        const bool listed = exifnames::isListedGroup(it->groupName());
        const bool foreign = it->groupName() == "Image" && exifnames::isForeignBlockTag(it->tag());
        it = (foreign || (fromTiff && !listed)) ? exif.erase(it) : std::next(it);
    }
}

// EXIF to embed in a JPEG or PSD: without the pixel layout of a TIFF it may
// have come from.
Exiv2::ExifData embeddable(const Exiv2::ExifData& exif) {
    Exiv2::ExifData out = exif;
    for (auto it = out.begin(); it != out.end();) {
        const bool layout = it->groupName() == "Image" && exifnames::isImageLayoutTag(it->tag());
        it = layout ? out.erase(it) : std::next(it);
    }
    return out;
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    QString why;
    if (!openRegularFile(file, &why)) {
        fail(path, why);
    }
    if (file.size() > kMaxFileBytes) {
        fail(path, QStringLiteral("the file is larger than 1 GB"));
    }
    QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) {
        fail(path, QStringLiteral("the file could not be read whole"));
    }
    return bytes;
}

QByteArray viaLibrary(const QByteArray& bytes, const Exiv2::ExifData& exif,
                      const Exiv2::IptcData& iptc) {
    ImagePtr image(Exiv2::ImageFactory::open(
                       reinterpret_cast<const Exiv2::byte*>(bytes.constData()), long(bytes.size()))
                       .release());
    image->readMetadata();
    // The XMP is written as the file had it, not encoded anew from its parse.
    image->writeXmpFromPacket(true);
    image->setExifData(embeddable(exif));
    image->setIptcData(iptc);
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.open();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf out = io.read(io.size());
    io.close();
    return QByteArray(reinterpret_cast<const char*>(out.pData_), out.size_);
}

QByteArray bytesOf(const Exiv2::DataBuf& buf) {
    return QByteArray(reinterpret_cast<const char*>(buf.pData_), buf.size_);
}

bool isTiffStructure(const QByteArray& bytes) {
    return bytes.startsWith("II*") || bytes.startsWith(QByteArray("MM\0*", 4));
}

QString makeOf(const Exiv2::ExifData& exif) {
    const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Make"));
    return it == exif.end() ? QString() : QString::fromStdString(it->toString());
}

// The JPEG's IPTC resources updated, the file's other resources kept; raises
// for resources that do not parse.
QByteArray photoshopWith(const QByteArray& resources, const Exiv2::IptcData& iptc) {
    const QByteArray stream = iptc.empty() ? QByteArray() : bytesOf(Exiv2::IptcParser::encode(iptc));
    return photoshopresources::withIptc(resources, stream);
}

// A block the file lacks, added from what was read.
std::optional<QByteArray> addedWhereMissing(const QByteArray& inFile, const QByteArray& read) {
    if (inFile.isEmpty() && !read.isEmpty())
        return read;
    return std::nullopt;
}

QByteArray jpegWith(const QByteArray& bytes, const Exiv2::ExifData& exif,
                    const Exiv2::IptcData& iptc, const Blocks& blocks, const Changes& changes) {
    namespace js = jpegsegments;
    js::Blocks out;
    const QByteArray currentExif = js::contentOf(bytes, js::Kind::Exif);
    if (changes.exif || changes.thumbnail || currentExif != blocks.exif) {
        const QByteArray& order = isTiffStructure(blocks.exif) ? blocks.exif : currentExif;
        const bool little = !order.startsWith("MM");
        const QByteArray source = isTiffStructure(blocks.exif) ? blocks.exif : QByteArray();
        out.exif = exif.empty() ? QByteArray()
                                : exifblock::build(embeddable(exif), blocks.makerNote, source,
                                                   changes.thumbnail, little,
                                                   js::frameSize(bytes));
    }
    QByteArray currentPhotoshop = js::contentOf(bytes, js::Kind::Photoshop);
    // A file just written from the picture gets the resources it came with.
    const bool newFile = changes.thumbnail.has_value();
    if (newFile && currentPhotoshop.isEmpty())
        currentPhotoshop = photoshopresources::forNewPicture(blocks.photoshop);
    if (changes.iptc || currentPhotoshop != blocks.photoshop)
        out.photoshop = photoshopWith(currentPhotoshop, iptc);
    out.xmp = addedWhereMissing(js::contentOf(bytes, js::Kind::Xmp), blocks.xmp);
    out.icc = addedWhereMissing(js::contentOf(bytes, js::Kind::Icc), blocks.icc);
    return js::withBlocks(bytes, out);
}

QByteArray withMetadata(const QString& path, const QByteArray& bytes, const Exiv2::ExifData& exif,
                        const Exiv2::IptcData& iptc, const Blocks& blocks, const Changes& changes) {
    if (bytes.startsWith(QByteArray("\xFF\x4F\xFF\x51", 4))) {
        fail(path, QStringLiteral("a raw JPEG 2000 codestream has no place for EXIF or IPTC"));
    }
    const int type = Exiv2::ImageFactory::getType(
        reinterpret_cast<const Exiv2::byte*>(bytes.constData()), long(bytes.size()));
    if (type == Exiv2::ImageType::tiff) {
        return tiffpatch::apply(bytes, exif, iptc, {blocks.makerNote, blocks.icc, blocks.xmp});
    }
    if (type == Exiv2::ImageType::jpeg) {
        return jpegWith(bytes, exif, iptc, blocks, changes);
    }
    if (type == Exiv2::ImageType::psd) {
        return viaLibrary(bytes, exif, iptc);
    }
    fail(path, QStringLiteral("metadata can be written into JPEG, TIFF and PSD files only"));
}

// The blocks Exiv2 does not give as they were: a JPEG's segments, and the maker
// note with its place. A TIFF is mapped, not read, since only its metadata
// directories are looked at.
void readBlocks(const QString& path, int type, const Exiv2::ExifData& exif, Blocks& blocks) {
    QFile file(path);
    if (!openRegularFile(file) || file.size() > kMaxFileBytes)
        return;
    if (type == Exiv2::ImageType::jpeg) {
        const QByteArray bytes = file.readAll();
        namespace js = jpegsegments;
        blocks.exif = js::contentOf(bytes, js::Kind::Exif);
        blocks.photoshop = js::contentOf(bytes, js::Kind::Photoshop);
        blocks.xmp = js::contentOf(bytes, js::Kind::Xmp);
        blocks.icc = js::contentOf(bytes, js::Kind::Icc);
        blocks.thumbnail = exifblock::thumbnailOf(blocks.exif);
        blocks.makerNote = makernote::find(blocks.exif, makeOf(exif));
    } else if (type == Exiv2::ImageType::tiff) {
        uchar* mapped = file.map(0, file.size());
        if (!mapped)
            return;
        const QByteArray bytes =
            QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), file.size());
        blocks.makerNote = makernote::find(bytes, makeOf(exif));
        blocks.makerNote.bytes.detach();
        file.unmap(mapped);
    }
}

void replaceWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        fail(path, file.errorString());
    }
}

} // namespace

void prepareForThreads() {
    Exiv2::XmpParser::initialize();
}

bool read(const QString& path, Exiv2::ExifData& exif, Exiv2::IptcData& iptc, Blocks& blocks) {
    quietenLibrary();
    exif.clear();
    iptc.clear();
    blocks = {};
    try {
        ImagePtr image(Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString()).release());
        if (!image || !isReadableType(image->imageType())) {
            return false;
        }
        image->readMetadata();
        exif = image->exifData();
        iptc = image->iptcData();
        keepOwnExif(exif, image->imageType() == Exiv2::ImageType::tiff);
        iptctext::normalise(iptc);
        blocks.xmp = QByteArray::fromStdString(image->xmpPacket());
        if (image->iccProfileDefined())
            blocks.icc = bytesOf(*image->iccProfile());
        readBlocks(path, image->imageType(), exif, blocks);
        iptctext::keepTimesAsWritten(iptc, photoshopresources::iptcOf(blocks.photoshop));
        return true;
    } catch (const std::exception&) {
        exif.clear();
        iptc.clear();
        blocks = {};
        return false;
    }
}

void write(const QString& path, const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc,
           const Blocks& blocks, const Changes& changes) {
    quietenLibrary();
    if (!QFileInfo(path).isFile()) {
        fail(path, QStringLiteral("the file does not exist"));
    }
    const QByteArray bytes = readWhole(path);
    const Exiv2::IptcData writable = iptctext::toWritable(iptc);
    QByteArray updated;
    try {
        updated = withMetadata(path, bytes, exif, writable, blocks, changes);
    } catch (const AppError&) {
        throw;
    } catch (const std::exception& e) {
        fail(path, QString::fromLocal8Bit(e.what()));
    }
    if (updated != bytes)
        replaceWhole(path, updated);
}

} // namespace picbasket::metadatafile
