#include "acquisition/fCaptureRectangle.h"

#include "acquisition/CaptureRectangleMachine.h"
#include "acquisition/frmCapture.h"
#include "controls/buttons/modButtonPicture.h"
#include "core/ErrorHandler.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace picbasket {

namespace {

constexpr int ButtonSide = 28;
constexpr int PictureSide = 16;
// The tool strip comes back when the pointer nears the top edge.
constexpr int ToolStripReach = 10;

const char* const ButtonTips[4] = {"New selection", "Capture the selection", "Hide the tool strip",
                                   "Cancel"};

QScreen* screenOf(const QWidget& widget) {
    QScreen* screen = widget.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

QImage fncCaptureButtonPicture(int index) {
    QImage picture(PictureSide, PictureSide, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, index != 0);
    switch (index) {
    case 0:
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawRect(2, 2, 11, 11);
        break;
    case 1:
        p.setPen(QPen(Qt::black, 2));
        p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
        break;
    case 2:
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(8, 13), QPointF(8, 3.5));
        p.drawPolyline(QPolygonF({QPointF(3.5, 8), QPointF(8, 3.5), QPointF(12.5, 8)}));
        break;
    default:
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
    }
    return picture;
}

fCaptureRectangle::fCaptureRectangle(frmCapture& capture, QWidget& main)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), capture_(capture),
      main_(main) {
    setObjectName(QStringLiteral("fCaptureRectangle"));
    setWindowTitle(QStringLiteral("Select Region"));
    setMouseTracking(true);
    machine_ = new CaptureRectangleMachine(this);
    buildControls();
    connectMachine();
}

fCaptureRectangle::~fCaptureRectangle() = default;

void fCaptureRectangle::buildControls() {
    ImageBox1 = new ImageBoxView(this);
    ImageBox1->setObjectName(QStringLiteral("ImageBox1"));
    ImageBox1->setMouseTracking(true);
    Toolbar1 = new QWidget(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setAutoFillBackground(true);
    picPosition = new QWidget(Toolbar1);
    picPosition->setObjectName(QStringLiteral("picPosition"));
    auto* row = new QHBoxLayout(picPosition);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(picPosition);
        button->setObjectName(QStringLiteral("cmdBar%1").arg(i));
        button->setFixedSize(ButtonSide, ButtonSide);
        button->setToolTip(QString::fromLatin1(ButtonTips[i]));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdBar_Click(i); });
        row->addWidget(button);
        cmdBar[size_t(i)] = button;
    }
    picPosition->adjustSize();
    Toolbar1->resize(picPosition->width() + 10, picPosition->height() + 10);
}

void fCaptureRectangle::connectMachine() {
    CaptureRectangleMachine& m = *machine_;
    connect(&m, &CaptureRectangleMachine::drawFigure, this,
            [this](int left, int top, int right, int bottom, bool grip) {
                ImageBox& box = ImageBox1->box();
                const int style = box.DrawPenStyle();
                if (grip)
                    box.setDrawPenStyle(0);
                box.DrawRectangle(left, top, right, bottom);
                box.setDrawPenStyle(style);
            });
    connect(&m, &CaptureRectangleMachine::clearFigures, this,
            [this] { ImageBox1->box().ClearOverlay(); });
    connect(&m, &CaptureRectangleMachine::pointerChanged, this,
            [this](int pointer) { ImageBox1->setMousePointer(pointer); });
    connect(&m, &CaptureRectangleMachine::toolStripToggled, this,
            [this] { Toolbar1->setVisible(!Toolbar1->isVisible()); });
    connect(&m, &CaptureRectangleMachine::accepted, this, &fCaptureRectangle::acceptRectangle);
    connect(&m, &CaptureRectangleMachine::cancelled, this, &fCaptureRectangle::cancelCapture);
    connect(ImageBox1, &ImageBoxView::MouseDown, this,
            [this](int, int, int x, int y) { machine_->mouseDown(x, y); });
    connect(ImageBox1, &ImageBoxView::MouseMove, this, [this](int, int x, int y) {
        machine_->mouseMove(x, y);
        showToolStripNearTop(ImageBox1->y() + y);
    });
    connect(ImageBox1, &ImageBoxView::MouseUp, this,
            [this](int, int, int x, int y) { machine_->mouseUp(x, y); });
    connect(ImageBox1, &ImageBoxView::DblClick, this, [this] { machine_->doubleClick(); });
}

