#include "players/GreetingWindow.h"
#include "players/PlayerFile.h"
#include "players/PlayerMain.h"

// The greeting: its one image in a window with fireworks.
int main(int argc, char** argv) {
    using namespace picbasket;
    return fncPlayerMain(argc, argv, 0, 0, [](const PlayerFile& file) {
        return std::make_unique<GreetingWindow>(file.decode(0));
    });
}
