#include "platform/imagebox/meta/MetadataFile.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/ExifNameTable.h"
#include "platform/imagebox/meta/IptcText.h"
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
    if (!file.open(QIODevice::ReadOnly)) {
        fail(path, file.errorString());
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

QByteArray withMetadata(const QString& path, const QByteArray& bytes, const Exiv2::ExifData& exif,
                        const Exiv2::IptcData& iptc) {
    if (bytes.startsWith(QByteArray("\xFF\x4F\xFF\x51", 4))) {
        fail(path, QStringLiteral("a raw JPEG 2000 codestream has no place for EXIF or IPTC"));
    }
    const int type = Exiv2::ImageFactory::getType(
        reinterpret_cast<const Exiv2::byte*>(bytes.constData()), long(bytes.size()));
    if (type == Exiv2::ImageType::tiff) {
        return tiffpatch::apply(bytes, exif, iptc);
    }
    if (type == Exiv2::ImageType::jpeg || type == Exiv2::ImageType::psd) {
        return viaLibrary(bytes, exif, iptc);
    }
    fail(path, QStringLiteral("metadata can be written into JPEG, TIFF and PSD files only"));
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

bool read(const QString& path, Exiv2::ExifData& exif, Exiv2::IptcData& iptc) {
    quietenLibrary();
    exif.clear();
    iptc.clear();
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
        return true;
    } catch (const std::exception&) {
        exif.clear();
        iptc.clear();
        return false;
    }
}

void write(const QString& path, const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc) {
    quietenLibrary();
    if (!QFileInfo(path).isFile()) {
        fail(path, QStringLiteral("the file does not exist"));
    }
    const QByteArray bytes = readWhole(path);
    const Exiv2::IptcData writable = iptctext::toWritable(iptc);
    QByteArray updated;
    try {
        updated = withMetadata(path, bytes, exif, writable);
    } catch (const AppError&) {
        throw;
    } catch (const std::exception& e) {
        fail(path, QString::fromLocal8Bit(e.what()));
    }
    replaceWhole(path, updated);
}

} // namespace picbasket::metadatafile
