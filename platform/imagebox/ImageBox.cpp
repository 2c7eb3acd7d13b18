#include "platform/imagebox/ImageBox.h"
#include "core/AppError.h"
#include "core/RegularFile.h"
#include "platform/imagebox/ColorFormatCopy.h"
#include "platform/imagebox/ExifOrientation.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/GifWriter.h"
#include "platform/imagebox/PcxWriter.h"
#include "platform/imagebox/PdfWriter.h"
#include "platform/imagebox/PngProfile.h"
#include "platform/imagebox/TiffCodec.h"
#include "platform/imagebox/WholeFileWriter.h"

#include <FreeImage.h>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <new>

namespace picbasket {

using namespace imagebox;

namespace {

// Files larger than this are not images the box should try to hold.
constexpr qint64 MaxFileBytes = qint64(1) << 30;

// The format code SaveToFile writes for a file name's extension, -1 for none.
int formatForExtension(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == "bmp")
        return ImageBox::FormatBmp;
    if (ext == "gif")
        return ImageBox::FormatGif;
    if (ext == "jpg" || ext == "jpeg" || ext == "jpe")
        return ImageBox::FormatJpeg;
    if (ext == "pcx")
        return ImageBox::FormatPcx;
    if (ext == "png")
        return ImageBox::FormatPng;
    if (ext == "wbm" || ext == "wbmp")
        return ImageBox::FormatWbmp;
    if (ext == "psd")
        return ImageBox::FormatPsd;
    if (ext == "tif" || ext == "tiff")
        return ImageBox::FormatTiff;
    if (ext == "pdf")
        return ImageBox::FormatPdf;
    return -1;
}

// The FreeImage format of a format code the box reads; FIF_UNKNOWN for PDF.
FREE_IMAGE_FORMAT freeImageFormat(int format) {
    switch (format) {
    case ImageBox::FormatBmp:
        return FIF_BMP;
    case ImageBox::FormatGif:
        return FIF_GIF;
    case ImageBox::FormatJpeg:
        return FIF_JPEG;
    case ImageBox::FormatPcx:
        return FIF_PCX;
    case ImageBox::FormatPng:
        return FIF_PNG;
    case ImageBox::FormatWbmp:
        return FIF_WBMP;
    case ImageBox::FormatPsd:
        return FIF_PSD;
    case ImageBox::FormatTiff:
        return FIF_TIFF;
    default:
        return FIF_UNKNOWN;
    }
}

void requireFormatCode(int format) {
    if (format < ImageBox::FormatBmp || format > ImageBox::FormatPdf)
        raiseError(err::InvalidProcedureCall, QString("%1 is no image format code").arg(format));
}

// The format a file holds: by its content, and by its extension for WBMP,
// which has no signature. A format the box does not read raises.
FREE_IMAGE_FORMAT formatOfFile(const QByteArray& bytes, const QString& path) {
    FREE_IMAGE_FORMAT fif = FREE_IMAGE_FORMAT(freeImageFormatOf(bytes));
    if (fif == FIF_UNKNOWN && formatForExtension(path) == ImageBox::FormatWbmp)
        fif = FIF_WBMP;
    switch (fif) {
    case FIF_BMP:
    case FIF_GIF:
    case FIF_JPEG:
    case FIF_PCX:
    case FIF_PNG:
    case FIF_WBMP:
    case FIF_PSD:
    case FIF_TIFF:
        return fif;
    default:
        raiseError(err::Unexpected, QString("%1 is in no format the box reads").arg(path));
    }
}

// Every failure of a file or memory member reaches the caller as the skippable
// 0x8000FFFF, with the library's own description kept.
template <typename Work> auto asUnexpected(Work&& work) {
    try {
        return work();
    } catch (const AppError& error) {
        if (error.number() == err::Unexpected || error.number() == err::InvalidProcedureCall)
            throw;
        raiseError(err::Unexpected, error.description());
    } catch (const std::bad_alloc&) {
        raiseError(err::Unexpected, "Not enough memory for the image");
    } catch (const std::exception& error) {
        raiseError(err::Unexpected, QString::fromUtf8(error.what()));
    }
}

int jpegFlags(int quality, bool progressive) {
    return quality | (progressive ? JPEG_PROGRESSIVE : 0);
}

} // namespace

