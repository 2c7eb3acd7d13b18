// The image basket of the main window: its controls, adding the selected folder rows
// dragged onto it, its thumbnails, its column sort and moving its rows by dragging
// them.
#include "browser/BasketPane.h"

#include "browser/BasketAdder.h"
#include "browser/FileListBox.h"
#include "browser/FileListFocus.h"
#include "browser/NotAddedReport.h"
#include "browser/PaneQueries.h"
#include "browser/modBasketList.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/common/PaneControls.h"
#include "controls/common/PaneWindow.h"
#include "controls/common/ToolbarFlowLayout.h"
#include "controls/dialogs/frmStatus.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "engine/batch/BasketRows.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace picbasket {

namespace {

const QString FolderListName = QStringLiteral("lvFolder");
const QString BasketListName = QStringLiteral("lvPages");

} // namespace

BasketPane::BasketPane(QWidget* parent, FileListFocus& listFocus, PaneWindow& window,
                       PreviewedFile& preview, PaneQueries& queries)
    : QWidget(parent), listFocus_(listFocus), window_(window), preview_(preview),
      queries_(queries) {
    setAutoFillBackground(true);
    buildQueuePane();
    buildBasket();
    buildBasketCommands();
}

BasketPane::~BasketPane() {
    lvPages->setSmallIcons(nullptr);
}

void BasketPane::buildQueuePane() {
    PicQueue = this;
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
    listFocus_.BasketList = lvPages;
    for (const char* caption : {"File Name", "Resolution", "Size", "Type", "Path"})
        lvPages->AddColumn(QString::fromLatin1(caption));
    pbQueue = new ProgressBar(PicQueue);
    pbQueue->hide();
}

void BasketPane::buildBasket() {
    ilPages = std::make_unique<ImageList>();
    lvPages->setObjectName(BasketListName);
    lvPages->setOLEDragMode(true);
    lvPages->setOLEDropMode(true);
    lvPages->setSmallIcons(ilPages.get());
    basketAdder = std::make_unique<BasketAdder>();
    BasketAdder& adder = *basketAdder;
    adder.inBasket = [this](const QString& source) {
        for (int r = 1; r <= lvPages->Count(); ++r)
            if (lvPages->SubItem(r, 4) == source)
                return true;
        return false;
    };
    adder.addRow = [this](const BasketRow& row, const QImage& thumbnail) {
        return subAddBasketRow(row, thumbnail);
    };
    // The folder list may have been listed again meanwhile: the row is found by path.
    adder.fillResolution = [this](const QString& path, const QString& resolution) {
        ListView* lvFolder = listFocus_.FolderList;
        for (int r = 1; r <= lvFolder->Count(); ++r)
            if (lvFolder->Tag(r) == path)
                lvFolder->setSubItem(r, 1, resolution);
    };
    adder.status = [this](const QString& text) {
        window_.statusBar()->Panel(QStringLiteral("folder"))->setText(text);
    };
    adder.progress = [this](int maximum, int value) {
        if (!basketBar_)
            return;
        basketBar_->setMax(std::max(1, maximum));
        basketBar_->setValue(value);
    };
    adder.pumpEvents = [] { QCoreApplication::processEvents(); };
    adder.fileAdded = [this](int row) { lvPages->setSelected(row, true); };
    adder.waitDialog = [this]() -> WaitIndicator* { return &frmStatus::instance(window()); };
    connect(lvPages, &ListView::ColumnClick, this, &BasketPane::lvPages_ColumnClick);
    connect(lvPages, &ListView::OLEDragOver, this, &BasketPane::lvPages_OLEDragOver);
    connect(lvPages, &ListView::OLEDragDrop, this, &BasketPane::lvPages_OLEDragDrop);
    connect(lvPages, &ListView::GotFocus, this, &BasketPane::lvPages_GotFocus);
    connect(lvPages, &ListView::LostFocus, this, &BasketPane::lvPages_LostFocus);
    connect(lvPages, &ListView::ItemClick, this, &BasketPane::lvPages_ItemClick);
    connect(lvPages, &ListView::KeyUp, this, &BasketPane::lvPages_KeyUp);
    connect(lvPages, &ListView::MouseUp, this, &BasketPane::lvPages_MouseUp);
    connect(pbQueue, &ProgressBar::MouseDown, this, &BasketPane::pbQueue_MouseDown);
}

// Each thumbnail is keyed by its index, which the row keeps through sorts and moves;
// the "queue" panel counts the rows after every add, whoever adds.
int BasketPane::subAddBasketRow(const BasketRow& row, const QImage& thumbnail) {
    const QString key = QString::number(ilPages->Count() + 1);
    ilPages->Add(thumbnail, key);
    lvPages->setSmallIcons(ilPages.get());
    lvPages->setSmallIconSize(QSize(BasketThumbnailWidth, BasketThumbnailHeight));
    ListView::Row added;
    added.text = row.Text;
    added.tag = row.Tag;
    for (int s = 1; s <= 4; ++s)
        added.subItems << row.SubItem(s);
    added.iconKey = key;
    added.smallIconKey = key;
    const int number = lvPages->AddRow(added);
    setQueuePanel();
    return number;
}

