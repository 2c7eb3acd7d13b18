#pragma once
#include <QRect>
#include <QSize>

namespace picbasket {

// The selection of an image box: a rectangle or the ellipse inscribed in it, in
// image pixels with the right and bottom edges exclusive. The shape keeps the
// rectangle as given (so an ellipse reaching past the edge keeps its curve);
// bounds() is that rectangle clipped to the image.
class ImageSelection {
public:
    enum class Shape { None, Rectangle, Ellipse };

    ImageSelection() = default;
    ImageSelection(Shape shape, const QRect& rect) : shape_(shape), rect_(rect) {}

    Shape shape() const { return shape_; }
    bool isEmpty() const { return shape_ == Shape::None; }
    bool isEllipse() const { return shape_ == Shape::Ellipse; }
    const QRect& rect() const { return rect_; }
    QRect bounds(const QSize& image) const { return rect_ & QRect(QPoint(0, 0), image); }

    // True when the centre of pixel (x, y) lies inside the shape.
    bool contains(int x, int y) const;

private:
    Shape shape_ = Shape::None;
    QRect rect_;
};

} // namespace picbasket
