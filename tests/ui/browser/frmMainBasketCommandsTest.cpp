#include "browser/frmSaveSinglePage.h"
#include "browser/modBasketList.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/dialogs/frmStatus.h"
#include "core/AppPaths.h"
#include "engine/batch/BasketRows.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/imagebox/ImageBoxView.h"
#include "platform/print/QtPrintBackend.h"
#include "tests/ui/browser/FolderFixture.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

// Records the pages each job gets (by the width of the printed image); the dialog
// is accepted unless told otherwise.
class RecordingPrinter : public PrintBackend {
public:
    bool beginJob(PrintSettings&, bool showDialog) override {
        dialogs += showDialog ? 1 : 0;
        if (showDialog && !accept)
            return false;
        open = true;
        jobs.emplace_back();
        return true;
    }
    bool jobOpen() const override { return open; }
    void printPage(const QImage& image, const PrintSettings&) override {
        jobs.back().push_back(image.width());
    }
    void endJob() override { open = false; }

    bool accept = true;
    bool open = false;
    int dialogs = 0;
    std::vector<std::vector<int>> jobs;
};

int pdfPages(const QString& path) {
    QProcess run;
    run.start(QStringLiteral("pdfinfo"), {path});
    run.waitForFinished(20000);
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                       .match(QString::fromUtf8(run.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The main window with basket rows img1, img2, ... whose JPEG files are 41, 42, ...
// pixels wide.
class BasketCommands : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        files = folder.file(QStringLiteral("files"));
        QDir().mkpath(files);
    }
    void TearDown() override {
        setPrintBackend(previous);
        MainWindowTest::TearDown();
    }

    frmMain& startWithRows(int count) {
        frmMain& w = start();
        for (int i = 1; i <= count; ++i)
            addRow(w, i, true);
        return w;
    }

    void addRow(frmMain& w, int i, bool readable) {
        const QString path = QDir(files).filePath(QStringLiteral("img%1.jpg").arg(i));
        if (readable)
            test::splitPicture(40 + i, 30, Qt::red, Qt::blue).save(path, "JPEG");
        else
            test::writeBytes(path, QByteArray("no picture here"));
        BasketRow row;
        row.Text = QStringLiteral("img%1").arg(i);
        row.Tag = path;
        row.SubItems = {QStringLiteral("%1 X 30").arg(40 + i), QStringLiteral("1 KB"),
                        QStringLiteral("JPEG image"), path};
        QImage thumbnail(40, 40, QImage::Format_RGB888);
        thumbnail.fill(Qt::white);
        w.basketPane().subAddBasketRow(row, thumbnail);
    }

    void usePrinter(PrintBackend* backend) { previous = setPrintBackend(backend); }

    QStringList messageTexts() const {
        QStringList out;
        for (const auto& m : messages.shown())
            out << m.text;
        return out;
    }

    QString files;
    PrintBackend* previous = nullptr;
};

const QString TwoImages =
    QStringLiteral("You need at least 2 images in the basket to use this feature!");

} // namespace

TEST_F(BasketCommands, OneRowBatchEntriesGiveTheTwoImagesMessage) {
    frmMain& w = startWithRows(1);
    RecordingPrinter printer;
    usePrinter(&printer);
    for (int16_t index : {0, 2, 3, 6, 1, 9})
        w.basketPane().subGenerateDocument(index);
    EXPECT_EQ(messageTexts(), QStringList(6, TwoImages));
    EXPECT_EQ(printer.dialogs, 0);
}

TEST_F(BasketCommands, PrintButtonWithOneRowPrintsThroughTheDialogToAFile) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdfinfo is not installed";
    frmMain& w = startWithRows(1);
    QtPrintBackend printer;
    const QString pdf = folder.file(QStringLiteral("basket.pdf"));
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(pdf);
    printer.setDialogHook([](QPrintDialog& dialog) {
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
    });
    usePrinter(&printer);
    w.basketPane().printButton()->click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(pdfPages(pdf), 1);
}

