#include "browser/BasketAdder.h"
#include "browser/FolderListing.h"
#include "browser/modBasketList.h"
#include "core/setup/modSetup.h"
#include "engine/batch/BasketRows.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/browser/BasketFixture.h"
#include "tests/ui/browser/FolderFixture.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

// The main window listing a folder with a.jpg, the three-page scan.tif and x.pcx.
class BasketTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        files = folder.file("files");
        QDir().mkpath(files);
        test::splitPicture(64, 48, Qt::red, Qt::blue).save(QDir(files).filePath("a.jpg"), "JPEG");
        ASSERT_TRUE(test::writeScanTiff(QDir(files).filePath("scan.tif")));
        ImageBox box;
        box.setImage(test::splitPicture(16, 12, Qt::gray, Qt::white));
        box.SaveToFile(QDir(files).filePath("x.pcx"));
        picbasket::Setup.LastFolder = files;
        writeSetupFile();
    }

    frmMain& startListed() {
        frmMain& w = start();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return w.folderPane().currentFolder() == files &&
                       !w.folderPane().listingTimer()->isActive() &&
                       !w.folderPane().listing()->isRunning() &&
                       w.folderPane().list()->Count() == 3;
            },
            20000));
        return w;
    }

    static void select(frmMain& w, const QStringList& names) {
        for (int r = 1; r <= w.folderPane().list()->Count(); ++r)
            w.folderPane().list()->setSelected(r,
                                                 names.contains(w.folderPane().list()->Text(r)));
    }

    static QStringList basket(const frmMain& w) {
        QStringList out;
        for (int r = 1; r <= w.basketPane().list()->Count(); ++r)
            out << w.basketPane().list()->Text(r);
        return out;
    }

    // Rows of `source` dropped on a basket row (0: below the last row).
    static void drop(frmMain& w, const QString& source, int row) {
        QTreeView* view = w.basketPane().list()->reportView();
        const QPoint at = row ? view->visualRect(view->model()->index(row - 1, 0)).center()
                              : QPoint(5, view->viewport()->height() - 3);
        QMimeData data;
        data.setData(ListView::RowsMimeType, source.toUtf8());
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &dropped);
    }

    QString path(const QString& name) const { return QDir(files).filePath(name); }

    QString files;
};

} // namespace

// The page files are exact whatever the preview's save options, and the preview
// keeps its picture and file.
TEST_F(BasketTest, TheAddCommandSplitsWithoutTouchingThePreview) {
    frmMain& w = startListed();
    const QImage shown = test::splitPicture(30, 20, Qt::yellow, Qt::black);
    w.previewPane().box()->box().setImage(shown);
    w.previewPane().box()->box().setTiffCompression(2);
    w.previewPane().box()->box().setColorFormat(6);
    w.fileListFocus().PicTiffTag = path("a.jpg");
    select(w, {"a.jpg", "scan.tif"});
    w.folderPane().addButton()->click();
    EXPECT_EQ(basket(w), QStringList({"a", "scan1", "scan2", "scan3"}));
    EXPECT_EQ(w.basketPane().thumbnails()->Count(), 4);
    EXPECT_EQ(w.basketPane().list()->SmallIconKey(4), "4");
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 4), path("a.jpg"));
    for (int r = 2; r <= 4; ++r) {
        EXPECT_EQ(w.basketPane().list()->SubItem(r, 4), path("scan.tif"));
        EXPECT_TRUE(w.basketPane().list()->Tag(r).startsWith(AppPaths::tempPageFolder()));
        ImageBox source, page;
        source.setPageIndex(r - 1);
        source.LoadFromFile(path("scan.tif"));
        page.LoadFromFile(w.basketPane().list()->Tag(r));
        EXPECT_EQ(page.image().format(), source.image().format()) << r;
        EXPECT_EQ(page.image(), source.image()) << r;
    }
    EXPECT_EQ(w.previewPane().box()->box().image(), shown);
    EXPECT_EQ(w.fileListFocus().PicTiffTag, path("a.jpg"));
    EXPECT_EQ(w.sbMain->Panel("queue")->Text(), "4 file(s) in basket");
    EXPECT_EQ(w.sbMain->Panel("folder")->Text(), files);
    EXPECT_FALSE(w.folderPane().addBar()->isVisible());
    EXPECT_EQ(w.basketPane().list()->SelectedCount(), 0);

    // Again: the file and the split file are in, nothing is added.
    w.folderPane().addButton()->click();
    EXPECT_EQ(w.basketPane().list()->Count(), 4);
    // No folder row selected: only the basket rows are deselected.
    w.basketPane().list()->setSelected(2, true);
    select(w, {});
    w.folderPane().addButton()->click();
    EXPECT_EQ(w.basketPane().list()->Count(), 4);
    EXPECT_EQ(w.basketPane().list()->SelectedCount(), 0);

    const auto rows = fncBasketRowsOf(*w.basketPane().list());
    ASSERT_EQ(rows->count(), 4);
    EXPECT_EQ(rows->row(3).Text, "scan3");
    EXPECT_EQ(rows->row(3).SubItem(4), path("scan.tif"));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(BasketTest, ADetailsListingGetsTheMeasuredResolutionOfAPcx) {
    frmMain& w = startListed();
    w.folderPane().detailButton()->click();
    w.folderPane().subShowFilesInFolder(files);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.folderPane().listing()->isRunning(); }, 20000));
    select(w, {"x.pcx"});
    const int pcx = w.folderPane().list()->SelectedRows().front();
    EXPECT_EQ(w.folderPane().list()->SubItem(pcx, 1), QString());
    w.folderPane().lvFolder_DblClick();
    ASSERT_EQ(basket(w), QStringList({"x"}));
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 1), "16 X 12");
    EXPECT_EQ(w.folderPane().list()->SubItem(pcx, 1), "16 X 12");
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 3), w.folderPane().list()->SubItem(pcx, 4))
        << "the type column";
}

