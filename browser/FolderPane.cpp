// The folder pane of the main window: listing the chosen folder's image files as
// thumbnails or details, the two view buttons, the list's own events and the add of
// its selected rows to the basket.
#include "browser/FolderPane.h"

#include "browser/BasketAdder.h"
#include "browser/FileListBox.h"
#include "browser/FileListFocus.h"
#include "browser/FolderListing.h"
#include "browser/PaneQueries.h"
#include "browser/PreviewedFile.h"
#include "browser/modBasketList.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/common/PaneControls.h"
#include "controls/common/PaneWindow.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/foldertree/FolderTreeview.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
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

FolderPane::FolderTree FolderPane::buildFolderTree(QWidget* browseHost) {
    FolderTree tree;
    tree.host = new QWidget(browseHost);
    tree.tree = new FolderTreeview(tree.host);
    return tree;
}

FolderPane::FolderPane(QWidget* parent, const FolderTree& tree, PaneWindow& window,
                       FileListFocus& listFocus, PreviewedFile& preview, PaneQueries& queries)
    : QWidget(parent), picFileSystem(tree.host), ftvBrowse(tree.tree),
      illvFolder(std::make_unique<ImageList>()), ilFolder(std::make_unique<ImageList>()),
      window_(window), listFocus_(listFocus), preview_(preview), queries_(queries) {
    setAutoFillBackground(true);
    picFolder = this;
    lblFolder = makeCaption(QStringLiteral("Folder Files"), picFolder);
    PicToolbarFolder = makeCaptionToolbar(lblFolder);
    cmdAddToQueue = makeButton(PicToolbarFolder, QStringLiteral("Add to Basket"),
                               QStringLiteral("Add the selected files to the image basket"), 110);
    cmdThumbnailFolder =
        makeButton(PicToolbarFolder, {}, QStringLiteral("Thumbnails"), ToolButtonSize);
    cmdDetailFolder = makeButton(PicToolbarFolder, {}, QStringLiteral("Details"), ToolButtonSize);
    cmdCapture =
        makeButton(PicToolbarFolder, {}, QStringLiteral("Capture the screen"), ToolButtonSize);
    cmdBrowseSettings_ =
        makeButton(PicToolbarFolder, {}, QStringLiteral("Settings"), ToolButtonSize);
    cmdBrowseAbout_ = makeButton(PicToolbarFolder, {}, QStringLiteral("About"), ToolButtonSize);
    lvFolder = new ListView(picFolder);
    listFocus_.FolderList = lvFolder;
    for (const char* caption : {"File Name", "Resolution", "Size", "Pages", "Type", "Date Created",
                                "Date Modified", "Date Accessed"})
        lvFolder->AddColumn(QString::fromLatin1(caption));
    pbAddToBasket = new ProgressBar(picFolder);
    pbAddToBasket->hide();
    timerShowFiles = new QTimer(this);
    timerShowFiles->setSingleShot(true);
    timerShowFiles->setInterval(200);
    connect(timerShowFiles, &QTimer::timeout, this, [this] { emit ShowFilesDue(CurrentFolder); });
    connect(ftvBrowse, &FolderTreeview::FolderChange, this, &FolderPane::ftvBrowse_FolderChange);
}

// The picture lists are members, gone before the QWidget base takes the list down.
FolderPane::~FolderPane() {
    lvFolder->setIcons(nullptr);
    lvFolder->setSmallIcons(nullptr);
}

