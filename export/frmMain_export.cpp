#include "shell/mainwindow/frmMain.h"

#include "browser/modBasketList.h"
#include "controls/dialogs/frmStatus.h"
#include "editing/TaskBasketRows.h"
#include "engine/batch/BasketRows.h"
#include "export/frmGreetingDemo.h"
#include "export/frmScreensaverDemo.h"
#include "export/frmSlideShow.h"
#include "export/modSavePreview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace picbasket {

namespace {

// The wait dialog as the generators drive it.
class StatusWait : public GeneratorWait {
public:
    explicit StatusWait(QWidget* owner) : dialog_(frmStatus::instance(owner)) {}
    void showWaiting() override { dialog_.showWaiting(); }
    void setStatus(const QString& text) override { dialog_.lblStatus->setText(text); }
    void setMessage(const QString& text) override { dialog_.lblMessage->setText(text); }
    ProgressIndicator& progress() override { return dialog_.progress(); }
    void closeWaiting() override { dialog_.closeWaiting(); }

private:
    frmStatus& dialog_;
};

// What a generator dialog reads of the window, alive while the dialog runs.
class GeneratorRun {
public:
    explicit GeneratorRun(frmMain& window)
        : explorerList_(*window.lvEdit), editList_(*window.lvEditPreview),
          basket_(fncBasketRowsOf(*window.lvPages)), wait_(&window) {
        sources.owner = &window;
        sources.lvEdit = &explorerList_;
        sources.lvEditBatch = &window.lvEditBatch;
        sources.lvEditPreview = &editList_;
        sources.lvPages = basket_.get();
        sources.wait = &wait_;
        sources.previewedFile = window.previewPane().ibMain->box().Tag();
    }
    GeneratorSources sources;

private:
    ListViewTaskSelection explorerList_;
    ListViewTaskSelection editList_;
    std::unique_ptr<BasketRows> basket_;
    StatusWait wait_;
};

} // namespace

// The slide-show generator for the basket's images, modal.
void frmMain::subShowSlideShowDialog() {
    GeneratorRun run(*this);
    frmSlideShow dialog(run.sources, this);
    dialog.exec();
}

// The screensaver generator: mode 0 the previewed image, 1 the basket's images.
// The single-image mode needs a file in the preview.
void frmMain::subShowScreensaverDemo(int generateMode) {
    GeneratorRun run(*this);
    if (generateMode == 0 && run.sources.previewedFile.isEmpty())
        return;
    frmScreensaverDemo dialog(run.sources, this);
    dialog.lngGenerateMode = generateMode;
    dialog.exec();
}

// The greeting generator for the previewed image, modal; nothing without one.
void frmMain::subShowGreetingDemo() {
    GeneratorRun run(*this);
    if (run.sources.previewedFile.isEmpty())
        return;
    frmGreetingDemo dialog(run.sources, this);
    dialog.exec();
}

} // namespace picbasket
