#pragma once
#include <QString>
#include <cstdint>

namespace picbasket {

class ImageBox;
class FrameArtwork;

// Turns text position 0 to 8 (a 3 x 3 grid, row by row from the top left) into
// the point DrawText takes, using the box's Font and TextAlignment. Orientation 0
// is horizontal text, any other value vertical text (TextAngle -90). There is no
// margin. Other positions leave x and y unchanged.
void subPlaceText(uint8_t orientation, int16_t position, const ImageBox& box, const QString& text,
                  int32_t& x, int32_t& y);
// The same placement from the measures: image W x H, text TW x TH, alignment a.
void subPlaceTextIn(uint8_t orientation, int16_t position, int alignment, double w, double h,
                    double tw, double th, int32_t& x, int32_t& y);

// Draws frame style 0 to 7, or shadow style 8 and up, around the image in the box
// by stamping the style's pieces from the artwork store (FrameArtwork::current()).
// resizeCanvas 1 first grows the canvas in BackgroundColor so the pieces sit
// around the image; 0 stamps them over the image's own border. cornerPieces adds
// the four extra side pieces below the top corners and above the bottom ones.
// Errors of the box go to the caller; a style the store lacks raises error 9.
void subApplyFrame(int16_t style, ImageBox& box, uint8_t resizeCanvas, bool cornerPieces);
void subApplyFrame(int16_t style, ImageBox& box, uint8_t resizeCanvas, bool cornerPieces,
                   const FrameArtwork& artwork);

// Stamps mask `style` over the whole image at (0, 0) with the box's merge
// settings, the mask resized to the image first whenever the sizes differ. The
// Mask task of the engine and the edit preview both call this.
void subApplyMask(int16_t style, ImageBox& box);
void subApplyMask(int16_t style, ImageBox& box, const FrameArtwork& artwork);

} // namespace picbasket
