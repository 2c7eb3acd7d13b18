#include "browser/IndexedMenu.h"
#include "browser/frmDummy.h"
#include "browser/frmFrameDummy.h"
#include "core/AppPaths.h"
#include "core/MessageBox.h"
#include "editing/TaskBasketRows.h"
#include "metadata/modMetadata.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBoxView.h"
#include "platform/print/PrintBackend.h"
#include "tests/ui/browser/FolderFixture.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("%1 -").arg(a->data().toInt())
                                 : QStringLiteral("%1 %2").arg(a->data().toInt()).arg(a->text()));
    return out;
}

// Chooses every item of a menu array and gives the indexes a handler heard.
QList<int> forwardedIndexes(QMenu* menu, QObject* sender, const char* signal) {
    QSignalSpy spy(sender, signal);
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            a->trigger();
    QList<int> out;
    for (const QList<QVariant>& call : spy)
        out << call.at(0).toInt();
    return out;
}

void clickLabel(QLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton);
}

} // namespace

TEST(MenuHosts, ItemsKeepTheirIndexesSeparatorsIncluded) {
    frmFrameDummy frame;
    EXPECT_EQ(forwardedIndexes(frame.mnuEXIFParent(), &frame, SIGNAL(mnuEXIF_Click(int))),
              (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(forwardedIndexes(frame.mnuIPTCParent(), &frame, SIGNAL(mnuIPTC_Click(int))),
              (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(
        forwardedIndexes(frame.mnuTaskBasketParent(), &frame, SIGNAL(mnuTaskBasket_Click(int))),
        (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(captions(frame.mnuTaskBasketParent()).join('|'),
              "0 New Task Basket|1 Open Task Basket|2 Save Task Basket|3 Remove selected Task");

    frmDummy dummy;
    EXPECT_EQ(dummy.Caption(), "Form1");
    EXPECT_EQ(forwardedIndexes(dummy.mnuBatchParent(), &dummy, SIGNAL(mnuBatch_Click(int))),
              (QList<int>{0, 2, 3, 5, 7, 8, 10, 11, 12, 13}));
    const QStringList batch = captions(dummy.mnuBatchParent());
    ASSERT_EQ(batch.size(), 14);
    EXPECT_EQ(batch[1], "1 -");
    EXPECT_EQ(batch[8], "8 Capture..");
    EXPECT_EQ(batch[13], "13 Remove selected images");
}

TEST(MenuHosts, BatchItemsMapOntoTheDispatcherAndTheBasketCommands) {
    using K = BatchMenuCommand;
    struct Row {
        int item;
        K::Kind kind;
        int index;
    };
    const Row rows[] = {{0, K::Generate, 0},  {1, K::None, -1},       {2, K::Generate, 2},
                        {3, K::Generate, 3},  {4, K::None, -1},       {5, K::Generate, 6},
                        {6, K::None, -1},     {7, K::Generate, 4},    {8, K::Generate, 5},
                        {9, K::None, -1},     {10, K::NewBasket, -1}, {11, K::OpenBasket, -1},
                        {12, K::SaveBasket, -1}, {13, K::RemoveSelected, -1}, {14, K::None, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.item);
        const BatchMenuCommand c = fncBatchMenuCommand(r.item);
        EXPECT_EQ(c.kind, r.kind);
        EXPECT_EQ(c.generateIndex, r.index);
    }
}

namespace {

class MenusTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        pictures = folder.file("pictures");
        QDir().mkpath(pictures);
        picbasket::Setup.LastFolder = pictures;
        writeSetupFile();
    }

    frmMain& startRecording() {
        frmMain& w = start();
        w.PopupMenu = [this](QMenu* menu, const QPoint&) { popped.push_back(menu); };
        return w;
    }

    // A picture of four coloured quarters, so a flip or a turn shows.
    QString quarters(const QString& name) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                image.setPixel(x, y, qRgb(x < 20 ? 255 : 0, y < 15 ? 255 : 0, x * 6));
        const QString path = QDir(pictures).filePath(name);
        image.save(path, "PNG");
        return path;
    }

    void preview(frmMain& w, const QString& path) {
        const int row = w.basketPane().list()->AddItem(QFileInfo(path).baseName());
        w.basketPane().list()->setTag(row, path);
        w.previewPane().subShowSelectedFile(w.basketPane().list(), row);
        ASSERT_TRUE(w.previewPane().box()->box().HasImage());
    }

    static typTask task(TaskType type, const QString& key, std::initializer_list<QString> params) {
        typTask t;
        t.TaskID = int32_t(type);
        t.TaskKey = key;
        int k = 1;
        for (const QString& p : params)
            t.Param[size_t(k++)] = p;
        return t;
    }

    QString pictures;
    std::vector<QMenu*> popped;
};

} // namespace

TEST_F(MenusTest, TabsSwitchTheBrowsePaneAndOnlyTheTaskTabPopsItsMenu) {
    frmMain& w = startRecording();
    w.tbsBrowse->setSelectedItem(2);
    w.tbsBrowse_Click();
    EXPECT_FALSE(w.folderPane().treeHost()->isVisible());
    EXPECT_TRUE(w.editView().taskList()->isVisible());
    EXPECT_TRUE(w.editView().taskListBar()->isVisible());
    EXPECT_EQ(w.lblBrowse->text(), "Task Basket");
    w.subResize();
    EXPECT_FALSE(w.editView().taskListBar()->geometry().intersects(w.lblBrowse->geometry()))
        << "the task tool bar stays off the caption";
    EXPECT_FALSE(
        w.editView().taskListBar()->geometry().intersects(w.editView().taskList()->geometry()));
    clickLabel(w.lblBrowse);
    ASSERT_EQ(popped.size(), 1u);
    EXPECT_EQ(popped[0], w.FrameDummy()->mnuTaskBasketParent());

    w.tbsBrowse->setSelectedItem(1);
    w.tbsBrowse_Click();
    EXPECT_TRUE(w.folderPane().treeHost()->isVisible());
    EXPECT_FALSE(w.editView().taskList()->isVisible());
    EXPECT_FALSE(w.editView().taskListBar()->isVisible());
    EXPECT_EQ(w.lblBrowse->text(), "Browse File System");
    clickLabel(w.lblBrowse);
    EXPECT_EQ(popped.size(), 1u) << "the file-system tab's caption pops nothing";
}

TEST_F(MenusTest, CaptionsAndButtonsPopTheirMenus) {
    frmMain& w = startRecording();
    preview(w, quarters("q.png"));
    MetadataTab = 0;
    clickLabel(w.metadataPane().caption());
    MetadataTab = 1;
    clickLabel(w.metadataPane().caption());
    clickLabel(w.basketPane().caption());
    clickLabel(w.previewPane().caption());
    w.previewPane().saveButton()->click();
    w.previewPane().typeButton()->click();
    w.cmdBrowseAbout->click();
    MetadataTab = 0;
    const std::vector<QMenu*> expected{w.FrameDummy()->mnuEXIFParent(),
                                       w.FrameDummy()->mnuIPTCParent(),
                                       w.Dummy()->mnuBatchParent(),
                                       w.previewPane().previewMenu(),
                                       w.previewPane().saveAsMenu(),
                                       w.previewPane().typeMenu(),
                                       w.mnuAboutParent};
    EXPECT_EQ(popped, expected);
    EXPECT_EQ(w.previewPane().caption()->text(), "Preview");
}

TEST_F(MenusTest, AboutMenuKeepsItsGapsAndOpensItsPlaces) {
    frmMain& w = startRecording();
    QStringList opened;
    w.LinkOpener = [&](const QString& place) {
        opened << place;
        return true;
    };
    const QStringList items = captions(w.mnuAboutParent);
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0], "0 Tutorials");
    EXPECT_EQ(items[2], "2 -");
    EXPECT_EQ(items[3], "5 Help Manual");
    EXPECT_TRUE(items[4].startsWith("6 About ")) << items[4].toStdString();
    // The program has no site of its own: the tutorial and the home page are pages of
    // the manual found at start.
    const QString manual = folder.file("manual");
    QDir().mkpath(manual);
    for (const char* page : {"index.html", "tutorial.html"})
        test::writeBytes(manual + "/" + page, "<html></html>");
    w.HelpFile = manual + "/index.html";
    w.mnuAbout_Click(0);
    w.mnuAbout_Click(1);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened, (QStringList{manual + "/tutorial.html", manual + "/index.html"}));
    EXPECT_TRUE(messages.shown().empty());

    // No help file: a message, nothing opened.
    w.HelpFile = QDir(pictures).filePath("Help.chm");
    w.mnuAbout_Click(5);
    EXPECT_EQ(opened.size(), 2);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains("Help.chm"));

    // A help file but no program for it: a message again.
    QFile help(w.HelpFile);
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("help");
    help.close();
    w.LinkOpener = [&](const QString& place) {
        opened << place;
        return false;
    };
    w.mnuAbout_Click(5);
    EXPECT_EQ(opened.size(), 3);
    EXPECT_EQ(opened.last(), w.HelpFile);
    EXPECT_EQ(messages.shown().size(), 2u);
}

