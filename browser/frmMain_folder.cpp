// The folder list of the main window: listing the chosen folder's image files as
// thumbnails or details, the two view buttons and the list's own events.
#include "browser/FolderListing.h"
#include "browser/modBasketList.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmMain.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace picbasket {

namespace {

// The small icons of details view: 16 pixels, the one picture of illvFolder.
constexpr int DetailIconSize = 16;
const QString DetailIconKey = QStringLiteral("1");

bool isArrowKey(int keyCode) {
    return keyCode >= 37 && keyCode <= 40;
}

} // namespace

void frmMain::buildFolderListing() {
    folderListing = new FolderListing(preview_->ibMain->box(), this);
    folderListing->abortRequested = [this] { return AbortFolderListing; };
    connect(folderListing, &FolderListing::RowReady, this, &frmMain::addFolderRow);
    connect(folderListing, &FolderListing::Progress, pbQueue, &ProgressBar::setValue);
    connect(folderListing, &FolderListing::Finished, this, &frmMain::endFolderListing);
    connect(this, &frmMain::ShowFilesDue, this, &frmMain::subShowFilesInFolder);
    connect(cmdThumbnailFolder, &QPushButton::clicked, this, &frmMain::cmdThumbnailFolder_Click);
    connect(cmdDetailFolder, &QPushButton::clicked, this, &frmMain::cmdDetailFolder_Click);
    connect(lvFolder, &ListView::GotFocus, this, &frmMain::lvFolder_GotFocus);
    connect(lvFolder, &ListView::ColumnClick, this, &frmMain::lvFolder_ColumnClick);
    connect(lvFolder, &ListView::ItemClick, this, &frmMain::lvFolder_ItemClick);
    connect(lvFolder, &ListView::KeyPress, this, &frmMain::lvFolder_KeyPress);
    connect(lvFolder, &ListView::KeyUp, this, &frmMain::lvFolder_KeyUp);
    connect(lvFolder, &ListView::MouseUp, this, &frmMain::lvFolder_MouseUp);
    connect(lvFolder, &ListView::DblClick, this, &frmMain::lvFolder_DblClick);
    lvFolder->setOLEDropMode(true);
    connect(lvFolder, &ListView::OLEDragDrop, this, &frmMain::lvFolder_OLEDragDrop);
    connect(pbQueue, &ProgressBar::MouseDown, this, &frmMain::pbQueue_MouseDown);
    mnuContextFolderParent = new QMenu(QStringLiteral("Context Folder"), this);
    connect(mnuContextFolderParent->addAction(QStringLiteral("Add to basket")), &QAction::triggered,
            this, &frmMain::mnuContextFolder_Click);
}

// Lists the image files of the folder into lvFolder, one file per turn of the event
// loop (FolderListing); a new folder choice or a press on pbQueue stops it.
void frmMain::subShowFilesInFolder(const QString& folder) {
    errorTail(QStringLiteral("FrmMain.subShowFilesInFolder"), [&] {
        folderListing->stop();
        if (folder.isEmpty())
            return endFolderListing();
        CurrentActivity = QStringLiteral("Showing files from selected folder");
        const QString temp = AppPaths::tempPageFolder();
        if (!fncFolderExists(temp))
            subCreateDirectory(temp);
        sbMain->Panel(QStringLiteral("folder"))
            ->setText(QStringLiteral("Current Folder - ") + folder);
        lvFolder->Clear();
        lvFolder->setSmallIcons(nullptr);
        ilFolder->Clear();
        preview_->fileMain.Path = folder;
        preview_->fileMain.Refresh();
        const int count = preview_->fileMain.ListCount();
        if (count == 0)
            return endFolderListing();
        AbortFolderListing = false;
        pbQueue->setMax(count);
        pbQueue->setValue(0);
        pbQueue->show();
        FolderListing::Options options;
        options.details = Setup.FolderList.ViewMode != 0;
        options.thumbnailWidth = ThumbnailWidth;
        options.thumbnailHeight = ThumbnailHeight;
        options.sizeFormat = Setup.FolderList.FileSizeFormat;
        showFolderIcons(!options.details);
        folderListing->start(preview_->fileMain.Path, preview_->fileMain.names(), options);
    });
    if (!folderListing->isRunning())
        endFolderListing();
}

