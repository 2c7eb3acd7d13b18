#include "engine/tasks/FrameArtwork.h"

#include "engine/tasks/FrameArtworkPainter.h"

#include <algorithm>

namespace picbasket {

namespace {

std::shared_ptr<const FrameArtwork>& currentArtwork() {
    static std::shared_ptr<const FrameArtwork> artwork;
    return artwork;
}

} // namespace

int FrameArtwork::styleCount() const {
    return int(std::min({pTop_left.size(), pTop_middle.size(), pTop_right.size(), pleft.size(),
                         pRight.size(), pBottom_left.size(), pBottom_middle.size(),
                         pBottom_right.size()}));
}

const FrameArtwork& FrameArtwork::current() {
    auto& artwork = currentArtwork();
    if (!artwork)
        artwork = std::make_shared<const FrameArtwork>(FrameArtworkPainter::paintAll());
    return *artwork;
}

void FrameArtwork::setCurrent(std::shared_ptr<const FrameArtwork> artwork) {
    currentArtwork() = std::move(artwork);
}

void FrameArtwork::resetCurrent() {
    currentArtwork().reset();
}

} // namespace picbasket
