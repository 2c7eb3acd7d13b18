#include "players/PlayerMain.h"

#include "players/PlayerFile.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstring>

namespace picbasket {

int fncPlayerMain(int argc, char** argv, int defaultInterval, uint32_t defaultColor,
                  const std::function<std::unique_ptr<QWidget>(const PlayerFile&)>& makeWindow) {
    bool verify = false;
    for (int i = 1; i < argc; ++i)
        verify = verify || std::strcmp(argv[i], "--verify") == 0;
    PlayerFile file;
    if (verify) {
        QCoreApplication app(argc, argv);
        return fncStartPlayer(argc, argv, file, defaultInterval, defaultColor);
    }
    QApplication app(argc, argv);
    const int started = fncStartPlayer(argc, argv, file, defaultInterval, defaultColor);
    if (started >= 0)
        return started;
    // The window shows itself; the program ends when it closes.
    const std::unique_ptr<QWidget> window = makeWindow(file);
    return app.exec();
}

} // namespace picbasket
