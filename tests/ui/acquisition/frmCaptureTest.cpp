#include "acquisition/frmCapture.h"
#include "acquisition/CaptureRectangleMachine.h"
#include "acquisition/fCaptureRectangle.h"
#include "browser/modBasketList.h"
#include "core/fileinfo/clsFileInfo.h"
#include "editing/EditImageData.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/imagebox/ImageBoxView.h"
#include "platform/screen/FakeScreenGrabber.h"
#include "shell/mainwindow/PaneWiring.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <deque>
#include <tiffio.h>

using namespace picbasket;

namespace {

// The screen the fake hands out: every pixel its own colour.
QImage screenPicture(int width = 64, int height = 48) {
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 4 % 256, y * 5 % 256, (x + y) * 3 % 256));
    return picture;
}

// The file as libtiff reads it: its photometric interpretation, samples per pixel and
// pixels (through the RGBA reader, independent of our writer's layout).
struct TiffFile {
    int photometric = -1;
    int samples = 0;
    QImage pixels;
};

TiffFile readTiff(const QString& path) {
    TiffFile file;
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "r");
    if (!tif)
        return file;
    uint32_t w = 0, h = 0;
    uint16_t photometric = 0, samples = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    file.photometric = photometric;
    file.samples = samples;
    std::vector<uint32_t> raster(size_t(w) * h);
    if (TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 0)) {
        file.pixels = QImage(int(w), int(h), QImage::Format_RGB888);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                const uint32_t p = raster[size_t(y) * w + x];
                file.pixels.setPixel(int(x), int(y), qRgb(TIFFGetR(p), TIFFGetG(p), TIFFGetB(p)));
            }
    }
    TIFFClose(tif);
    return file;
}

class CaptureTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        captureFolder = folder.file(QStringLiteral("shots/Captured"));
        grabber.picture = screenPicture();
    }
    void TearDown() override {
        dialog.reset();
        MainWindowTest::TearDown();
    }

    frmCapture& open(int mode) {
        frmMain& w = start();
        picbasket::Setup.Capture.Mode = int16_t(mode);
        picbasket::Setup.Capture.Folder = captureFolder;
        picbasket::Setup.Capture.GenericName = QStringLiteral("Grab");
        dialog = std::make_unique<frmCapture>(w.wiring(), grabber);
        dialog->Form_Load();
        dialog->random = [this] {
            // Without queued draws: 0.25, then numbers never drawn before.
            if (draws.empty())
                return 0.25 + 0.0001 * double(spare++);
            const double d = draws.front();
            draws.pop_front();
            return d;
        };
        dialog->show();
        return *dialog;
    }

    QStringList capturedFiles() const {
        return QDir(captureFolder).entryList({QStringLiteral("*")}, QDir::Files);
    }

    // Waits until the fake has been asked for a picture (delayed grabs).
    void waitForGrab(size_t count = 1) {
        QTRY_COMPARE_WITH_TIMEOUT(grabber.grabTimes.size(), count, 3000);
        QApplication::processEvents();
    }

    QString captureFolder;
    FakeScreenGrabber grabber;
    std::unique_ptr<frmCapture> dialog;
    std::deque<double> draws;
    int spare = 0;
};

TEST_F(CaptureTest, TheDialogShowsItsControlsAndTheSetupMode) {
    for (int mode = 0; mode < 3; ++mode) {
        frmCapture& d = open(mode);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Capture"));
        EXPECT_EQ(d.CaptureMode, mode);
        EXPECT_TRUE(d.optCapture[size_t(mode)]->isChecked());
        EXPECT_EQ(d.Label4->text(), QStringLiteral("Choose a screen to capture"));
        EXPECT_EQ(d.optCapture[0]->text(), QStringLiteral("Desktop"));
        EXPECT_EQ(d.optCapture[1]->text(), QStringLiteral("Foreground"));
        EXPECT_EQ(d.optCapture[2]->text(), QStringLiteral("Background"));
        EXPECT_EQ(d.cmdCapture->text(), QStringLiteral("Whole Screen"));
        EXPECT_EQ(d.CmdCustom->text(), QStringLiteral("Select Region"));
        EXPECT_EQ(d.cmdExit->text(), QStringLiteral("Exit"));
        d.optCapture[(size_t(mode) + 1) % 3]->setChecked(true);
        EXPECT_EQ(d.CaptureMode, (mode + 1) % 3);
        EXPECT_EQ(picbasket::Setup.Capture.Mode, mode) << "the choice is not stored";
        d.cmdExit->click();
        EXPECT_FALSE(d.isVisible());
        dialog.reset();
        window.reset();
    }
}

