#include "shell/mainwindow/frmMain.h"

#include "controls/buttons/MainWindowPictures.h"
#include "controls/common/PaneControls.h"
#include "controls/common/ToolbarFlowLayout.h"
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

void widenForCaption(QPushButton* button, const QString& caption) {
    const int text = button->fontMetrics().horizontalAdvance(caption.trimmed());
    button->setFixedWidth(std::max(button->width(), text + 32));
}

QWidget* makePane(QWidget* parent) {
    auto* pane = new QWidget(parent);
    pane->setAutoFillBackground(true);
    return pane;
}

} // namespace

frmMain::frmMain(QWidget* parent, const EditViewFactory& makeEditView)
    : QWidget(parent), instanceLock_(fncInstanceLockFile()),
      edit_(makeEditView ? makeEditView(*this, *this, this)
                         : std::make_unique<EditView>(*this, *this, this)) {
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
    metadata_ = new MetadataPane(splView, *this);
    folder_ = new FolderPane(splLeft, folderTree_, *this, listFocus_, *this);
    cmdBrowseSettings = folder_->settingsButton();
    cmdBrowseAbout = folder_->aboutButton();
    basket_ = new BasketPane(splLeft, listFocus_, *this, *this);
    buildMenus();
    connect(cmdBrowseSettings, &QPushButton::clicked, this, [this] {
        frmSettings dialog(this, this);
        dialog.exec();
    });
    for (Splitter* splitter : {splMain, splRight, splLeft, splView})
        connect(splitter, &Splitter::SplitComplete, this, &frmMain::subResize);
    subFitLeastSizeToFrame();
    // Form_Initialize: the folder list's details view takes its first small icon from here.
    folder_->illvFolder->Add(fncMainWindowPicture(QStringLiteral("iDetailIcon")),
                             QStringLiteral("1"));
    folder_->lvFolder->setSmallIcons(folder_->illvFolder.get());
    folder_->buildFolderListing();
    // The folder list's rows are dragged onto the basket, which tells the lists apart
    // by their names.
    folder_->lvFolder->setObjectName(QStringLiteral("lvFolder"));
    folder_->lvFolder->setOLEDragMode(true);
    buildPreview();
    edit_->connectEditSelection();
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

ImageBox& frmMain::previewBox() {
    return ibMain->box();
}

QString frmMain::previewPath() const {
    return PicTiffTag;
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

void frmMain::buildPreviewPane() {
    picView = makePane(splView);
    picToolbarPreview = new QWidget(picView);
    // A narrow pane gets a second row of buttons rather than cut captions.
    auto* row = new ToolbarFlowLayout(picToolbarPreview);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(1);
    Label4 = new QLabel(QStringLiteral("Preview"), picToolbarPreview);
    Label4->setFixedHeight(ToolButtonSize - 2);
    Label4->setContentsMargins(4, 0, 4, 0);
    {
        QFont font = Label4->font();
        font.setBold(true);
        Label4->setFont(font);
    }
    row->addWidget(Label4);
    cmdPreviewView = makeButton(picToolbarPreview, QStringLiteral("     Best Fit"),
                                QStringLiteral("Set the fit mode of the image"), 0);
    cmdPreviewType =
        makeButton(picToolbarPreview, QStringLiteral("     Original"),
                   QStringLiteral("Set the view type to either Original or Optimized"), 0);
    // The two pop-up buttons show their menu's checked item: each is as wide as its
    // longest item needs, so no caption is cut and the bar does not jump.
    widenForCaption(cmdPreviewView, QStringLiteral("     Actual Size"));
    widenForCaption(cmdPreviewType, QStringLiteral("     Optimized"));
    row->startGroup();
    cmdPreviewPrevious =
        makeButton(picToolbarPreview, {}, QStringLiteral("View the image of the previous file"),
                   ToolButtonSize);
    cmdPreviewNext = makeButton(picToolbarPreview, {},
                                QStringLiteral("View the image of the next file"), ToolButtonSize);
    row->addStretch(1);
    edit_->buildPreviewButtons(picToolbarPreview);
    CmdPreviewEdit = makeButton(picToolbarPreview, QStringLiteral("    Edit"),
                                QStringLiteral("Edit the current image"), ToolButtonSize);
    cmdPreviewPrint = makeButton(picToolbarPreview, {},
                                 QStringLiteral("Print the current preview image"), ToolButtonSize);
    cmdPreviewSave =
        makeButton(picToolbarPreview, {}, QStringLiteral("Save the current preview image to file"),
                   ToolButtonSize);

    PicViewImage = new QWidget(picView);
    PicViewImage->setAutoFillBackground(true);
    QPalette palette = PicViewImage->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    PicViewImage->setPalette(palette);
    ibMain = new ImageBoxView(PicViewImage);
    vsbView = new QScrollBar(Qt::Vertical, picView);
    hsbView = new QScrollBar(Qt::Horizontal, picView);
    edit_->buildExplorerBar(picView);
}

void frmMain::buildMenus() {
    mnuPreviewFitParent = new QMenu(this);
    previewFit_ = new QActionGroup(this);
    for (const char* caption : {"Best Fit", "Actual Size"}) {
        QAction* item = mnuPreviewFitParent->addAction(QString::fromLatin1(caption));
        item->setCheckable(true);
        previewFit_->addAction(item);
    }
    mnuPreviewTypeParent = new QMenu(this);
    previewType_ = new QActionGroup(this);
    for (const char* caption : {"Original", "Optimized"}) {
        QAction* item = mnuPreviewTypeParent->addAction(QString::fromLatin1(caption));
        item->setCheckable(true);
        previewType_->addAction(item);
    }
    buildPopupMenus();
}

int frmMain::checkedPreviewFit() const {
    return previewFit_->actions().at(0)->isChecked() ? 0 : 1;
}

int frmMain::checkedPreviewType() const {
    return previewType_->actions().at(0)->isChecked() ? 0 : 1;
}

QImage frmMain::picture(const QString& pictureBox) const {
    return fncMainWindowPicture(pictureBox);
}

} // namespace picbasket
