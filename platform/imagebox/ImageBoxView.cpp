#include "platform/imagebox/ImageBoxView.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "platform/imagebox/ImageBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

namespace picbasket {

namespace {

// Above this many display pixels the image is scaled while painting instead of
// being kept scaled in memory.
constexpr int64_t MaxCachedPixels = 64'000'000;
constexpr int DashLength = 4;

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// Every pixel of the rectangle's outline inside `clip` exactly once; dashed
// outlines keep runs of DashLength pixels on and off, counted from the top-left
// corner clockwise round the outline (so clipping does not move the dashes).
QPolygon outlinePoints(const QRect& r, bool dashed, const QRect& clip) {
    QPolygon points;
    const int64_t left = r.left(), top = r.top(), right = r.right(), bottom = r.bottom();
    const int64_t width = right - left + 1, height = bottom - top + 1;
    auto add = [&](int64_t x, int64_t y, int64_t step) {
        if (!dashed || (step / DashLength) % 2 == 0)
            points << QPoint(int(x), int(y));
    };
    const int64_t x0 = std::max<int64_t>(left, clip.left()), x1 = std::min<int64_t>(right, clip.right());
    const int64_t y0 = std::max<int64_t>(top + 1, clip.top());
    const int64_t y1 = std::min<int64_t>(bottom, clip.bottom());
    if (top >= clip.top() && top <= clip.bottom())
        for (int64_t x = x0; x <= x1; ++x)
            add(x, top, x - left);
    if (right >= clip.left() && right <= clip.right())
        for (int64_t y = y0; y <= y1; ++y)
            add(right, y, width + (y - top - 1));
    if (bottom > top && bottom >= clip.top() && bottom <= clip.bottom())
        for (int64_t x = std::min(x1, right - 1); x >= x0; --x)
            add(x, bottom, width + height - 1 + (right - 1 - x));
    if (right > left && left >= clip.left() && left <= clip.right())
        for (int64_t y = std::min(y1, bottom - 1); y >= y0; --y)
            add(left, y, 2 * width + height - 2 + (bottom - 1 - y));
    return points;
}

// The rectangle with both points as corners, whichever way the drag went.
QRect spanned(const QPoint& a, const QPoint& b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

// Inverting pixels: white XOR the colour beneath.
void drawInverted(QPainter& painter, const QPolygon& points) {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawPoints(points);
    painter.restore();
}

Qt::CursorShape cursorOf(int pointer) {
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,      Qt::ArrowCursor,    Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,      Qt::SizeAllCursor,  Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor,  Qt::SizeHorCursor,  Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor,  Qt::BusyCursor,     Qt::WhatsThisCursor, Qt::SizeAllCursor};
    return shapes[pointer];
}

} // namespace

ImageBoxView::ImageBoxView(QWidget* parent) : QWidget(parent), box_(new ImageBox(this)) {
    attach();
}

ImageBoxView::ImageBoxView(ImageBox* box, QWidget* parent) : QWidget(parent), box_(box) {
    attach();
}

ImageBoxView::~ImageBoxView() = default;

void ImageBoxView::attach() {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    connect(box_.data(), &ImageBox::displayChanged, this, [this] {
        updateGeometry();
        update();
    });
}

void ImageBoxView::setMousePointer(int pointer) {
    if (pointer < 0 || pointer > 15)
        raiseError(err::Unexpected,
                   QStringLiteral("MousePointer must be 0 to 15, not %1").arg(pointer));
    mousePointer_ = pointer;
    if (pointer == 0)
        unsetCursor();
    else
        setCursor(cursorOf(pointer));
}

QSize ImageBoxView::sizeHint() const {
    return QSize(std::max(1, box_->DisplayWidth()), std::max(1, box_->DisplayHeight()));
}

void ImageBoxView::paintContent(QPainter& painter, const QRect& exposed) const {
    const QSize shown(box_->DisplayWidth(), box_->DisplayHeight());
    const QImage& image = box_->displayImage(shown);
    if (image.isNull())
        return;
    if (shown == image.size()) {
        painter.drawImage(exposed.topLeft(), image, exposed);
        return;
    }
    if (int64_t(shown.width()) * shown.height() > MaxCachedPixels) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(QPoint(0, 0), shown), image);
        return;
    }
    if (scaledKey_ != image.cacheKey() || scaled_.size() != shown) {
        scaled_ = image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaledKey_ = image.cacheKey();
    }
    painter.drawImage(exposed.topLeft(), scaled_, exposed);
}