// The window covers the screen the main window is on; the picture is shown in the
// window's pixels, so a scaled screen's device pixels are fitted into them.
void fCaptureRectangle::Form_Load() {
    const QRect screen = screenOf(main_)->geometry();
    setGeometry(screen);
    for (size_t i = 0; i < cmdBar.size(); ++i)
        subSetButtonPicture(cmdBar[i], fncCaptureButtonPicture(int(i)));
    ImageBox& box = ImageBox1->box();
    box.setDrawPenMode(15);
    box.setDrawPenStyle(1);
    box.setAutoZoom(true);
    ImageBox1->setGeometry(0, 0, screen.width(), screen.height());
    Toolbar1->move(0, 0);
    picPosition->move(5, 5);
    loaded_ = true;
    cmdBar_Click(0);
    Toolbar1->setVisible(true);
    Toolbar1->raise();
}

void fCaptureRectangle::Form_Unload() {
    for (QPushButton* button : cmdBar)
        subRemoveButtonPicture(button);
    ImageBox1->box().Clear();
    loaded_ = false;
}

void fCaptureRectangle::ShowPicture(const QImage& picture) {
    if (!loaded_)
        Form_Load();
    QCoreApplication::processEvents();
    ImageBox1->box().setBitmapHandle(picture);
    showFullScreen();
    raise();
    activateWindow();
    cmdBar_Click(0);
}

void fCaptureRectangle::cmdBar_Click(int index) {
    errorTail(QStringLiteral("fCaptureRectangle.cmdBar_Click"),
              [&] { machine_->cmdBar_Click(index); });
}

QRect fCaptureRectangle::toImagePixels(const QRect& shown) const {
    const ImageBox& box = ImageBox1->box();
    const int dw = std::max(1, box.DisplayWidth());
    const int dh = std::max(1, box.DisplayHeight());
    const auto scale = [](int v, int image, int display) {
        return int((int64_t(v) * image + display / 2) / display);
    };
    const int left = scale(shown.left(), box.ImageWidth(), dw);
    const int top = scale(shown.top(), box.ImageHeight(), dh);
    const int right = std::max(left + 1, scale(shown.right() + 1, box.ImageWidth(), dw));
    const int bottom = std::max(top + 1, scale(shown.bottom() + 1, box.ImageHeight(), dh));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The picture is cropped before the window hides, so the capture takes the region. A
// crop that fails is reported and captures nothing: the whole screen is not what was
// asked for.
void fCaptureRectangle::acceptRectangle(const QRect& shown) {
    bool cropped = false;
    errorTail(QStringLiteral("fCaptureRectangle.subCropToSelection"), [&] {
        const QRect region = toImagePixels(shown);
        ImageBox& box = ImageBox1->box();
        box.SelectRectangle(region.left(), region.top(), region.right() + 1, region.bottom() + 1);
        box.CropToSelection();
        cropped = true;
    });
    hide();
    if (cropped)
        capture_.capturePicture(2);
    else
        main_.showMaximized();
    main_.show();
}

void fCaptureRectangle::cancelCapture() {
    hide();
    main_.showMaximized();
    main_.show();
    Form_Unload();
}

void fCaptureRectangle::showToolStripNearTop(int y) {
    if (y < ToolStripReach && !Toolbar1->isVisible())
        Toolbar1->setVisible(true);
}

void fCaptureRectangle::mouseMoveEvent(QMouseEvent* event) {
    showToolStripNearTop(int(event->position().y()));
}

void fCaptureRectangle::mouseDoubleClickEvent(QMouseEvent*) {
    cmdBar_Click(3);
}

// Escape cancels: the window covers the whole screen, so the keyboard needs a way out
// even while the tool strip is hidden.
void fCaptureRectangle::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        cmdBar_Click(3);
    else
        QWidget::keyPressEvent(event);
}

} // namespace picbasket
