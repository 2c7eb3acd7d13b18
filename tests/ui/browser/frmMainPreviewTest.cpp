#include "browser/FolderListing.h"
#include "browser/SelectionController.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/splitter/Splitter.h"
#include "core/setup/modSetup.h"
#include "platform/print/PrintBackend.h"
#include "editing/EditImageData.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/platform/metadata/CameraFixtures.h"
#include "tests/ui/browser/FolderFixture.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <iterator>

using namespace picbasket;
using picbasket::test::MainWindowTest;
using picbasket::test::splitPicture;

namespace {

// The main window over an empty folder, with a folder of pictures to preview whose
// rows the tests put into the lists themselves.
class PreviewTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        empty = folder.file("empty");
        pictures = folder.file("pictures");
        QDir().mkpath(empty);
        QDir().mkpath(pictures);
        picbasket::Setup.LastFolder = empty;
        picbasket::Setup.Preview.Fit = 0;
        picbasket::Setup.Preview.Type = 0;
        writeSetupFile();
    }

    QString file(const QString& name) const { return QDir(pictures).filePath(name); }

    // A JPEG with an IPTC caption and no EXIF.
    QString jpegWithIptc(const QString& name, int w, int h) {
        ImageBox box;
        box.setImage(splitPicture(w, h, Qt::red, Qt::blue));
        box.setIptcCaption(QStringLiteral("a caption"));
        box.SaveToFile(file(name));
        return file(name);
    }
    QString png(const QString& name, int w, int h, QColor colour = Qt::green) {
        splitPicture(w, h, colour, Qt::black).save(file(name), "PNG");
        return file(name);
    }
    QString psd(const QString& name) {
        ImageBox box;
        box.setImage(splitPicture(30, 20, Qt::cyan, Qt::black));
        box.SaveToFile(file(name));
        return file(name);
    }
    // Three pages of different sizes and colours.
    QString threePageTiff(const QString& name) {
        ImageBox box;
        const QColor colours[] = {Qt::yellow, Qt::darkRed, Qt::darkGreen};
        for (int page = 0; page < 3; ++page) {
            box.setImage(splitPicture(20 + page * 10, 10 + page * 10, colours[page], Qt::white));
            box.AppendPageTiff(file(name));
        }
        return file(name);
    }
    QString damaged(const QString& name) {
        test::writeBytes(file(name), QByteArray("\xff\xd8\xff\xe0garbage", 11));
        return file(name);
    }

    frmMain& startWindow() {
        frmMain& w = start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.folderPane().currentFolder() == empty; }, 10000));
        return w;
    }

    // A folder row as the listing makes it: resolution, size, pages.
    static int addFolderRow(frmMain& w, const QString& path, const QString& pages = "1") {
        const int row = w.folderPane().list()->AddItem(QFileInfo(path).fileName());
        w.folderPane().list()->setTag(row, path);
        w.folderPane().list()->setSubItem(row, 1, "0 X 0 X 0");
        w.folderPane().list()->setSubItem(row, 2, "1 KB");
        w.folderPane().list()->setSubItem(row, 3, pages);
        return row;
    }
    // A basket row: resolution, size, type, source path.
    static int addBasketRow(frmMain& w, const QString& path, const QString& resolution) {
        const int row = w.basketPane().list()->AddItem(QFileInfo(path).baseName());
        w.basketPane().list()->setTag(row, path);
        w.basketPane().list()->setSubItem(row, 1, resolution);
        w.basketPane().list()->setSubItem(row, 2, "2 KB");
        w.basketPane().list()->setSubItem(row, 3, "Picture");
        w.basketPane().list()->setSubItem(row, 4, path);
        return row;
    }

    // The user clicks a folder row.
    static void clickFolderRow(frmMain& w, int row) {
        for (int r = 1; r <= w.folderPane().list()->Count(); ++r)
            w.folderPane().list()->setSelected(r, false);
        w.folderPane().list()->setSelectedItem(row);
        w.folderPane().list()->setSelected(row, true);
        w.folderPane().lvFolder_ItemClick(row);
        w.folderPane().lvFolder_MouseUp(1, 0, 0, 0);
    }

    static QString panel(const frmMain& w, const char* key) {
        return w.sbMain->Panel(QString::fromLatin1(key))->Text();
    }
    static bool metadataPaneShown(const frmMain& w) {
        return w.splView->LeftOrTopControl() != nullptr;
    }
    static QImage shown(const frmMain& w) {
        return w.previewPane().box()->box().image().convertToFormat(QImage::Format_RGB888);
    }
    static QImage pixelsOf(const QString& path) {
        ImageBox box;
        box.LoadFromFile(path);
        return box.image().convertToFormat(QImage::Format_RGB888);
    }

    QString empty, pictures;
};

} // namespace

