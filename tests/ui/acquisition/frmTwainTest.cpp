#include "acquisition/frmTwain.h"
#include "core/AppPaths.h"
#include "core/setup/modSetup.h"
#include "editing/EditImageData.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/ImageBoxView.h"
#include "platform/scan/FakeScanSource.h"
#include "platform/scan/SaneScanSource.h"
#include "shell/mainwindow/PaneWiring.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <thread>
#include <tiffio.h>

using namespace picbasket;

namespace {

int tiffPages(const QString& path, std::vector<uint16_t>* compressions = nullptr) {
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "r");
    if (!tif)
        return 0;
    int pages = 0;
    do {
        ++pages;
        uint16_t c = 0;
        TIFFGetField(tif, TIFFTAG_COMPRESSION, &c);
        if (compressions)
            compressions->push_back(c);
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

// The acquisition dialog over a started main window, scanning from SANE's test
// device (or a fake a test installs) with a prompt that answers `settings`.
class TwainTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        qputenv("SANE_CONFIG_DIR", (test::testDataFolder() + "/sane").toUtf8());
        AppPaths::overrideProgramFolder(folder.path());
        AppPaths::overrideDataRoot(folder.path());
        picbasket::Setup = fncSetupDefaults();
        picbasket::Setup.Twain.Folder = folder.file("Acquired/");
        previousSource = setScanSource(SaneScanSource::instance());
        previousPrompt = setScanPrompt([this](const std::vector<ScanDeviceOptions>&,
                                              const ScanSettings&) -> std::optional<ScanSettings> {
            ++prompts;
            return settings;
        });
        settings.device = "test:0";
        settings.source = "Automatic Document Feeder";
        settings.mode = "Gray";
        settings.depth = 8;
        settings.resolution = 50;
        // The test device keeps its options between openings: each test starts from these.
        settings.extra = {{"read-return-value", "Default"}, {"test-picture", "Solid black"},
                          {"read-delay", "false"}};
        start();
    }
    void TearDown() override {
        dialog.reset();
        setScanPrompt(previousPrompt);
        setScanSource(previousSource);
        MainWindowTest::TearDown();
    }

    frmTwain& open() {
        dialog = std::make_unique<frmTwain>(window->wiring(), window.get());
        return *dialog;
    }
    // Chooses disk, the file mode and the format index in the dialog.
    void toDisk(int fileMode, int format) {
        dialog->optAcquire[1]->setChecked(true);
        dialog->optFile[size_t(fileMode)]->setChecked(true);
        (fileMode == 0 ? dialog->cboSinglepage : dialog->cboMultipage)->setCurrentIndex(format);
    }
    QString acquired(const QString& name) const { return QDir(folder.file("Acquired")).filePath(name); }

    ScanSettings settings;
    int prompts = 0;
    std::shared_ptr<ScanSource> previousSource;
    ScanPrompt previousPrompt;
    std::unique_ptr<frmTwain> dialog;
};

} // namespace

TEST_F(TwainTest, TheFeederFillsTheBasketAndTheLastPageIsPreviewed) {
    open().cmdAcquire_Click();
    ASSERT_TRUE(errors.reports().empty()) << errors.reports()[0].description.toStdString();
    ASSERT_EQ(window->basketPane().list()->Count(), 10);
    EXPECT_EQ(window->basketPane().thumbnails()->Count(), 10);
    QStringList tags;
    for (int r = 1; r <= 10; ++r)
        tags << window->basketPane().list()->Tag(r);
    tags.removeDuplicates();
    EXPECT_EQ(tags.size(), 10);
    for (const QString& tag : tags) {
        EXPECT_EQ(QFileInfo(tag).absolutePath(), QDir(AppPaths::tempPageFolder()).absolutePath());
        EXPECT_TRUE(QFileInfo(tag).fileName().endsWith(".tif"));
    }
    const QString last = window->basketPane().list()->Tag(10);
    EXPECT_TRUE(QFileInfo(last).fileName().startsWith("10_"));
    EXPECT_EQ(window->fileListFocus().PicTiffTag, last);
    EXPECT_EQ(window->basketPane().list()->SubItem(10, 1), "157 X 196");
    // The original copy is the page itself, so a replay starts from it.
    ImageBox original;
    original.setImage(OriginalImageData);
    ImageBox page;
    page.LoadFromFile(last);
    EXPECT_EQ(original.image(), page.image());
    EXPECT_EQ(window->previewPane().box()->box().image(), page.image());
    EXPECT_EQ(dialog->lblSize->text(), "157 X 196");
}