// Every way out of a listing: the bar goes and the abort flag is down again, so a
// later loop that honours the flag does not stop at once.
void frmMain::endFolderListing() {
    pbQueue->hide();
    AbortFolderListing = false;
}

// Each thumbnail is keyed by its index and the row keeps that key as its large icon,
// so after a sort or a trip through details view every row finds its own picture.
// While the list is sorted, the row goes to its sorted place.
void frmMain::addFolderRow(const FolderRow& row) {
    QString key = DetailIconKey;
    if (!row.thumbnail.isNull()) {
        key = QString::number(ilFolder->Count() + 1);
        ilFolder->Add(row.thumbnail, key);
    }
    ListView::Row added;
    added.text = row.text;
    added.tag = row.tag;
    for (const QString& text : row.subItems)
        added.subItems << text;
    added.iconKey = row.thumbnail.isNull() ? QString() : key;
    added.smallIconKey = Setup.FolderList.ViewMode == 0 ? key : DetailIconKey;
    lvFolder->AddRow(added);
}

void frmMain::showFolderIcons(bool thumbnails) {
    lvFolder->setSmallIcons(thumbnails ? ilFolder.get() : illvFolder.get());
    lvFolder->setSmallIconSize(thumbnails ? QSize(ThumbnailWidth, ThumbnailHeight)
                                          : QSize(DetailIconSize, DetailIconSize));
    for (int row = 1; row <= lvFolder->Count(); ++row)
        lvFolder->setIconKeys(row, lvFolder->IconKey(row),
                              thumbnails ? lvFolder->IconKey(row) : DetailIconKey);
}

void frmMain::cmdDetailFolder_Click() {
    Setup.FolderList.ViewMode = 3;
    showFolderIcons(false);
}

// After a details listing there are no thumbnails to show: the folder is listed again.
void frmMain::cmdThumbnailFolder_Click() {
    Setup.FolderList.ViewMode = 0;
    if (ilFolder->Count() == 0)
        subShowFilesInFolder(preview_->fileMain.Path);
    else
        showFolderIcons(true);
}

void frmMain::lvFolder_GotFocus() {
    listFocus_.ActiveFileList = QStringLiteral("lvFolder");
}

void frmMain::lvFolder_ColumnClick(int column) {
    subSortListViewByColumn(*lvFolder, column);
}

void frmMain::lvFolder_ItemClick(int) {
    listFocus_.SelectedRowCount = lvFolder->SelectedCount();
    if (listFocus_.SelectedRowCount < 2)
        listFocus_.FolderListDropped = false;
}

void frmMain::lvFolder_KeyPress(int keyAscii) {
    if (lvFolder->Count() == 0)
        return;
    if (keyAscii == 13) {
        cmdAddToQueue_Click();
    } else if (keyAscii == 1) {
        for (int row = 1; row <= lvFolder->Count(); ++row)
            lvFolder->setSelected(row, true);
    }
}

void frmMain::lvFolder_KeyUp(int keyCode, int) {
    if (!isArrowKey(keyCode) || listFocus_.FolderListDropped)
        return;
    preview_->subShowSelectedFile(lvFolder, lvFolder->SelectedItem());
    subResize();
}

// The right button offers "Add to basket"; any other previews the selected row.
// A failed preview from here is not reported.
void frmMain::lvFolder_MouseUp(int button, int, int, int) {
    if (lvFolder->Count() == 0)
        return;
    if (button == 2) {
        mnuContextFolderParent->popup(QCursor::pos());
        return;
    }
    if (listFocus_.FolderListDropped)
        return;
    try {
        preview_->subShowSelectedFile(lvFolder, lvFolder->SelectedItem());
        subResize();
    } catch (...) {
    }
}

void frmMain::lvFolder_DblClick() {
    cmdAddToQueue_Click();
}

void frmMain::lvFolder_OLEDragDrop() {
    listFocus_.FolderListDropped = true;
}

void frmMain::pbQueue_MouseDown() {
    AbortFolderListing = true;
}

void frmMain::mnuContextFolder_Click() {
    cmdAddToQueue_Click();
}

} // namespace picbasket
