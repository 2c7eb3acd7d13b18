#include "shell/mainwindow/frmMain.h"
#include "shell/mainwindow/PaneWiring.h"

#include "browser/BasketAdder.h"
#include "browser/PreviewPane.h"
#include "controls/buttons/MainWindowPictures.h"
#include "controls/common/PaneControls.h"
#include "controls/common/ToolbarFlowLayout.h"
#include "controls/splitter/Splitter.h"
#include "core/ScreenTwips.h"
#include "editing/EditImageData.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TabStrip.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace picbasket {

namespace {

QWidget* makePane(QWidget* parent) {
    auto* pane = new QWidget(parent);
    pane->setAutoFillBackground(true);
    return pane;
}

} // namespace

frmMain::frmMain(QWidget* parent, const EditViewFactory& makeEditView)
    : QWidget(parent), instanceLock_(fncInstanceLockFile()),
      wiring_(std::make_unique<PaneWiring>(*this)),
      edit_(makeEditView ? makeEditView(*this, *wiring_, this)
                         : std::make_unique<EditView>(*this, *wiring_, this)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    splMain = new Splitter(this);
    splMain->setOrientation(1);
    splRight = new Splitter(splMain);
    splLeft = new Splitter(splMain);
    splView = new Splitter(splRight);
    buildStatusBar();
    buildBrowsePane();
    buildPreviewPane();
    edit_->buildEditView();
    metadata_ = new MetadataPane(splView, *this, listFocus_, *preview_);
    folder_ = new FolderPane(splLeft, folderTree_, *this, listFocus_, *preview_, *wiring_);
    cmdBrowseSettings = folder_->settingsButton();
    cmdBrowseAbout = folder_->aboutButton();
    basket_ = new BasketPane(splLeft, listFocus_, *this, *preview_, *wiring_);
    buildMenus();
    connect(cmdBrowseSettings, &QPushButton::clicked, this, [this] {
        frmSettings dialog(this, this);
        dialog.exec();
    });
    for (Splitter* splitter : {splMain, splRight, splLeft, splView})
        connect(splitter, &Splitter::SplitComplete, this, &frmMain::subResize);
    subFitLeastSizeToFrame();
    folder_->buildFolderListing();
    preview_->buildPreview();
    edit_->connectEditSelection();
    connectMenus();
    connectPanes();
}

void frmMain::connectPanes() {
    EditView* const edit = edit_.get();
    // The folder pane's requests.
    connect(folder_, &FolderPane::showRowRequested, preview_, &PreviewPane::subShowSelectedFile);
    connect(folder_, &FolderPane::addToBasketRequested, basket_, &BasketPane::addFolderRows);
    connect(folder_, &FolderPane::basketSelectionClearRequested, basket_,
            &BasketPane::clearSelection);
    connect(folder_, &FolderPane::captureRequested, this, &frmMain::subShowCaptureDialog);
    // The basket's.
    connect(basket_, &BasketPane::showRowRequested, preview_, &PreviewPane::subShowSelectedFile);
    connect(basket_, &BasketPane::savePreviewAsRequested, preview_,
            &PreviewPane::mnuSavePreviewAs_Click);
    connect(basket_, &BasketPane::folderRelistRequested, folder_, &FolderPane::relistSoon);
    connect(basket_, &BasketPane::scannerRequested, this, &frmMain::subShowTwainDialog);
    connect(basket_, &BasketPane::captureRequested, this, &frmMain::subShowCaptureDialog);
    connect(basket_, &BasketPane::slideShowRequested, this, &frmMain::subShowSlideShowDialog);
    connect(basket_, &BasketPane::screensaverRequested, this, &frmMain::subShowScreensaverDemo);
    connect(basket_, &BasketPane::temporaryPagesDeleteRequested, this,
            &frmMain::subDeleteTemporaryPages);
    // The preview's: the metadata of the file it shows, the edit view that works on its
    // image, the folder list that lists what it saved, the generators of its image.
    connect(preview_, &PreviewPane::metadataClearRequested, metadata_, &MetadataPane::clearLists);
    connect(preview_, &PreviewPane::metadataRequested, metadata_, &MetadataPane::showFileMetadata);
    connect(preview_, &PreviewPane::originalImageLoaded, this,
            [](const QImage& image) { OriginalImageData = image; });
    connect(preview_, &PreviewPane::taskBasketRunRequested, edit, &EditView::subProcessTaskBasket);
    connect(preview_, &PreviewPane::editRequested, edit, &EditView::CmdPreviewEdit_Click);
    connect(preview_, &PreviewPane::taskOptionsPicked, edit,
            [edit] { edit->setTaskOptionsChanged(true); });
    connect(preview_, &PreviewPane::previewImageChanged, edit, &EditView::subEditViewImageChanged);
    connect(preview_, &PreviewPane::fileSaved, folder_, &FolderPane::relistIfHolds);
    connect(preview_, &PreviewPane::greetingRequested, this, &frmMain::subShowGreetingDemo);
    connect(preview_, &PreviewPane::screensaverRequested, this, &frmMain::subShowScreensaverDemo);
    // The metadata pane's.
    connect(metadata_, &MetadataPane::paneShowRequested, this, &frmMain::subShowMetadataPane);
    // The edit view's requests: the preview's selection, flag and type switch, and the
    // splitter tree's switch between the explorer and the edit view.
    connect(edit, &EditView::previewSelectionClearRequested, preview_,
            &PreviewPane::subClearSelection);
    connect(edit, &EditView::previewUnchangedRequested, preview_, &PreviewPane::setUnchanged);
    connect(edit, &EditView::previewTypeEnableRequested, preview_,
            [this](bool enable) { preview_->typeButton()->setEnabled(enable); });
    connect(edit, &EditView::editLayoutRequested, this, &frmMain::subEnterEditLayout);
    connect(edit, &EditView::explorerLayoutRequested, this, &frmMain::subLeaveEditLayout);
    connect(edit, &EditView::folderTreeRestoreRequested, this, &frmMain::subRestoreFolderTree);
}

