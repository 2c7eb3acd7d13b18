#pragma once
#include "core/OleColor.h"

#include <QString>
#include <cstdint>

namespace picbasket {

// The text forms of a task's parameter slots. Every option panel writes its slots
// through these, so a stored task row reads the same whichever panel made it and the
// task engine and the task-basket files can rely on one form.

// "True" or "False".
QString fncSlotBool(bool value);
// A check box's value: "1" ticked, "0" clear.
QString fncSlotCheck(bool ticked);
// A slider value, list index or style number: decimal digits, "-" when negative.
QString fncSlotWhole(int32_t value);
// A colour as the 32-bit value the control holds, read as a signed Long: a system
// colour (high bit set) gives a negative number, an RGB colour
// red + 256 * green + 65536 * blue.
QString fncSlotColor(OleColor colour);
// A Single (an angle, a font size, a control's size): its shortest decimal text in
// plain notation ("0", "-90", "8.25", "0.1").
QString fncSlotSingle(float value);

} // namespace picbasket