TEST_F(TwainTest, TenLineartPagesMakeOneGroupFourTiffAndOnePdf) {
    settings.depth = 1;
    open();
    toDisk(1, 0);
    dialog->cmdAcquire_Click();
    std::vector<uint16_t> compressions;
    EXPECT_EQ(tiffPages(acquired("Twain.tif"), &compressions), 10);
    EXPECT_EQ(compressions, std::vector<uint16_t>(10, COMPRESSION_CCITTFAX4));
    EXPECT_EQ(window->basketPane().list()->Count(), 0);

    dialog->cboMultipage->setCurrentIndex(1);
    dialog->cmdAcquire_Click();
    ASSERT_TRUE(QFileInfo::exists(acquired("Twain.pdf")));
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (pdfinfo.isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    QProcess info;
    info.start(pdfinfo, {acquired("Twain.pdf")});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+10\\b")));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(TwainTest, ColourPagesAfterALineartOneAreNotGroupFour) {
    auto fake = std::make_shared<FakeScanSource>();
    QImage mono(20, 10, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    QImage colour(20, 10, QImage::Format_RGB888);
    colour.fill(Qt::red);
    fake->pages = {mono, colour, colour};
    setScanSource(fake);
    open();
    toDisk(1, 0);
    dialog->cmdAcquire_Click();
    std::vector<uint16_t> compressions;
    EXPECT_EQ(tiffPages(acquired("Twain.tif"), &compressions), 3);
    EXPECT_EQ(compressions,
              (std::vector<uint16_t>{COMPRESSION_CCITTFAX4, COMPRESSION_NONE, COMPRESSION_NONE}));
}

TEST_F(TwainTest, SinglePageFilesContinueUntickedAndAreReplacedTicked) {
    open();
    toDisk(0, 0);
    dialog->cmdAcquire_Click();
    QStringList first;
    for (int n = 1; n <= 10; ++n)
        first << QStringLiteral("Twain%1.bmp").arg(n);
    const auto files = [&] {
        QStringList list = QDir(folder.file("Acquired")).entryList(QDir::Files);
        std::sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
        return list;
    };
    EXPECT_EQ(files(), first);
    const QDateTime written = QFileInfo(acquired("Twain1.bmp")).lastModified();

    dialog->cmdAcquire_Click();
    QStringList twenty = first;
    for (int n = 11; n <= 20; ++n)
        twenty << QStringLiteral("Twain%1.bmp").arg(n);
    EXPECT_EQ(files(), twenty);
    EXPECT_EQ(QFileInfo(acquired("Twain1.bmp")).lastModified(), written);

    // Ticked, the pages take their own numbers again: a white page replaces the black one.
    dialog->chkOverwrite->setChecked(true);
    settings.extra.push_back({"test-picture", "Solid white"});
    dialog->cmdAcquire_Click();
    EXPECT_EQ(files(), twenty);
    ImageBox page;
    page.LoadFromFile(acquired("Twain1.bmp"));
    EXPECT_EQ(page.PixelColor(5, 5), 0xFFFFFFu);
    page.LoadFromFile(acquired("Twain11.bmp"));
    EXPECT_EQ(page.PixelColor(5, 5), 0u);
    EXPECT_EQ(picbasket::Setup.Twain.Overwrite, 1);
}

TEST_F(TwainTest, AJammedFeederShowsTheMessageAndAddsNothing) {
    settings.extra.push_back({"read-return-value", "SANE_STATUS_JAMMED"});
    open().cmdAcquire_Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Document feeder jammed");
    EXPECT_EQ(window->basketPane().list()->Count(), 0);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(TwainTest, AFailureAtPageFourKeepsTheFirstThreeRows) {
    auto fake = std::make_shared<FakeScanSource>();
    QImage colour(30, 20, QImage::Format_RGB888);
    colour.fill(Qt::green);
    fake->pages.assign(8, colour);
    fake->failBeforePage = 4;
    setScanSource(fake);
    open().cmdAcquire_Click();
    EXPECT_EQ(window->basketPane().list()->Count(), 3);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Error during device I/O");
}

// Without a scanner, Acquire says so (in the scanning layer's words when it has some),
// keeps the settings, and the dialog stays open and usable for another try.
TEST_F(TwainTest, WithoutADeviceAcquireSaysSoAndTheDialogStaysUsable) {
    const struct {
        const char* what;
        QString problem;
        QString text;
    } cases[] = {
        {"none listed", QString(), fncNoScannerText(QString())},
        {"layer failed", QStringLiteral("Out of memory"),
         QStringLiteral("No scanner was found.\r\nSANE: Out of memory")},
    };
    for (const auto& c : cases) {
        auto fake = std::make_shared<FakeScanSource>();
        fake->deviceList.clear();
        fake->problem = c.problem;
        setScanSource(fake);
        open();
        dialog->show();
        dialog->txtFileName->setText("Letter");
        const size_t before = messages.shown().size();
        dialog->cmdAcquire_Click();
        EXPECT_EQ(prompts, 0) << c.what;
        EXPECT_EQ(window->basketPane().list()->Count(), 0) << c.what;
        ASSERT_EQ(messages.shown().size(), before + 1) << c.what;
        EXPECT_EQ(messages.shown()[before].text, c.text) << c.what;
        EXPECT_TRUE(messages.shown()[before].text.startsWith("No scanner was found.")) << c.what;
        EXPECT_TRUE(errors.reports().empty()) << c.what;
        EXPECT_EQ(picbasket::Setup.Twain.GenericName, "Letter") << c.what;
        EXPECT_TRUE(dialog->isVisible()) << c.what;
        EXPECT_TRUE(dialog->cmdAcquire->isEnabled()) << c.what;
        dialog->cmdAcquire_Click();
        EXPECT_EQ(messages.shown().size(), before + 2) << "a second try answers again: " << c.what;
        dialog->hide();
    }
}

TEST_F(TwainTest, APageThatCannotBeWrittenIsReportedAndEndsTheAcquisition) {
    auto fake = std::make_shared<FakeScanSource>();
    QImage colour(30, 20, QImage::Format_RGB888);
    colour.fill(Qt::green);
    fake->pages.assign(5, colour);
    setScanSource(fake);
    QFile blocker(folder.file("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    open();
    toDisk(0, 0);
    dialog->txtFolder->setText(folder.file("blocker/sub/"));
    int pages = 0;
    QObject::connect(&dialog->box(), &ImageBox::TwainPageAcquired, [&] { ++pages; });
    dialog->cmdAcquire_Click();
    EXPECT_EQ(pages, 1);
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].source, "FrmTwain.ImageBox1_TwainPageAcquired");
    EXPECT_FALSE(dialog->box().TwainAcquiring());
    EXPECT_TRUE(dialog->cmdAcquire->isEnabled());
}

TEST_F(TwainTest, SetupFillsTheControlsAndExitWritesThemBack) {
    picbasket::Setup.Twain.Destination = 1;
    picbasket::Setup.Twain.FileMode = 1;
    picbasket::Setup.Twain.SinglePageFormat = 3;
    picbasket::Setup.Twain.MultiPageFormat = 1;
    picbasket::Setup.Twain.Overwrite = 1;
    picbasket::Setup.Twain.GenericName = "Page";
    picbasket::Setup.Twain.Folder = folder.file("Scans");
    open();
    EXPECT_TRUE(dialog->optAcquire[1]->isChecked());
    EXPECT_TRUE(dialog->picSave->isEnabled());
    EXPECT_TRUE(dialog->optFile[1]->isChecked());
    EXPECT_FALSE(dialog->cboSinglepage->isEnabled());
    EXPECT_TRUE(dialog->cboMultipage->isEnabled());
    EXPECT_EQ(dialog->cboSinglepage->currentText(), "PDF");
    EXPECT_EQ(dialog->cboMultipage->currentText(), "PDF");
    EXPECT_TRUE(dialog->chkOverwrite->isChecked());
    EXPECT_EQ(dialog->txtFileName->text(), "Page");
    EXPECT_EQ(dialog->txtFolder->text(), folder.file("Scans/"));
    EXPECT_EQ(dialog->cmdfit->text().trimmed(), "Best Fit");

    dialog->optAcquire[0]->setChecked(true);
    EXPECT_FALSE(dialog->picSave->isEnabled());
    dialog->optFile[0]->setChecked(true);
    dialog->cboSinglepage->setCurrentIndex(5);
    dialog->txtFileName->setText("Receipt");
    dialog->cmdExit_Click();
    const typTwain& t = picbasket::Setup.Twain;
    EXPECT_EQ(t.Destination, 0);
    EXPECT_EQ(t.FileMode, 0);
    EXPECT_EQ(t.SinglePageFormat, 5);
    EXPECT_EQ(t.MultiPageFormat, 1);
    EXPECT_EQ(t.GenericName, "Receipt");
    EXPECT_EQ(t.Folder, folder.file("Scans/"));
}

TEST_F(TwainTest, TheCheckedFitItemDoesNothingAndTheOtherSwitches) {
    open();
    dialog->box().setImage(QImage(2000, 1500, QImage::Format_RGB888));
    dialog->mnuFit[0]->trigger();
    EXPECT_TRUE(dialog->mnuFit[0]->isChecked());
    EXPECT_EQ(dialog->cmdfit->text().trimmed(), "Best Fit");
    EXPECT_TRUE(dialog->cmdfit->text().startsWith("       "));
    EXPECT_TRUE(dialog->box().AutoZoom());

    dialog->mnuFit[1]->trigger();
    EXPECT_EQ(dialog->cmdfit->text(), "    Actual Size");
    EXPECT_FALSE(dialog->box().AutoZoom());
    EXPECT_FALSE(dialog->mnuFit[0]->isChecked());
    EXPECT_TRUE(dialog->mnuFit[1]->isChecked());
    dialog->mnuFit[1]->trigger();
    EXPECT_TRUE(dialog->mnuFit[1]->isChecked());
    EXPECT_EQ(dialog->cmdfit->text(), "    Actual Size");

    dialog->mnuFit[0]->trigger();
    EXPECT_TRUE(dialog->box().AutoZoom());
    EXPECT_EQ(dialog->cmdfit->text(), "    Best Fit");
}

TEST_F(TwainTest, CancelDuringAScanStopsItAndExitWaitsForTheEnd) {
    // 200 ms after every buffer: the feeder's ten pages would take seconds.
    settings.extra.push_back({"read-delay", "true"});
    settings.extra.push_back({"read-delay-duration", "200000"});
    open();
    std::vector<bool> cancelEnabled;
    QTimer::singleShot(300, dialog.get(), [&] {
        cancelEnabled.push_back(dialog->cmdCancel->isEnabled());
        // Exit while scanning ends the scan, not the dialog.
        dialog->cmdExit_Click();
        cancelEnabled.push_back(dialog->result() != QDialog::Accepted);
    });
    QElapsedTimer clock;
    clock.start();
    dialog->cmdAcquire_Click();
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(cancelEnabled, (std::vector<bool>{true, true}));
    EXPECT_LT(window->basketPane().list()->Count(), 10);
    EXPECT_FALSE(dialog->cmdCancel->isEnabled());
    EXPECT_TRUE(dialog->cmdAcquire->isEnabled());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(TwainTest, ExitWhileTheDevicesAreReadKeepsTheDialogUntilTheClickEnds) {
    // A source slow to list its devices.
    struct SlowSource : FakeScanSource {
        std::vector<ScanDevice> devices() override {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            return FakeScanSource::devices();
        }
    };
    auto slow = std::make_shared<SlowSource>();
    QImage colour(30, 20, QImage::Format_RGB888);
    colour.fill(Qt::green);
    slow->pages = {colour};
    setScanSource(slow);
    settings.device = "fake:0";
    open();
    bool frameEnabled = true;
    QTimer::singleShot(100, dialog.get(), [&] {
        frameEnabled = dialog->FrameTwain->isEnabled();
        dialog->cmdExit_Click();
    });
    dialog->cmdAcquire_Click();
    EXPECT_FALSE(frameEnabled);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(window->basketPane().list()->Count(), 1);
    EXPECT_TRUE(dialog->FrameTwain->isEnabled());
}