TEST_F(PreviewTest, EachKindShowsItsMetadataPaneTabAndPanel) {
    struct Case {
        QString path;
        bool pane;
        int tab;
        QString metadata;
    };
    const std::vector<Case> cases{
        {jpegWithIptc("a.jpg", 64, 48), true, 1, "Metadata -  IPTC"},
        {png("b.png", 30, 20), false, 0, "No metadata"},
        // A TIFF's own directory tags are listed as EXIF.
        {threePageTiff("c.tif"), true, 1, "Metadata - EXIF"},
        {psd("d.psd"), true, 2, "No metadata"},
        {png("e.png", 10, 10), false, 0, "No metadata"},
    };
    frmMain& w = startWindow();
    for (const Case& c : cases)
        addFolderRow(w, c.path);
    for (int row = 1; row <= int(cases.size()); ++row) {
        const Case& c = cases[size_t(row - 1)];
        SCOPED_TRACE(c.path.toStdString());
        clickFolderRow(w, row);
        EXPECT_EQ(w.fileListFocus().PicTiffTag, c.path);
        EXPECT_EQ(w.previewPane().box()->box().Tag(), c.path);
        EXPECT_TRUE(w.previewPane().box()->box().HasImage());
        EXPECT_TRUE(w.previewPane().box()->isVisible());
        EXPECT_EQ(metadataPaneShown(w), c.pane);
        if (c.tab)
            EXPECT_EQ(w.metadataPane().tabs()->SelectedItem(), c.tab);
        EXPECT_EQ(w.metadataPane().tabs()->TabEnabled(1), c.tab != 2)
            << "a PSD has no EXIF to show";
        EXPECT_EQ(panel(w, "metadata"), c.metadata);
        EXPECT_EQ(panel(w, "filename"), QFileInfo(c.path).fileName());
    }
    EXPECT_TRUE(errors.reports().empty());
}

