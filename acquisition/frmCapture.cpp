#include "acquisition/frmCapture.h"

#include "acquisition/AcquisitionTarget.h"
#include "acquisition/fCaptureRectangle.h"
#include "acquisition/modAcquireBasket.h"
#include "acquisition/modCapture.h"
#include "controls/common/PaneWindow.h"
#include "core/ErrorHandler.h"
#include "core/setup/modSetup.h"
#include "editing/EditImageData.h"
#include "platform/imagebox/ImageBoxView.h"
#include "platform/screen/ScreenGrabber.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace picbasket {

namespace {

constexpr int DesktopMode = 0;
constexpr int ForegroundMode = 1;
constexpr int BackgroundMode = 2;
constexpr int RectangleMode = 2;
// Time for the windows to leave the screen before a delayed grab.
constexpr int CaptureDelayMs = 500;
// How long a capture "at once" lets the hidden dialog leave the screen.
constexpr int SettleMs = 150;
constexpr int SettleStepMs = 20;

QTimer* oneShot(QObject* parent, const char* name) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early, before the windows are gone.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(CaptureDelayMs);
    return timer;
}

// The one capture dialog, loaded on first use over the main window.
QPointer<frmCapture>& captureDialog() {
    static QPointer<frmCapture> dialog;
    return dialog;
}

} // namespace

frmCapture::frmCapture(AcquisitionTarget& main, ScreenGrabber& grabber)
    : QDialog(&main.acquisitionWindow()),
      random([] { return QRandomGenerator::global()->generateDouble(); }), main_(main),
      grabber_(grabber) {
    setObjectName(QStringLiteral("frmCapture"));
    setWindowTitle(QStringLiteral("Capture"));
    setModal(true);
    QFont tahoma = font();
    tahoma.setFamilies({QStringLiteral("Tahoma"), tahoma.family()});
    setFont(tahoma);
    buildControls();
}

frmCapture::frmCapture(AcquisitionTarget& main, std::unique_ptr<ScreenGrabber> grabber)
    : frmCapture(main, *grabber) {
    ownGrabber_ = std::move(grabber);
}

frmCapture::~frmCapture() = default;

void frmCapture::buildControls() {
    Label4 = new QLabel(QStringLiteral("Choose a screen to capture"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* options = new QVBoxLayout(Frame2);
    const char* const captions[3] = {"Desktop", "Foreground", "Background"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), Frame2);
        option->setObjectName(QStringLiteral("optCapture%1").arg(i));
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optCapture_Click(i);
        });
        options->addWidget(option);
        optCapture[size_t(i)] = option;
    }
    picFrame = new QWidget(this);
    picFrame->setObjectName(QStringLiteral("picFrame"));
    cmdCapture = new QPushButton(QStringLiteral("Whole Screen"), picFrame);
    cmdCapture->setObjectName(QStringLiteral("cmdCapture"));
    CmdCustom = new QPushButton(QStringLiteral("Select Region"), picFrame);
    CmdCustom->setObjectName(QStringLiteral("CmdCustom"));
    cmdExit = new QPushButton(QStringLiteral("Exit"), picFrame);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    auto* buttons = new QHBoxLayout(picFrame);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(cmdCapture);
    buttons->addWidget(CmdCustom);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label4);
    layout->addWidget(Frame2);
    layout->addWidget(picFrame);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdCapture, &QPushButton::clicked, this, &frmCapture::cmdCapture_Click);
    connect(CmdCustom, &QPushButton::clicked, this, &frmCapture::CmdCustom_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmCapture::cmdExit_Click);
    timerCapture = oneShot(this, "timerCapture");
    Timer2 = oneShot(this, "Timer2");
    connect(timerCapture, &QTimer::timeout, this, &frmCapture::timerCapture_Timer);
    connect(Timer2, &QTimer::timeout, this, &frmCapture::Timer2_Timer);
}

void frmCapture::Form_Load() {
    const int mode = std::clamp<int>(Setup.Capture.Mode, DesktopMode, BackgroundMode);
    CaptureMode = int16_t(mode);
    optCapture[size_t(mode)]->setChecked(true);
    loaded_ = true;
}

void frmCapture::Form_Unload() {
    hide();
    loaded_ = false;
}

void frmCapture::optCapture_Click(int index) {
    CaptureMode = int16_t(index);
}

void frmCapture::cmdCapture_Click() {
    errorTail(QStringLiteral("frmCapture.cmdCapture_Click"), [&] {
        hide();
        subCapture(CaptureMode);
    });
}

void frmCapture::cmdExit_Click() {
    hide();
}

void frmCapture::timerCapture_Timer() {
    timerCapture->stop();
    errorTail(QStringLiteral("frmCapture.timerCapture_Timer"), [&] { capturePicture(0); });
}

