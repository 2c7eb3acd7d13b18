#include "platform/imagebox/edit/ImageSelection.h"

namespace picbasket {

bool ImageSelection::contains(int x, int y) const {
    if (shape_ == Shape::None || !rect_.contains(x, y))
        return false;
    if (shape_ == Shape::Rectangle)
        return true;
    // Normalised distance of the pixel centre from the ellipse centre.
    const double rx = rect_.width() / 2.0;
    const double ry = rect_.height() / 2.0;
    const double dx = (x + 0.5 - rect_.left() - rx) / rx;
    const double dy = (y + 0.5 - rect_.top() - ry) / ry;
    return dx * dx + dy * dy <= 1.0;
}

} // namespace picbasket
