#pragma once

class QWidget;

namespace picbasket {

// Centres the box inside the container by moving it, its size unchanged; a box
// wider or higher than the container goes to that side's start.
void subFitPictureInBox(QWidget* container, QWidget* box);

// Lets the user choose a colour, starting from the last one chosen; the colour
// becomes the target's back colour and the result is true. Cancel changes nothing.
bool fncShowColorDialog(QWidget* owner, QWidget* target);

} // namespace picbasket