void frmCapture::Timer2_Timer() {
    Timer2->stop();
    errorTail(QStringLiteral("frmCapture.Timer2_Timer"), [&] {
        capturePic(0);
        leaveShowingDesktop();
        if (Picture1.isNull())
            return subRestoreMainWindow();
        rectangleWindow().ShowPicture(Picture1);
        Form_Unload();
    });
}

fCaptureRectangle& frmCapture::rectangleWindow() {
    if (!rectangle_)
        rectangle_ = std::make_unique<fCaptureRectangle>(*this, main_.acquisitionWindow());
    return *rectangle_;
}

QScreen* frmCapture::captureScreen() const {
    QScreen* screen = main_.acquisitionWindow().screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

// Without a window manager that can show the desktop, hiding our windows is all
// that can be done; the dialog is hidden already.
void frmCapture::subMinimiseEveryWindow() {
    main_.acquisitionWindow().hide();
    showingDesktop_ = grabber_.setShowingDesktop(true);
}

void frmCapture::leaveShowingDesktop() {
    if (!showingDesktop_)
        return;
    showingDesktop_ = false;
    grabber_.setShowingDesktop(false);
}

// Hiding a window is a request to the display server, and the window manager takes
// its frame away afterwards; the windows under it repaint only when their expose
// events have run. So events run and the display is synced for a short moment
// before the screen is read (input waits, so no click lands meanwhile).
void frmCapture::subSettleScreen() {
    QElapsedTimer settling;
    settling.start();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, SettleStepMs);
        grabber_.syncDisplay();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } while (settling.elapsed() < SettleMs);
}

void frmCapture::subRestoreMainWindow() {
    main_.acquisitionWindow().showMaximized();
    main_.acquisitionPaneWindow().subResize();
}

void frmCapture::subCapture(int mode) {
    switch (mode) {
    case DesktopMode:
        subMinimiseEveryWindow();
        timerCapture->start();
        return;
    case ForegroundMode:
        subSettleScreen();
        capturePicture(1);
        break;
    case BackgroundMode:
        // Hidden, not minimised: without a window manager minimising does nothing.
        main_.acquisitionWindow().hide();
        timerCapture->start();
        return;
    default:
        break;
    }
    main_.acquisitionWindow().show();
}

void frmCapture::CmdCustom_Click() {
    errorTail(QStringLiteral("frmCapture.CmdCustom_Click"), [&] {
        hide();
        QCoreApplication::processEvents();
        switch (CaptureMode) {
        case DesktopMode:
            subMinimiseEveryWindow();
            Timer2->start();
            break;
        case ForegroundMode:
            subSettleScreen();
            capturePic(1);
            if (Picture1.isNull())
                return;
            rectangleWindow().ShowPicture(Picture1);
            Form_Unload();
            break;
        case BackgroundMode:
            main_.acquisitionWindow().hide();
            Timer2->start();
            break;
        default:
            break;
        }
    });
}

void frmCapture::capturePic(int mode) {
    Picture1 = QImage();
    QScreen* screen = captureScreen();
    if (mode == 0 || mode == 1)
        Picture1 = fncCaptureScreen(grabber_, screen);
}

void frmCapture::capturePicture(int mode) {
    QImage picture;
    QScreen* screen = captureScreen();
    if (mode == 0 || mode == 1)
        picture = fncCaptureScreen(grabber_, screen);
    else if (mode == RectangleMode && rectangle_)
        picture = rectangle_->ImageBox1->box().Picture();
    leaveShowingDesktop();
    if (picture.isNull())
        return subRestoreMainWindow();
    ImageBox& box = main_.previewView()->box();
    main_.clearAcquisitionSelection();
    box.ClearSelection();
    box.Clear();
    box.setOption210(false);
    box.setBitmapHandle(picture);
    main_.setAcquiredPicture(picture);
    main_.previewView()->show();
    OriginalImageData = box.Picture();
    subAddItemToBasket();
    subRestoreMainWindow();
    main_.fitAcquiredPicture();
    main_.acquiredPictureChanged();
}

void frmCapture::subAddItemToBasket() {
    errorTail(QStringLiteral("frmCapture.subAddItemToBasket"), [&] {
        const QString path =
            fncSaveCaptureFile(main_.previewView()->box(), Setup.Capture.Folder,
                               Setup.Capture.GenericName, random);
        subAddPreviewFileToBasket(main_, path);
    });
}

// Screen capture: the capture dialog, modal, owned by the main window.
void subShowCaptureDialog(AcquisitionTarget& target) {
    errorTail(QStringLiteral("FrmMain.subShowCaptureDialog"), [&] {
        QPointer<frmCapture>& dialog = captureDialog();
        if (!dialog || dialog->parentWidget() != &target.acquisitionWindow())
            dialog = new frmCapture(target, fncSystemScreenGrabber());
        if (!dialog->isLoaded())
            dialog->Form_Load();
        dialog->exec();
    });
}

} // namespace picbasket
