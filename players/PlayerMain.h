#pragma once
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

namespace picbasket {

class PlayerFile;

// The main of every player: "--verify" runs without a display (parse, decode,
// print, exit); otherwise the window made from the file is shown and the event
// loop runs until it closes.
int fncPlayerMain(int argc, char** argv, int defaultInterval, uint32_t defaultColor,
                  const std::function<std::unique_ptr<QWidget>(const PlayerFile&)>& makeWindow);

} // namespace picbasket
