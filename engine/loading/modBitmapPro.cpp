#include "engine/loading/modBitmapPro.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/RegularFile.h"
#include "core/modFileSystem.h"
#include "engine/loading/LoadRoutes.h"
#include "platform/gdiplus/modGDIPlus.h"

#include <FreeImage.h>
#include <QFile>

namespace picbasket {

namespace {

// The extension the JPEG 2000 control is told: the file's own when it names a
// JPEG 2000 format, else the one of the content (the control goes by content).
QString jpeg2000Extension(int32_t content, const QString& extension) {
    if (AxImage::instance().FormatFromExtension(extension) != AxImage::FormatUnknown)
        return extension;
    return content == FIF_J2K ? QStringLiteral("j2k") : QStringLiteral("jp2");
}

QImage loadByRoute(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                   OleColor backColour, int32_t& outW, int32_t& outH) {
    const QString extension = fncGetFileExtension(path).toLower();
    // A pipe, a device or a folder under an image's name is never opened: a pipe
    // would wait for a writer for ever.
    if (!fncIsRegularFile(path))
        return {};
    const int32_t content = fncContentFormatOfFile(path);
    switch (chooseLoadRoute(content, extension)) {
    case LoadRoute::GdiPlus: {
        // A file cut short or damaged is refused here; neither GDI+ nor FreeImage
        // may make a picture of what is left of it.
        if (!passesStructureCheck(path, content))
            return {};
        QImage picture =
            fncLoadPictureGDIPlus(path, sizeMode, maxW, maxH, backColour, true, outW, outH);
        if (!picture.isNull())
            return picture;
        return loadThroughFreeImage(path, content, sizeMode, maxW, maxH, backColour, outW, outH);
    }
    case LoadRoute::FreeImage:
        return loadThroughFreeImage(path, content, sizeMode, maxW, maxH, backColour, outW, outH);
    case LoadRoute::DevIL:
        return loadThroughDevIL(path, sizeMode, maxW, maxH, backColour, outW, outH);
    case LoadRoute::Jpeg2000:
        return loadThroughJpeg2000(AxImage::instance(), path, jpeg2000Extension(content, extension),
                                   sizeMode, maxW, maxH, backColour, outW, outH);
    case LoadRoute::Nothing:
        break;
    }
    return {};
}

} // namespace

QImage LoadPic(QString path, int32_t sizeMode, int32_t maxW, int32_t maxH,
               const OleColor& backColour, int32_t& outW, int32_t& outH) {
    try {
        return loadByRoute(path, sizeMode, maxW, maxH, backColour, outW, outH);
    } catch (const AppError& error) {
        // An unreadable picture (481) and an overflow (6) are the ordinary end of a
        // file no decoder takes: no picture, no report.
        if (error.number() == err::InvalidPicture || error.number() == err::Overflow)
            return {};
        subGlobalErrorHandler(error.description(), error.number(), error.line(), "LoadPic");
    } catch (...) {
        reportCurrentException("LoadPic");
    }
    return {};
}

void subGetFitSize(int32_t w, int32_t h, int32_t maxW, int32_t maxH, int32_t& outW, int32_t& outH) {
    fitSizeInBox(w, h, maxW, maxH, outW, outH);
}

QImage fncResizePicture(const QImage& picture, int32_t sizeMode, int32_t maxW, int32_t maxH,
                        const OleColor& backColour) {
    return fncResizePictureGDIPlus(picture, picture.width(), picture.height(), picturetype::Bitmap,
                                   maxW, maxH, sizeMode, backColour, true);
}

} // namespace picbasket
