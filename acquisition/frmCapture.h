#pragma once
#include <QDialog>
#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace picbasket {

class AcquisitionTarget;
class ScreenGrabber;
class fCaptureRectangle;

// The capture dialog ("Capture"): a picture of the whole screen, taken at once
// ("Foreground"), or after the windows are out of the way ("Desktop": every window,
// "Background": the main window), or of a rectangle the user draws on a frozen
// picture of the screen ("Select Region", fCaptureRectangle). Every capture becomes
// the preview's image and its in-memory copy, a TIFF file in the capture folder and a
// basket row. The main window shows the dialog modally; "Whole Screen" and "Exit"
// hide it, the rectangle capture unloads it once the picture went to the window.
class frmCapture : public QDialog {
    Q_OBJECT

public:
    // The grabber must outlive the dialog.
    frmCapture(AcquisitionTarget& main, ScreenGrabber& grabber);
    // A dialog that owns its grabber.
    frmCapture(AcquisitionTarget& main, std::unique_ptr<ScreenGrabber> grabber);
    ~frmCapture() override;

    // Selects the option of Setup.Capture.Mode.
    void Form_Load();
    // Hides the dialog; the next show loads it again.
    void Form_Unload();
    bool isLoaded() const { return loaded_; }

    // "Select Region".
    void CmdCustom_Click();
    // Copies the screen into Picture1 (mode 0 the whole screen, 1 the screen's full
    // rectangle; other modes leave no picture).
    void capturePic(int mode);
    // A whole-screen capture in the mode.
    void subCapture(int mode);
    // Takes the picture of the mode (0 and 1 the screen, 2 the cropped picture of the
    // rectangle window) and finishes the capture. A failed grab stops after its
    // message and the main window comes back as it was.
    void capturePicture(int mode);

    void optCapture_Click(int index);
    void cmdCapture_Click();
    void cmdExit_Click();
    void timerCapture_Timer();
    void Timer2_Timer();

    // The rectangle window, made on first use.
    fCaptureRectangle& rectangleWindow();

    // 0 "Desktop", 1 "Foreground", 2 "Background"; not written back to the setup.
    int16_t CaptureMode = 0;
    // Uniform in [0, 1), for the file number; the process-wide generator unless a
    // test sets another.
    std::function<double()> random;

    QLabel* Label4 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QWidget* picFrame = nullptr;
    std::array<QRadioButton*, 3> optCapture{};
    QPushButton* cmdCapture = nullptr;
    QPushButton* CmdCustom = nullptr;
    QPushButton* cmdExit = nullptr;
    QTimer* timerCapture = nullptr;
    QTimer* Timer2 = nullptr;
    // The picture of a rectangle capture.
    QImage Picture1;

private:
    void buildControls();
    // Writes the preview's image into the capture folder and adds its basket row.
    void subAddItemToBasket();
    // Hides our windows and asks the window manager to show the desktop.
    void subMinimiseEveryWindow();
    void leaveShowingDesktop();
    // Lets the hidden dialog leave the screen before a grab.
    void subSettleScreen();
    void subRestoreMainWindow();
    QScreen* captureScreen() const;

    AcquisitionTarget& main_;
    std::unique_ptr<ScreenGrabber> ownGrabber_;
    ScreenGrabber& grabber_;
    std::unique_ptr<fCaptureRectangle> rectangle_;
    bool loaded_ = false;
    bool showingDesktop_ = false;
};

// The capture dialog of the target's window, made on first use with the system's
// screen grabber (again when the window changed) and shown modally.
void subShowCaptureDialog(AcquisitionTarget& target);

} // namespace picbasket