// "Save Preview As" into the folder the list shows lists the new file with the others;
// a file saved elsewhere starts no listing.
TEST_F(PreviewTest, ASavedPreviewIsListedOnlyWhenItLandsInTheListedFolder) {
    frmMain& w = startWindow();
    clickFolderRow(w, addFolderRow(w, png("b.png", 30, 20)));
    ASSERT_EQ(w.fileListFocus().PicTiffTag, file("b.png"));
    const auto idle = [&] {
        return QTest::qWaitFor(
            [&] {
                return !w.folderPane().listingTimer()->isActive() &&
                       !w.folderPane().listing()->isRunning();
            },
            30000);
    };
    ASSERT_TRUE(idle());
    FakeDialogBackend dialogs;

    dialogs.chooseFile(file("elsewhere.png"));
    w.previewPane().mnuSavePreviewAs_Click(0);
    ASSERT_TRUE(QFileInfo::exists(file("elsewhere.png")));
    EXPECT_FALSE(w.folderPane().listingTimer()->isActive()) << "not the listed folder";

    const QString listed = QDir(empty).filePath("saved.png");
    dialogs.chooseFile(listed);
    w.previewPane().mnuSavePreviewAs_Click(0);
    ASSERT_TRUE(QFileInfo::exists(listed));
    EXPECT_TRUE(w.folderPane().listingTimer()->isActive());
    ASSERT_TRUE(idle());
    ListView* list = w.folderPane().list();
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(QFileInfo(list->Tag(1)), QFileInfo(listed));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(PreviewTest, LoadFillsPanelsResolutionAndTheOriginalCopy) {
    const QString tif = threePageTiff("pages.tif");
    frmMain& w = startWindow();
    const int row = addFolderRow(w, tif, "3");
    clickFolderRow(w, row);
    EXPECT_EQ(w.previewPane().box()->box().ImageWidth(), 20) << "the first page is shown";
    EXPECT_EQ(w.previewPane().box()->box().ImageHeight(), 10);
    EXPECT_EQ(w.folderPane().list()->SubItem(row, 1), "20 X 10 X 24");
    EXPECT_EQ(panel(w, "pages"), "3 page(s)");
    EXPECT_EQ(panel(w, "resolution"), "20 X 10 X 24     1 KB");
    ImageBox copy;
    copy.setImage(OriginalImageData);
    EXPECT_EQ(copy.image().convertToFormat(QImage::Format_RGB888), shown(w));
}

TEST_F(PreviewTest, TheRowAlreadyShownIsNotLoadedAgain) {
    const QString a = png("a.png", 40, 30);
    frmMain& w = startWindow();
    const int row = addFolderRow(w, a);
    clickFolderRow(w, row);
    const QImage stand = splitPicture(5, 5, Qt::white, Qt::white);
    w.previewPane().box()->box().setImage(stand);
    w.metadataPane().exifList()->AddItem("kept");
    clickFolderRow(w, row);
    EXPECT_EQ(w.previewPane().box()->box().image().size(), stand.size());
    EXPECT_EQ(w.metadataPane().exifList()->Count(), 1);
}

// A file that cannot be shown (damaged, not an image, gone) leaves nothing shown: the
// status names it and says why, the metadata lists are empty, and the row shown
// before loads again.
TEST_F(PreviewTest, AFailedLoadShowsNothingAndTheRowShownBeforeLoadsAgain) {
    const QString good = jpegWithIptc("good.jpg", 40, 30);
    const QString bad = damaged("bad.jpg");
    const QString badPng = file("bad.png");
    test::writeBytes(badPng, "\x89PNG\r\n\x1a\n broken");
    const QString text = file("notes.tga");
    test::writeBytes(text, "just some words, no picture");
    const QString gone = png("gone.png", 10, 10);
    frmMain& w = startWindow();
    addFolderRow(w, good);
    addFolderRow(w, bad);
    addFolderRow(w, badPng);
    addFolderRow(w, text);
    addFolderRow(w, gone);
    ASSERT_TRUE(QFile::remove(gone));
    const struct {
        int row;
        QString name;
        QString reason; // empty: any reason but the generic one
    } cases[] = {
        {2, "bad.jpg", {}},
        {3, "bad.png", {}},
        {4, "notes.tga", "Its content is no image format this program reads."},
        {5, "gone.png", "The file no longer exists."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        clickFolderRow(w, 1);
        ASSERT_EQ(w.fileListFocus().PicTiffTag, good);
        ASSERT_GT(w.metadataPane().iptcList()->Count(), 0);
        clickFolderRow(w, c.row);
        EXPECT_FALSE(w.previewPane().box()->box().HasImage());
        EXPECT_TRUE(w.fileListFocus().PicTiffTag.isEmpty());
        EXPECT_TRUE(w.previewPane().box()->box().Tag().isEmpty());
        EXPECT_FALSE(w.previewPane().box()->isVisible());
        const QString status = panel(w, "filename");
        const QString head = "\"" + c.name + "\" could not be read: ";
        EXPECT_TRUE(status.startsWith(head)) << status.toStdString();
        if (!c.reason.isEmpty())
            EXPECT_EQ(status, head + c.reason);
        else
            EXPECT_TRUE(status.contains("damaged")) << status.toStdString();
        EXPECT_EQ(w.metadataPane().exifList()->Count(), 0);
        EXPECT_EQ(w.metadataPane().iptcList()->Count(), 0);
        EXPECT_EQ(panel(w, "metadata"), "No metadata");
        clickFolderRow(w, 1);
        EXPECT_EQ(w.fileListFocus().PicTiffTag, good);
        EXPECT_EQ(shown(w), pixelsOf(good));
        EXPECT_EQ(panel(w, "metadata"), "Metadata -  IPTC");
    }
    EXPECT_TRUE(errors.reports().empty()) << "a damaged file is no error report";
}

TEST_F(PreviewTest, BasketRowsFillThePanelsFromTheirOwnRow) {
    const QString a = png("a.png", 40, 30);
    const QString b = png("b.png", 50, 20, Qt::red);
    frmMain& w = startWindow();
    addFolderRow(w, b, "7");
    w.folderPane().list()->setSelectedItem(1);
    addBasketRow(w, a, "40 X 30");
    addBasketRow(w, b, "50 X 20");
    w.fileListFocus().ActiveFileList = "lvPages";
    w.previewPane().subShowSelectedFile(w.basketPane().list(), 1);
    EXPECT_EQ(w.fileListFocus().PicTiffTag, a);
    EXPECT_EQ(panel(w, "pages"), "1 page(s)");
    EXPECT_EQ(panel(w, "resolution"), "40 X 30     2 KB");
    w.basketPane().list()->setSelectedItem(1);
    w.previewPane().cmdPreviewNext_Click();
    EXPECT_EQ(w.fileListFocus().PicTiffTag, b);
    EXPECT_EQ(w.basketPane().list()->SelectedItem(), 2);
    EXPECT_EQ(panel(w, "resolution"), "50 X 20     2 KB");

    // A click on a basket row previews it, unless several rows are selected.
    w.basketPane().list()->setSelectedItem(1);
    w.basketPane().lvPages_ItemClick(1);
    w.basketPane().lvPages_MouseUp(1, 0, 0, 0);
    EXPECT_EQ(w.fileListFocus().PicTiffTag, a);
    w.basketPane().list()->setSelectedItem(2);
    w.basketPane().list()->setSelected(1, true);
    w.basketPane().lvPages_ItemClick(2);
    w.basketPane().lvPages_MouseUp(1, 0, 0, 0);
    EXPECT_EQ(w.fileListFocus().PicTiffTag, a);
}

TEST_F(PreviewTest, PreviousAndNextStepAndStopAtTheEnds) {
    const QString paths[] = {png("1.png", 10, 10), png("2.png", 12, 10), png("3.png", 14, 10)};
    frmMain& w = startWindow();
    for (const QString& p : paths)
        addFolderRow(w, p);
    w.fileListFocus().ActiveFileList = "lvFolder";
    clickFolderRow(w, 1);
    w.previewPane().cmdPreviewPrevious_Click();
    EXPECT_EQ(w.fileListFocus().PicTiffTag, paths[0]);
    EXPECT_EQ(w.folderPane().list()->SelectedItem(), 1);
    w.previewPane().cmdPreviewNext_Click();
    w.previewPane().cmdPreviewNext_Click();
    EXPECT_EQ(w.fileListFocus().PicTiffTag, paths[2]);
    EXPECT_EQ(w.folderPane().list()->SelectedItem(), 3);
    EXPECT_EQ(w.folderPane().list()->SelectedCount(), 1);
    w.previewPane().cmdPreviewNext_Click();
    EXPECT_EQ(w.fileListFocus().PicTiffTag, paths[2]);
    EXPECT_EQ(w.folderPane().list()->SelectedItem(), 3);
    w.previewPane().cmdPreviewPrevious_Click();
    EXPECT_EQ(w.fileListFocus().PicTiffTag, paths[1]);

    // One row is not enough to step.
    w.folderPane().list()->Clear();
    addFolderRow(w, paths[0]);
    w.folderPane().list()->setSelectedItem(1);
    w.previewPane().cmdPreviewNext_Click();
    w.previewPane().cmdPreviewPrevious_Click();
    EXPECT_EQ(w.fileListFocus().PicTiffTag, paths[1]);
}

TEST_F(PreviewTest, ActualSizeScrollsAndBestFitCentresAgain) {
    const QString large = png("large.png", 1500, 1200);
    const QString small = png("small.png", 40, 30);
    frmMain& w = startWindow();
    addFolderRow(w, large);
    addFolderRow(w, small);
    clickFolderRow(w, 1);
    const QSize room = w.previewPane().imageHolder()->size();
    ASSERT_LT(room.width(), 1500);
    EXPECT_FALSE(w.previewPane().hScrollBar()->isEnabled());
    // The zoom panel shows the fitted zoom of the loaded image at once.
    EXPECT_EQ(w.sbMain->Panel("status")->Text(), fncZoomText(100.0 * w.previewPane().box()->width() / 1500));
    EXPECT_NE(w.sbMain->Panel("status")->Text(), "100%");
    EXPECT_LE(w.previewPane().box()->width(), room.width());

    w.previewPane().mnuPreviewFit_Click(1);
    EXPECT_TRUE(w.previewPane().fitButton()->text().endsWith(" Actual Size"));
    EXPECT_EQ(w.sbMain->Panel("status")->Text(), "100%");
    EXPECT_EQ(w.previewPane().box()->size(), QSize(1500, 1200));
    EXPECT_TRUE(w.previewPane().hScrollBar()->isEnabled());
    EXPECT_TRUE(w.previewPane().vScrollBar()->isEnabled());
    EXPECT_EQ(w.previewPane().hScrollBar()->maximum(), 1500 - room.width());
    EXPECT_EQ(w.previewPane().vScrollBar()->maximum(), 1200 - room.height());
    for (int v : {0, 37, w.previewPane().hScrollBar()->maximum()}) {
        w.previewPane().hScrollBar()->setValue(v);
        w.previewPane().vScrollBar()->setValue(v / 2);
        EXPECT_EQ(w.previewPane().box()->pos(), QPoint(-v, -(v / 2)));
    }

    // A small image at actual size, then Best Fit again: centred both times.
    clickFolderRow(w, 2);
    const QPoint centred((room.width() - 40) / 2, (room.height() - 30) / 2);
    EXPECT_EQ(w.previewPane().box()->geometry(), QRect(centred, QSize(40, 30)));
    w.previewPane().mnuPreviewFit_Click(0);
    EXPECT_EQ(w.previewPane().box()->geometry(), QRect(centred, QSize(40, 30)));
    EXPECT_EQ(w.previewPane().hScrollBar()->value(), 0);
    w.subResize();
    EXPECT_EQ(w.previewPane().box()->geometry(), QRect(centred, QSize(40, 30)));
}

TEST_F(PreviewTest, TheFitMenuChangesOnlyForTheOtherItem) {
    const QString large = png("large.png", 1500, 1200);
    frmMain& w = startWindow();
    addFolderRow(w, large);
    clickFolderRow(w, 1);
    QAction* bestFit = w.previewPane().fitMenu()->actions().at(0);
    QAction* actualSize = w.previewPane().fitMenu()->actions().at(1);
    const QSize fitted = w.previewPane().box()->size();

    // The checked item: nothing is fitted again, the check mark stays.
    w.previewPane().box()->resize(10, 10);
    bestFit->trigger();
    EXPECT_EQ(w.previewPane().box()->size(), QSize(10, 10));
    EXPECT_TRUE(bestFit->isChecked());
    EXPECT_EQ(w.previewPane().checkedPreviewFit(), 0);

    actualSize->trigger();
    EXPECT_TRUE(actualSize->isChecked());
    EXPECT_FALSE(bestFit->isChecked());
    EXPECT_EQ(w.previewPane().box()->size(), QSize(1500, 1200));
    bestFit->trigger();
    EXPECT_EQ(w.previewPane().checkedPreviewFit(), 0);
    EXPECT_EQ(w.previewPane().box()->size(), fitted);
    EXPECT_TRUE(w.previewPane().fitButton()->text().endsWith(" Best Fit"));
}

TEST_F(PreviewTest, MouseOnThePreviewDrawsTheRectangleAndAClearLeavesNoMarks) {
    const QString a = png("a.png", 200, 150);
    const QString b = png("b.png", 120, 90, Qt::red);
    frmMain& w = startWindow();
    addFolderRow(w, a);
    addFolderRow(w, b);
    w.previewPane().mnuPreviewFit_Click(1);
    clickFolderRow(w, 1);
    SelectionController& s = *w.previewPane().selection();
    s.PreviewMouseMode = SelectionController::WaitingForPress;
    s.PreviewToolMode = SelectionController::RectangleTool;
    emit w.previewPane().box()->MouseDown(1, 0, 10, 10);
    emit w.previewPane().box()->MouseMove(0, 60, 50);
    emit w.previewPane().box()->MouseUp(1, 0, 60, 50);
    const auto figures = w.previewPane().box()->box().OverlayFigures();
    EXPECT_EQ(figures.size(), 1u + 16u) << "the rectangle and eight grips";
    EXPECT_EQ(figures.front().rect, QRect(QPoint(10, 10), QPoint(60, 50)));
    EXPECT_EQ(figures.front().penStyle, 1);
    EXPECT_EQ(figures.back().penStyle, 0);
    EXPECT_TRUE(w.editView().taskOptionsChanged());

    // Another image comes in while the marks stand; the clear leaves none.
    w.previewPane().box()->box().setImage(pixelsOf(b));
    w.previewPane().subClearSelection();
    EXPECT_TRUE(w.previewPane().box()->box().OverlayFigures().empty());
    w.previewPane().box()->box().DrawRectangle(0, 0, 5, 5);
    EXPECT_EQ(w.previewPane().box()->box().OverlayFigures().size(), 1u);
    w.previewPane().subClearSelection();
    EXPECT_TRUE(w.previewPane().box()->box().OverlayFigures().empty());
    EXPECT_EQ(shown(w), pixelsOf(b));
    EXPECT_EQ(s.PreviewMouseMode, SelectionController::Idle);

    // Stepping clears the selection too.
    s.PreviewMouseMode = SelectionController::WaitingForPress;
    emit w.previewPane().box()->MouseDown(1, 0, 10, 10);
    emit w.previewPane().box()->MouseMove(0, 30, 30);
    w.fileListFocus().ActiveFileList = "lvFolder";
    w.previewPane().cmdPreviewNext_Click();
    EXPECT_EQ(w.fileListFocus().PicTiffTag, b);
    EXPECT_TRUE(w.previewPane().box()->box().OverlayFigures().empty());
    EXPECT_EQ(s.PreviewMouseMode, SelectionController::Idle);
}

TEST_F(PreviewTest, ColourPickReadsThePixelUnderThePointer) {
    const QString a = png("a.png", 100, 80);
    frmMain& w = startWindow();
    addFolderRow(w, a);
    w.previewPane().mnuPreviewFit_Click(1);
    clickFolderRow(w, 1);
    w.previewPane().selection()->PreviewToolMode = SelectionController::ColourPickTool;
    // splitPicture is green above the diagonal, black below it.
    emit w.previewPane().box()->MouseDown(1, 0, 90, 5);
    EXPECT_EQ(w.previewPane().box()->box().BackgroundColor(), 0x0000FF00u);
    emit w.previewPane().box()->MouseDown(1, 0, 5, 70);
    EXPECT_EQ(w.previewPane().box()->box().BackgroundColor(), 0u);
    emit w.previewPane().box()->MouseDown(1, 0, 5000, -40);
    EXPECT_EQ(w.previewPane().selection()->PickX, 99);
    EXPECT_EQ(w.previewPane().selection()->PickY, 0);
}

namespace {

// Photos large enough for the fitted preview to come from a reduced decode, each
// its own colours and an IPTC caption of its own name.
class FastPreviewTest : public PreviewTest {
protected:
    QString photo(const QString& name, QColor colour) {
        ImageBox box;
        box.setImage(splitPicture(3200, 2400, colour, Qt::black));
        box.setIptcCaption(name);
        box.SaveToFile(file(name));
        return file(name);
    }
    static QColor shownUpperRight(const frmMain& w) {
        const ImageBox& box = w.previewPane().box()->box();
        const QSize size(box.DisplayWidth(), box.DisplayHeight());
        const QImage& image = box.displayImage(size);
        return image.pixelColor(image.width() * 3 / 4, image.height() / 4);
    }
    static bool iptcListNames(const frmMain& w, const QString& name) {
        for (int row = 1; row <= w.metadataPane().iptcList()->Count(); ++row)
            if (w.metadataPane().iptcList()->Text(row) == name || w.metadataPane().iptcList()->SubItem(row, 1) == name)
                return true;
        return false;
    }
    static bool near(QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 &&
               std::abs(a.blue() - b.blue()) < 24;
    }
};

// A printer that keeps the pages it was given.
class KeepingPrinter : public PrintBackend {
public:
    bool beginJob(PrintSettings&, bool) override { return open = true; }
    bool jobOpen() const override { return open; }
    void printPage(const QImage& image, const PrintSettings&) override { pages << image; }
    void endJob() override { open = false; }
    bool open = false;
    QList<QImage> pages;
};

} // namespace

// Rows clicked faster than their photos decode (no event runs between the clicks):
// after every click the picture shown, the file name panel and the IPTC list are
// those of the same file, and the decodes left behind never replace it.
TEST_F(FastPreviewTest, QuickClicksNeverMixOnePhotoWithAnothersNameOrMetadata) {
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QStringList paths;
    for (int i = 0; i < 4; ++i)
        paths << photo(QStringLiteral("p%1.jpg").arg(i), colours[i]);
    frmMain& w = startWindow();
    for (const QString& path : paths)
        addFolderRow(w, path);
    const int order[] = {1, 2, 3, 4, 3, 1, 4, 2};
    for (int row : order) {
        const QString name = QFileInfo(paths[row - 1]).fileName();
        SCOPED_TRACE(name.toStdString());
        clickFolderRow(w, row);
        EXPECT_TRUE(w.previewPane().box()->box().LoadPending()) << "the click did not wait for the decode";
        EXPECT_TRUE(near(shownUpperRight(w), colours[row - 1]));
        EXPECT_EQ(panel(w, "filename"), name);
        EXPECT_EQ(w.metadataPane().iptcList()->Tag(), paths[row - 1]);
        EXPECT_TRUE(iptcListNames(w, name));
    }
    const QString last = paths[order[std::size(order) - 1] - 1];
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.previewPane().box()->box().LoadPending(); }, 20000));
    QTest::qWait(50);
    EXPECT_EQ(shown(w), pixelsOf(last));
    EXPECT_EQ(OriginalImageData.convertToFormat(QImage::Format_RGB888), pixelsOf(last));
    EXPECT_EQ(panel(w, "filename"), QFileInfo(last).fileName());
    EXPECT_TRUE(errors.reports().empty());
}

