#include "players/ImageShowWindow.h"
#include "players/PlayerFile.h"
#include "players/PlayerMain.h"

// The screensaver: its images full screen on black, cycling, until a key, a click
// or the mouse moves.
namespace {
constexpr int CycleSeconds = 5;
}

int main(int argc, char** argv) {
    using namespace picbasket;
    return fncPlayerMain(argc, argv, CycleSeconds, 0, [](const PlayerFile& file) {
        return std::make_unique<ImageShowWindow>(file, ImageShowWindow::Mode::Screensaver,
                                                 CycleSeconds, QColor(Qt::black));
    });
}
