#pragma once
#include "core/setup/typSetup.h"

#include <QString>

// The values a setup record can hold when the program wrote it itself. Every
// option and list index, check box, slider and clamped number box stores only
// what its control can show, so a value outside that range (or a record whose
// numbers are all zero and strings all empty, which is what a file of zeros
// reads as) did not come from this program: the file is damaged.
//
// Members that are never interpreted (the print mirrors, the window size, the
// reserved fields) and free texts are not judged. Column widths only have to be
// widths (not below 0); the main and right splitters both at 10, which the
// main window itself treats as damage, are left to it.
namespace picbasket {

// The first fault found, as "member: value (range)" for the log and the tests;
// empty when every judged member is in range.
QString fncSetupRangeFault(const typSetup& record);

// True when every number of the record is 0, every truth value false and
// every string empty.
bool fncSetupIsBlank(const typSetup& record);

} // namespace picbasket
