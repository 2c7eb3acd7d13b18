#include "engine/loading/LoadRoutes.h"
#include "core/AppError.h"
#include "core/RegularFile.h"
#include "core/modFileSystem.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/loading/modFreeImage.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "platform/imagebox/ExifOrientation.h"
#include "platform/imagebox/ImageFileCheck.h"
#include "platform/imagebox/PnmCheck.h"

#include <FreeImage.h>
#include <IL/il.h>
#include <QFile>
#include <QStringList>
#include <new>

namespace picbasket {

namespace {

const QStringList& devilExtensions() {
    static const QStringList list{"psp",  "pic", "pix", "pxr", "raw", "dcx", "lif",
                                  "wal",  "mdl", "oil", "lmp", "sgi", "bw",  "rgb",
                                  "rgba", "act", "pal", "pbm", "pgm", "ppm", "mng"};
    return list;
}

const QStringList& jpeg2000Extensions() {
    static const QStringList list{"jp2", "j2k", "jpc", "j2c"};
    return list;
}

const QStringList& metafileExtensions() {
    static const QStringList list{"emf", "wmf"};
    return list;
}

const QStringList& gdiPlusExtensions() {
    static const QStringList list{"tiff", "tif", "gif", "jpeg", "jpg",
                                  "jpe",  "png", "bmp", "emf",  "wmf"};
    return list;
}

// Removes the temporary bitmap when a route that wrote it ends, however it ends.
// Errors of the removal are of no interest to anyone.
class TemporaryBitmap {
public:
    TemporaryBitmap() : path_(temporaryBitmapPath()) { QFile::remove(path_); }
    ~TemporaryBitmap() { QFile::remove(path_); }
    TemporaryBitmap(const TemporaryBitmap&) = delete;
    TemporaryBitmap& operator=(const TemporaryBitmap&) = delete;
    const QString& path() const { return path_; }

private:
    QString path_;
};

// One DevIL image name, deleted when the load is done with it.
class DevilImage {
public:
    DevilImage() {
        ilInit();
        ilGenImages(1, &name_);
        ilBindImage(name_);
    }
    ~DevilImage() { ilDeleteImages(1, &name_); }
    DevilImage(const DevilImage&) = delete;
    DevilImage& operator=(const DevilImage&) = delete;

private:
    ILuint name_ = 0;
};

// DevIL's readers trust what a file claims: a junk ".wal" frees memory twice, a
// junk ".mng" becomes a picture. Only the formats whose structure we check reach
// it, the portable maps and SGI images; a file of any other DevIL format is
// refused, since no check of ours could vouch for it.
bool isSafeForDevIL(const QString& path) {
    const QString extension = fncGetFileExtension(path).toLower();
    const bool portableMap = extension == "pbm" || extension == "pgm" || extension == "ppm";
    const bool sgi =
        extension == "sgi" || extension == "bw" || extension == "rgb" || extension == "rgba";
    if (!portableMap && !sgi)
        return false;
    QFile file(path);
    if (!openRegularFile(file))
        return false;
    const QByteArray bytes = file.readAll();
    if (portableMap)
        return isCompletePnm(bytes);
    try {
        imagebox::checkImageBytes(bytes, FIF_SGI);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

// Decodes the DevIL file and writes it as the temporary bitmap.
bool devilToBitmap(const QString& path, const QString& bitmap) {
    if (!isSafeForDevIL(path))
        return false;
    DevilImage image;
    const QByteArray source = QFile::encodeName(path);
    if (ilLoadImage(source.constData()) != IL_TRUE)
        return false;
    const QByteArray target = QFile::encodeName(bitmap);
    return ilSave(IL_BMP, target.constData()) == IL_TRUE;
}

} // namespace

LoadRoute chooseLoadRoute(int32_t contentFormat, const QString& extension) {
    if (contentFormat == FIF_JP2 || contentFormat == FIF_J2K)
        return LoadRoute::Jpeg2000;
    if (contentFormat != FIF_UNKNOWN)
        return gdiPlusExtensions().contains(extension) ? LoadRoute::GdiPlus : LoadRoute::FreeImage;
    if (devilExtensions().contains(extension))
        return LoadRoute::DevIL;
    if (jpeg2000Extensions().contains(extension))
        return LoadRoute::Jpeg2000;
    if (metafileExtensions().contains(extension))
        return LoadRoute::GdiPlus;
    return LoadRoute::Nothing;
}

namespace {

unsigned streamRead(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    return unsigned(std::fread(buffer, size, count, static_cast<std::FILE*>(handle)));
}

int streamSeek(fi_handle handle, long offset, int origin) {
    return std::fseek(static_cast<std::FILE*>(handle), offset, origin);
}

long streamTell(fi_handle handle) {
    return std::ftell(static_cast<std::FILE*>(handle));
}

} // namespace

int32_t fncContentFormatOfFile(const QString& path) {
    std::FILE* stream = openRegularStream(path);
    if (!stream)
        return FIF_UNKNOWN;
    FreeImageIO io{streamRead, nullptr, streamSeek, streamTell};
    const int32_t format = FreeImage_GetFileTypeFromHandle(&io, stream, 0);
    std::fclose(stream);
    return format;
}

QString temporaryBitmapPath() {
    return fncGetTempPath() + "4546643.bmp";
}

bool passesStructureCheck(const QString& path, int32_t contentFormat) {
    // Content FreeImage does not know reaches here only under a metafile's name,
    // and the metafile reader checks every record itself.
    if (contentFormat == FIF_UNKNOWN)
        return true;
    if (!imagebox::hasImageCheck(contentFormat))
        return false;
    QFile file(path);
    if (!openRegularFile(file))
        return false;
    try {
        imagebox::checkImageBytes(file.readAll(), contentFormat);
        return true;
    } catch (const AppError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

QImage loadThroughFreeImage(const QString& path, int32_t contentFormat, int32_t sizeMode,
                            int32_t maxW, int32_t maxH, OleColor backColour, int32_t& outW,
                            int32_t& outH) {
    // The name must still name a format FreeImage reads, as it always had to;
    // the decoder is the content's, since the route was chosen by it and the
    // name's decoder would see data it was never checked for.
    if (FreeImage_GetFIFFromFilename(QFile::encodeName(path).constData()) == FIF_UNKNOWN)
        return {};
    const QImage picture =
        imagebox::uprightPictureOfFile(fncLoadPictureAs(path, contentFormat), path);
    outW = picture.width();
    outH = picture.height();
    if (sizeMode == sizemode::Original)
        return picture;
    return fncResizePicture(picture, sizeMode, maxW, maxH, backColour);
}

QImage loadThroughDevIL(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                        OleColor backColour, int32_t& outW, int32_t& outH) {
    TemporaryBitmap temp;
    if (!devilToBitmap(path, temp.path()))
        return {};
    return fncLoadPictureGDIPlus(temp.path(), sizeMode, maxW, maxH, backColour, true, outW, outH);
}

QImage loadThroughJpeg2000(AxImage& control, const QString& path, const QString& extension,
                           int32_t sizeMode, int32_t maxW, int32_t maxH, OleColor backColour,
                           int32_t& outW, int32_t& outH) {
    const QImage decoded = fncLoadJPEG2000(control, 0, path, extension);
    if (decoded.isNull())
        return {};
    if (sizeMode == sizemode::Original) {
        if (!decoded.isNull()) {
            outW = decoded.width();
            outH = decoded.height();
        }
        return decoded;
    }
    TemporaryBitmap temp;
    int32_t bmp = FIF_BMP;
    if (fncSavePicture(decoded, temp.path(), bmp, 0) == 0)
        return {};
    return fncLoadPictureGDIPlus(temp.path(), sizeMode, maxW, maxH, backColour, true, outW, outH);
}

} // namespace picbasket