// One job, a page per row in row order; a row that cannot be loaded gets no page.
TEST_F(BasketCommands, BatchPrintingPrintsOneJobInRowOrderAndSkipsUnreadableRows) {
    frmMain& w = start();
    addRow(w, 1, true);
    addRow(w, 2, false);
    addRow(w, 3, true);
    addRow(w, 4, true);
    w.basketPane().list()->setSelectedItem(4);
    RecordingPrinter printer;
    usePrinter(&printer);
    w.folderPane().abortListing();
    w.basketPane().subGenerateDocument(6);
    EXPECT_EQ(printer.dialogs, 1);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0], (std::vector<int>{41, 43, 44}));
    EXPECT_FALSE(printer.open) << "the job is closed";
    EXPECT_FALSE(frmStatus::instance(&w).isVisible()) << "the wait dialog is closed";
    EXPECT_FALSE(w.folderPane().listingAborted());
}

TEST_F(BasketCommands, BatchPrintingToAFileGivesAPagePerRow) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdfinfo is not installed";
    frmMain& w = startWithRows(3);
    QtPrintBackend printer;
    const QString pdf = folder.file(QStringLiteral("three.pdf"));
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(pdf);
    printer.setDialogHook([](QPrintDialog& dialog) {
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
    });
    usePrinter(&printer);
    w.basketPane().subBatchPrint();
    EXPECT_EQ(pdfPages(pdf), 3);
}

TEST_F(BasketCommands, CancelledPrintDialogPrintsNothingAndStoresTheSettings) {
    frmMain& w = startWithRows(3);
    RecordingPrinter printer;
    printer.accept = false;
    usePrinter(&printer);
    picbasket::Setup.Print.P8B = 77;
    picbasket::Setup.Print.P84 = 1;
    const typPrint before = picbasket::Setup.Print;
    w.previewPane().box()->box().setPrintProperty8B(5);
    w.basketPane().subBatchPrint();
    EXPECT_TRUE(printer.jobs.empty());
    EXPECT_EQ(picbasket::Setup.Print, before);
    EXPECT_EQ(w.previewPane().box()->box().PrintProperty8B(), 77) << "the stored settings went to the box";
}

// The rule counts the rows selected now, whatever the last item click counted.
TEST_F(BasketCommands, RightClickEnablesOnlyRemoveForSeveralRows) {
    frmMain& w = startWithRows(3);
    for (int r = 1; r <= 3; ++r)
        w.basketPane().list()->setSelected(r, true);
    w.fileListFocus().SelectedRowCount = 1;
    w.basketPane().lvPages_MouseUp(2, 0, 5, 5);
    const std::vector<int> items{0, 1, 2, 4, 5};
    for (int i : items)
        EXPECT_EQ(w.basketPane().contextItems()[size_t(i)]->isEnabled(), i == 5) << i;
    EXPECT_EQ(w.basketPane().contextItems()[5]->text(), QStringLiteral("Remove from basket"));
    w.basketPane().contextMenu()->hide();
    for (int r = 2; r <= 3; ++r)
        w.basketPane().list()->setSelected(r, false);
    w.basketPane().lvPages_MouseUp(2, 0, 5, 5);
    for (int i : items)
        EXPECT_TRUE(w.basketPane().contextItems()[size_t(i)]->isEnabled()) << i;
    w.basketPane().contextMenu()->hide();
}

TEST_F(BasketCommands, DeleteAndSelectAllKeysAndTheQueuePanel) {
    frmMain& w = startWithRows(3);
    w.basketPane().lvPages_KeyPress(1);
    EXPECT_EQ(w.basketPane().list()->SelectedCount(), 3) << "Ctrl+A";
    w.basketPane().list()->setSelected(2, false);
    w.basketPane().lvPages_KeyUp(46, 0);
    ASSERT_EQ(w.basketPane().list()->Count(), 1);
    EXPECT_EQ(w.basketPane().list()->Text(1), QStringLiteral("img2"));
    EXPECT_EQ(w.sbMain->Panel(QStringLiteral("queue"))->Text(),
              QStringLiteral("1 file(s) in basket"));
}