void ImageBoxView::paintMarks(QPainter& painter) const {
    const ImageBox& box = *box_;
    // Marks are only ever seen inside the widget and the shown image.
    const QRect area = rect() | QRect(0, 0, box.DisplayWidth(), box.DisplayHeight());
    for (const ImageBox::OverlayFigure& figure : box.OverlayFigures()) {
        const QPolygon points = outlinePoints(figure.rect, figure.penStyle == 1, area);
        if (figure.inverting) {
            drawInverted(painter, points);
        } else {
            painter.setPen(QPen(Qt::black, 0));
            painter.drawPoints(points);
        }
    }
    const ImageSelection& selection = box.Selection();
    if (!selection.isEmpty() && box.ImageWidth() > 0 && box.ImageHeight() > 0) {
        const double sx = double(box.DisplayWidth()) / box.ImageWidth();
        const double sy = double(box.DisplayHeight()) / box.ImageHeight();
        const QRect r = selection.rect();
        const QRect shown(QPoint(int(roundHalfEven(r.left() * sx)), int(roundHalfEven(r.top() * sy))),
                          QPoint(int(roundHalfEven((r.right() + 1) * sx)) - 1,
                                 int(roundHalfEven((r.bottom() + 1) * sy)) - 1));
        if (selection.isEllipse()) {
            painter.save();
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.setPen(QPen(Qt::white, 0, Qt::DashLine));
            painter.drawEllipse(shown);
            painter.restore();
        } else {
            drawInverted(painter, outlinePoints(shown, true, area));
        }
    }
    if (dragging_)
        drawInverted(painter, outlinePoints(spanned(dragStart_, dragEnd_), true, area));
}

QImage ImageBoxView::renderDisplay() const {
    QImage out(std::max(1, box_->DisplayWidth()), std::max(1, box_->DisplayHeight()),
               QImage::Format_RGB32);
    out.fill(palette().color(backgroundRole()));
    QPainter painter(&out);
    paintContent(painter, out.rect());
    paintMarks(painter);
    return out;
}

void ImageBoxView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed =
        event->rect() & QRect(0, 0, box_->DisplayWidth(), box_->DisplayHeight());
    if (!exposed.isEmpty())
        paintContent(painter, exposed);
    paintMarks(painter);
}

void ImageBoxView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    box_->setWidth(width());
    box_->setHeight(height());
}

void ImageBoxView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && box_->ActiveSelectionTool() != ImageBox::NoSelectionTool) {
        dragging_ = true;
        dragStart_ = dragEnd_ = p;
        update();
    }
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), p.x(), p.y());
}

void ImageBoxView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (dragging_) {
        dragEnd_ = p;
        update();
    }
    emit MouseMove(shiftCode(event->modifiers()), p.x(), p.y());
}

void ImageBoxView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (dragging_ && event->button() == Qt::LeftButton)
        finishDrag(p);
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), p.x(), p.y());
}

void ImageBoxView::mouseDoubleClickEvent(QMouseEvent*) { emit DblClick(); }

// The dragged display pixels, both corners included, as image pixels with the
// right and bottom edges exclusive.
void ImageBoxView::finishDrag(const QPoint& end) {
    dragging_ = false;
    const QRect shown = spanned(dragStart_, end);
    ImageBox& box = *box_;
    update();
    if (box.DisplayWidth() <= 0 || box.DisplayHeight() <= 0)
        return;
    const double sx = double(box.ImageWidth()) / box.DisplayWidth();
    const double sy = double(box.ImageHeight()) / box.DisplayHeight();
    try {
        box.SelectRectangle(int(roundHalfEven(shown.left() * sx)), int(roundHalfEven(shown.top() * sy)),
                            int(roundHalfEven((shown.right() + 1) * sx)),
                            int(roundHalfEven((shown.bottom() + 1) * sy)));
    } catch (const AppError&) {
        // A drag wholly outside the image selects nothing.
    }
}

} // namespace picbasket
