// Confirm and the edit view's task basket: the pending task confirmed or reset, the
// basket's commands and files, the original image and the row clicks that replay
// the basket.
#include "editing/EditView.h"

#include "browser/SelectionController.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/dialogs/modCommonDialog.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "editing/EditImageData.h"
#include "editing/EditView_common.h"
#include "editing/OptionControls.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"
#include "editing/RedEyePanel.h"
#include "editing/TaskBasketReplay.h"
#include "editing/TaskBasketRows.h"
#include "editing/TextPanel.h"
#include "editing/WatermarkPanel.h"
#include "editing/modTaskBasketFile.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QPushButton>

namespace picbasket {

// Confirm takes the previewed task into the basket; Finish (no task chosen) leaves
// the edit view. A task whose options changed is previewed first, and a failed
// Preview stops the confirm. The preview is then the confirmed image with the task
// applied: its copy is taken before the rows change, so the rows, the stored
// defaults and the copy go in together or not at all.
void EditView::cmdOK_Click() {
    errorTail(QStringLiteral("FrmMain.cmdOK_Click"), [&] {
        if (taskReplay->isRunning())
            return;
        if (CurrentTask.TaskID == int32_t(TaskType::None)) {
            CmdPreviewEdit_Click();
            return;
        }
        ImageBox& box = host_.previewView()->box();
        if (TaskOptionsChanged) {
            if (!cmdApply_Click())
                return;
        } else if (PreviewIntermediate && !ConfirmedImageData.isNull()) {
            box.setImage(ConfirmedImageData);
        }
        const QImage confirmed = box.HasImage() ? box.Picture() : ConfirmedImageData;
        ImageModified = false;
        TaskBasketRows rows(*lvEdit, *lvEditPreview, lvEditBatch);
        if (rows.add(CurrentTask))
            subSaveTaskOptions();
        ConfirmedImageData = confirmed;
        PreviewIntermediate = false;
        CurrentTask.TaskID = int32_t(TaskType::None);
        eb_ItemClick(SpecialGroup, QStringLiteral("Nothing"));
        cmdOK->setText(QStringLiteral("Finish"));
        cmdOK->setEnabled(true);
        window_.subResize();
    });
}

void EditView::cmdReset_Click() {
    subResetPreviewView(false);
}

void EditView::connectTaskBasketCommands() {
    taskReplay = std::make_shared<TaskBasketReplay>(*lvEdit, *lvEditPreview, lvEditBatch);
    for (int i = 0; i < int(cmdEditBar.size()); ++i) {
        connect(cmdEditBar[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdEditBar_Click(i); });
        connect(cmdEditPreview[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdEditPreview_Click(i); });
    }
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdOriginalImage, &QPushButton::clicked, this, [this] { cmdOriginalImage_Click(); });
    connect(lvEdit, &ListView::ItemClick, this, [this](int row) { lvEdit_ItemClick(row); });
    connect(lvEditPreview, &ListView::ItemClick, this,
            [this](int row) { lvEditPreview_ItemClick(row); });
}

// The rows must not change under a replay, which lets events run between rows.
void EditView::cmdEditBar_Click(int index) {
    errorTail(QStringLiteral("FrmMain.cmdEditBar_Click"), [&] {
        if (taskReplay->isRunning())
            return;
        switch (index) {
        case 0:
            subClearTaskBasket();
            break;
        case 1:
            subOpenTaskBasketFile();
            break;
        case 2:
            subSaveTaskBasketFile();
            break;
        case 3:
            subRemoveSelectedTask();
            break;
        default:
            break;
        }
    });
}

void EditView::cmdEditPreview_Click(int index) {
    cmdEditBar_Click(index);
}

// A task previewed but not confirmed is previewed again on the new confirmed image
// by the next Confirm, so that no row is added that the image does not show.
void EditView::subClearTaskBasket() {
    if (lvEdit->Count() == 0)
        return;
    TaskBasketRows(*lvEdit, *lvEditPreview, lvEditBatch).clear();
    ImageBox& box = host_.previewView()->box();
    box.WaitForLoad();
    if (box.HasImage() && !OriginalImageData.isNull()) {
        box.setImage(OriginalImageData);
        ConfirmedImageData = OriginalImageData;
        window_.subResize();
    }
    if (!host_.previewUnchanged() && CurrentTask.TaskID != int32_t(TaskType::None))
        subMarkOptionsChanged();
    emit previewUnchangedRequested(true);
    PreviewIntermediate = false;
    ImageModified = false;
}