// A photo stored on its side (EXIF Orientation 6, turned 90 degrees clockwise) is
// upright in the reduced picture shown at once, in the full image that follows and
// in the size the box reports meanwhile.
TEST_F(FastPreviewTest, APhotoStoredOnItsSideIsShownAndLoadedUpright) {
    const QImage stored = test::quadrantPicture(3200, 2400);
    test::CameraExif exif;
    exif.orientation = 6;
    const QString path = file(QStringLiteral("side.jpg"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(test::jpegWithBlocks(stored, test::cameraExif(exif)));
    out.close();
    const QImage upright = stored.transformed(QTransform().rotate(90));
    frmMain& w = startWindow();
    clickFolderRow(w, addFolderRow(w, path));
    ImageBox& box = w.previewPane().box()->box();
    EXPECT_TRUE(box.LoadPending());
    EXPECT_EQ(QSize(box.ImageWidth(), box.ImageHeight()), upright.size());
    const auto sameQuadrants = [&](const QImage& image) {
        for (const QPointF at : {QPointF(0.25, 0.25), QPointF(0.75, 0.25), QPointF(0.25, 0.75),
                                 QPointF(0.75, 0.75)}) {
            const QColor got = image.pixelColor(int(at.x() * image.width()), int(at.y() * image.height()));
            const QColor want =
                upright.pixelColor(int(at.x() * upright.width()), int(at.y() * upright.height()));
            EXPECT_TRUE(near(got, want)) << at.x() << "," << at.y();
        }
    };
    const QImage view = box.displayImage(QSize(box.DisplayWidth(), box.DisplayHeight()));
    EXPECT_LT(view.width(), view.height());
    sameQuadrants(view);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box.LoadPending(); }, 20000));
    EXPECT_EQ(box.image().size(), upright.size());
    sameQuadrants(box.image());
}

