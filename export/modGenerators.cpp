#include "export/modGenerators.h"

#include "browser/modBasketList.h"
#include "controls/dialogs/frmStatus.h"
#include "editing/TaskBasketRows.h"
#include "engine/batch/BasketRows.h"
#include "export/frmGreetingDemo.h"
#include "export/frmScreensaverDemo.h"
#include "export/frmSlideShow.h"

#include <QLabel>

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
    explicit GeneratorRun(GeneratorHost& window)
        : explorerList_(window.generatorTaskList()), editList_(window.generatorEditTaskList()),
          basket_(fncBasketRowsOf(window.generatorBasket())), wait_(&window.generatorOwner()) {
        sources.owner = &window.generatorOwner();
        sources.lvEdit = &explorerList_;
        sources.lvEditBatch = &window.batchTaskRows();
        sources.lvEditPreview = &editList_;
        sources.lvPages = basket_.get();
        sources.wait = &wait_;
        sources.previewedFile = window.generatorPreviewedFile();
    }
    GeneratorSources sources;

private:
    ListViewTaskSelection explorerList_;
    ListViewTaskSelection editList_;
    std::unique_ptr<BasketRows> basket_;
    StatusWait wait_;
};

} // namespace

void subShowSlideShowDialog(GeneratorHost& host) {
    GeneratorRun run(host);
    frmSlideShow dialog(run.sources, &host.generatorOwner());
    dialog.exec();
}

// The single-image mode needs a file in the preview.
void subShowScreensaverDemo(GeneratorHost& host, int generateMode) {
    GeneratorRun run(host);
    if (generateMode == 0 && run.sources.previewedFile.isEmpty())
        return;
    frmScreensaverDemo dialog(run.sources, &host.generatorOwner());
    dialog.lngGenerateMode = generateMode;
    dialog.exec();
}

void subShowGreetingDemo(GeneratorHost& host) {
    GeneratorRun run(host);
    if (run.sources.previewedFile.isEmpty())
        return;
    frmGreetingDemo dialog(run.sources, &host.generatorOwner());
    dialog.exec();
}

} // namespace picbasket