// Foreground: at once, with the dialog gone from the screen and the main window shown.
TEST_F(CaptureTest, ForegroundCapturesAtOnceIntoFilePreviewAndBasket) {
    frmCapture& d = open(1);
    frmMain& w = *window;
    w.metadataPane().exifList()->AddRow(ListView::Row{QStringLiteral("old"), {}, {}, {}, {}});
    bool dialogShown = true;
    grabber.onGrab = [&] { dialogShown = d.isVisible(); };
    draws = {0.5};
    d.cmdCapture->click();
    ASSERT_EQ(grabber.grabTimes.size(), 1u) << "no delay";
    EXPECT_FALSE(dialogShown);
    EXPECT_GE(grabber.syncCount, 1);
    EXPECT_TRUE(grabber.showingDesktopRequests.empty());

    // A folder without a trailing separator: folder, separator, name, number.
    const QString path = captureFolder + QStringLiteral("/Grab4999.tif");
    EXPECT_EQ(capturedFiles(), QStringList{QStringLiteral("Grab4999.tif")});
    const TiffFile file = readTiff(path);
    EXPECT_EQ(file.photometric, PHOTOMETRIC_RGB);
    EXPECT_EQ(file.pixels, grabber.picture);

    ASSERT_EQ(w.basketPane().list()->Count(), 1);
    EXPECT_EQ(w.basketPane().list()->Text(1), QStringLiteral("Grab4999"));
    EXPECT_EQ(w.basketPane().list()->Tag(1), path);
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 1), QStringLiteral("64 X 48"));
    clsFileInfo info;
    info.setFilePath(path);
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 2), info.fSizeFormated(0));
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 3), info.fType());
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 4), path);
    EXPECT_EQ(w.basketPane().thumbnails()->Count(), 1);
    const QImage thumbnail = w.basketPane().thumbnails()->Image(w.basketPane().list()->SmallIconKey(1));
    EXPECT_EQ(thumbnail.size(), QSize(BasketThumbnailWidth, BasketThumbnailHeight));
    EXPECT_EQ(w.sbMain->Panel(QStringLiteral("queue"))->Text(),
              QStringLiteral("1 file(s) in basket"));

    EXPECT_EQ(w.fileListFocus().PicTiffTag, path);
    ImageBox& box = w.previewPane().box()->box();
    EXPECT_EQ(box.Tag(), path);
    EXPECT_EQ(box.Picture().convertToFormat(QImage::Format_RGB888), grabber.picture);
    EXPECT_FALSE(box.Option210());
    ImageBox copy;
    copy.setImage(OriginalImageData);
    EXPECT_EQ(copy.Picture().convertToFormat(QImage::Format_RGB888), grabber.picture);

    EXPECT_EQ(w.metadataPane().exifList()->Count(), 0);
    EXPECT_GT(w.metadataPane().iptcList()->Count(), 0);
    EXPECT_EQ(w.metadataPane().iptcList()->Tag(), path);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(CaptureTest, DelayedModesGrabOnceAfterHalfASecond) {
    struct Case {
        int mode;
        std::vector<bool> desktopRequests;
    };
    for (const Case& c : {Case{0, {true, false}}, Case{2, {}}}) {
        frmCapture& d = open(c.mode);
        frmMain& w = *window;
        grabber.grabTimes.clear();
        grabber.showingDesktopRequests.clear();
        bool mainShown = true;
        grabber.onGrab = [&] { mainShown = w.isVisible(); };
        QElapsedTimer clock;
        clock.start();
        d.cmdCapture->click();
        EXPECT_TRUE(grabber.grabTimes.empty()) << c.mode;
        EXPECT_FALSE(w.isVisible()) << "hidden, not only minimised: " << c.mode;
        EXPECT_FALSE(d.isVisible());
        waitForGrab();
        EXPECT_GE(clock.elapsed(), 500) << c.mode;
        EXPECT_FALSE(mainShown) << c.mode;
        EXPECT_EQ(grabber.showingDesktopRequests, c.desktopRequests) << c.mode;
        EXPECT_TRUE(w.isVisible()) << c.mode;
        EXPECT_EQ(w.basketPane().list()->Count(), 1) << c.mode;
        QTest::qWait(600);
        EXPECT_EQ(grabber.grabTimes.size(), 1u) << "one grab only: " << c.mode;
        dialog.reset();
        window.reset();
    }
}

