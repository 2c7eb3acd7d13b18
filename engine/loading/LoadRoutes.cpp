#include "engine/loading/LoadRoutes.h"
#include "core/modFileSystem.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/PnmCheck.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/loading/modFreeImage.h"
#include "platform/gdiplus/modGDIPlus.h"

#include <FreeImage.h>
#include <IL/il.h>
#include <QFile>
#include <QStringList>

namespace picbasket {

namespace {

const QStringList& devilExtensions() {
    static const QStringList list{"psp",  "pic", "pix", "pxr", "raw", "dcx", "lif",
                                  "wal",  "mdl", "oil", "lmp", "sgi", "bw",  "rgb",
                                  "rgba", "act", "pal", "pbm", "pgm", "ppm", "mng"};
    return list;
}

const QStringList& jpeg2000Extensions() {
    static const QStringList list{"jp2", "j2k", "jpc"};
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

// DevIL's readers trust what a file claims. The portable maps, the one family of
// its formats FreeImage also knows, are checked first: a map FreeImage's probe
// passed over is exactly one whose header or data is unusual or cut short.
bool isSafeForDevIL(const QString& path) {
    const QString extension = fncGetFileExtension(path).toLower();
    if (extension != "pbm" && extension != "pgm" && extension != "ppm")
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isCompletePnm(file.readAll());
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

QString temporaryBitmapPath() {
    return fncGetTempPath() + "4546643.bmp";
}

QImage loadThroughFreeImage(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                            OleColor backColour, int32_t& outW, int32_t& outH) {
    const QImage picture = fncLoadPicture(path);
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