TEST_F(BasketTest, DroppedFolderRowsAreAddedAndBasketRowsMoved) {
    frmMain& w = startListed();
    select(w, {"scan.tif", "x.pcx"});
    w.fileListFocus().FolderListDropped = false;
    drop(w, "lvFolder", 0);
    EXPECT_TRUE(w.fileListFocus().FolderListDropped);
    EXPECT_EQ(w.basketPane().list()->Count(), 0) << "the add waits for the drag to end";
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.basketPane().list()->Count() == 4; }, 20000));
    EXPECT_EQ(basket(w), QStringList({"scan(1)", "scan(2)", "scan(3)", "x"}));
    EXPECT_EQ(w.basketPane().list()->SelectedRows(), std::vector<int>({3, 4}));
    EXPECT_EQ(w.sbMain->Panel("folder")->Text(), QString());
    EXPECT_EQ(w.sbMain->Panel("queue")->Text(), "4 file(s) in basket");
    EXPECT_FALSE(w.basketPane().bar()->isVisible());

    // A drag of basket rows highlights its target; the drop moves them there.
    w.basketPane().list()->setSelectedItem(1);
    QTreeView* view = w.basketPane().list()->reportView();
    QMimeData rows;
    rows.setData(ListView::RowsMimeType, "lvPages");
    const QPoint third = view->visualRect(view->model()->index(2, 0)).center();
    QDragEnterEvent enter(third, Qt::CopyAction | Qt::MoveAction, &rows, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent over(third, Qt::CopyAction | Qt::MoveAction, &rows, Qt::LeftButton,
                        Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &over);
    EXPECT_EQ(w.basketPane().list()->DropHighlight(), 3);
    drop(w, "lvPages", 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.basketPane().list()->Text(1) == "scan(2)"; }, 5000));
    EXPECT_EQ(basket(w), QStringList({"scan(2)", "scan(3)", "scan(1)", "x"}));
    EXPECT_EQ(w.basketPane().list()->DropHighlight(), 0);
    EXPECT_EQ(w.basketPane().list()->SmallIconKey(3), "1") << "the row keeps its thumbnail";

    // Rows of any other list do nothing.
    drop(w, "lvEdit", 1);
    QTest::qWait(50);
    EXPECT_EQ(basket(w), QStringList({"scan(2)", "scan(3)", "scan(1)", "x"}));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(BasketTest, ColumnClicksSortTheBasketAndLaterRowsLandInPlace) {
    frmMain& w = startListed();
    select(w, {"scan.tif", "x.pcx"});
    w.folderPane().addButton()->click();
    ASSERT_EQ(w.basketPane().list()->Count(), 4);
    w.basketPane().lvPages_ColumnClick(1);
    EXPECT_EQ(basket(w), QStringList({"scan1", "scan2", "scan3", "x"}));
    w.basketPane().lvPages_ColumnClick(1);
    EXPECT_EQ(basket(w), QStringList({"x", "scan3", "scan2", "scan1"}));
    select(w, {"a.jpg"});
    w.folderPane().addButton()->click();
    EXPECT_EQ(basket(w), QStringList({"x", "scan3", "scan2", "scan1", "a"}));
    w.folderPane().lvFolder_ColumnClick(1);
    w.folderPane().lvFolder_ColumnClick(1);
    EXPECT_EQ(w.folderPane().list()->Text(1), "x.pcx") << "the folder list sorts the same way";
}

// Files the add cannot read are not dropped without a word: after the add one message
// names each with its reason, and every readable file and page is in the basket.
TEST_F(BasketTest, FilesThatCannotBeAddedAreNamedInOneMessage) {
    QFile bad(path("bad.jpg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\xff\xd8\xff\xe0garbage", 11));
    bad.close();
    QFile cut(path("cut.png"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write("\x89PNG\r\n\x1a\n broken");
    cut.close();
    // The details view lists every file; the thumbnails view leaves out what gives none.
    picbasket::Setup.FolderList.ViewMode = 3;
    writeSetupFile();
    frmMain& w = start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return w.folderPane().currentFolder() == files &&
                   !w.folderPane().listingTimer()->isActive() &&
                   !w.folderPane().listing()->isRunning() &&
                   w.folderPane().list()->Count() == 5;
        },
        20000))
        << w.folderPane().list()->Count();
    for (int r = 1; r <= w.folderPane().list()->Count(); ++r)
        w.folderPane().list()->setSelected(r, true);
    w.folderPane().addButton()->click();
    QStringList rows = basket(w);
    rows.sort();
    EXPECT_EQ(rows, QStringList({"a", "scan1", "scan2", "scan3", "x"}));
    ASSERT_EQ(messages.shown().size(), 1u);
    const QStringList lines = messages.shown()[0].text.split("\r\n");
    ASSERT_EQ(lines.size(), 3) << messages.shown()[0].text.toStdString();
    EXPECT_EQ(lines[0], "These files were not added to the basket:");
    QStringList named = lines.mid(1);
    named.sort();
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(named[i].startsWith(path(i == 0 ? "bad.jpg" : "cut.png") + ": "))
            << named[i].toStdString();
        EXPECT_TRUE(named[i].contains("damaged")) << named[i].toStdString();
    }
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_EQ(w.sbMain->Panel("queue")->Text(), "5 file(s) in basket");
}
