// The main window's pop-up menus, the two hidden menu hosts and the tool-bar buttons,
// captions and tabs that pop them up or switch what the panes show.
#include "shell/mainwindow/frmMain.h"

#include "browser/IndexedMenu.h"
#include "browser/SelectionController.h"
#include "browser/frmDummy.h"
#include "browser/frmFrameDummy.h"
#include "controls/splitter/Splitter.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "editing/EditImageData.h"
#include "metadata/modMetadata.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBoxView.h"
#include "Version.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace picbasket {

namespace {

// Turns a left click on a caption label into a call: QLabel has no click signal.
class LabelClickFilter : public QObject {
public:
    LabelClickFilter(QLabel* label, std::function<void()> onClick)
        : QObject(label), onClick_(std::move(onClick)) {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            onClick_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onClick_;
};

QPoint below(const QWidget* control) {
    return control->mapToGlobal(QPoint(0, control->height()));
}

} // namespace

void frmMain::buildPopupMenus() {
    preview_->mnuPreviewParent = new QMenu(QStringLiteral("Preview"), this);
    fillIndexedMenu(preview_->mnuPreviewParent,
                    {{0, "Edit/Enhance image"},
                     {1, "-"},
                     {2, "Previous image"},
                     {3, "Next image"},
                     {4, "Print image"},
                     {5, "-"}},
                    [this](int index) { mnuPreview_Click(index); });
    preview_->mnuSavePreviewAsParent = new QMenu(QStringLiteral("Save Preview As"), this);
    fillIndexedMenu(preview_->mnuSavePreviewAsParent,
                    {{0, "Image document"}, {1, "Greeting image"}, {2, "Single-image screensaver"}},
                    [this](int index) { mnuSavePreviewAs_Click(index); });
    mnuAboutParent = new QMenu(QStringLiteral("About"), this);
    const QByteArray aboutItem = QByteArray("About ") + version::Title;
    fillIndexedMenu(mnuAboutParent,
                    {{0, "Tutorials"},
                     {1, "Visit Home Page"},
                     {2, "-"},
                     {5, "Help Manual"},
                     {6, aboutItem.constData()}},
                    [this](int index) { mnuAbout_Click(index); });
    // As with the fit menu, Qt's own toggling is undone first, so a click on the
    // checked item is seen as such.
    preview_->previewType_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const QList<QAction*> types = preview_->previewType_->actions();
    for (int i = 0; i < types.size(); ++i)
        connect(types[i], &QAction::triggered, this, [this, i, item = types[i]] {
            item->setChecked(!item->isChecked());
            mnuPreviewType_Click(i);
        });
}

// The preview tool bar's captions and tips, the pop-up buttons and captions, and the
// tabs of the browse pane.
void frmMain::connectMenus() {
    connect(preview_->cmdPreviewSave, &QPushButton::clicked, this, &frmMain::cmdPreviewSave_Click);
    connect(preview_->cmdPreviewType, &QPushButton::clicked, this, &frmMain::cmdPreviewType_Click);
    connect(preview_->cmdPreviewPrint, &QPushButton::clicked, this,
            &frmMain::cmdPreviewPrint_Click);
    connect(cmdBrowseAbout, &QPushButton::clicked, this, &frmMain::cmdBrowseAbout_Click);
    connect(tbsBrowse, &TabStrip::Click, this, &frmMain::tbsBrowse_Click);
    new LabelClickFilter(preview_->Label4, [this] { Label4_Click(); });
    new LabelClickFilter(lblBrowse, [this] { lblBrowse_Click(); });
    new LabelClickFilter(lblQueue, [this] { lblQueue_Click(); });
    new LabelClickFilter(metadata_->lblMetadata, [this] { lblMetadata_Click(); });
}

frmFrameDummy* frmMain::FrameDummy() {
    if (!frameDummy_)
        subLoadFrameDummy();
    return frameDummy_;
}

frmDummy* frmMain::Dummy() {
    if (!dummy_) {
        dummy_ = new frmDummy(this);
        connect(dummy_, &frmDummy::mnuBatch_Click, this, &frmMain::mnuBatch_Click);
    }
    return dummy_;
}

// Start-up loads the hidden host of the metadata and task-basket menus.
void frmMain::subLoadFrameDummy() {
    if (frameDummy_)
        return;
    frameDummy_ = new frmFrameDummy(this);
    connectFrameDummy();
}

// The metadata tool-bar menus and the task-basket menu forward their index to the
// tool bars' handlers.
void frmMain::connectFrameDummy() {
    connect(frameDummy_, &frmFrameDummy::mnuEXIF_Click, metadata_, &MetadataPane::cmdEXIFBar_Click);
    connect(frameDummy_, &frmFrameDummy::mnuIPTC_Click, metadata_, &MetadataPane::cmdIPTCBar_Click);
    connect(frameDummy_, &frmFrameDummy::mnuTaskBasket_Click, this, &frmMain::cmdEditBar_Click);
}

void frmMain::subPopupMenu(QMenu* menu, const QPoint& globalPosition) {
    if (PopupMenu)
        PopupMenu(menu, globalPosition);
    else
        menu->popup(globalPosition);
}

// The right click on the preview.
void frmMain::subShowPreviewMenu() {
    subPopupMenu(preview_->mnuPreviewParent, QCursor::pos());
}

void frmMain::mnuPreview_Click(int index) {
    subClearSelection();
    preview_->PreviewSelection->PreviewMouseMode = SelectionController::Idle;
    preview_->ibMain->box().ClearSelection();
    switch (index) {
    case 0: CmdPreviewEdit_Click(); break;
    case 2: cmdPreviewPrevious_Click(); break;
    case 3: cmdPreviewNext_Click(); break;
    case 4: cmdPreviewPrint_Click(); break;
    default: break;
    }
}

// "Original" shows the image as loaded; "Optimized" shows it with the task basket run
// up to the selected task row. Both start from the image as loaded, since the shown
// one may already carry tasks (after a task-row click) which must not run twice.
void frmMain::mnuPreviewType_Click(int index) {
    const QList<QAction*> items = preview_->previewType_->actions();
    if (index < 0 || index >= items.size() || items[index]->isChecked() || fncIsEditView())
        return;
    for (int i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == index);
    ImageBox& box = preview_->ibMain->box();
    box.WaitForLoad();
    preview_->PreviewOptimized = index == 1;
    if (box.HasImage() && !OriginalImageData.isNull())
        box.setImage(OriginalImageData);
    if (box.HasImage() && preview_->PreviewOptimized)
        subProcessTaskBasket(false);
    setCaption(preview_->cmdPreviewType, QStringLiteral("     ") + items[index]->text());
    subResize();
}

// The preview's "Save Preview As" items, also reached from the basket's context menu;
// nothing happens without an image.
void frmMain::mnuSavePreviewAs_Click(int index) {
    if (!preview_->ibMain->box().HasImage())
        return;
    subClearSelection();
    preview_->PreviewSelection->PreviewMouseMode = SelectionController::Idle;
    preview_->ibMain->box().ClearSelection();
    switch (index) {
    case 0: subSavePreviewToFile(); break;
    case 1: subShowGreetingDemo(); break;
    case 2: subShowScreensaverDemo(0); break;
    default: break;
    }
}

void frmMain::subRunBatchMenuCommand(const BatchMenuCommand& command) {
    switch (command.kind) {
    case BatchMenuCommand::Generate: subGenerateDocument(int16_t(command.generateIndex)); break;
    case BatchMenuCommand::NewBasket: cmdPagesNew_Click(); break;
    case BatchMenuCommand::OpenBasket: cmdPagesOpen_Click(); break;
    case BatchMenuCommand::SaveBasket: cmdPagesSave_Click(); break;
    case BatchMenuCommand::RemoveSelected: cmdPagesDelete_Click(); break;
    case BatchMenuCommand::None: break;
    }
}

void frmMain::cmdPreviewSave_Click() {
    subPopupMenu(preview_->mnuSavePreviewAsParent, below(preview_->cmdPreviewSave));
}

void frmMain::cmdPreviewType_Click() {
    subPopupMenu(preview_->mnuPreviewTypeParent, below(preview_->cmdPreviewType));
}

void frmMain::cmdBrowseAbout_Click() {
    subPopupMenu(mnuAboutParent, below(cmdBrowseAbout));
}

void frmMain::Label4_Click() {
    subPopupMenu(preview_->mnuPreviewParent, below(preview_->Label4));
}

void frmMain::lblBrowse_Click() {
    if (tbsBrowse->SelectedItem() == 2)
        subPopupMenu(FrameDummy()->mnuTaskBasketParent(), below(lblBrowse));
}

void frmMain::lblQueue_Click() {
    subPopupMenu(Dummy()->mnuBatchParent(), below(lblQueue));
}

void frmMain::lblMetadata_Click() {
    frmFrameDummy* host = FrameDummy();
    subPopupMenu(MetadataTab == 0 ? host->mnuEXIFParent() : host->mnuIPTCParent(),
                 below(metadata_->lblMetadata));
}

void frmMain::tbsBrowse_Click() {
    const int tab = tbsBrowse->SelectedItem();
    if (tab != 1 && tab != 2)
        return;
    picFileSystem->setVisible(tab == 1);
    lvEdit->setVisible(tab == 2);
    picEditBar->setVisible(tab == 2);
    lblBrowse->setText(tab == 1 ? QStringLiteral("Browse File System")
                                : QStringLiteral("Task Basket"));
}

void frmMain::mnuBatch_Click(int index) {
    const BatchMenuCommand command = fncBatchMenuCommand(index);
    subRunBatchMenuCommand(command);
}

} // namespace picbasket