ImageBox::ImageBox(QObject* parent) : QObject(parent) {}

ImageBox::~ImageBox() {
    discardPending();
}

void ImageBox::setImage(const QImage& image) {
    replaceImage(toBoxFormat(image));
}

void ImageBox::replaceImage(const QImage& image) {
    discardPending();
    image_ = image;
    emit displayChanged();
}

void ImageBox::LoadFromFile(const QString& path) {
    try {
        const QImage loaded = asUnexpected([&] {
            if (pageIndex_ < 1)
                raiseError(err::Unexpected, QString("There is no page %1").arg(pageIndex_));
            const QByteArray bytes = readWholeFile(path, MaxFileBytes);
            const FREE_IMAGE_FORMAT fif = formatOfFile(bytes, path);
            const QImage decoded =
                decodeWithFreeImage(bytes, fif, fif == FIF_TIFF ? pageIndex_ - 1 : 0);
            // The Orientation read is the first page's; later pages stay as stored.
            return pageIndex_ == 1 ? uprightPicture(decoded, bytes) : decoded;
        });
        loadedFlag_ = false;
        replaceImage(loaded);
    } catch (const AppError&) {
        loadedFlag_ = true;
        throw;
    }
    readMetadataFrom(path);
}

bool ImageBox::ReadsFile(const QString& path) const {
    // Format signatures sit in the first bytes; the whole file is not needed.
    constexpr qint64 SignatureBytes = 4096;
    QFile file(path);
    if (!openRegularFile(file))
        return false;
    try {
        formatOfFile(file.read(SignatureBytes), path);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

int ImageBox::PageCountOfFile(const QString& path) const {
    return asUnexpected([&] {
        const QByteArray bytes = readWholeFile(path, MaxFileBytes);
        const FREE_IMAGE_FORMAT fif = formatOfFile(bytes, path);
        if (fif == FIF_TIFF)
            return tiffPageCountWithFreeImage(bytes);
        // Only a full decode finds damage inside the compressed data.
        decodeWithFreeImage(bytes, fif, 0);
        return 1;
    });
}

QImage ImageBox::copyForFormat(int format) const {
    QImage copy;
    switch (format) {
    case FormatGif:
        copy = colorFormat_ == Grey8   ? toGreyPalette8(image_)
               : colorFormat_ == Mono1 ? toMono(image_)
                                       : toPalette8(image_);
        break;
    case FormatJpeg:
        copy =
            colorFormat_ == Grey8 || colorFormat_ == Mono1 ? toGrey8(image_) : toColour24(image_);
        break;
    case FormatWbmp:
        copy = toMono(image_);
        break;
    case FormatPsd:
        // FreeImage writes the colour-mode header of palette and 1-bit PSD files
        // wrongly (the palette length in the wrong byte order), so the reduced
        // colours are stored as RGB.
        copy = toColour24(applyColorFormat(image_, colorFormat_));
        break;
    case FormatTiff:
        copy = tiffCompression_ == TiffGroup4 ? toMono(image_)
                                              : applyColorFormat(image_, colorFormat_);
        break;
    default:
        copy = applyColorFormat(image_, colorFormat_);
    }
    // The transparent colour is a palette entry: a 24-bit or grey PNG ignores it.
    const bool palette =
        copy.format() == QImage::Format_Mono || copy.format() == QImage::Format_Indexed8;
    if (useTransparentColor_ && palette && (format == FormatGif || format == FormatPng))
        copy = withTransparentColour(copy, backgroundColor_);
    return copy;
}

QByteArray ImageBox::encode(int format) const {
    requireImage();
    const QImage copy = copyForFormat(format);
    switch (format) {
    case FormatGif:
        return gifCompressed_ ? encodeWithFreeImage(copy, FIF_GIF, 0) : writeUncompressedGif(copy);
    case FormatJpeg:
        return encodeWithFreeImage(copy, FIF_JPEG, jpegFlags(jpegQuality_, jpegProgressive_));
    case FormatPcx:
        return writePcx(copy);
    case FormatTiff:
        return encodeTiff(copy, tiffCompression_);
    case FormatPdf:
        return writePdf(copy);
    case FormatPng:
        // The pixels are the source's, so its colour profile goes with them.
        return withIccProfile(encodeWithFreeImage(copy, FIF_PNG, 0), metadata_.iccProfile());
    default:
        return encodeWithFreeImage(copy, freeImageFormat(format), 0);
    }
}

void ImageBox::SaveToFile(const QString& path) {
    const int format = formatForExtension(path);
    if (format < 0)
        raiseError(err::InvalidProcedureCall,
                   QString("%1 has no extension of a format the box writes").arg(path));
    asUnexpected([&] {
        writeWholeFile(path, encode(format),
                       [&](const QString& finished) { writeMetadataTo(finished, format); });
    });
}

bool ImageBox::SaveExactTiff(const QString& path) {
    return asUnexpected([&] {
        return writeNewFile(path, SaveToMemory(FormatTiff), [&](const QString& finished) {
            writeMetadataTo(finished, FormatTiff);
        });
    });
}

void ImageBox::WriteMetadataIntoSavedFile(const QString& path) {
    asUnexpected([&] { writeMetadataTo(path, formatForExtension(path)); });
}

void ImageBox::AppendPageTiff(const QString& path) {
    asUnexpected([&] {
        const QByteArray page = encode(FormatTiff);
        if (!QFileInfo::exists(path))
            return writeWholeFile(path, page);
        const QByteArray file = readWholeFile(path, MaxFileBytes);
        writeWholeFile(path, appendTiffPage(file, copyForFormat(FormatTiff), tiffCompression_));
    });
}

void ImageBox::AppendPagePdf(const QString& path) {
    asUnexpected([&] {
        requireImage();
        if (!QFileInfo::exists(path))
            return writeWholeFile(path, encode(FormatPdf));
        const QByteArray file = readWholeFile(path, MaxFileBytes);
        writeWholeFile(path, appendPdfPage(file, copyForFormat(FormatPdf)));
    });
}

QByteArray ImageBox::SaveToMemory(int format) const {
    requireFormatCode(format);
    return asUnexpected([&] {
        requireImage();
        // The snapshot ignores the save options: it keeps the image exactly.
        return format == FormatTiff ? encodeTiff(image_, TiffNone, true) : encode(format);
    });
}

void ImageBox::LoadFromMemory(int format, const QByteArray& data) {
    requireFormatCode(format);
    const QImage loaded = asUnexpected([&] {
        if (data.isEmpty())
            raiseError(err::Unexpected, "There is no image data to load");
        if (format == FormatPdf)
            raiseError(err::Unexpected, "The box does not read PDF data");
        if (format == FormatTiff) {
            const QImage exact = decodeTiffSnapshot(data);
            if (!exact.isNull())
                return exact;
        }
        return decodeWithFreeImage(data, freeImageFormat(format), 0);
    });
    replaceImage(loaded);
}

int64_t ImageBox::EncodedSize(int format) const {
    requireFormatCode(format);
    return asUnexpected([&] { return int64_t(encode(format).size()); });
}

// The metadata goes with the image, so a picture set afterwards does not inherit
// the EXIF and IPTC of the file shown before.
void ImageBox::Clear() {
    metadata_.clear();
    statedResolution_ = {};
    replaceImage(QImage());
}

int ImageBox::BitsPerPixel() const {
    // A pending load's reduced picture has the full image's format.
    switch (pending_ ? reducedView_.format() : image_.format()) {
    case QImage::Format_Invalid:
        return 0;
    case QImage::Format_RGB888:
        return 24;
    case QImage::Format_RGBX64:
        return 48;
    default:
        return image_.depth();
    }
}

void ImageBox::setColorFormat(int value) {
    if (value != Colour24 && value != Palette8 && value != Grey8 && value != Mono1)
        raiseError(err::InvalidProcedureCall, QString("%1 is no colour format").arg(value));
    colorFormat_ = value;
}

void ImageBox::setJpegQuality(int value) {
    if (value < 1 || value > 100)
        raiseError(err::InvalidProcedureCall, "The JPEG quality runs from 1 to 100");
    jpegQuality_ = value;
}

void ImageBox::setTiffCompression(int value) {
    if (value < TiffNone || value > TiffGroup4)
        raiseError(err::InvalidProcedureCall, QString("%1 is no TIFF compression").arg(value));
    tiffCompression_ = value;
}

} // namespace picbasket
