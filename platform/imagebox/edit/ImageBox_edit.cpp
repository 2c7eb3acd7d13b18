// The image box's edit operations and its selection.
#include "platform/imagebox/ImageBox.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "platform/imagebox/edit/PixelOps.h"
#include "platform/imagebox/edit/Resample.h"
#include "platform/imagebox/edit/RowBands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace picbasket {

namespace {

[[noreturn]] void refuse(const QString& why) { raiseError(err::Unexpected, why); }

void requireRange(int value, int low, int high, const char* what) {
    if (value < low || value > high)
        refuse(QStringLiteral("%1 must be %2 to %3, not %4").arg(what).arg(low).arg(high).arg(value));
}

void requireSize(int64_t width, int64_t height) {
    if (!pixelops::sizeAllowed(width, height))
        refuse(QStringLiteral("An image of %1 x %2 pixels is not possible (1 to %3 a side, "
                              "at most %4 megapixels)")
                   .arg(width)
                   .arg(height)
                   .arg(pixelops::MaxSide)
                   .arg(pixelops::MaxPixels / 1'000'000));
}

// Corners in order, right and bottom exclusive, as a QRect; empty when they meet.
QRect orderedRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    requireSize(right - left, bottom - top);
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

} // namespace

void ImageBox::requireImage() const {
    settle();
    if (image_.isNull())
        refuse(QStringLiteral("The image box holds no image"));
}

void ImageBox::commitEdit(const QImage& result) {
    if (result.isNull())
        raiseError(err::OutOfMemory, QStringLiteral("Not enough memory for the edited image"));
    QImage kept = result;
    // An edit keeps what the image says about itself: its resolution and its texts.
    if (kept.dotsPerMeterX() != image_.dotsPerMeterX() ||
        kept.dotsPerMeterY() != image_.dotsPerMeterY()) {
        kept.setDotsPerMeterX(image_.dotsPerMeterX());
        kept.setDotsPerMeterY(image_.dotsPerMeterY());
    }
    for (const QString& key : image_.textKeys())
        if (kept.text(key) != image_.text(key))
            kept.setText(key, image_.text(key));
    image_ = kept;
    overlay_.clear();
    emit displayChanged();
}

void ImageBox::commitInPlace() {
    overlay_.clear();
    emit displayChanged();
}

bool ImageBox::editRegion(const QRect& region,
                          const std::function<void(QImage& work, QPoint origin)>& edit) {
    if (image_.format() != QImage::Format_RGB888 && image_.format() != QImage::Format_ARGB32)
        return false;
    const QRect area = region & image_.rect();
    if (area.isEmpty()) {
        commitInPlace();
        return true;
    }
    QImage work = pixelops::toWorking(pixelops::checked(image_.copy(area)));
    edit(work, area.topLeft());
    const QImage back = pixelops::fromWorking(work, image_);
    if (back.format() != image_.format())
        return false;
    uchar* bits = image_.bits();
    if (!bits)
        raiseError(err::OutOfMemory, QStringLiteral("Not enough memory for the edited image"));
    const qsizetype stride = image_.bytesPerLine();
    const size_t rowBytes = size_t(area.width()) * size_t(image_.depth() / 8);
    const size_t left = size_t(area.left()) * size_t(image_.depth() / 8);
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(bits + (area.top() + y) * stride + left, back.constScanLine(y), rowBytes);
    commitInPlace();
    return true;
}

void ImageBox::filterImage(int margin, const std::function<void(QImage&)>& filter,
                           bool selectedOnly, const std::function<bool(QImage&)>& inPlace) {
    const bool limited = selectedOnly && !selection_.isEmpty();
    const QRect whole = image_.rect();
    const QRect area = limited ? selection_.bounds(image_.size()) : whole;
    if (area.isEmpty())
        return;
    const bool everything = area == whole && (!limited || !selection_.isEllipse());
    if (everything && inPlace && inPlace(image_)) {
        commitInPlace();
        return;
    }
    QImage work = pixelops::toWorking(image_);
    if (everything) {
        filter(work);
        commitEdit(pixelops::fromWorking(work, image_));
        return;
    }
    // Filter the selection with enough of its surroundings for the kernel, then
    // copy back only the pixels inside it.
    const QRect reach = area.adjusted(-margin, -margin, margin, margin) & whole;
    QImage part = pixelops::checked(work.copy(reach));
    filter(part);
    const ImageSelection& sel = selection_;
    pixelops::copyWhere(work, part, reach.topLeft(), [&](int x, int y) {
        return area.contains(x, y) && sel.contains(x, y);
    });
    commitEdit(pixelops::fromWorking(work, image_));
}

//  Flip(0)  ab -> ba      Flip(1)  ab -> cd
//           cd    dc               cd    ab
void ImageBox::Flip(int direction) {
    requireImage();
    requireRange(direction, 0, 1, "The flip direction");
    if (pixelops::flipInPlace(image_, direction == 0))
        commitInPlace();
    else
        commitEdit(pixelops::flipped(image_, direction == 0));
}

void ImageBox::Rotate(float degrees) {
    requireImage();
    if (!std::isfinite(degrees))
        refuse(QStringLiteral("The rotation angle is no number"));
    const double rad = std::fmod(double(degrees), 360.0) * M_PI / 180.0;
    const double c = std::abs(std::cos(rad)), s = std::abs(std::sin(rad));
    requireSize(int64_t(std::ceil(image_.width() * c + image_.height() * s)),
                int64_t(std::ceil(image_.width() * s + image_.height() * c)));
    commitEdit(pixelops::rotated(image_, degrees, rotateResample_,
                                 pixelops::oleToRgb(backgroundColor_)));
}

