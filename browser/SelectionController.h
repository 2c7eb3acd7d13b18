#pragma once
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace picbasket {

// What the mouse does on the preview: drawing a rectangle, reshaping it by its
// eight grips, moving it, recording the crop drag, picking a background colour and
// picking the watermark or text position. It is fed (button, x, y) in display
// pixels and answers through its signals; the window turns those into marks on the
// preview, pointers and label texts. Marks are inverting figures, so drawing one
// again erases it: every change erases the old figure, moves the corners and draws
// the new one.
//
//        1 ------- 5 ------- 2        grip  X        Y        drag moves
//        |                   |         1    SelX1    SelY1    SelX1, SelY1
//        7                   8         2    SelX2    SelY1    SelX2, SelY1
//        |                   |         3    SelX1    SelY2    SelX1, SelY2
//        3 ------- 6 ------- 4         4    SelX2    SelY2    SelX2, SelY2
//                                      5, 6 mid X    SelY1/2  SelY1 / SelY2 (width > 15)
//   (SelX1, SelY1) is where the        7, 8 SelX1/2  mid Y    SelX1 / SelX2 (height > 15)
//   drag began, so X2 may be less than X1.
class SelectionController : public QObject {
    Q_OBJECT

public:
    // What a press, move or release does, by PreviewMouseMode.
    enum MouseMode : int16_t {
        Idle = 0,
        WaitingForPress = 1,
        Drawing = 2,
        Settled = 3,
        DraggingGrip = 4,
        Moving = 5,
    };
    // What is drawn: nothing, the rectangle, or a colour pick.
    enum ToolMode : int32_t { NoTool = 0, RectangleTool = 2, ColourPickTool = 4 };
    // HitGrip after a hover over the inside of the rectangle.
    static constexpr int Inside = 9;
    // A grip is within reach when both distances are below this.
    static constexpr int GripReach = 3;
    // Grips 5 to 8 appear only on a side longer than this.
    static constexpr int MidGripMinimum = 15;

    struct Grip {
        int X = 0;
        int Y = 0;
        bool Visible = false;
    };
    // The shown image's geometry, for the colour pick.
    struct PickGeometry {
        int imageWidth = 0;
        int imageHeight = 0;
        int displayWidth = 0;
        int displayHeight = 0;
    };

    explicit SelectionController(QObject* parent = nullptr);

    // Buttons: 1 left, 2 right, 4 middle.
    void mouseDown(int button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(int button, int x, int y);

    // Erases every mark and forgets the rectangle.
    void subClearSelection();
    // Sets the eight grips from the corners.
    void subCalculateGrips();
    // Draws every visible grip (drawn again, it erases them).
    void subDrawGrips();

    // The hover result for a pointer at (x, y): 0 nothing, 1 to 8 a grip, 9 inside.
    int hitTest(int x, int y) const;
    // The pointer a hover result shows.
    int pointerFor(int hit) const;
    bool isInside(int x, int y) const;

    // The shown image and its pixels, for the colour pick. Without an image (no
    // geometry given, or a zero size) nothing is picked.
    std::function<PickGeometry()> pickGeometry;
    std::function<uint32_t(int x, int y)> pixelColour;
    // The task being set up (9 watermark, 10 text), for the position pick.
    std::function<int()> currentTask;

    int16_t PreviewMouseMode = Idle;
    int32_t PreviewToolMode = NoTool;
    int SelX1 = 0, SelY1 = 0, SelX2 = 0, SelY2 = 0;
    // Entries 1 to 8 are the grips.
    std::array<Grip, 9> Grips{};
    int HitGrip = 0;
    int DragDX = 0, DragDY = 0;
    int PickX = 0, PickY = 0;
    bool CropByMouseActive = false;
    int CropStartX = 0, CropStartY = 0, CropEndX = 0, CropEndY = 0;
    bool LocationPickMode = false;
    int WatermarkPointX = 0, WatermarkPointY = 0, TextPointX = 0, TextPointY = 0;

Q_SIGNALS:
    // An inverting figure over [left, right) x [top, bottom) in display pixels;
    // grips are drawn with a solid pen, the rectangle with the preview's own pen.
    void drawFigure(int left, int top, int right, int bottom, bool grip);
    // Every mark is to go, whatever the image did since they were drawn.
    void clearFigures();
    void pointerChanged(int pointer);
    // The right button was pressed.
    void previewMenuRequested();
    void regionStartText(const QString& text);
    void regionEndText(const QString& text);
    void locationText(const QString& text);
    void colourPicked(uint32_t colour);
    // An option of the shown task changed; the task panel's apply buttons are to be
    // enabled.
    void taskOptionsChanged();
    void applyButtonsEnabled(bool enabled);
    // The crop drag and the position pick are done: their boxes are to be cleared.
    void cropByMouseFinished();
    void locationPickFinished();
    // Every release clears the crop colour-pick box and the red-eye box.
    void pickBoxesCleared();

private:
    void drawRubberBand();
    void pickColour(int x, int y);
    void storeLocation(int x, int y);
    void reshape(int x, int y);
    void setPointer(int pointer) { emit pointerChanged(pointer); }
};

} // namespace picbasket