// The folder list's details view takes its first small icon from the window's
// pictures; the list's rows are dragged onto the basket, which tells the lists apart by
// their names.
void FolderPane::buildFolderListing() {
    illvFolder->Add(window_.picture(QStringLiteral("iDetailIcon")), QStringLiteral("1"));
    lvFolder->setSmallIcons(illvFolder.get());
    folderListing = new FolderListing(preview_.previewBox(), this);
    folderListing->abortRequested = [this] { return AbortFolderListing; };
    connect(folderListing, &FolderListing::RowReady, this, &FolderPane::addFolderRow);
    connect(folderListing, &FolderListing::Progress, queries_.basketBar(), &ProgressBar::setValue);
    connect(folderListing, &FolderListing::Finished, this, &FolderPane::endFolderListing);
    connect(this, &FolderPane::ShowFilesDue, this, &FolderPane::subShowFilesInFolder);
    connect(cmdAddToQueue, &QPushButton::clicked, this, &FolderPane::cmdAddToQueue_Click);
    connect(cmdThumbnailFolder, &QPushButton::clicked, this, &FolderPane::cmdThumbnailFolder_Click);
    connect(cmdDetailFolder, &QPushButton::clicked, this, &FolderPane::cmdDetailFolder_Click);
    connect(lvFolder, &ListView::GotFocus, this, &FolderPane::lvFolder_GotFocus);
    connect(lvFolder, &ListView::ColumnClick, this, &FolderPane::lvFolder_ColumnClick);
    connect(lvFolder, &ListView::ItemClick, this, &FolderPane::lvFolder_ItemClick);
    connect(lvFolder, &ListView::KeyPress, this, &FolderPane::lvFolder_KeyPress);
    connect(lvFolder, &ListView::KeyUp, this, &FolderPane::lvFolder_KeyUp);
    connect(lvFolder, &ListView::MouseUp, this, &FolderPane::lvFolder_MouseUp);
    connect(lvFolder, &ListView::DblClick, this, &FolderPane::lvFolder_DblClick);
    lvFolder->setOLEDropMode(true);
    connect(lvFolder, &ListView::OLEDragDrop, this, &FolderPane::lvFolder_OLEDragDrop);
    mnuContextFolderParent = new QMenu(QStringLiteral("Context Folder"), this);
    connect(mnuContextFolderParent->addAction(QStringLiteral("Add to basket")), &QAction::triggered,
            this, &FolderPane::mnuContextFolder_Click);
    connect(cmdCapture, &QPushButton::clicked, this, &FolderPane::captureRequested);
    lvFolder->setObjectName(QStringLiteral("lvFolder"));
    lvFolder->setOLEDragMode(true);
}

void FolderPane::relistSoon() {
    if (!CurrentFolder.isEmpty())
        timerShowFiles->start();
}

void FolderPane::relistIfHolds(const QString& file) {
    if (!file.isEmpty() && !CurrentFolder.isEmpty() &&
        QFileInfo(file).absoluteDir() == QDir(CurrentFolder))
        relistSoon();
}

void FolderPane::layOut() {
    const int W = width(), H = height();
    fitCaptionBar(lblFolder, PicToolbarFolder, W);
    const int L = lblFolder->height();
    placeControl(lvFolder, 2, L, W - 2, H - L - 2);
}

void FolderPane::setButtonPictures() {
    const std::pair<QPushButton*, const char*> pictures[] = {
        {cmdDetailFolder, "picDetailFolder"},
        {cmdThumbnailFolder, "picThumbnailFolder"},
        {cmdAddToQueue, "picAddToQueue"},
        {cmdCapture, "picCapture"}};
    for (const auto& [button, box] : pictures)
        subSetButtonPicture(button, window_.picture(QString::fromLatin1(box)));
}

void FolderPane::removeButtonPictures() {
    for (QPushButton* button : {cmdDetailFolder, cmdThumbnailFolder, cmdAddToQueue, cmdCapture})
        subRemoveButtonPicture(button);
}

// Lists the image files of the folder into lvFolder, one file per turn of the event
// loop (FolderListing); a new folder choice or a press on pbQueue stops it.
void FolderPane::subShowFilesInFolder(const QString& folder) {
    FileListBox& fileMain = queries_.folderFiles();
    ProgressBar* const pbQueue = queries_.basketBar();
    errorTail(QStringLiteral("FrmMain.subShowFilesInFolder"), [&] {
        folderListing->stop();
        if (folder.isEmpty())
            return endFolderListing();
        CurrentActivity = QStringLiteral("Showing files from selected folder");
        const QString temp = AppPaths::tempPageFolder();
        if (!fncFolderExists(temp))
            subCreateDirectory(temp);
        window_.statusBar()
            ->Panel(QStringLiteral("folder"))
            ->setText(QStringLiteral("Current Folder - ") + folder);
        lvFolder->Clear();
        lvFolder->setSmallIcons(nullptr);
        ilFolder->Clear();
        fileMain.Path = folder;
        fileMain.Refresh();
        const int count = fileMain.ListCount();
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
        folderListing->start(fileMain.Path, fileMain.names(), options);
    });
    if (!folderListing->isRunning())
        endFolderListing();
}

// Every way out of a listing: the bar goes and the abort flag is down again, so a
// later loop that honours the flag does not stop at once.
void FolderPane::endFolderListing() {
    ProgressBar* const pbQueue = queries_.basketBar();
    pbQueue->hide();
    AbortFolderListing = false;
}

