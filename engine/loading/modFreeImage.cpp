#include "engine/loading/modFreeImage.h"
#include "core/AppError.h"
#include "core/RegularFile.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/ImageFileCheck.h"

#include <FreeImage.h>
#include <QFile>
#include <QSaveFile>
#include <cstring>
#include <memory>
#include <new>

namespace picbasket {

namespace {

struct DibDeleter {
    void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};
using Dib = std::unique_ptr<FIBITMAP, DibDeleter>;

bool isAllowedSize(qint64 w, qint64 h) {
    return w > 0 && h > 0 && w <= imagebox::MaxSide && h <= imagebox::MaxSide &&
           w * h <= imagebox::MaxPixels;
}

// FreeImage rows run bottom-up, QImage rows top-down.
BYTE* dibRow(FIBITMAP* dib, int y) {
    return FreeImage_GetScanLine(dib, int(FreeImage_GetHeight(dib)) - 1 - y);
}

void copyPalette(FIBITMAP* dib, const QList<QRgb>& colours) {
    RGBQUAD* palette = FreeImage_GetPalette(dib);
    const int size = int(FreeImage_GetColorsUsed(dib));
    BYTE alpha[256];
    bool transparent = false;
    for (int i = 0; i < size; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        palette[i] = RGBQUAD{BYTE(qBlue(c)), BYTE(qGreen(c)), BYTE(qRed(c)), 0};
        alpha[i] = BYTE(qAlpha(c));
        transparent = transparent || alpha[i] != 255;
    }
    if (transparent)
        FreeImage_SetTransparencyTable(dib, alpha, size);
}

QList<QRgb> greyTable() {
    QList<QRgb> colours;
    for (int i = 0; i < 256; ++i)
        colours.append(qRgb(i, i, i));
    return colours;
}

// The picture in one of the layouts a FreeImage bitmap takes directly.
QImage dibLayoutOf(const QImage& picture) {
    switch (picture.format()) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return picture;
    case QImage::Format_MonoLSB:
        return picture.convertToFormat(QImage::Format_Mono);
    case QImage::Format_Grayscale16:
        return picture.convertToFormat(QImage::Format_Grayscale8);
    default:
        return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_BGR888);
    }
}

int dibDepthOf(QImage::Format format) {
    switch (format) {
    case QImage::Format_Mono:
        return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return 8;
    case QImage::Format_ARGB32:
        return 32;
    default:
        return 24;
    }
}

} // namespace

FIBITMAP* fncPictureToDib(const QImage& picture) {
    if (picture.isNull() || !isAllowedSize(picture.width(), picture.height()))
        return nullptr;
    const QImage image = dibLayoutOf(picture);
    const int bpp = dibDepthOf(image.format());
    Dib dib(FreeImage_Allocate(image.width(), image.height(), bpp));
    if (!dib)
        return nullptr;
    if (bpp <= 8)
        copyPalette(dib.get(),
                    image.format() == QImage::Format_Grayscale8 ? greyTable() : image.colorTable());
    const size_t rowBytes =
        bpp == 1 ? size_t((image.width() + 7) / 8) : size_t(image.width()) * size_t(bpp / 8);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(dibRow(dib.get(), y), image.constScanLine(y), rowBytes);
    if (image.format() == QImage::Format_ARGB32)
        FreeImage_SetTransparent(dib.get(), TRUE);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        FreeImage_SetDotsPerMeterX(dib.get(), unsigned(image.dotsPerMeterX()));
        FreeImage_SetDotsPerMeterY(dib.get(), unsigned(image.dotsPerMeterY()));
    }
    return dib.release();
}

QImage fncDibToPicture(FIBITMAP* dib, bool unload) {
    if (!dib)
        return {};
    QImage picture;
    try {
        picture = imagebox::pictureOfDib(dib, imagebox::DeepSamples::Reduce);
    } catch (const AppError&) {
    }
    if (unload)
        FreeImage_Unload(dib);
    return picture;
}

QString fncGetExtensionList(int32_t format) {
    const char* list = FreeImage_GetFIFExtensionList(FREE_IMAGE_FORMAT(format));
    return QString::fromLatin1(list ? list : "");
}

QString fncGetPrimaryExtension(int32_t format) {
    return fncGetExtensionList(format).section(',', 0, 0);
}

bool fncIsExtensionValid(int32_t format, const QString& fileName, Qt::CaseSensitivity compareMode) {
    const int dot = fileName.lastIndexOf('.');
    if (dot < 0)
        return false;
    const QString extension = fileName.mid(dot + 1);
    return (fncGetExtensionList(format) + ",").contains(extension, compareMode);
}

