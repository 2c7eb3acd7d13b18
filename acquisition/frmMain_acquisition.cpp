#include "shell/mainwindow/frmMain.h"

namespace picbasket {

// Screen capture: the capture dialog, modal, owned by the main window.
void frmMain::subShowCaptureDialog() {}

// Scanning: the acquisition dialog, modal.
void frmMain::subShowTwainDialog() {}

} // namespace picbasket