bool BasketPane::adding() const {
    return basketAdder->isRunning();
}

// The folder pane's add command: its own bar shows the progress.
void BasketPane::addFolderRows(const std::vector<BasketSource>& rows, int maximum,
                               ProgressBar* bar) {
    basketAdder->thumbnailWidth = BasketThumbnailWidth;
    basketAdder->thumbnailHeight = BasketThumbnailHeight;
    basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
    basketBar_ = bar;
    bar->setValue(0);
    bar->setMax(maximum);
    bar->show();
    struct BarScope {
        BasketPane* basket;
        ProgressBar* bar;
        ~BarScope() {
            bar->hide();
            basket->basketBar_ = nullptr;
        }
    } scope{this, bar};
    NotAddedReport notAdded(*basketAdder);
    basketAdder->add(rows, maximum, BasketAdder::Mode::Command);
    window_.statusBar()->Panel(QStringLiteral("folder"))->setText(queries_.folderFiles().Path);
    bar->hide();
    setQueuePanel();
    window_.subResize();
    notAdded.show();
}

void BasketPane::clearSelection() {
    for (int r = 1; r <= lvPages->Count(); ++r)
        lvPages->setSelected(r, false);
}

void BasketPane::layOut() {
    const int W = width(), H = height();
    fitCaptionBar(lblQueue, cmdSaveAs->parentWidget(), W);
    lblQueue->move(0, 0);
    fitSideBar(picLiveBar, lblQueue->height(), H - lblQueue->height());
    placeControl(lvPages, picLiveBar->x() + picLiveBar->width(), picLiveBar->y() + 2,
                 W - picLiveBar->width() - 2, H - lblQueue->height() - 2);
}

void BasketPane::setButtonPictures() {
    const std::pair<QPushButton*, const char*> pictures[] = {
        {cmdSaveAs, "picSaveMultiPage"},       {cmdBatchPrint, "picBatchPrint"},
        {cmdPagesNew, "IconEditbar0"},         {cmdPagesOpen, "IconEditbar1"},
        {cmdPagesSave, "IconEditbar2"},        {cmdPagesDelete, "IconEditbar3"},
        {cmdTwainAcquire, "picTwainAcquire"}};
    for (const auto& [button, box] : pictures)
        subSetButtonPicture(button, window_.picture(QString::fromLatin1(box)));
}

void BasketPane::removeButtonPictures() {
    for (QPushButton* button : {cmdSaveAs, cmdBatchPrint, cmdPagesNew, cmdPagesOpen, cmdPagesSave,
                                cmdPagesDelete, cmdTwainAcquire})
        subRemoveButtonPicture(button);
}

void BasketPane::setQueuePanel() {
    window_.statusBar()
        ->Panel(QStringLiteral("queue"))
        ->setText(QStringLiteral("%1 file(s) in basket").arg(lvPages->Count()));
}

// Adds the selected folder rows dragged onto the basket; each file's last row ends
// selected.
void BasketPane::subAddDroppedFiles() {
    if (basketAdder->isRunning())
        return;
    ListView* lvFolder = listFocus_.FolderList;
    if (lvFolder->SelectedCount() == 0) {
        lvFolder->setDropHighlight(0);
        return;
    }
    const std::vector<BasketSource> sources = queries_.folderRowsSelected();
    lvFolder->setDropHighlight(0);
    basketAdder->thumbnailWidth = BasketThumbnailWidth;
    basketAdder->thumbnailHeight = BasketThumbnailHeight;
    basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
    basketBar_ = pbQueue;
    pbQueue->setValue(0);
    pbQueue->setMax(static_cast<int>(sources.size()));
    pbQueue->show();
    struct BarScope {
        BasketPane* w;
        ~BarScope() {
            w->pbQueue->hide();
            w->basketBar_ = nullptr;
        }
    } bar{this};
    NotAddedReport notAdded(*basketAdder);
    basketAdder->add(sources, static_cast<int>(sources.size()), BasketAdder::Mode::Drop);
    window_.statusBar()->Panel(QStringLiteral("folder"))->setText(QString());
    window_.subResize();
    notAdded.show();
}

void BasketPane::lvPages_ColumnClick(int column) {
    subSortListViewByColumn(*lvPages, column);
}

// Only a drag of basket rows shows where they would go.
void BasketPane::lvPages_OLEDragOver(const QString& source, int x, int y) {
    if (source == BasketListName && ilPages->Count() >= 1)
        lvPages->setDropHighlight(lvPages->HitTest(x, y));
}

// Rows of the folder list are added, rows of the basket moved; which by the list the
// drag came from. The work waits until the drag has ended.
void BasketPane::lvPages_OLEDragDrop(const QString& source, int x, int y) {
    listFocus_.FolderListDropped = true;
    if (source == FolderListName) {
        ListView::runAfterDrag(this, [this] {
            errorTail(QStringLiteral("FrmMain.lvPages_OLEDragDrop"), [this] {
                subAddDroppedFiles();
                setQueuePanel();
            });
        });
    } else if (source == BasketListName) {
        ListView::runAfterDrag(this, [this, x, y] { subMoveSelectedItems(*lvPages, x, y); });
    }
}

} // namespace picbasket