bool fncIsGreyPalette(FIBITMAP* dib) {
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (bpp != 1 && bpp != 4 && bpp != 8)
        return false;
    const RGBQUAD* palette = FreeImage_GetPalette(dib);
    for (unsigned i = 0; palette && i < FreeImage_GetColorsUsed(dib); ++i)
        if (palette[i].rgbRed != palette[i].rgbGreen || palette[i].rgbGreen != palette[i].rgbBlue)
            return false;
    return true;
}

namespace {

bool isGiven(const SizeArgument& side) {
    return !std::holds_alternative<std::monostate>(side);
}

// Larger files are no pictures anyone should try to load.
constexpr qint64 MaxFileBytes = qint64(1) << 30;

// Reads the file and decodes it through the shared FreeImage load, which checks
// the structure of the formats it knows before FreeImage sees them, since its
// decoders accept truncated files and trust the sizes a file claims.
FIBITMAP* loadChecked(FREE_IMAGE_FORMAT format, const QString& fileName) {
    QFile file(fileName);
    if (!openRegularFile(file) || file.size() > MaxFileBytes)
        return nullptr;
    const QByteArray bytes = file.readAll();
    try {
        return imagebox::loadDibWithFreeImage(bytes, format, 0).release();
    } catch (const AppError&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

FIBITMAP* prepareAndRescale(FIBITMAP* dib, const SizeArgument& width, const SizeArgument& height,
                            bool inPercent, int32_t filter);

QImage loadAs(const QString& fileName, const SizeArgument& width, const SizeArgument& height,
              bool inPercent, int32_t filter, int32_t format) {
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(FREE_IMAGE_FORMAT(format)))
        raiseError(err::InvalidPicture);
    FIBITMAP* dib = loadChecked(FREE_IMAGE_FORMAT(format), fileName);
    if (!dib)
        raiseError(err::InvalidPicture);
    if (isGiven(width) || isGiven(height))
        dib = prepareAndRescale(dib, width, height, inPercent, filter);
    const QImage picture = fncDibToPicture(dib, true);
    if (picture.isNull())
        raiseError(err::InvalidPicture);
    return picture;
}

// Encodes in memory and commits the file only when it is whole, so a failed save
// never leaves half a file where the user's file was.
int32_t saveWhole(FREE_IMAGE_FORMAT format, FIBITMAP* dib, const QString& name, int32_t options) {
    FIMEMORY* memory = FreeImage_OpenMemory();
    BOOL saved = FreeImage_SaveToMemory(format, dib, memory, options);
    BYTE* data = nullptr;
    DWORD size = 0;
    if (saved)
        saved = FreeImage_AcquireMemory(memory, &data, &size);
    if (saved) {
        QSaveFile file(name);
        saved = file.open(QIODevice::WriteOnly) &&
                file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size) &&
                file.commit();
    }
    FreeImage_CloseMemory(memory);
    return saved ? 1 : 0;
}

FIBITMAP* prepareAndRescale(FIBITMAP* dib, const SizeArgument& width, const SizeArgument& height,
                            bool inPercent, int32_t filter) {
    dib = fncConvertColorDepth(dib, 0x100, true, 128, 0, 0, 256, nullptr, 0);
    return fncRescaleDib(dib, width, height, inPercent, true, filter);
}

} // namespace

QImage fncLoadPicture(const QString& fileName, const SizeArgument& width,
                      const SizeArgument& height, bool inPercent, int32_t filter, int32_t& format) {
    if (fileName.isEmpty())
        return {};
    format = FreeImage_GetFIFFromFilename(QFile::encodeName(fileName).constData());
    return loadAs(fileName, width, height, inPercent, filter, format);
}

QImage fncLoadPicture(const QString& fileName) {
    int32_t format = FreeImageUnknown;
    return fncLoadPicture(fileName, {}, {}, false, 0, format);
}

QImage fncLoadPictureAs(const QString& fileName, int32_t format) {
    if (fileName.isEmpty())
        return {};
    return loadAs(fileName, {}, {}, false, 0, format);
}

int32_t fncSavePicture(const QImage& picture, const QString& fileName, int32_t& format,
                       int32_t options, const SizeArgument& width, const SizeArgument& height,
                       bool inPercent, int32_t filter) {
    if (picture.isNull())
        raiseError(err::ObjectNotSet);
    FIBITMAP* raw = fncPictureToDib(picture);
    if (!raw)
        raiseError(err::InvalidPicture);
    if (isGiven(width) || isGiven(height))
        raw = prepareAndRescale(raw, width, height, inPercent, filter);
    Dib dib(raw);
    if (format == FIF_UNKNOWN)
        format = FreeImage_GetFIFFromFilename(QFile::encodeName(fileName).constData());
    if (format == FIF_UNKNOWN)
        return 0;
    QString name = fileName;
    if (!fncIsExtensionValid(format, fileName, Qt::CaseSensitive))
        name += "." + fncGetPrimaryExtension(format);
    return saveWhole(FREE_IMAGE_FORMAT(format), dib.get(), name, options);
}

} // namespace picbasket
