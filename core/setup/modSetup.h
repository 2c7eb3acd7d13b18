#pragma once
#include "core/setup/typSetup.h"

#include <QString>

// The setup record of the run and its file. subLoadSetup fills Setup once at start
// (from the setup file, or with the first-run defaults when there is none) and
// subSaveSetup writes it back at exit; in between every part of the program reads and
// changes its own block of Setup in memory.
namespace picbasket {

inline typSetup Setup;
// Full path of the setup file (AppPaths' setup file), set by subLoadSetup.
inline QString SetupFile;

// Reads Setup from SetupFile. A missing file gives the defaults without a message; a
// damaged one (too short for the record, a string running past the end, a value no
// control of the program stores: see SetupRanges.h) is reported, deleted and
// replaced by the defaults. The file is only ever opened for reading.
// Failures go to the global error handler; Setup then holds the defaults.
void subLoadSetup();
// Replaces SetupFile whole with Setup; a failure leaves the old file as it was and
// goes to the global error handler.
void subSaveSetup();
// Deletes SetupFile; a missing or locked file is not an error.
void subDeleteSetupFile();

// Stores every first-run default in Setup and creates the capture and scan folders
// when they are missing (a failure to create them is ignored).
void subApplySetupDefaults();
// The first-run defaults, without touching the disk.
typSetup fncSetupDefaults();

} // namespace picbasket
