#pragma once
#include <QImage>
#include <QWidget>
#include <array>

class QPushButton;

namespace picbasket {

class CaptureRectangleMachine;
class ImageBoxView;
class frmCapture;

// The window that lies over the whole screen with a frozen picture of it, on which
// the user draws a rectangle, moves it or reshapes it by eight grips, then accepts
// it (the picture is cropped to it and the capture dialog finishes the capture) or
// cancels. The rubber band and the grips are figures on the picture's overlay; the
// picture's pixels are never drawn on. The mouse is CaptureRectangleMachine's.
class fCaptureRectangle : public QWidget {
    Q_OBJECT

public:
    // `main` is the main window, hidden while the screen is read and shown again when
    // the rectangle window closes.
    fCaptureRectangle(frmCapture& capture, QWidget& main);
    ~fCaptureRectangle() override;

    // Loads the window when needed, lets pending events run, takes the picture,
    // shows the window over the screen and starts a new selection.
    void ShowPicture(const QImage& picture);
    // 0 new selection, 1 accept, 2 show or hide the tool strip, 3 cancel.
    void cmdBar_Click(int index);
    bool isLoaded() const { return loaded_; }

    CaptureRectangleMachine& machine() const { return *machine_; }

    ImageBoxView* ImageBox1 = nullptr;
    QWidget* Toolbar1 = nullptr;
    QWidget* picPosition = nullptr;
    std::array<QPushButton*, 4> cmdBar{};

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void connectMachine();
    void Form_Load();
    void Form_Unload();
    // The frozen picture's display pixels as its device pixels.
    QRect toImagePixels(const QRect& shown) const;
    void acceptRectangle(const QRect& shown);
    void cancelCapture();
    void showToolStripNearTop(int y);

    frmCapture& capture_;
    QWidget& main_;
    CaptureRectangleMachine* machine_ = nullptr;
    bool loaded_ = false;
};

// The pictures of the four buttons: a dashed frame, a tick, an upward arrow and a
// cross, black on white.
QImage fncCaptureButtonPicture(int index);

} // namespace picbasket