void EditView::subOpenTaskBasketFile() {
    CommonDialog.FileName.clear();
    CommonDialog.DialogTitle = QStringLiteral("Open task basket");
    CommonDialog.Filter = QStringLiteral("Task basket file (*.tbf)|*.tbf");
    CommonDialog.Flags = 5;
    fncShowOpen();
    const QString file = CommonDialog.FileName;
    if (file.isEmpty())
        return;
    if (!fncOpenTaskBasket(file, *lvEdit, *lvEditPreview, lvEditBatch)) {
        msgBox(joinLines({QStringLiteral("Error opening task basket!"),
                          QStringLiteral("Please select a valid task basket file.")}),
               mb::Information | mb::OKOnly, ApplicationTitle);
        return;
    }
    subReplayWholeTaskBasket();
}

void EditView::subSaveTaskBasketFile() {
    if (lvEdit->Count() == 0)
        return;
    CommonDialog.FileName.clear();
    CommonDialog.DialogTitle = QStringLiteral("Save task basket");
    CommonDialog.Filter = QStringLiteral("Task basket file (*.tbf)|*.tbf");
    CommonDialog.Flags = 5;
    fncShowSave();
    QString file = CommonDialog.FileName;
    if (file.isEmpty())
        return;
    if (!fncSaveTaskBasket(file, lvEditBatch))
        msgBox(joinLines({QStringLiteral("Error saving task basket!"),
                          QStringLiteral("Please try again!")}),
               mb::Information | mb::OKOnly, ApplicationTitle);
}

// Nothing is removed while the active list has no selected row.
void EditView::subRemoveSelectedTask() {
    if (lvEdit->Count() == 0)
        return;
    const int row = taskReplay->selectedRow(ActiveTaskList);
    if (row == 0)
        return;
    TaskBasketRows(*lvEdit, *lvEditPreview, lvEditBatch).remove(row);
    subReplayWholeTaskBasket();
}

void EditView::subReplayWholeTaskBasket() {
    subClearTaskSelection(*lvEdit);
    subClearTaskSelection(*lvEditPreview);
    ImageBox& box = host_.previewView()->box();
    box.WaitForLoad();
    if (!box.HasImage() || !taskReplay->replay(box, OriginalImageData, true))
        return;
    ConfirmedImageData = box.Picture();
    if (!host_.previewUnchanged() && CurrentTask.TaskID != int32_t(TaskType::None))
        subMarkOptionsChanged();
    emit previewUnchangedRequested(true);
    PreviewIntermediate = false;
    ImageModified = false;
    window_.subResize();
}

void EditView::cmdOriginalImage_Click() {
    errorTail(QStringLiteral("FrmMain.cmdOriginalImage_Click"), [&] {
        if (lvEdit->Count() == 0 || taskReplay->isRunning())
            return;
        const int answer =
            msgBox(joinLines({QStringLiteral("Resetting to original image will erase all editing "
                                             "functions from the batch list!"),
                              QStringLiteral(" Do you want to continue?")}),
                   mb::YesNo | mb::Question, ApplicationTitle);
        if (answer != mb::Yes)
            return;
        cmdEditBar_Click(0);
        subShowTaskOptions();
    });
}

void EditView::lvEdit_ItemClick(int) {
    subTaskRowClick(lvEdit);
}

// A click on the edit view's list makes the next Confirm preview the task again.
void EditView::lvEditPreview_ItemClick(int) {
    subTaskRowClick(lvEditPreview);
    TaskOptionsChanged = true;
}

// The basket up to the selected row of the active list; the confirmed copy stays.
void EditView::subTaskRowClick(ListView* list) {
    errorTail(QStringLiteral("FrmMain.subTaskRowClick"), [&] {
        ImageBox& box = host_.previewView()->box();
        box.WaitForLoad();
        if (list->Count() == 0 || !box.HasImage() || taskReplay->isRunning())
            return;
        if (!taskReplay->replay(box, OriginalImageData, false))
            return;
        PreviewIntermediate = true;
        window_.subResize();
    });
}

} // namespace picbasket
