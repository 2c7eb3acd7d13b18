// The preview's menus and the tool-bar buttons and caption that pop them up: the fit
// and type menus, the preview menu, "Save Preview As", and printing the preview.
#include "browser/IndexedMenu.h"
#include "browser/PreviewPane.h"
#include "browser/PrintSettings.h"
#include "browser/SelectionController.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/common/PaneWindow.h"
#include "core/ErrorHandler.h"
#include "core/setup/modSetup.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace picbasket {

namespace {

QPoint below(const QWidget* control) {
    return control->mapToGlobal(QPoint(0, control->height()));
}

} // namespace

void PreviewPane::buildMenus(QWidget* owner) {
    mnuPreviewFitParent = new QMenu(owner);
    previewFit_ = new QActionGroup(owner);
    for (const char* caption : {"Best Fit", "Actual Size"}) {
        QAction* item = mnuPreviewFitParent->addAction(QString::fromLatin1(caption));
        item->setCheckable(true);
        previewFit_->addAction(item);
    }
    mnuPreviewTypeParent = new QMenu(owner);
    previewType_ = new QActionGroup(owner);
    for (const char* caption : {"Original", "Optimized"}) {
        QAction* item = mnuPreviewTypeParent->addAction(QString::fromLatin1(caption));
        item->setCheckable(true);
        previewType_->addAction(item);
    }
    mnuPreviewParent = new QMenu(QStringLiteral("Preview"), owner);
    fillIndexedMenu(mnuPreviewParent,
                    {{0, "Edit/Enhance image"},
                     {1, "-"},
                     {2, "Previous image"},
                     {3, "Next image"},
                     {4, "Print image"},
                     {5, "-"}},
                    [this](int index) { mnuPreview_Click(index); });
    mnuSavePreviewAsParent = new QMenu(QStringLiteral("Save Preview As"), owner);
    fillIndexedMenu(mnuSavePreviewAsParent,
                    {{0, "Image document"}, {1, "Greeting image"}, {2, "Single-image screensaver"}},
                    [this](int index) { mnuSavePreviewAs_Click(index); });
    // As with the fit menu, Qt's own toggling is undone first, so a click on the
    // checked item is seen as such.
    previewType_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const QList<QAction*> types = previewType_->actions();
    for (int i = 0; i < types.size(); ++i)
        connect(types[i], &QAction::triggered, this, [this, i, item = types[i]] {
            item->setChecked(!item->isChecked());
            mnuPreviewType_Click(i);
        });
}

void PreviewPane::connectMenus() {
    connect(cmdPreviewSave, &QPushButton::clicked, this, &PreviewPane::cmdPreviewSave_Click);
    connect(cmdPreviewType, &QPushButton::clicked, this, &PreviewPane::cmdPreviewType_Click);
    connect(cmdPreviewPrint, &QPushButton::clicked, this, &PreviewPane::cmdPreviewPrint_Click);
}

int PreviewPane::checkedPreviewFit() const {
    return previewFit_->actions().at(0)->isChecked() ? 0 : 1;
}

int PreviewPane::checkedPreviewType() const {
    return previewType_->actions().at(0)->isChecked() ? 0 : 1;
}

// The right click on the preview.
void PreviewPane::subShowPreviewMenu() {
    peers_.window.subPopupMenu(mnuPreviewParent, QCursor::pos());
}

void PreviewPane::mnuPreview_Click(int index) {
    subClearSelection();
    PreviewSelection->PreviewMouseMode = SelectionController::Idle;
    ibMain->box().ClearSelection();
    switch (index) {
    case 0:
        emit editRequested();
        break;
    case 2:
        cmdPreviewPrevious_Click();
        break;
    case 3:
        cmdPreviewNext_Click();
        break;
    case 4:
        cmdPreviewPrint_Click();
        break;
    default:
        break;
    }
}

// "Original" shows the image as loaded; "Optimized" shows it with the task basket run
// up to the selected task row. Both start from the image as loaded, since the shown
// one may already carry tasks (after a task-row click) which must not run twice.
void PreviewPane::mnuPreviewType_Click(int index) {
    const QList<QAction*> items = previewType_->actions();
    if (index < 0 || index >= items.size() || items[index]->isChecked() ||
        peers_.queries.editViewShown())
        return;
    for (int i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == index);
    ImageBox& box = ibMain->box();
    box.WaitForLoad();
    PreviewOptimized = index == 1;
    if (box.HasImage()) {
        const QImage original = peers_.queries.originalImage();
        if (!original.isNull())
            box.setImage(original);
    }
    if (box.HasImage() && PreviewOptimized)
        emit taskBasketRunRequested(false);
    setCaption(cmdPreviewType, QStringLiteral("     ") + items[index]->text());
    peers_.window.subResize();
}

// The preview's "Save Preview As" items, also reached from the basket's context menu;
// nothing happens without an image.
void PreviewPane::mnuSavePreviewAs_Click(int index) {
    if (!ibMain->box().HasImage())
        return;
    subClearSelection();
    PreviewSelection->PreviewMouseMode = SelectionController::Idle;
    ibMain->box().ClearSelection();
    switch (index) {
    case 0:
        subSavePreviewToFile();
        break;
    case 1:
        emit greetingRequested();
        break;
    case 2:
        emit screensaverRequested(0);
        break;
    default:
        break;
    }
}

void PreviewPane::cmdPreviewSave_Click() {
    peers_.window.subPopupMenu(mnuSavePreviewAsParent, below(cmdPreviewSave));
}

void PreviewPane::cmdPreviewType_Click() {
    peers_.window.subPopupMenu(mnuPreviewTypeParent, below(cmdPreviewType));
}

void PreviewPane::Label4_Click() {
    peers_.window.subPopupMenu(mnuPreviewParent, below(Label4));
}

// The preview's print button: the print dialog with the stored settings, which then
// keep what the user chose in it.
void PreviewPane::cmdPreviewPrint_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPreviewPrint_Click"), [&] {
        ImageBox& box = ibMain->box();
        if (!box.HasImage())
            return;
        putPrintSettings(box, Setup.Print);
        box.setPrintProperty89(true);
        box.PrintImage();
        box.EndPrintJob();
        takePrintSettings(box, Setup.Print);
    });
}

// "Save Preview As" > "Image document": the preview's image, through the save
// dialog with its options panel. Nothing happens while the preview is empty.
void PreviewPane::subSavePreviewToFile() {
    if (!ibMain || !ibMain->box().HasImage())
        return;
    const QString saved = peers_.queries.savePreviewDialog(ibMain->box());
    if (!saved.isEmpty())
        emit fileSaved(saved);
}

void PreviewPane::setCaption(QPushButton* button, const QString& caption) {
    // A picture button keeps the caption it had when its picture was installed, so
    // the picture comes off, the new caption goes on and the picture is installed
    // again over it.
    const bool hadPicture = fncHasButtonPicture(button);
    if (hadPicture)
        subRemoveButtonPicture(button);
    button->setText(caption);
    if (hadPicture)
        subSetButtonPicture(button, peers_.window.picture(button == cmdPreviewType
                                                              ? QStringLiteral("picPreviewType")
                                                              : QStringLiteral("picPreviewView")));
}

void PreviewPane::subSetImageBoxDefaults() {
    ImageBox& box = ibMain->box();
    box.setDrawPenMode(15);
    box.setDrawPenStyle(1);
    box.setSelectionOnly(true);
    box.setUseTransparentColor(true);
}

} // namespace picbasket