// A repeated number is drawn again, so the earlier capture stays.
TEST_F(CaptureTest, ARepeatedNumberGivesASecondFile) {
    frmCapture& d = open(1);
    frmMain& w = *window;
    draws = {0.5, 0.5, 0.5, 0.75};
    d.cmdCapture->click();
    grabber.picture = screenPicture(32, 16);
    d.cmdCapture->click();
    EXPECT_EQ(capturedFiles(),
              (QStringList{QStringLiteral("Grab4999.tif"), QStringLiteral("Grab7499.tif")}));
    ASSERT_EQ(w.basketPane().list()->Count(), 2);
    EXPECT_NE(w.basketPane().list()->Tag(1), w.basketPane().list()->Tag(2));
    EXPECT_EQ(readTiff(w.basketPane().list()->Tag(1)).pixels, screenPicture());
    EXPECT_EQ(readTiff(w.basketPane().list()->Tag(2)).pixels, screenPicture(32, 16));
    EXPECT_EQ(w.basketPane().list()->SubItem(2, 1), QStringLiteral("32 X 16"));
}

TEST_F(CaptureTest, AFailingGrabStopsAfterItsMessage) {
    struct Case {
        bool unreadable;
        QString title;
    };
    for (const Case& c : {Case{false, QStringLiteral("INTERNAL ERROR!")}, Case{true, QString()}}) {
        frmCapture& d = open(1);
        frmMain& w = *window;
        ImageBox& box = w.previewPane().box()->box();
        box.setBitmapHandle(screenPicture(8, 8));
        const QImage original = OriginalImageData;
        grabber.picture = QImage();
        grabber.unreadable = c.unreadable;
        const size_t before = messages.shown().size();
        d.cmdCapture->click();
        ASSERT_EQ(messages.shown().size(), before + 1);
        const MessageRequest& shown = messages.shown().back();
        if (c.unreadable) {
            EXPECT_TRUE(shown.text.contains(QStringLiteral("cannot be read")))
                << shown.text.toStdString();
        } else {
            EXPECT_EQ(shown.title, c.title);
            EXPECT_EQ(shown.text, QStringLiteral("There was an internal error! Please try again!"));
            EXPECT_EQ(shown.style & 0x70, mb::Information);
        }
        EXPECT_EQ(w.basketPane().list()->Count(), 0);
        EXPECT_TRUE(capturedFiles().isEmpty());
        EXPECT_EQ(box.Picture().size(), QSize(8, 8)) << "the preview keeps its image";
        EXPECT_EQ(OriginalImageData, original);
        EXPECT_TRUE(w.isVisible());
        dialog.reset();
        window.reset();
    }
}

TEST_F(CaptureTest, AFailedDelayedGrabBringsTheMainWindowBack) {
    frmCapture& d = open(0);
    grabber.picture = QImage();
    d.cmdCapture->click();
    waitForGrab();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(grabber.showingDesktopRequests, (std::vector<bool>{true, false}));
    EXPECT_EQ(window->basketPane().list()->Count(), 0);
}

// The metadata of the photo previewed before never reaches the capture's file.
TEST_F(CaptureTest, TheCaptureCarriesNoMetadataOfThePreviousPreview) {
    frmCapture& d = open(1);
    ImageBox& box = window->previewPane().box()->box();
    box.setBitmapHandle(screenPicture(8, 8));
    box.setIptcCaption(QStringLiteral("holiday"));
    box.SetExifAttribute(QStringLiteral("Artist"), QStringLiteral("someone"));
    ASSERT_TRUE(box.HasIptc());
    d.cmdCapture->click();
    ASSERT_EQ(window->basketPane().list()->Count(), 1);
    ImageBox saved;
    saved.LoadFromFile(window->basketPane().list()->Tag(1));
    EXPECT_FALSE(saved.HasIptc());
    EXPECT_TRUE(saved.ExifValueByName(QStringLiteral("Artist")).isEmpty());
    EXPECT_EQ(window->sbMain->Panel(QStringLiteral("metadata"))->Text(),
              QStringLiteral("No metadata"));
}

// Save options left on the preview (1-bit, CCITT Group 4) do not reach the capture.
TEST_F(CaptureTest, GroupFourOnThePreviewStillSavesColour) {
    frmCapture& d = open(1);
    ImageBox& box = window->previewPane().box()->box();
    box.setColorFormat(6);
    box.setTiffCompression(2);
    d.cmdCapture->click();
    ASSERT_EQ(window->basketPane().list()->Count(), 1);
    const TiffFile file = readTiff(window->basketPane().list()->Tag(1));
    EXPECT_EQ(file.photometric, PHOTOMETRIC_RGB);
    EXPECT_EQ(file.samples, 3);
    EXPECT_EQ(file.pixels, grabber.picture);
}

TEST_F(CaptureTest, AMissingCaptureFolderIsCreated) {
    frmCapture& d = open(1);
    picbasket::Setup.Capture.Folder = folder.file(QStringLiteral("a/b/c/"));
    d.cmdCapture->click();
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("a/b/c/Grab2499.tif"))));
    EXPECT_TRUE(errors.reports().empty());
}

