#include "browser/FolderListing.h"
#include "core/setup/modSetup.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/foldertree/FolderTreeview.h"
#include "tests/ui/browser/FolderFixture.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

// The main window started on an empty folder, with the mixed folder and a larger
// folder of photos beside it.
class FolderListTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        empty = folder.file("empty");
        mixed = folder.file("mixed");
        photos = folder.file("photos");
        QDir().mkpath(empty);
        test::writeMixedFolder(mixed);
        QDir().mkpath(photos);
        for (int i = 0; i < 40; ++i)
            test::splitPicture(400, 300, QColor::fromHsv(i * 9, 200, 200), Qt::white)
                .save(QDir(photos).filePath(QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar('0'))),
                      "JPEG");
        picbasket::Setup.LastFolder = empty;
        writeSetupFile();
    }

    frmMain& startIdle() {
        frmMain& w = start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.folderPane().currentFolder() == empty; }, 10000));
        waitForIdle(w);
        return w;
    }

    // Waits until the timer and the listing are done.
    static bool waitForIdle(frmMain& w) {
        return QTest::qWaitFor(
            [&] {
                return !w.folderPane().listingTimer()->isActive() &&
                       !w.folderPane().listing()->isRunning();
            },
            30000);
    }

    static void choose(frmMain& w, const QString& path) {
        ASSERT_TRUE(w.folderPane().tree()->setSelectedFolder(path));
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.folderPane().currentFolder() == path; }, 10000));
    }

    static QStringList rowTexts(const frmMain& w) {
        QStringList out;
        for (int r = 1; r <= w.folderPane().list()->Count(); ++r)
            out << w.folderPane().list()->Text(r);
        return out;
    }

    static QImage shownPicture(const frmMain& w, int row) {
        QTreeView* view = w.folderPane().list()->reportView();
        const QVariant data =
            view->model()->data(view->model()->index(row - 1, 0), Qt::DecorationRole);
        return data.value<QPixmap>().toImage();
    }

    QString empty, mixed, photos;
};

} // namespace

TEST_F(FolderListTest, ChoosingAFolderListsItInBothViews) {
    frmMain& w = startIdle();
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    EXPECT_EQ(rowTexts(w), QStringList({"a.jpg", "B.JPG", "c.tiff", "e.bmp", "x.pcx"}));
    EXPECT_EQ(w.sbMain->Panel("folder")->Text(), "Current Folder - " + mixed);
    EXPECT_EQ(w.folderPane().list()->SubItem(3, 3), "3");
    EXPECT_EQ(w.folderPane().list()->Tag(1), QDir(mixed).filePath("a.jpg"));
    EXPECT_EQ(w.folderPane().thumbnails()->Count(), 5);
    EXPECT_EQ(w.folderPane().list()->reportView()->iconSize(),
              QSize(ThumbnailWidth, ThumbnailHeight));
    EXPECT_EQ(shownPicture(w, 1).size(), QSize(ThumbnailWidth, ThumbnailHeight));
    EXPECT_FALSE(w.basketPane().bar()->isVisible());
    EXPECT_FALSE(w.folderPane().listingAborted());
    EXPECT_TRUE(QDir(AppPaths::tempPageFolder()).exists());

    w.folderPane().detailButton()->click();
    EXPECT_EQ(picbasket::Setup.FolderList.ViewMode, 3);
    // Details view without a new listing: the resolution texts stay.
    EXPECT_EQ(w.folderPane().list()->SubItem(1, 1), "64 x 48");
    EXPECT_EQ(w.folderPane().list()->reportView()->iconSize(), QSize(16, 16));
    for (int r = 1; r <= w.folderPane().list()->Count(); ++r)
        EXPECT_EQ(shownPicture(w, r),
                  QPixmap::fromImage(w.folderPane().detailIcons()->Image(1)).toImage())
            << "every details row shows the generic icon";

    choose(w, empty);
    ASSERT_TRUE(waitForIdle(w));
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    EXPECT_EQ(rowTexts(w), QStringList({"a.jpg", "B.JPG", "c.tiff", "d.tif", "e.bmp", "x.pcx"}));
    EXPECT_EQ(w.folderPane().list()->SubItem(1, 1), "64 X 48 X 24");
    EXPECT_EQ(w.folderPane().list()->SubItem(4, 1), QString());
    EXPECT_EQ(w.folderPane().list()->SubItem(6, 1), QString());
    EXPECT_FALSE(shownPicture(w, 4).isNull());
    EXPECT_EQ(w.folderPane().thumbnails()->Count(), 0);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(FolderListTest, TwoChoicesWithinTheDelayGiveOneListing) {
    frmMain& w = startIdle();
    QSignalSpy due(&w.folderPane(), &FolderPane::ShowFilesDue);
    choose(w, photos);
    QTest::qWait(50);
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    ASSERT_EQ(due.count(), 1);
    EXPECT_EQ(due.at(0).at(0).toString(), mixed);
    EXPECT_EQ(rowTexts(w).size(), 5);
}

TEST_F(FolderListTest, AChoiceDuringAListingLeavesNoRowOfTheOldFolder) {
    frmMain& w = startIdle();
    choose(w, photos);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.folderPane().list()->Count() >= 2; }, 20000));
    EXPECT_TRUE(w.basketPane().bar()->isVisible());
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    for (int r = 1; r <= w.folderPane().list()->Count(); ++r)
        EXPECT_TRUE(w.folderPane().list()->Tag(r).startsWith(mixed + "/"))
            << w.folderPane().list()->Tag(r).toStdString();
    EXPECT_EQ(w.folderPane().list()->Count(), 5);
    EXPECT_FALSE(w.folderPane().listingAborted());
}

