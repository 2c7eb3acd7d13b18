#pragma once
#include "controls/explorerbar/isExplorerBar.h"
#include "editing/EditImageData.h"
#include "engine/tasks/TaskRowList.h"
#include "engine/tasks/TaskType.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/editing/EditPictures.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QImage>

namespace picbasket::test {

// The main window in the edit view on a picture of the test's own, with no task chosen
// and an empty task basket: the picture is shown as loaded ("Original"), taken as the
// image editing starts from, and the edit view entered through its Edit button.
class EditingWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CurrentTask = {};
    }
    void TearDown() override {
        OriginalImageData = QImage();
        ConfirmedImageData = QImage();
        ActiveTaskList = 0;
        MainWindowTest::TearDown();
    }

    void startOn(const QImage& image) {
        w = &start();
        w->previewPane().setOptimized(false);
        original = image;
        w->previewPane().box()->box().setImage(original);
        OriginalImageData = w->previewPane().box()->box().Picture();
        w->editView().CmdPreviewEdit_Click();
    }

    // Chooses a task in the explorer bar, as a click on its item does.
    void choose(const char* key) {
        emit w->editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                                    QString::fromLatin1(key));
    }

    frmMain* w = nullptr;
    QImage original;
};

} // namespace picbasket::test