TEST_F(BasketCommands, NewBasketEmptiesItAndDeletesTheTemporaryPages) {
    frmMain& w = startWithRows(2);
    const QDir temp(AppPaths::tempPageFolder());
    QDir().mkpath(temp.path());
    for (const char* name : {"scan1_12.tif", "scan2_99.tif", "keep.txt"})
        test::writeBytes(temp.filePath(QString::fromLatin1(name)), "x");
    w.basketPane().newButton()->click();
    EXPECT_EQ(w.basketPane().list()->Count(), 0);
    EXPECT_EQ(w.sbMain->Panel(QStringLiteral("queue"))->Text(), QStringLiteral("New Basket"));
    EXPECT_TRUE(temp.entryList({QStringLiteral("*.tif")}, QDir::Files).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(temp.filePath(QStringLiteral("keep.txt"))));
    addRow(w, 5, true);
    EXPECT_EQ(w.basketPane().list()->Count(), 1) << "the emptied basket takes rows again";
}

// The dialog is answered from the event loop while subSaveAsSinglePage waits in it.
TEST_F(BasketCommands, BatchConversionRunsOnlyAfterAConfirmedDialog) {
    frmMain& w = startWithRows(2);
    const QString out = folder.file(QStringLiteral("out"));
    QDir().mkpath(out);
    const auto answer = [&](const QString& count, bool closeAfter) {
        QTimer::singleShot(0, &w, [=] {
            auto* dialog = qobject_cast<frmSaveSinglePage*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->optJPG2000Compression[1]->setChecked(true);
            dialog->txtJPG2000Compression->setText(QStringLiteral("20"));
            dialog->OptName[2]->setChecked(true);
            dialog->cboRenameGeneric->setEditText(count);
            dialog->optDestinationFolder[1]->setChecked(true);
            dialog->txtDestinationFolder->setText(out);
            dialog->cmdStarConversion->click();
            if (closeAfter)
                dialog->close();
        });
    };
    answer(QStringLiteral("1a"), true);
    w.basketPane().mnuSaveAs_Click(0);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Count should be numeric!")});
    EXPECT_TRUE(QDir(out).isEmpty()) << "a window closed after a failed check starts nothing";
    EXPECT_FALSE(picbasket::Setup.BatchSave.Confirmed);

    w.folderPane().ftvBrowse_FolderChange(out);
    w.folderPane().listingTimer()->stop();
    answer(QStringLiteral("[Starting 1001]"), false);
    w.basketPane().subGenerateDocument(0);
    EXPECT_FALSE(picbasket::Setup.BatchSave.Confirmed) << "cleared after the run";
    EXPECT_TRUE(w.folderPane().listingTimer()->isActive()) << "the folder shown is listed again";
    EXPECT_EQ(QDir(out).entryList(QDir::Files),
              (QStringList{QStringLiteral("Sample1001.jp2"), QStringLiteral("Sample1002.jp2")}));
    EXPECT_EQ(picbasket::Setup.BatchSave.DestinationFolder, out + QLatin1Char('/'));
    EXPECT_TRUE(errors.reports().empty());
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("grk_decompress"));
    if (tool.isEmpty())
        return;
    const QString decoded = folder.file(QStringLiteral("decoded.ppm"));
    QProcess p;
    p.start(tool, {QStringLiteral("-i"), QDir(out).filePath(QStringLiteral("Sample1002.jp2")),
                   QStringLiteral("-o"), decoded});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    EXPECT_EQ(QImage(decoded).size(), QSize(42, 30)) << "the second row, img2";
}

// The basket file dialogs start in the basket folder and store the folder used; a
// reopened basket lists the same files and the panel counts them.
TEST_F(BasketCommands, SaveAndReopenTheBasketInTheBasketFolder) {
    frmMain& w = startWithRows(3);
    const QString lists = folder.file(QStringLiteral("lists"));
    QDir().mkpath(lists);
    BasketFolder = files;
    FakeDialogBackend dialogs;
    dialogs.chooseFile(QDir(lists).filePath(QStringLiteral("trip")));
    w.basketPane().saveButton()->click();
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(dialogs.fileRequests()[0].title, QStringLiteral("Save image basket"));
    EXPECT_EQ(dialogs.fileRequests()[0].initialFolder, files);
    const QString saved = QDir(lists).filePath(QStringLiteral("trip.ibf"));
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(BasketFolder, lists);

    w.basketPane().list()->Remove(2);
    dialogs.chooseFile(saved);
    w.basketPane().openButton()->click();
    ASSERT_EQ(dialogs.fileRequests().size(), 2u);
    EXPECT_EQ(dialogs.fileRequests()[1].title, QStringLiteral("Open Image Basket"));
    EXPECT_EQ(dialogs.fileRequests()[1].initialFolder, lists);
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(
        messageTexts()[0].startsWith(QStringLiteral("There are currently files in the Basket!.")));
    QStringList rows;
    for (int r = 1; r <= w.basketPane().list()->Count(); ++r)
        rows << w.basketPane().list()->Text(r);
    EXPECT_EQ(rows, (QStringList{QStringLiteral("img1.jpg"), QStringLiteral("img2.jpg"),
                                 QStringLiteral("img3.jpg")}));
    EXPECT_EQ(w.sbMain->Panel(QStringLiteral("queue"))->Text(),
              QStringLiteral("3 file(s) in basket"));
}

