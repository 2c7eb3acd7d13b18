#pragma once

namespace picbasket {

// Installs the presenter that shows message boxes as modal QMessageBox windows.
void installQtMessagePresenter();

} // namespace picbasket
