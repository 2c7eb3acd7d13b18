#pragma once
#include "engine/tasks/FrameArtwork.h"

namespace picbasket {

// Draws our own frame, shadow and mask artwork in code, so the program carries
// no picture files for it:
//   frames 0 to 7:  oak, gold, silver, black gallery, blue with gold rosettes
//                   (drawn with the four corner pieces), film strip, cream mat,
//                   mosaic;
//   shadows 8 to 15: a drop shadow falling to the bottom right, bottom left, top
//                   right and top left, first short and dark, then long and soft;
//   masks 0 to 7:   oval, rounded rectangle, circle, heart, star, diamond, arch,
//                   scalloped edge (black is the hole the image shows through).
class FrameArtworkPainter {
public:
    static constexpr int FrameStyleCount = 8;
    static constexpr int ShadowStyleCount = 8;
    static constexpr int MaskCount = 8;
    // Length of every middle and side tile.
    static constexpr int TileLength = 48;
    static constexpr int MaskWidth = 320;
    static constexpr int MaskHeight = 240;

    static FrameArtwork paintAll();
};

} // namespace picbasket