void ImageBox::Resize(int width, int height) {
    requireImage();
    requireSize(width, height);
    if (width == image_.width() && height == image_.height())
        return;
    commitEdit(pixelops::resampled(image_, width, height));
}

void ImageBox::ResizePercent(float percent) {
    requireImage();
    if (!std::isfinite(percent) || percent <= 0.0f)
        refuse(QStringLiteral("The resize percentage must be above 0, not %1").arg(percent));
    auto scale = [percent](int side) {
        return std::max(1.0, roundHalfEven(double(side) * double(percent) / 100.0));
    };
    const double w = scale(image_.width()), h = scale(image_.height());
    requireSize(int64_t(std::min(w, 1e12)), int64_t(std::min(h, 1e12)));
    Resize(int(w), int(h));
}

void ImageBox::Crop(int left, int top, int right, int bottom) {
    requireImage();
    const QRect rect = orderedRect(left, top, right, bottom);
    commitEdit(pixelops::cropped(image_, rect, pixelops::oleToRgb(backgroundColor_)));
}

void ImageBox::Blur(int amount) {
    requireImage();
    requireRange(amount, 1, 10, "The blur amount");
    const double sigma = 0.6 * amount;
    filterImage(int(std::ceil(3 * sigma)) + 1,
                [sigma](QImage& work) { work = pixelops::gaussianBlurred(work, sigma); },
                selectionOnly_);
}

void ImageBox::Sharpen(int amount) {
    requireImage();
    requireRange(amount, 1, 10, "The sharpen amount");
    const double strength = 0.25 * amount;
    filterImage(4, [strength](QImage& work) { work = pixelops::unsharpMasked(work, 1.0, strength); },
                selectionOnly_);
}

void ImageBox::Brightness(int amount, bool red, bool green, bool blue) {
    requireImage();
    requireRange(amount, 0, 100, "The brightness");
    if (amount == 50 || !(red || green || blue))
        return;
    const pixelops::Lut lut = pixelops::brightnessLut(amount);
    filterImage(
        0, [&](QImage& work) { pixelops::applyLut(work, lut, red, green, blue); }, selectionOnly_,
        [&](QImage& image) { return pixelops::applyLutInPlace(image, lut, red, green, blue); });
}

void ImageBox::Contrast(int amount, bool red, bool green, bool blue) {
    requireImage();
    requireRange(amount, 0, 100, "The contrast");
    if (amount == 50 || !(red || green || blue))
        return;
    const pixelops::Lut lut = pixelops::contrastLut(amount);
    filterImage(
        0, [&](QImage& work) { pixelops::applyLut(work, lut, red, green, blue); }, selectionOnly_,
        [&](QImage& image) { return pixelops::applyLutInPlace(image, lut, red, green, blue); });
}

void ImageBox::Invert() {
    requireImage();
    filterImage(0, [](QImage& work) { work.invertPixels(QImage::InvertRgb); }, selectionOnly_,
                pixelops::invertInPlace);
}

void ImageBox::RemoveRedEye() {
    requireImage();
    if (selection_.isEmpty())
        return;
    filterImage(0, [](QImage& work) { pixelops::reduceRedEye(work); }, true);
}

void ImageBox::SelectRectangle(int left, int top, int right, int bottom) {
    selection_ = ImageSelection();
    requireImage();
    const QRect rect = orderedRect(left, top, right, bottom);
    if ((rect & image_.rect()).isEmpty())
        refuse(QStringLiteral("The selection lies outside the image"));
    selection_ = ImageSelection(ImageSelection::Shape::Rectangle, rect & image_.rect());
    emit displayChanged();
}

void ImageBox::SelectEllipse(int left, int top, int right, int bottom) {
    selection_ = ImageSelection();
    requireImage();
    const QRect rect = orderedRect(left, top, right, bottom);
    if ((rect & image_.rect()).isEmpty())
        refuse(QStringLiteral("The selection lies outside the image"));
    selection_ = ImageSelection(ImageSelection::Shape::Ellipse, rect);
    emit displayChanged();
}

void ImageBox::ClearSelection() {
    selection_ = ImageSelection();
    selectionTool_ = NoSelectionTool;
    emit displayChanged();
}

void ImageBox::CropToSelection() {
    requireImage();
    if (selection_.isEmpty())
        refuse(QStringLiteral("There is no selection to crop to"));
    const QRect bounds = selection_.bounds(image_.size());
    QImage result = pixelops::checked(image_.copy(bounds));
    if (selection_.isEllipse()) {
        QImage work = pixelops::toWorking(result);
        const QRgb background = pixelops::oleToRgb(backgroundColor_);
        uchar* bits = work.bits();
        const qsizetype stride = work.bytesPerLine();
        pixelops::forEachRowBand(work.height(), work.width(), [&](int begin, int end) {
            for (int y = begin; y < end; ++y) {
                auto* px = reinterpret_cast<QRgb*>(bits + y * stride);
                for (int x = 0; x < work.width(); ++x)
                    if (!selection_.contains(bounds.left() + x, bounds.top() + y))
                        px[x] = background;
            }
        });
        result = pixelops::fromWorking(work, image_);
    }
    selection_ = ImageSelection();
    commitEdit(result);
}

uint32_t ImageBox::PixelColor(int x, int y) const {
    requireImage();
    if (!image_.valid(x, y))
        refuse(QStringLiteral("Pixel (%1, %2) lies outside the image").arg(x).arg(y));
    return pixelops::rgbToOle(image_.pixel(x, y));
}

} // namespace picbasket