// Whatever reads the pixels right after a click gets the full image, not the
// reduced one shown meanwhile.
TEST_F(FastPreviewTest, ActualSizeEditSaveAndPrintRightAfterAClickSeeTheFullImage) {
    const QString path = photo(QStringLiteral("big.jpg"), Qt::magenta);
    const QString saved = file(QStringLiteral("saved.png"));
    frmMain& w = startWindow();
    const int row = addFolderRow(w, path);
    const QImage full = pixelsOf(path);
    KeepingPrinter printer;
    struct Case {
        const char* name;
        std::function<QImage()> act; // the image the action worked on
    };
    const std::vector<Case> cases{
        {"Actual Size",
         [&] {
             w.previewPane().mnuPreviewFit_Click(1);
             EXPECT_EQ(w.previewPane().box()->box().DisplayWidth(), full.width());
             return w.previewPane().box()->renderDisplay().convertToFormat(QImage::Format_RGB888);
         }},
        {"Edit",
         [&] {
             w.previewPane().mnuPreview_Click(0);
             EXPECT_TRUE(w.editView().fncIsEditView());
             return ConfirmedImageData.convertToFormat(QImage::Format_RGB888);
         }},
        {"Save Preview As",
         [&] {
             w.previewPane().box()->box().SaveToFile(saved);
             return QImage(saved).convertToFormat(QImage::Format_RGB888);
         }},
        {"Print",
         [&] {
             PrintBackend* previous = setPrintBackend(&printer);
             w.previewPane().cmdPreviewPrint_Click();
             setPrintBackend(previous);
             return printer.pages.isEmpty() ? QImage()
                                            : printer.pages.last().convertToFormat(QImage::Format_RGB888);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (w.editView().fncIsEditView())
            w.previewPane().mnuPreview_Click(0);
        w.previewPane().mnuPreviewFit_Click(0);
        w.fileListFocus().PicTiffTag.clear();
        clickFolderRow(w, row);
        ASSERT_TRUE(w.previewPane().box()->box().LoadPending());
        EXPECT_EQ(c.act(), full);
        EXPECT_FALSE(w.previewPane().box()->box().LoadPending());
    }
    EXPECT_TRUE(errors.reports().empty());
}
