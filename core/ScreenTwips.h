#pragma once

namespace picbasket {

// Twips per screen pixel (1440 twips make an inch): 1440 / the primary screen's
// logical DPI, 15 at 96 DPI. Without a GUI application the screen is taken as 96 DPI.
// Stored sizes in twips (window sizes, splitter panes) are converted with these.
double twipsPerPixelX();
double twipsPerPixelY();

// Tests fix the values; reset returns to the screen's.
void overrideTwipsPerPixel(double x, double y);
void resetTwipsPerPixel();

} // namespace picbasket
