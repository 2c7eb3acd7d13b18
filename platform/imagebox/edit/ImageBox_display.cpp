// The image box's display geometry, its overlay figures and its selection tools.
#include "platform/imagebox/ImageBox.h"

#include "core/AppError.h"
#include "core/Convert.h"

#include <algorithm>
#include <cmath>

namespace picbasket {

namespace {

constexpr double MaxZoom = 10000.0;

int scaledSide(double side, double factor) {
    return int(std::clamp(roundHalfEven(side * factor), 1.0, double(INT32_MAX)));
}

// The shown size: the image fitted into the container when fitting (never enlarged;
// a container without area fits nothing and shows the image as it is), else zoomed.
QSize shownSize(const QSize& image, bool fit, double zoom, int width, int height) {
    if (image.isEmpty())
        return QSize(0, 0);
    if (!fit)
        return QSize(scaledSide(image.width(), zoom / 100.0), scaledSide(image.height(), zoom / 100.0));
    if (width <= 0 || height <= 0 || (image.width() <= width && image.height() <= height))
        return image;
    // The side that limits the fit takes the container's size exactly.
    if (int64_t(image.width()) * height >= int64_t(image.height()) * width)
        return QSize(width, scaledSide(image.height(), double(width) / image.width()));
    return QSize(scaledSide(image.width(), double(height) / image.height()), height);
}

} // namespace

void ImageBox::setZoom(double percent) {
    if (!(percent > 0.0 && percent <= MaxZoom))
        raiseError(err::Unexpected, QStringLiteral("Zoom must be above 0 and at most %1 percent, not %2")
                                        .arg(MaxZoom)
                                        .arg(percent));
    zoom_ = percent;
    emit displayChanged();
}

void ImageBox::setAutoZoom(bool on) {
    autoZoom_ = on;
    emit displayChanged();
}

void ImageBox::setWidth(int pixels) {
    if (pixels < 0)
        raiseError(err::Unexpected, QStringLiteral("Width must not be negative"));
    containerWidth_ = pixels;
    emit displayChanged();
}

void ImageBox::setHeight(int pixels) {
    if (pixels < 0)
        raiseError(err::Unexpected, QStringLiteral("Height must not be negative"));
    containerHeight_ = pixels;
    emit displayChanged();
}

int ImageBox::DisplayWidth() const {
    return shownSize(heldSize(), autoZoom_, zoom_, containerWidth_, containerHeight_).width();
}

int ImageBox::DisplayHeight() const {
    return shownSize(heldSize(), autoZoom_, zoom_, containerWidth_, containerHeight_).height();
}

void ImageBox::setDrawPenMode(int mode) {
    if (mode != 13 && mode != 15)
        raiseError(err::Unexpected,
                   QStringLiteral("DrawPenMode must be 13 (black) or 15 (inverting), not %1").arg(mode));
    drawPenMode_ = mode;
}

void ImageBox::setDrawPenStyle(int style) {
    if (style != 0 && style != 1)
        raiseError(err::Unexpected,
                   QStringLiteral("DrawPenStyle must be 0 (solid) or 1 (dashed), not %1").arg(style));
    drawPenStyle_ = style;
}

// The outline runs along the outermost pixels of [left, right) x [top, bottom).
// An inverting figure drawn again where it already stands cancels itself out, so
// it is taken off the list instead of being stacked.
void ImageBox::DrawRectangle(int left, int top, int right, int bottom) {
    if (image_.cacheKey() != overlayImageKey_) {
        overlay_.clear();
        overlayImageKey_ = image_.cacheKey();
    }
    if (left == right || top == bottom)
        return;
    const QRect rect(QPoint(std::min(left, right), std::min(top, bottom)),
                     QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1));
    const OverlayFigure figure{rect, drawPenStyle_, drawPenMode_ == 15};
    auto same = std::find(overlay_.begin(), overlay_.end(), figure);
    if (figure.inverting && same != overlay_.end())
        overlay_.erase(same);
    else
        overlay_.push_back(figure);
    emit displayChanged();
}

std::vector<ImageBox::OverlayFigure> ImageBox::OverlayFigures() const {
    if (image_.cacheKey() != overlayImageKey_)
        return {};
    return overlay_;
}

void ImageBox::ClearOverlay() {
    overlay_.clear();
    overlayImageKey_ = image_.cacheKey();
    emit displayChanged();
}

void ImageBox::setSelectionTool(SelectionTool tool) {
    selectionTool_ = tool;
    emit displayChanged();
}

} // namespace picbasket