// The manual the program ships has the tutorial "Tutorials" opens, linked from its first
// page; a manual without it is said, with the place looked at, and nothing is opened.
TEST_F(MenusTest, TutorialsOpensTheShippedManualsTutorialOrSaysWhereItWasLookedFor) {
    frmMain& w = startRecording();
    QStringList opened;
    w.LinkOpener = [&](const QString& place) {
        opened << place;
        return true;
    };
    const QString shipped = QDir::cleanPath(test::testDataFolder() + "/../../docs/manual");
    w.HelpFile = shipped + "/index.html";
    w.mnuAbout_Click(0);
    w.mnuAbout_Click(1);
    ASSERT_EQ(opened, (QStringList{shipped + "/tutorial.html", shipped + "/index.html"}));
    for (const QString& page : opened)
        EXPECT_TRUE(QFileInfo(page).isFile()) << page.toStdString();
    QFile index(w.HelpFile);
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_TRUE(index.readAll().contains("href=\"tutorial.html\""));
    EXPECT_TRUE(messages.shown().empty());

    const QString bare = folder.file("bare");
    QDir().mkpath(bare);
    test::writeBytes(bare + "/index.html", "<html></html>");
    w.HelpFile = bare + "/index.html";
    w.mnuAbout_Click(0);
    EXPECT_EQ(opened.size(), 2);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(bare + "/tutorial.html"));
}