TEST_F(BasketCommands, CancelOnTheOpenQuestionOrABadFileKeepsTheBasket) {
    frmMain& w = startWithRows(2);
    FakeDialogBackend dialogs;
    messages.answerNext(mb::Cancel);
    w.basketPane().cmdPagesOpen_Click();
    EXPECT_TRUE(dialogs.fileRequests().empty());
    EXPECT_EQ(w.basketPane().list()->Count(), 2);

    const QString bad = folder.file(QStringLiteral("bad.ibf"));
    test::writeBytes(bad, "not a quoted record\r\n");
    dialogs.chooseFile(bad);
    w.basketPane().cmdPagesOpen_Click();
    EXPECT_EQ(w.basketPane().list()->Count(), 2);
    ASSERT_EQ(messageTexts().size(), 3) << "the question again, then the error";
    EXPECT_TRUE(messageTexts()[2].startsWith(QStringLiteral("Error opening image basket!")));
    EXPECT_EQ(errors.reports().size(), 1u);
}

// A scan put into the basket is its own temporary page: the basket file names it only
// until the run ends, and saving says so for those rows alone. Split pages are named
// by their source file and need no word.
TEST_F(BasketCommands, SavingRowsThatLiveInTheTemporaryFolderSaysTheyAreKeptUntilExit) {
    frmMain& w = startWithRows(1);
    QDir().mkpath(AppPaths::tempPageFolder());
    const QString scan = QDir(AppPaths::tempPageFolder()).filePath(QStringLiteral("1_42.tif"));
    test::splitPicture(20, 10, Qt::red, Qt::blue).save(scan, "TIFF");
    BasketRow row;
    row.Text = QStringLiteral("1_42");
    row.Tag = scan;
    row.SubItems = {QStringLiteral("20 X 10"), QStringLiteral("1 KB"), QStringLiteral("TIFF"),
                    scan};
    QImage thumbnail(40, 40, QImage::Format_RGB888);
    thumbnail.fill(Qt::white);
    w.basketPane().subAddBasketRow(row, thumbnail);
    BasketRow page = row;
    page.Text = QStringLiteral("scan1");
    page.Tag = QDir(AppPaths::tempPageFolder()).filePath(QStringLiteral("scan.tif1_7.tif"));
    page.SubItems[3] = QDir(files).filePath(QStringLiteral("scan.tif"));
    w.basketPane().subAddBasketRow(page, thumbnail);

    FakeDialogBackend dialogs;
    dialogs.chooseFile(QDir(files).filePath(QStringLiteral("with scans")));
    w.basketPane().saveButton()->click();
    ASSERT_TRUE(QFileInfo::exists(QDir(files).filePath(QStringLiteral("with scans.ibf"))));
    ASSERT_EQ(messageTexts().size(), 1);
    const QStringList lines = messageTexts()[0].split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3) << messageTexts()[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("emptied when the program ends")));
    EXPECT_EQ(lines[1], QStringLiteral("1_42"));
    EXPECT_EQ(fncTemporaryRowsNote(*w.basketPane().list()), messageTexts()[0]);

    // Without such rows the save says nothing.
    w.basketPane().list()->Remove(2);
    dialogs.chooseFile(QDir(files).filePath(QStringLiteral("plain")));
    w.basketPane().saveButton()->click();
    EXPECT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(fncTemporaryRowsNote(*w.basketPane().list()).isEmpty());
}
