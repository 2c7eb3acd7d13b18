#pragma once
#include <QImage>
#include <memory>
#include <vector>

namespace picbasket {

// The frame, shadow and mask pictures the frame and shadow builder stamps. Each
// piece array is indexed by style: frame styles 0 to 7 first, shadow styles from
// element 8 on. The four single side pieces serve the frame styles drawn with
// corner pieces (style 4). Masks are indexed by mask style.
//
//   pTop_left    pTop_middle ... pTop_middle    pTop_right
//   left_top                                    right_top
//   pleft                                       pRight
//   ...                                         ...
//   left_bottom                                 right_bottom
//   pBottom_left pBottom_middle ...             pBottom_right
class FrameArtwork {
public:
    std::vector<QImage> pTop_left, pTop_middle, pTop_right;
    std::vector<QImage> pleft, pRight;
    std::vector<QImage> pBottom_left, pBottom_middle, pBottom_right;
    QImage left_top, right_top, left_bottom, right_bottom;
    std::vector<QImage> Mask;

    // Number of frame and shadow styles (the shortest piece array).
    int styleCount() const;

    // The store the engine and the windows use: our own artwork, drawn on first
    // use, unless replaced (tests inject small synthetic artwork).
    static const FrameArtwork& current();
    static void setCurrent(std::shared_ptr<const FrameArtwork> artwork);
    // Puts our own artwork back.
    static void resetCurrent();
};

} // namespace picbasket