TEST_F(MenusTest, OptimizedRunsTheTasksOnceOnTheImageAsLoaded) {
    frmMain& w = startRecording();
    const QString path = quarters("q.png");
    preview(w, path);
    w.previewPane().mnuPreviewType_Click(0);
    const QImage original = w.previewPane().box()->box().image();
    TaskBasketRows rows = w.editView().taskBasket();
    ASSERT_TRUE(rows.add(task(TaskType::Flip, "flip", {"1"})));
    ASSERT_TRUE(rows.add(task(TaskType::Rotate, "rotate", {"False", "90", "16777215"})));

    // A click on the first task row shows the image with that row run on it.
    w.editView().taskList()->setSelectedItem(1);
    w.editView().subProcessTaskBasket(false);
    ImageBox oracle;
    oracle.setImage(original);
    oracle.Flip(1);
    ASSERT_EQ(w.previewPane().box()->box().image(), oracle.image());

    w.previewPane().mnuPreviewType_Click(1);
    EXPECT_TRUE(w.previewPane().optimized());
    EXPECT_EQ(w.previewPane().box()->box().image(), oracle.image()) << "the flip ran once, not twice";
    EXPECT_EQ(w.previewPane().typeButton()->text().trimmed(), "Optimized");

    // Choosing the checked item again reloads nothing.
    w.previewPane().box()->box().Flip(0);
    const QImage marked = w.previewPane().box()->box().image();
    w.previewPane().mnuPreviewType_Click(1);
    EXPECT_EQ(w.previewPane().box()->box().image(), marked);

    w.previewPane().mnuPreviewType_Click(0);
    EXPECT_FALSE(w.previewPane().optimized());
    EXPECT_EQ(w.previewPane().box()->box().image().convertToFormat(original.format()), original);
}

TEST_F(MenusTest, PreviewTypeIsOutOfReachInTheEditView) {
    frmMain& w = startRecording();
    preview(w, quarters("q.png"));
    w.editView().CmdPreviewEdit_Click();
    ASSERT_TRUE(w.editView().fncIsEditView());
    const QImage shown = w.previewPane().box()->box().image();
    const bool optimized = w.previewPane().optimized();
    const int checked = w.previewPane().checkedPreviewType();
    w.previewPane().mnuPreviewType_Click(1 - checked);
    EXPECT_EQ(w.previewPane().optimized(), optimized);
    EXPECT_EQ(w.previewPane().checkedPreviewType(), checked);
    EXPECT_EQ(w.previewPane().box()->box().image(), shown);
}

TEST_F(MenusTest, PreviewMenuForwardsByIndex) {
    frmMain& w = startRecording();
    const QString a = quarters("a.png");
    const QString b = quarters("b.png");
    preview(w, a);
    const int row = w.basketPane().list()->AddItem("b");
    w.basketPane().list()->setTag(row, b);
    w.fileListFocus().ActiveFileList = "lvPages";
    w.basketPane().list()->setSelectedItem(1);
    w.previewPane().mnuPreview_Click(3);
    EXPECT_EQ(w.fileListFocus().PicTiffTag, b);
    w.previewPane().mnuPreview_Click(2);
    EXPECT_EQ(w.fileListFocus().PicTiffTag, a);
    w.previewPane().mnuPreview_Click(0);
    EXPECT_TRUE(w.editView().fncIsEditView());
    w.previewPane().mnuPreview_Click(0);
    EXPECT_FALSE(w.editView().fncIsEditView());
}

