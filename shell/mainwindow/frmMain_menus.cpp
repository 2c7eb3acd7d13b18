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
    mnuAboutParent = new QMenu(QStringLiteral("About"), this);
    const QByteArray aboutItem = QByteArray("About ") + version::Title;
    fillIndexedMenu(mnuAboutParent,
                    {{0, "Tutorials"},
                     {1, "Visit Home Page"},
                     {2, "-"},
                     {5, "Help Manual"},
                     {6, aboutItem.constData()}},
                    [this](int index) { mnuAbout_Click(index); });
}

// The preview tool bar's captions and tips, the pop-up buttons and captions, and the
// tabs of the browse pane.
void frmMain::connectMenus() {
    preview_->connectMenus();
    connect(cmdBrowseAbout, &QPushButton::clicked, this, &frmMain::cmdBrowseAbout_Click);
    connect(tbsBrowse, &TabStrip::Click, this, &frmMain::tbsBrowse_Click);
    new LabelClickFilter(preview_->caption(), [this] { preview_->Label4_Click(); });
    new LabelClickFilter(lblBrowse, [this] { lblBrowse_Click(); });
    new LabelClickFilter(basket_->caption(), [this] { basket_->lblQueue_Click(); });
    new LabelClickFilter(metadata_->caption(), [this] { lblMetadata_Click(); });
}

frmFrameDummy* frmMain::FrameDummy() {
    if (!frameDummy_)
        subLoadFrameDummy();
    return frameDummy_;
}

frmDummy* frmMain::Dummy() {
    if (!dummy_) {
        dummy_ = new frmDummy(this);
        connect(dummy_, &frmDummy::mnuBatch_Click, basket_, &BasketPane::mnuBatch_Click);
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
    connect(frameDummy_, &frmFrameDummy::mnuTaskBasket_Click, edit_.get(), &EditView::cmdEditBar_Click);
}

void frmMain::subPopupMenu(QMenu* menu, const QPoint& globalPosition) {
    if (PopupMenu)
        PopupMenu(menu, globalPosition);
    else
        menu->popup(globalPosition);
}

void frmMain::cmdBrowseAbout_Click() {
    subPopupMenu(mnuAboutParent, below(cmdBrowseAbout));
}

void frmMain::lblBrowse_Click() {
    if (tbsBrowse->SelectedItem() == 2)
        subPopupMenu(FrameDummy()->mnuTaskBasketParent(), below(lblBrowse));
}

void frmMain::lblMetadata_Click() {
    frmFrameDummy* host = FrameDummy();
    subPopupMenu(MetadataTab == 0 ? host->mnuEXIFParent() : host->mnuIPTCParent(),
                 below(metadata_->caption()));
}

void frmMain::tbsBrowse_Click() {
    const int tab = tbsBrowse->SelectedItem();
    if (tab != 1 && tab != 2)
        return;
    folderTree_.host->setVisible(tab == 1);
    edit_->taskList()->setVisible(tab == 2);
    edit_->taskListBar()->setVisible(tab == 2);
    lblBrowse->setText(tab == 1 ? QStringLiteral("Browse File System")
                                : QStringLiteral("Task Basket"));
}

} // namespace picbasket