TEST_F(FolderListTest, PressingTheBarStopsTheListing) {
    frmMain& w = startIdle();
    choose(w, photos);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.folderPane().list()->Count() >= 2; }, 20000));
    QTest::mousePress(w.basketPane().bar(), Qt::LeftButton);
    ASSERT_TRUE(waitForIdle(w));
    const int listed = w.folderPane().list()->Count();
    EXPECT_LT(listed, 40);
    QTest::qWait(100);
    EXPECT_EQ(w.folderPane().list()->Count(), listed) << "rows listed so far stay, none follow";
    EXPECT_FALSE(w.basketPane().bar()->isVisible());
    EXPECT_FALSE(w.folderPane().listingAborted())
        << "a later loop honouring the flag must not stop";
}

TEST_F(FolderListTest, AnEmptyFolderShowsItsPanelTextOnly) {
    frmMain& w = startIdle();
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    choose(w, empty);
    EXPECT_TRUE(w.folderPane().listingAborted());
    ASSERT_TRUE(waitForIdle(w));
    EXPECT_EQ(w.folderPane().list()->Count(), 0);
    EXPECT_EQ(w.folderPane().thumbnails()->Count(), 0);
    EXPECT_EQ(w.sbMain->Panel("folder")->Text(), "Current Folder - " + empty);
    EXPECT_FALSE(w.basketPane().bar()->isVisible());
    EXPECT_FALSE(w.folderPane().listingAborted());
    w.folderPane().subShowFilesInFolder(QString());
    EXPECT_EQ(w.sbMain->Panel("folder")->Text(), "Current Folder - " + empty);
}

TEST_F(FolderListTest, SortedRowsKeepTheirOwnThumbnailsAcrossViews) {
    frmMain& w = startIdle();
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    const int generation = w.folderPane().listing()->generation();
    w.folderPane().list()->Sort(1, false);
    w.folderPane().detailButton()->click();
    w.folderPane().thumbnailButton()->click();
    EXPECT_FALSE(w.folderPane().listing()->isRunning()) << "thumbnails were still there";
    EXPECT_EQ(w.folderPane().listing()->generation(), generation);
    ASSERT_EQ(w.folderPane().list()->Count(), 5);
    EXPECT_EQ(w.folderPane().list()->Text(1), "x.pcx");
    for (int r = 1; r <= w.folderPane().list()->Count(); ++r) {
        int32_t width = 0, height = 0;
        const QImage own = LoadPic(w.folderPane().list()->Tag(r), sizemode::Box, ThumbnailWidth,
                                   ThumbnailHeight, 0xFFFFFF, width, height);
        EXPECT_EQ(shownPicture(w, r), QPixmap::fromImage(own).toImage())
            << w.folderPane().list()->Text(r).toStdString();
    }

    // After a details listing the thumbnails are made again.
    w.folderPane().detailButton()->click();
    choose(w, empty);
    ASSERT_TRUE(waitForIdle(w));
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    EXPECT_EQ(w.folderPane().thumbnails()->Count(), 0);
    w.folderPane().thumbnailButton()->click();
    ASSERT_TRUE(waitForIdle(w));
    EXPECT_EQ(picbasket::Setup.FolderList.ViewMode, 0);
    EXPECT_EQ(w.folderPane().thumbnails()->Count(), 5);
    EXPECT_EQ(w.folderPane().list()->Count(), 5);
}

TEST_F(FolderListTest, ClicksKeysAndTheContextMenu) {
    frmMain& w = startIdle();
    EXPECT_TRUE(w.fileListFocus().FolderListDropped) << "set at start-up";
    choose(w, mixed);
    ASSERT_TRUE(waitForIdle(w));
    QTreeView* view = w.folderPane().list()->reportView();
    const QPoint second = view->visualRect(view->model()->index(1, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second);
    EXPECT_EQ(w.fileListFocus().SelectedRowCount, 1);
    EXPECT_FALSE(w.fileListFocus().FolderListDropped);
    EXPECT_EQ(w.folderPane().list()->SelectedItem(), 2);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QDir(mixed).filePath("a.jpg"))});
    QDropEvent drop(QPointF(second), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // A drop is delivered only to the target its drag entered.
    QDragEnterEvent enter(second, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QApplication::sendEvent(view->viewport(), &drop);
    EXPECT_TRUE(w.fileListFocus().FolderListDropped) << "a drop on the list stops previews";
    const QPoint third = view->visualRect(view->model()->index(2, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, third);
    EXPECT_EQ(w.fileListFocus().SelectedRowCount, 2);
    EXPECT_TRUE(w.fileListFocus().FolderListDropped) << "two rows selected keep the drop state";

    w.folderPane().lvFolder_KeyPress(1);
    EXPECT_EQ(w.folderPane().list()->SelectedCount(), 5);

    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(view, &in);
    EXPECT_EQ(w.fileListFocus().ActiveFileList, "lvFolder");

    ASSERT_EQ(w.folderPane().contextMenu()->actions().size(), 1);
    EXPECT_EQ(w.folderPane().contextMenu()->actions().at(0)->text(), "Add to basket");
    QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, second);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return w.folderPane().contextMenu()->isVisible(); }, 2000));
    w.folderPane().contextMenu()->hide();
    EXPECT_TRUE(errors.reports().empty());
}