// The picture lists are members, gone before the QWidget base takes the list views
// down, so every list lets go of its pictures first.
frmMain::~frmMain() {
    for (ListView* list : findChildren<ListView*>()) {
        list->setIcons(nullptr);
        list->setSmallIcons(nullptr);
    }
}

void frmMain::buildStatusBar() {
    sbMain = new StatusBar(this);
    sbMain->AddPanel(QStringLiteral("filename"), QStringLiteral("Filename of the previewed image"),
                     QStringLiteral("No file selected"), 0);
    sbMain->AddPanel(QStringLiteral("pages"), QStringLiteral("Total number of pages"), {}, 70);
    sbMain->AddPanel(QStringLiteral("resolution"),
                     QStringLiteral("Width, Height, Depth, Type of the previewed image"), {}, 120);
    sbMain->AddPanel(QStringLiteral("queue"),
                     QStringLiteral("Total number of files in the image basket"), {}, 150);
    sbMain->AddPanel(QStringLiteral("metadata"),
                     QStringLiteral("Metadata type present in the previewed image"), {}, 110);
    sbMain->AddPanel(QStringLiteral("folder"), QStringLiteral("Path of the current working folder"),
                     {}, 0);
    sbMain->AddPanel(QStringLiteral("status"), QStringLiteral("zoom factor of the current image"),
                     {}, 60);
    sbMain->hide();
}

void frmMain::buildBrowsePane() {
    picBrowse = makePane(splRight);
    lblBrowse = makeCaption(QStringLiteral("Browse File System"), picBrowse);
    tbsBrowse = new TabStrip(picBrowse);
    tbsBrowse->AddTab(QStringLiteral("File System"));
    tbsBrowse->AddTab(QStringLiteral("Task Basket"));
    folderTree_ = FolderPane::buildFolderTree(picBrowse);
    edit_->buildTaskList(picBrowse);
}

// The preview pane, with the edit view's widgets inside it: its two buttons in the
// preview's tool bar and, after the image and its scroll bars, the explorer bar and
// the task list.
void frmMain::buildPreviewPane() {
    const PreviewPeers peers{*this, listFocus_, *wiring_};
    preview_ = new PreviewPane(splView, peers,
                               [this](QWidget* toolbar) { edit_->buildPreviewButtons(toolbar); });
    edit_->buildExplorerBar(preview_->view());
}

void frmMain::buildMenus() {
    preview_->buildMenus(this);
    buildPopupMenus();
}

QImage frmMain::picture(const QString& pictureBox) const {
    return fncMainWindowPicture(pictureBox);
}

} // namespace picbasket
