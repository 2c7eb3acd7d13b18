// The image basket of the main window: adding the selected folder rows (by the add
// command and by dragging them onto the basket), the basket's thumbnails, the
// column sort of both lists and moving basket rows by dragging them.
#include "browser/BasketAdder.h"
#include "browser/NotAddedReport.h"
#include "browser/modBasketList.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "engine/batch/BasketRows.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "shell/mainwindow/frmMain.h"

#include <QCoreApplication>
#include <QPushButton>

namespace picbasket {

namespace {

const QString FolderListName = QStringLiteral("lvFolder");
const QString BasketListName = QStringLiteral("lvPages");

} // namespace

void frmMain::buildBasket() {
    ilPages = std::make_unique<ImageList>();
    lvFolder->setObjectName(FolderListName);
    lvPages->setObjectName(BasketListName);
    lvFolder->setOLEDragMode(true);
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
        for (int r = 1; r <= lvFolder->Count(); ++r)
            if (lvFolder->Tag(r) == path)
                lvFolder->setSubItem(r, 1, resolution);
    };
    adder.status = [this](const QString& text) {
        sbMain->Panel(QStringLiteral("folder"))->setText(text);
    };
    adder.progress = [this](int maximum, int value) {
        if (!basketBar_)
            return;
        basketBar_->setMax(std::max(1, maximum));
        basketBar_->setValue(value);
    };
    adder.pumpEvents = [] { QCoreApplication::processEvents(); };
    adder.fileAdded = [this](int row) { lvPages->setSelected(row, true); };
    connect(cmdAddToQueue, &QPushButton::clicked, this, &frmMain::cmdAddToQueue_Click);
    connect(lvPages, &ListView::ColumnClick, this, &frmMain::lvPages_ColumnClick);
    connect(lvPages, &ListView::OLEDragOver, this, &frmMain::lvPages_OLEDragOver);
    connect(lvPages, &ListView::OLEDragDrop, this, &frmMain::lvPages_OLEDragDrop);
}

// Each thumbnail is keyed by its index, which the row keeps through sorts and moves;
// the "queue" panel counts the rows after every add, whoever adds.
int frmMain::subAddBasketRow(const BasketRow& row, const QImage& thumbnail) {
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

// Copies of the selected folder rows in list order, with their own thumbnails when
// the folder list holds thumbnails.
std::vector<BasketSource> frmMain::selectedFolderRows() const {
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

void frmMain::setQueuePanel() {
    sbMain->Panel(QStringLiteral("queue"))
        ->setText(QStringLiteral("%1 file(s) in basket").arg(lvPages->Count()));
}

// Adds the selected folder rows. An add that runs already refuses a second one.
void frmMain::cmdAddToQueue_Click() {
    if (basketAdder->isRunning())
        return;
    errorTail(QStringLiteral("FrmMain.cmdAddToQueue_Click"), [&] {
        CurrentActivity = QStringLiteral("Adding selected files to basket!");
        if (lvFolder->Count() > 0) {
            const std::vector<BasketSource> sources = selectedFolderRows();
            basketAdder->thumbnailWidth = BasketThumbnailWidth;
            basketAdder->thumbnailHeight = BasketThumbnailHeight;
            basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
            basketBar_ = pbAddToBasket;
            pbAddToBasket->setValue(0);
            pbAddToBasket->setMax(lvFolder->Count());
            pbAddToBasket->show();
            struct BarScope {
                frmMain* w;
                ~BarScope() {
                    w->pbAddToBasket->hide();
                    w->basketBar_ = nullptr;
                }
            } bar{this};
            NotAddedReport notAdded(*basketAdder);
            basketAdder->add(sources, lvFolder->Count(), BasketAdder::Mode::Command);
            sbMain->Panel(QStringLiteral("folder"))->setText(preview_->fileMain.Path);
            pbAddToBasket->hide();
            setQueuePanel();
            subResize();
            notAdded.show();
        }
        for (int r = 1; r <= lvPages->Count(); ++r)
            lvPages->setSelected(r, false);
    });
}

// Adds the selected folder rows dragged onto the basket; each file's last row ends
// selected.
void frmMain::subAddDroppedFiles() {
    if (basketAdder->isRunning())
        return;
    if (lvFolder->SelectedCount() == 0) {
        lvFolder->setDropHighlight(0);
        return;
    }
    const std::vector<BasketSource> sources = selectedFolderRows();
    lvFolder->setDropHighlight(0);
    basketAdder->thumbnailWidth = BasketThumbnailWidth;
    basketAdder->thumbnailHeight = BasketThumbnailHeight;
    basketAdder->pageFiles.setFolder(AppPaths::tempPageFolder());
    basketBar_ = pbQueue;
    pbQueue->setValue(0);
    pbQueue->setMax(static_cast<int>(sources.size()));
    pbQueue->show();
    struct BarScope {
        frmMain* w;
        ~BarScope() {
            w->pbQueue->hide();
            w->basketBar_ = nullptr;
        }
    } bar{this};
    NotAddedReport notAdded(*basketAdder);
    basketAdder->add(sources, static_cast<int>(sources.size()), BasketAdder::Mode::Drop);
    sbMain->Panel(QStringLiteral("folder"))->setText(QString());
    subResize();
    notAdded.show();
}

void frmMain::lvPages_ColumnClick(int column) {
    subSortListViewByColumn(*lvPages, column);
}

// Only a drag of basket rows shows where they would go.
void frmMain::lvPages_OLEDragOver(const QString& source, int x, int y) {
    if (source == BasketListName && ilPages->Count() >= 1)
        lvPages->setDropHighlight(lvPages->HitTest(x, y));
}

// Rows of the folder list are added, rows of the basket moved; which by the list the
// drag came from. The work waits until the drag has ended.
void frmMain::lvPages_OLEDragDrop(const QString& source, int x, int y) {
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
