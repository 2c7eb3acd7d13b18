#pragma once
#include "core/OleColor.h"

#include <QPushButton>

namespace picbasket {

// A colour swatch button of the option panels. It keeps the colour as the 32-bit
// value the task slots store (a system colour stays a system colour) and paints it
// through the palette.
class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);
    OleColor BackColor() const { return color_; }
    void setBackColor(OleColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    OleColor color_ = 0;
};

} // namespace picbasket