// Each thumbnail is keyed by its index and the row keeps that key as its large icon,
// so after a sort or a trip through details view every row finds its own picture.
// While the list is sorted, the row goes to its sorted place.
void FolderPane::addFolderRow(const FolderRow& row) {
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

void FolderPane::showFolderIcons(bool thumbnails) {
    lvFolder->setSmallIcons(thumbnails ? ilFolder.get() : illvFolder.get());
    lvFolder->setSmallIconSize(thumbnails ? QSize(ThumbnailWidth, ThumbnailHeight)
                                          : QSize(DetailIconSize, DetailIconSize));
    for (int row = 1; row <= lvFolder->Count(); ++row)
        lvFolder->setIconKeys(row, lvFolder->IconKey(row),
                              thumbnails ? lvFolder->IconKey(row) : DetailIconKey);
}

void FolderPane::cmdDetailFolder_Click() {
    Setup.FolderList.ViewMode = 3;
    showFolderIcons(false);
}

// After a details listing there are no thumbnails to show: the folder is listed again.
void FolderPane::cmdThumbnailFolder_Click() {
    const FileListBox& fileMain = queries_.folderFiles();
    Setup.FolderList.ViewMode = 0;
    if (ilFolder->Count() == 0)
        subShowFilesInFolder(fileMain.Path);
    else
        showFolderIcons(true);
}

void FolderPane::lvFolder_GotFocus() {
    listFocus_.ActiveFileList = QStringLiteral("lvFolder");
}

void FolderPane::lvFolder_ColumnClick(int column) {
    subSortListViewByColumn(*lvFolder, column);
}

void FolderPane::lvFolder_ItemClick(int) {
    listFocus_.SelectedRowCount = lvFolder->SelectedCount();
    if (listFocus_.SelectedRowCount < 2)
        listFocus_.FolderListDropped = false;
}

void FolderPane::lvFolder_KeyPress(int keyAscii) {
    if (lvFolder->Count() == 0)
        return;
    if (keyAscii == 13) {
        cmdAddToQueue_Click();
    } else if (keyAscii == 1) {
        for (int row = 1; row <= lvFolder->Count(); ++row)
            lvFolder->setSelected(row, true);
    }
}

void FolderPane::lvFolder_KeyUp(int keyCode, int) {
    if (!isArrowKey(keyCode) || listFocus_.FolderListDropped)
        return;
    emit showRowRequested(lvFolder, lvFolder->SelectedItem());
    window_.subResize();
}

// The right button offers "Add to basket"; any other previews the selected row.
// A failed preview from here is not reported.
void FolderPane::lvFolder_MouseUp(int button, int, int, int) {
    if (lvFolder->Count() == 0)
        return;
    if (button == 2) {
        mnuContextFolderParent->popup(QCursor::pos());
        return;
    }
    if (listFocus_.FolderListDropped)
        return;
    try {
        emit showRowRequested(lvFolder, lvFolder->SelectedItem());
        window_.subResize();
    } catch (...) {
    }
}

void FolderPane::lvFolder_DblClick() {
    cmdAddToQueue_Click();
}

void FolderPane::lvFolder_OLEDragDrop() {
    listFocus_.FolderListDropped = true;
}

void FolderPane::mnuContextFolder_Click() {
    cmdAddToQueue_Click();
}

// Adds the selected folder rows. An add that runs already refuses a second one.
void FolderPane::cmdAddToQueue_Click() {
    if (queries_.basketAddRuns())
        return;
    errorTail(QStringLiteral("FrmMain.cmdAddToQueue_Click"), [&] {
        CurrentActivity = QStringLiteral("Adding selected files to basket!");
        if (lvFolder->Count() > 0)
            emit addToBasketRequested(selectedFolderRows(), lvFolder->Count(), pbAddToBasket);
        emit basketSelectionClearRequested();
    });
}

// Copies of the selected folder rows in list order, with their own thumbnails when
// the folder list holds thumbnails.
std::vector<BasketSource> FolderPane::selectedFolderRows() const {
    std::vector<BasketSource> sources;
    const bool thumbnails = ilFolder->Count() > 0;
    for (int r : lvFolder->SelectedRows()) {
        BasketSource source;
        source.position = r;
        source.row.text = lvFolder->Text(r);
        source.row.tag = lvFolder->Tag(r);
        for (size_t s = 0; s < source.row.subItems.size(); ++s)
            source.row.subItems[s] = lvFolder->SubItem(r, static_cast<int>(s) + 1);
        if (thumbnails)
            source.row.thumbnail = ilFolder->Image(lvFolder->IconKey(r));
        sources.push_back(std::move(source));
    }
    return sources;
}

void FolderPane::ftvBrowse_FolderChange(const QString& folder) {
    if (folder.isEmpty())
        return;
    AbortFolderListing = true;
    CurrentFolder = folder;
    timerShowFiles->start();
}

} // namespace picbasket
