#include "shell/mainwindow/PaneWiring.h"
#include "shell/mainwindow/frmMain.h"

#include "export/modGenerators.h"
#include "export/modSavePreview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace picbasket {

// The slide-show generator for the basket's images, modal.
void frmMain::subShowSlideShowDialog() {
    picbasket::subShowSlideShowDialog(*wiring_);
}

// The screensaver generator: mode 0 the previewed image, 1 the basket's images.
// The single-image mode needs a file in the preview.
void frmMain::subShowScreensaverDemo(int generateMode) {
    picbasket::subShowScreensaverDemo(*wiring_, generateMode);
}

// The greeting generator for the previewed image, modal; nothing without one.
void frmMain::subShowGreetingDemo() {
    picbasket::subShowGreetingDemo(*wiring_);
}

// GeneratorHost: what the generator dialogs read of the window and its panes.
QWidget& PaneWiring::generatorOwner() {
    return w_;
}

const ListView& PaneWiring::generatorTaskList() {
    return *w_.edit_->taskList();
}

const ListView& PaneWiring::generatorEditTaskList() {
    return *w_.edit_->editTaskList();
}

const ListView& PaneWiring::generatorBasket() {
    return *w_.basket_->list();
}

QString PaneWiring::generatorPreviewedFile() {
    return w_.preview_->box()->box().Tag();
}

} // namespace picbasket
