#include "platform/gdiplus/modGDIPlus.h"
#include "core/Convert.h"
#include "core/ImageLimits.h"
#include "core/RegularFile.h"
#include "platform/gdiplus/BicubicResampler.h"
#include "platform/imagebox/DecoderDamage.h"
#include "platform/imagebox/ExifOrientation.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <climits>

namespace picbasket {

namespace {

// Largest bitmap made here: the program's image limits, so a thumbnail box or a
// decoded file that could not be allocated is refused before any memory is asked for.
constexpr qint64 MaxTargetPixels = MaxImagePixels;
constexpr int32_t MaxTargetSide = int32_t(MaxImageSide);

// A derived side, rounded halves to even and kept within 32 bits (a negative box
// can make any product; the caller then refuses the size).
int32_t roundedSide(double value) {
    return int32_t(std::clamp(roundHalfEven(value), double(INT32_MIN), double(INT32_MAX)));
}

bool isDrawableSize(int32_t w, int32_t h) {
    return w > 0 && h > 0 && w <= MaxTargetSide && h <= MaxTargetSide &&
           qint64(w) * h <= MaxTargetPixels;
}

// The target size of a size mode; false for a mode that has none.
bool targetSizeFor(int32_t sizeMode, int32_t w, int32_t h, int32_t maxW, int32_t maxH,
                   int32_t& targetW, int32_t& targetH) {
    switch (sizeMode) {
    case 0:
        targetW = w;
        targetH = h;
        return true;
    case 1:
        fitSizeInBox(w, h, maxW, maxH, targetW, targetH);
        return true;
    case 2:
        targetW = maxW;
        targetH = maxH;
        return true;
    default:
        return false;
    }
}

QRect drawnRect(QSize image, QSize target, bool drawFlag) {
    if (!drawFlag)
        return QRect(QPoint(0, 0), target);
    return centredDrawRect(image.width(), image.height(), target.width(), target.height());
}

// JPEG decoders can scale by 1/2, 1/4 and 1/8 while decoding. The smallest of those
// sizes that is still at least twice the drawn size loses nothing the bicubic draw
// would keep, and decodes in a fraction of the time.
QSize jpegDecodeSize(QSize image, QSize drawn) {
    QSize best = image;
    for (int denominator : {2, 4, 8}) {
        const QSize scaled((image.width() + denominator - 1) / denominator,
                           (image.height() + denominator - 1) / denominator);
        if (scaled.width() < 2 * drawn.width() || scaled.height() < 2 * drawn.height())
            break;
        best = scaled;
    }
    return best;
}

QImage drawOnTarget(const QImage& image, int32_t targetW, int32_t targetH, OleColor backColour,
                    bool drawFlag) {
    QImage target = subCreateMemoryDC(targetW, targetH, backColour);
    if (!target.isNull())
        subDrawImageGDIPlus(image, target, drawFlag);
    return target;
}

// The metafile drawn over the target where a bitmap of its size would be drawn;
// an empty picture when a record is damaged.
QImage drawMetafileOnTarget(const Metafile& metafile, int32_t targetW, int32_t targetH,
                            OleColor backColour, bool drawFlag) {
    QImage target = subCreateMemoryDC(targetW, targetH, backColour);
    if (target.isNull())
        return {};
    QPainter painter(&target);
    const bool sound = metafile.play(painter, drawnRect(metafile.size(), target.size(), drawFlag));
    painter.end();
    return sound ? target : QImage();
}

bool targetSizeForRedraw(int32_t sizeMode, int32_t srcW, int32_t srcH, int32_t maxW, int32_t maxH,
                         int32_t& targetW, int32_t& targetH) {
    return sizeMode != 0 && targetSizeFor(sizeMode, srcW, srcH, maxW, maxH, targetW, targetH);
}

QImage loadMetafile(const Metafile& metafile, int32_t sizeMode, int32_t maxW, int32_t maxH,
                    OleColor backColour, bool drawFlag, int32_t& outW, int32_t& outH) {
    const QSize size = metafile.size();
    int32_t targetW = 0, targetH = 0;
    if (!targetSizeFor(sizeMode, size.width(), size.height(), maxW, maxH, targetW, targetH))
        return {};
    const QImage picture = drawMetafileOnTarget(metafile, targetW, targetH, backColour, drawFlag);
    if (!picture.isNull()) {
        outW = size.width();
        outH = size.height();
    }
    return picture;
}

} // namespace

GdiplusToken subStartGDIPlus() {
    return 1;
}

void subStopGDIPlus(GdiplusToken) {}

void fitSizeInBox(int32_t w, int32_t h, int32_t maxW, int32_t maxH, int32_t& outW, int32_t& outH) {
    if (w <= 0 || h <= 0) {
        outW = outH = 0;
        return;
    }
    if (w <= maxW && h <= maxH) {
        outW = w;
        outH = h;
        return;
    }
    const float rW = float(double(maxW) / w);
    const float rH = float(double(maxH) / h);
    if (rW < rH) {
        outW = maxW;
        outH = roundedSide(double(h) * double(rW));
    } else {
        outH = maxH;
        outW = roundedSide(double(w) * double(rH));
    }
}

QRect centredDrawRect(int32_t iw, int32_t ih, int32_t targetW, int32_t targetH) {
    if (iw <= 0 || ih <= 0 || targetW <= 0 || targetH <= 0)
        return {};
    const double imageAspect = double(iw) / ih;
    const double boxAspect = double(targetW) / targetH;
    int32_t drawnW = targetW, drawnH = targetH;
    if (boxAspect < imageAspect)
        drawnH = int32_t(roundHalfEven(targetW / imageAspect));
    else
        drawnW = int32_t(roundHalfEven(targetH * imageAspect));
    const auto x = int32_t(roundHalfEven((targetW - drawnW) / 2.0));
    const auto y = int32_t(roundHalfEven((targetH - drawnH) / 2.0));
    return QRect(x, y, drawnW, drawnH);
}

QImage subCreateMemoryDC(int32_t targetW, int32_t targetH, OleColor backColour) {
    if (!isDrawableSize(targetW, targetH))
        return {};
    QImage target(targetW, targetH, QImage::Format_RGB32);
    if (!target.isNull())
        target.fill(oleToQColor(backColour));
    return target;
}

void subDrawImageGDIPlus(const QImage& image, QImage& target, bool drawFlag) {
    const QRect rect = drawnRect(image.size(), target.size(), drawFlag);
    const QImage drawn = resampleBicubic(image, rect.width(), rect.height());
    if (drawn.isNull())
        return;
    QPainter painter(&target);
    painter.drawImage(rect.topLeft(), drawn);
}

QImage fncLoadPictureGDIPlus(const QString& path, int32_t sizeMode, int32_t maxW, int32_t maxH,
                             OleColor backColour, bool drawFlag, int32_t& outW, int32_t& outH) {
    if (const auto metafile = Metafile::fromFile(path))
        return loadMetafile(*metafile, sizeMode, maxW, maxH, backColour, drawFlag, outW, outH);
    // Qt's JPEG and TIFF readers fill damaged data and only warn; such a picture
    // is refused like one whose file was cut.
    imagebox::DamageWatch damage;
    QFile file(path);
    if (!openRegularFile(file))
        return {};
    // The name's suffix is the reader's first guess, as when it opens a path.
    QImageReader reader(&file, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoTransform(false);
    // The photo is fitted and drawn upright; its stored size is turned with it.
    const int orientation = imagebox::storedOrientationOfFile(path);
    const bool swapped = imagebox::orientationSwapsSides(orientation);
    QSize size = reader.size();
    if (swapped)
        size.transpose();
    QImage image;
    // A decoder that cannot tell the size before decoding decodes first.
    if (!size.isValid()) {
        image = imagebox::orientUpright(reader.read(), orientation);
        size = image.size();
    }
    int32_t targetW = 0, targetH = 0;
    if (size.isEmpty() ||
        !targetSizeFor(sizeMode, size.width(), size.height(), maxW, maxH, targetW, targetH) ||
        !isDrawableSize(targetW, targetH))
        return {};
    if (image.isNull()) {
        if (reader.format() == "jpeg") {
            const QRect drawn = drawnRect(size, QSize(targetW, targetH), drawFlag);
            const QSize decode = jpegDecodeSize(size, drawn.size());
            if (decode != size)
                reader.setScaledSize(swapped ? decode.transposed() : decode);
        }
        image = imagebox::orientUpright(reader.read(), orientation);
    }
    if (image.isNull() || damage.damaged())
        return {};
    outW = size.width();
    outH = size.height();
    return drawOnTarget(image, targetW, targetH, backColour, drawFlag);
}

QImage fncResizePictureGDIPlus(const QImage& handle, int32_t srcW, int32_t srcH, int32_t type,
                               int32_t maxW, int32_t maxH, int32_t sizeMode, OleColor backColour,
                               bool drawFlag) {
    if (handle.isNull() || (type != picturetype::Bitmap && type != picturetype::Icon))
        return {};
    int32_t targetW = 0, targetH = 0;
    if (!targetSizeForRedraw(sizeMode, srcW, srcH, maxW, maxH, targetW, targetH))
        return {};
    return drawOnTarget(handle, targetW, targetH, backColour, drawFlag);
}

QImage fncResizePictureGDIPlus(const Metafile& handle, int32_t srcW, int32_t srcH, int32_t type,
                               int32_t maxW, int32_t maxH, int32_t sizeMode, OleColor backColour,
                               bool drawFlag) {
    const bool matches =
        (type == picturetype::Metafile && handle.kind() == Metafile::Kind::Windows) ||
        (type == picturetype::EnhancedMetafile && handle.kind() == Metafile::Kind::Enhanced);
    int32_t targetW = 0, targetH = 0;
    if (!matches || !targetSizeForRedraw(sizeMode, srcW, srcH, maxW, maxH, targetW, targetH))
        return {};
    return drawMetafileOnTarget(handle, targetW, targetH, backColour, drawFlag);
}

} // namespace picbasket
