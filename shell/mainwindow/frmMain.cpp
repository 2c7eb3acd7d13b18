#include "shell/mainwindow/frmMain.h"

#include "browser/BasketAdder.h"
#include "browser/PreviewPane.h"
#include "controls/buttons/MainWindowPictures.h"
#include "controls/common/PaneControls.h"
#include "controls/common/ToolbarFlowLayout.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/ScreenTwips.h"
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
#include <QComboBox>
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

// A row of tool buttons, laid out inside a caption bar at its right end.
QWidget* makeCaptionToolbar(QLabel* caption) {
    auto* bar = new QWidget(caption);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    auto* layout = new QHBoxLayout(caption);
    layout->setContentsMargins(0, 0, 1, 0);
    layout->addStretch(1);
    layout->addWidget(bar, 0, Qt::AlignBottom);
    return bar;
}

QWidget* makePane(QWidget* parent) {
    auto* pane = new QWidget(parent);
    pane->setAutoFillBackground(true);
    return pane;
}

} // namespace

frmMain::frmMain(QWidget* parent)
    : QWidget(parent), illvFolder(std::make_unique<ImageList>()),
      ilFolder(std::make_unique<ImageList>()), instanceLock_(fncInstanceLockFile()) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    splMain = new Splitter(this);
    splMain->setOrientation(1);
    splRight = new Splitter(splMain);
    splLeft = new Splitter(splMain);
    splView = new Splitter(splRight);
    buildStatusBar();
    buildBrowsePane();
    buildPreviewPane();
    buildEditView();
    metadata_ = new MetadataPane(splView, *preview_);
    buildFolderPane();
    buildQueuePane();
    buildMenus();
    timerShowFiles = new QTimer(this);
    timerShowFiles->setSingleShot(true);
    timerShowFiles->setInterval(200);
    connect(timerShowFiles, &QTimer::timeout, this, [this] { emit ShowFilesDue(CurrentFolder); });
    connect(ftvBrowse, &FolderTreeview::FolderChange, this, &frmMain::ftvBrowse_FolderChange);
    connect(cmdBrowseSettings, &QPushButton::clicked, this, [this] {
        frmSettings dialog(this, this);
        dialog.exec();
    });
    for (Splitter* splitter : {splMain, splRight, splLeft, splView})
        connect(splitter, &Splitter::SplitComplete, this, &frmMain::subResize);
    subFitLeastSizeToFrame();
    // Form_Initialize: the folder list's details view takes its first small icon from here.
    illvFolder->Add(fncMainWindowPicture(QStringLiteral("iDetailIcon")), QStringLiteral("1"));
    lvFolder->setSmallIcons(illvFolder.get());
    buildFolderListing();
    buildBasket();
    buildBasketCommands();
    buildPreview();
    connectEditSelection();
    connectMenus();
    connectAcquisition();
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
    picFileSystem = new QWidget(picBrowse);
    ftvBrowse = new FolderTreeview(picFileSystem);
    lvEdit = new ListView(picBrowse);
    lvEdit->AddColumn(QStringLiteral("Confirmed Tasks"), 160);
    lvEdit->hide();
    picEditBar = new QWidget(picBrowse);
    auto* row = new QHBoxLayout(picEditBar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    const QStringList tips{QStringLiteral("New Task Basket"), QStringLiteral("Open Task Basket"),
                           QStringLiteral("Save Task Basket"),
                           QStringLiteral("Remove selected Task")};
    for (int i = 0; i < 4; ++i)
        cmdEditBar[static_cast<size_t>(i)] = makeButton(picEditBar, {}, tips[i], ToolButtonSize);
    row->addStretch(1);
    picEditBar->hide();
}

// The preview pane, with the edit view's widgets inside it: its two buttons in the
// preview's tool bar and, after the image and its scroll bars, the explorer bar and
// the task list.
void frmMain::buildPreviewPane() {
    const PreviewPeers peers{*this, listFocus_, *this, *this, *this, *this};
    preview_ =
        new PreviewPane(splView, peers, [this](QWidget* toolbar) { buildEditCommands(toolbar); });
    buildEditViewWidgets(preview_->picView);
}

void frmMain::buildEditCommands(QWidget* toolbar) {
    cmdReset = makeButton(toolbar, QStringLiteral("Reset"), QStringLiteral("Reset the task"), 70);
    cmdOriginalImage = makeButton(toolbar, QStringLiteral("Original"),
                                  QStringLiteral("Show the original image"), 80);
    cmdReset->hide();
    cmdOriginalImage->hide();
}

void frmMain::buildEditViewWidgets(QWidget* host) {
    eb = new isExplorerBar(host);
    eb->resize(220, eb->height());
    eb->hide();
    lvEditPreview = new ListView(host);
    lvEditPreview->AddColumn(QStringLiteral("Confirmed Tasks"), 160);
    lvEditPreview->hide();
    for (int i = 0; i < 4; ++i) {
        cmdEditPreview[static_cast<size_t>(i)] = new QPushButton(host);
        cmdEditPreview[static_cast<size_t>(i)]->hide();
    }
    buildTaskPanels();
}