// Select Region in Foreground: the rectangle window at once; a drag toward the upper
// left and accept crop the normalised rectangle into the capture.
TEST_F(CaptureTest, ARegionDrawnOnTheFrozenScreenIsCaptured) {
    frmCapture& d = open(1);
    frmMain& w = *window;
    d.CmdCustom->click();
    ASSERT_EQ(grabber.grabTimes.size(), 1u);
    fCaptureRectangle& r = d.rectangleWindow();
    EXPECT_TRUE(r.isVisible());
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.isLoaded()) << "the dialog is unloaded once the picture went on";
    EXPECT_TRUE(r.Toolbar1->isVisible());
    EXPECT_EQ(r.ImageBox1->box().Picture(), grabber.picture);
    EXPECT_EQ(r.machine().SelectionState(), 1);
    r.machine().mouseDown(40, 30);
    r.machine().mouseMove(10, 5);
    r.machine().mouseUp(10, 5);
    EXPECT_FALSE(r.ImageBox1->box().OverlayFigures().empty());
    r.cmdBar[1]->click();
    EXPECT_FALSE(r.isVisible());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(w.basketPane().list()->Count(), 1);
    EXPECT_EQ(w.basketPane().list()->SubItem(1, 1), QStringLiteral("30 X 25"));
    const QImage region = grabber.picture.copy(10, 5, 30, 25);
    EXPECT_EQ(readTiff(w.basketPane().list()->Tag(1)).pixels, region) << "no marks in the pixels";
    EXPECT_EQ(w.previewPane().box()->box().Picture().convertToFormat(QImage::Format_RGB888), region);
}

TEST_F(CaptureTest, SelectRegionAfterDelayAndCancel) {
    frmCapture& d = open(0);
    d.CmdCustom->click();
    EXPECT_TRUE(grabber.grabTimes.empty());
    EXPECT_FALSE(window->isVisible());
    waitForGrab();
    EXPECT_GE(grabber.grabTimes[0], 500);
    EXPECT_EQ(grabber.showingDesktopRequests, (std::vector<bool>{true, false}));
    fCaptureRectangle& r = d.rectangleWindow();
    EXPECT_TRUE(r.isVisible());
    EXPECT_FALSE(window->isVisible()) << "the main window waits for the rectangle";
    r.cmdBar[3]->click();
    EXPECT_FALSE(r.isVisible());
    EXPECT_FALSE(r.isLoaded());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->basketPane().list()->Count(), 0);
    EXPECT_TRUE(capturedFiles().isEmpty());
}

TEST_F(CaptureTest, TheCaptureButtonOpensTheDialogModally) {
    frmMain& w = start();
    QString shown;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        shown = modal->objectName();
        owner = modal->parentWidget();
        modal->hide();
    });
    w.folderPane().captureButton()->click();
    EXPECT_EQ(shown, QStringLiteral("frmCapture"));
    EXPECT_EQ(owner, &w);
}

} // namespace

namespace {

// The window's own mouse, as the display server delivers it: a drag on the picture,
// a hover and a double-click inside accept.
void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, {});
    QApplication::sendEvent(w, &event);
}

TEST_F(CaptureTest, ADoubleClickInsideTheDrawnRectangleCaptures) {
    frmCapture& d = open(1);
    d.CmdCustom->click();
    fCaptureRectangle& r = d.rectangleWindow();
    ImageBoxView* view = r.ImageBox1;
    int toggles = 0;
    QObject::connect(&r.machine(), &CaptureRectangleMachine::toolStripToggled, [&] { ++toggles; });
    send(view, QEvent::MouseButtonPress, QPoint(5, 6), Qt::LeftButton);
    send(view, QEvent::MouseMove, QPoint(20, 20), Qt::LeftButton);
    send(view, QEvent::MouseMove, QPoint(35, 30), Qt::LeftButton);
    send(view, QEvent::MouseButtonRelease, QPoint(35, 30));
    ASSERT_EQ(r.machine().SelectionState(), 3);
    send(view, QEvent::MouseMove, QPoint(20, 20));
    EXPECT_EQ(r.machine().selection().HitGrip, 9);
    send(view, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
    send(view, QEvent::MouseButtonRelease, QPoint(20, 20));
    send(view, QEvent::MouseButtonDblClick, QPoint(20, 20), Qt::LeftButton);
    send(view, QEvent::MouseButtonRelease, QPoint(20, 20));
    EXPECT_EQ(toggles, 0);
    EXPECT_FALSE(r.isVisible());
    ASSERT_EQ(window->basketPane().list()->Count(), 1);
    EXPECT_EQ(window->basketPane().list()->SubItem(1, 1), QStringLiteral("30 X 24"));
}

} // namespace