TEST_F(MenusTest, TaskBasketMenuReachesTheTaskBasketCommands) {
    frmMain& w = startRecording();
    TaskBasketRows rows = w.editView().taskBasket();
    ASSERT_TRUE(rows.add(task(TaskType::Flip, "flip", {"1"})));
    ASSERT_TRUE(rows.add(task(TaskType::Flip, "flip", {"0"})));
    QMenu* menu = w.FrameDummy()->mnuTaskBasketParent();
    w.editView().taskList()->setSelectedItem(1);
    indexedMenuItem(menu, 3)->trigger();
    EXPECT_EQ(w.editView().taskRows().rowCount(), 1) << "Remove selected Task";
    indexedMenuItem(menu, 0)->trigger();
    EXPECT_EQ(w.editView().taskRows().rowCount(), 0) << "New Task Basket";
}

namespace {

// A printer whose dialog changes the copies and the orientation, as a user would.
class ChoosingPrinter : public PrintBackend {
public:
    bool beginJob(PrintSettings& settings, bool showDialog) override {
        dialogs += showDialog ? 1 : 0;
        settings.P8A = 3;
        settings.P84 = 1;
        open = true;
        return true;
    }
    bool jobOpen() const override { return open; }
    void printPage(const QImage& image, const PrintSettings&) override { pages << image.size(); }
    void endJob() override {
        open = false;
        ++jobsEnded;
    }
    bool open = false;
    int dialogs = 0;
    int jobsEnded = 0;
    QList<QSize> pages;
};

} // namespace

TEST_F(MenusTest, PrintingThePreviewKeepsTheDialogsChoices) {
    frmMain& w = startRecording();
    ChoosingPrinter printer;
    PrintBackend* previous = setPrintBackend(&printer);
    w.previewPane().cmdPreviewPrint_Click();
    EXPECT_EQ(printer.dialogs, 0) << "nothing to print without an image";
    preview(w, quarters("q.png"));
    picbasket::Setup.Print.P8A = 1;
    w.previewPane().mnuPreview_Click(4);
    setPrintBackend(previous);
    EXPECT_EQ(printer.dialogs, 1);
    EXPECT_EQ(printer.pages, (QList<QSize>{QSize(40, 30)}));
    EXPECT_EQ(printer.jobsEnded, 1) << "the page is out when the click ends";
    EXPECT_EQ(picbasket::Setup.Print.P8A, 3);
    EXPECT_EQ(picbasket::Setup.Print.P84, 1);
}

TEST_F(MenusTest, MetadataMenusReachTheToolBarCommandsOfTheirList) {
    frmMain& w = startRecording();
    const QString path = QDir(pictures).filePath("tagged.jpg");
    {
        ImageBox box;
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        box.setImage(image);
        box.SetExifAttribute("Make", "TestCam");
        box.setIptcCaption("a caption");
        box.SaveToFile(path);
    }
    preview(w, path);
    ASSERT_GT(w.metadataPane().exifList()->Count(), 0);
    messages.answerNext(mb::No);
    MetadataTab = 0;
    indexedMenuItem(w.FrameDummy()->mnuEXIFParent(), 3)->trigger();
    messages.answerNext(mb::No);
    MetadataTab = 1;
    indexedMenuItem(w.FrameDummy()->mnuIPTCParent(), 4)->trigger();
    MetadataTab = 0;
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[0].text.contains("EXIF"));
    EXPECT_TRUE(messages.shown()[1].text.contains("IPTC"));
}

// The manual is found beside a program run from its build folder, else in the share
// folder of the prefix it is installed in; "Help Manual" opens its first page.
TEST_F(MenusTest, TheHelpManualIsFoundBesideTheProgramOrInItsShareFolder) {
    const QString previousName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("PicBasket"));
    const QString prefix = folder.file("prefix");
    AppPaths::overrideProgramFolder(prefix + "/bin");
    const QString installed = prefix + "/share/PicBasket/manual/index.html";
    const QString beside = prefix + "/bin/manual/index.html";
    QDir().mkpath(QFileInfo(installed).path());
    QDir().mkpath(QFileInfo(beside).path());
    EXPECT_EQ(fncFindHelpManual(), beside) << "nothing there: the first place is named";
    test::writeBytes(installed, "<html></html>");
    EXPECT_EQ(fncFindHelpManual(), installed);
    test::writeBytes(beside, "<html></html>");
    EXPECT_EQ(fncFindHelpManual(), beside);

    frmMain& w = startRecording();
    EXPECT_EQ(w.HelpFile, beside);
    QStringList opened;
    w.LinkOpener = [&](const QString& place) {
        opened << place;
        return true;
    };
    w.mnuAbout_Click(5);
    EXPECT_EQ(opened, QStringList{beside});
    EXPECT_TRUE(messages.shown().empty());
    QCoreApplication::setApplicationName(previousName);
    AppPaths::overrideProgramFolder(folder.path());
}
