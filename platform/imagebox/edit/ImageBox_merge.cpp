// The image box's merging: stamping another image onto the held one.
#include "platform/imagebox/ImageBox.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "platform/imagebox/edit/PixelOps.h"
#include "platform/imagebox/edit/Resample.h"

#include <cmath>
#include <cstdlib>

namespace picbasket {

void ImageBox::setMergeStyle(int style) {
    if (style < 0 || style > 3)
        raiseError(err::Unexpected, QStringLiteral("MergeStyle must be 0 to 3, not %1").arg(style));
    mergeStyle_ = style;
}

void ImageBox::setMergeTransparency(double percent) {
    if (!(percent >= 0.0 && percent <= 100.0))
        raiseError(err::Unexpected,
                   QStringLiteral("MergeTransparency must be 0 to 100, not %1").arg(percent));
    mergeTransparency_ = percent;
}

void ImageBox::MergeFile(const QString& path) {
    requireImage();
    ImageBox reader;
    reader.LoadFromFile(path);
    if (reader.LoadedFlag() || !reader.HasImage())
        raiseError(err::Unexpected, QStringLiteral("Cannot read the image to merge: %1").arg(path));
    MergeBitmap(reader.image());
}

//  style 0 centred    1 at (MergeX, MergeY)   2 tiled from (0, 0)   3 stretched
//  +--------+         +--------+              +--+--+--+            +--------+
//  |  +--+  |         | +--+   |              |##|##|##|            |########|
//  |  |##|  |         | |##|   |              +--+--+--+            |########|
//  |  +--+  |         | +--+   |              |##|##|##|            |########|
//  +--------+         +--------+              +--+--+--+            +--------+
void ImageBox::MergeBitmap(const QImage& stamp) {
    requireImage();
    if (stamp.isNull())
        raiseError(err::Unexpected, QStringLiteral("There is no image to merge"));
    QImage piece = mergeTransparent_
                       ? pixelops::withKeyTransparent(stamp, pixelops::oleToRgb(mergeTransparentColor_))
                       : pixelops::checked(stamp.convertToFormat(QImage::Format_ARGB32));
    const int w = image_.width(), h = image_.height();
    if (mergeStyle_ == 3 && piece.size() != image_.size())
        piece = pixelops::checked(pixelops::resampled(piece, w, h).convertToFormat(QImage::Format_ARGB32));
    const double opacity = 1.0 - mergeTransparency_ / 100.0;
    // One stamp touches only the pixels under it.
    if (mergeStyle_ == 0 || mergeStyle_ == 1) {
        const QPoint at = mergeStyle_ == 0
                              ? QPoint(int(roundHalfEven((w - piece.width()) / 2.0)),
                                       int(roundHalfEven((h - piece.height()) / 2.0)))
                              : QPoint(mergeX_, mergeY_);
        const QRect under = QRect(at, piece.size());
        const bool near = std::abs(at.x()) < (1 << 24) && std::abs(at.y()) < (1 << 24);
        if (near && editRegion(under, [&](QImage& part, QPoint origin) {
                pixelops::stampOver(part, piece, at.x() - origin.x(), at.y() - origin.y(),
                                    opacity);
            }))
            return;
    }
    QImage work = pixelops::toWorking(image_);
    switch (mergeStyle_) {
    case 0:
        pixelops::stampOver(work, piece, int(roundHalfEven((w - piece.width()) / 2.0)),
                            int(roundHalfEven((h - piece.height()) / 2.0)), opacity);
        break;
    case 1:
        pixelops::stampOver(work, piece, mergeX_, mergeY_, opacity);
        break;
    case 2:
        for (int y = 0; y < h; y += piece.height())
            for (int x = 0; x < w; x += piece.width())
                pixelops::stampOver(work, piece, x, y, opacity);
        break;
    default:
        pixelops::stampOver(work, piece, 0, 0, opacity);
        break;
    }
    commitEdit(pixelops::fromWorking(work, image_));
}

} // namespace picbasket
