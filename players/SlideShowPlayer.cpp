#include "core/OleColor.h"
#include "players/ImageShowWindow.h"
#include "players/PlayerFile.h"
#include "players/PlayerMain.h"

// The slide show: the images of the basket, full screen on the chosen colour, one
// after the other at the chosen interval.
int main(int argc, char** argv) {
    using namespace picbasket;
    return fncPlayerMain(argc, argv, 3, 0, [](const PlayerFile& file) {
        return std::make_unique<ImageShowWindow>(file, ImageShowWindow::Mode::SlideShow,
                                                 fncPlayerInterval(file, 3),
                                                 oleToQColor(fncPlayerColor(file, 0)));
    });
}
