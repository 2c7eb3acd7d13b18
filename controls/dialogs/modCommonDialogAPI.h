#pragma once
#include "controls/dialogs/DialogBackend.h"
#include "core/OleColor.h"

class QWidget;

namespace picbasket {

// The colour dialog. Its chosen colour and its sixteen custom colours live for the
// run (they are not saved): each dialog starts from the colour the last confirmed
// one returned (black at first) and from the custom colours as the user left them
// (near-white 254, 254, 254 at first).
struct ColorDialogState {
    OleColor resultColor = 0;
    bool customColorsSet = false;
    CustomColors customColors{};
};

inline ColorDialogState ColorDialog;

struct ColorResult {
    OleColor Color = 0; // 0 when cancelled
    bool Cancel = false;
};

// Shows the colour dialog centred over the owner's window (centreOverOwner) or on
// the owner's screen.
ColorResult fncShowColor(QWidget* owner, bool centreOverOwner);

} // namespace picbasket