void frmMain::buildTaskPanels() {
    const QStringList names{QStringLiteral("picContrast"),  QStringLiteral("picBrightness"),
                            QStringLiteral("picSharpen"),   QStringLiteral("picBlur"),
                            QStringLiteral("picFlip"),      QStringLiteral("picResize"),
                            QStringLiteral("picRotate"),    QStringLiteral("picCrop"),
                            QStringLiteral("picWatermark"), QStringLiteral("picText"),
                            QStringLiteral("picNothing"),   QStringLiteral("picCanvas"),
                            QStringLiteral("picFrame"),     QStringLiteral("picMask"),
                            QStringLiteral("picShadow"),    QStringLiteral("picRedEye")};
    for (size_t i = 0; i < taskPanels.size(); ++i) {
        taskPanels[i] = new QWidget(eb);
        taskPanels[i]->setObjectName(names[static_cast<int>(i)]);
        taskPanels[i]->resize(200, 160);
        taskPanels[i]->hide();
    }
    // The option lists of the stamp, resize and text panels.
    cboMergeStyle = new QComboBox(taskPanels[8]);
    ComboFilter = new QComboBox(taskPanels[5]);
    cboPosition = new QComboBox(taskPanels[9]);
    comboFontSize = new QComboBox(taskPanels[9]);
    ComboFontFamily = new QComboBox(taskPanels[9]);
}

void frmMain::buildFolderPane() {
    picFolder = makePane(splLeft);
    lblFolder = makeCaption(QStringLiteral("Folder Files"), picFolder);
    PicToolbarFolder = makeCaptionToolbar(lblFolder);
    cmdAddToQueue = makeButton(PicToolbarFolder, QStringLiteral("Add to Basket"),
                               QStringLiteral("Add the selected files to the image basket"), 110);
    cmdThumbnailFolder =
        makeButton(PicToolbarFolder, {}, QStringLiteral("Thumbnails"), ToolButtonSize);
    cmdDetailFolder = makeButton(PicToolbarFolder, {}, QStringLiteral("Details"), ToolButtonSize);
    cmdCapture =
        makeButton(PicToolbarFolder, {}, QStringLiteral("Capture the screen"), ToolButtonSize);
    cmdBrowseSettings =
        makeButton(PicToolbarFolder, {}, QStringLiteral("Settings"), ToolButtonSize);
    cmdBrowseAbout = makeButton(PicToolbarFolder, {}, QStringLiteral("About"), ToolButtonSize);
    lvFolder = new ListView(picFolder);
    for (const char* caption : {"File Name", "Resolution", "Size", "Pages", "Type", "Date Created",
                                "Date Modified", "Date Accessed"})
        lvFolder->AddColumn(QString::fromLatin1(caption));
    pbAddToBasket = new ProgressBar(picFolder);
    pbAddToBasket->hide();
}

void frmMain::buildQueuePane() {
    PicQueue = makePane(splLeft);
    lblQueue = makeCaption(QStringLiteral("Image Basket"), PicQueue);
    auto* bar = makeCaptionToolbar(lblQueue);
    cmdTwainAcquire = makeButton(bar, {}, QStringLiteral("Acquire from a scanner"), ToolButtonSize);
    cmdBatchPrint = makeButton(bar, {}, QStringLiteral("Print the basket"), ToolButtonSize);
    cmdSaveAs = makeButton(bar, QStringLiteral("Save As"),
                           QStringLiteral("Convert the basket to JPEG 2000"), 90);
    picLiveBar = new QWidget(PicQueue);
    // One column of buttons, or two when the pane is too short for one.
    auto* column = new ToolbarFlowLayout(picLiveBar);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(1);
    cmdPagesNew = makeButton(picLiveBar, {}, QStringLiteral("New basket"), ToolButtonSize);
    cmdPagesOpen = makeButton(picLiveBar, {}, QStringLiteral("Open basket"), ToolButtonSize);
    cmdPagesSave = makeButton(picLiveBar, {}, QStringLiteral("Save basket"), ToolButtonSize);
    cmdPagesDelete =
        makeButton(picLiveBar, {}, QStringLiteral("Remove the selected files"), ToolButtonSize);
    column->addStretch(1);
    picLiveBar->setGeometry(0, CaptionHeight, ToolButtonSize + 2, 4 * ToolButtonSize + 6);
    lvPages = new ListView(PicQueue);
    for (const char* caption : {"File Name", "Resolution", "Size", "Type", "Path"})
        lvPages->AddColumn(QString::fromLatin1(caption));
    pbQueue = new ProgressBar(PicQueue);
    pbQueue->hide();
}

void frmMain::buildMenus() {
    preview_->buildMenus(this);
    buildPopupMenus();
}

QImage frmMain::picture(const QString& pictureBox) const {
    return fncMainWindowPicture(pictureBox);
}

} // namespace picbasket
