#include "browser/SelectionController.h"

#include "core/Convert.h"

#include <algorithm>
#include <cstdlib>

namespace picbasket {

namespace {

constexpr int RightButton = 2;
constexpr int WatermarkTask = 9;
constexpr int TextTask = 10;

// The window system's numbered pointers.
constexpr int DefaultPointer = 0;
constexpr int CrossPointer = 2;
constexpr int IBeamPointer = 3;
constexpr int MovePointer = 5;
constexpr int RisingDiagonalPointer = 6;
constexpr int VerticalPointer = 7;
constexpr int FallingDiagonalPointer = 8;
constexpr int HorizontalPointer = 9;

QString pointText(int x, int y) {
    return QStringLiteral("X : %1 ; Y : %2").arg(x).arg(y);
}

// Half-open on the side where the drag began: [a, b) when a < b, (b, a] when b < a.
bool withinSpan(int value, int a, int b) {
    if (a < b)
        return value >= a && value < b;
    if (b < a)
        return value > b && value <= a;
    return false;
}

// A picked display coordinate scaled into the image and kept on its pixels.
int scaledIntoImage(int value, int imageSide, int displaySide) {
    const double scaled = roundHalfEven(double(imageSide) / displaySide * value);
    return int(std::clamp(scaled, 0.0, double(imageSide - 1)));
}

} // namespace

SelectionController::SelectionController(QObject* parent) : QObject(parent) {}

void SelectionController::drawRubberBand() {
    if (PreviewToolMode == RectangleTool)
        emit drawFigure(SelX1, SelY1, SelX2 + 1, SelY2 + 1, false);
}

void SelectionController::subDrawGrips() {
    if (PreviewToolMode != RectangleTool)
        return;
    for (int i = 1; i <= 8; ++i) {
        const Grip& g = Grips[size_t(i)];
        if (!g.Visible)
            continue;
        emit drawFigure(g.X - 1, g.Y - 1, g.X + 2, g.Y + 2, true);
        emit drawFigure(g.X - 2, g.Y - 2, g.X + 3, g.Y + 3, true);
    }
}

void SelectionController::subCalculateGrips() {
    // Integer division drops the fraction toward zero, as the mid grips need.
    const int midX = (SelX1 + SelX2) / 2;
    const int midY = (SelY1 + SelY2) / 2;
    const bool wide = std::abs(SelX2 - SelX1) > MidGripMinimum;
    const bool high = std::abs(SelY2 - SelY1) > MidGripMinimum;
    Grips[1] = {SelX1, SelY1, true};
    Grips[2] = {SelX2, SelY1, true};
    Grips[3] = {SelX1, SelY2, true};
    Grips[4] = {SelX2, SelY2, true};
    Grips[5] = {midX, SelY1, wide};
    Grips[6] = {midX, SelY2, wide};
    Grips[7] = {SelX1, midY, high};
    Grips[8] = {SelX2, midY, high};
}

// The marks go whatever happened to the image meanwhile: the window empties the
// preview's overlay instead of drawing the old figures again.
void SelectionController::subClearSelection() {
    emit clearFigures();
    PreviewMouseMode = Idle;
    SelX1 = SelY1 = SelX2 = SelY2 = 0;
    for (Grip& g : Grips)
        g.Visible = false;
}

bool SelectionController::isInside(int x, int y) const {
    return withinSpan(x, SelX1, SelX2) && withinSpan(y, SelY1, SelY2);
}

int SelectionController::hitTest(int x, int y) const {
    int hit = 0;
    for (int i = 1; i <= 8; ++i) {
        const Grip& g = Grips[size_t(i)];
        if (g.Visible && std::abs(g.X - x) < GripReach && std::abs(g.Y - y) < GripReach)
            hit = i;
    }
    if (hit == 0 && isInside(x, y))
        hit = Inside;
    return hit;
}

// A corner grip shows the diagonal it moves along. With one side reversed the
// corners trade diagonals; with both reversed the rectangle is only turned half
// round and every corner lies on its usual diagonal again.
int SelectionController::pointerFor(int hit) const {
    const bool mirrored = (SelX2 < SelX1) != (SelY2 < SelY1);
    switch (hit) {
    case 1:
    case 4:
        return mirrored ? RisingDiagonalPointer : FallingDiagonalPointer;
    case 2:
    case 3:
        return mirrored ? FallingDiagonalPointer : RisingDiagonalPointer;
    case 5:
    case 6:
        return VerticalPointer;
    case 7:
    case 8:
        return HorizontalPointer;
    case Inside:
        return MovePointer;
    default:
        return DefaultPointer;
    }
}

void SelectionController::pickColour(int x, int y) {
    const PickGeometry g = pickGeometry ? pickGeometry() : PickGeometry{};
    if (g.imageWidth <= 0 || g.imageHeight <= 0 || g.displayWidth <= 0 || g.displayHeight <= 0)
        return;
    PickX = scaledIntoImage(x, g.imageWidth, g.displayWidth);
    PickY = scaledIntoImage(y, g.imageHeight, g.displayHeight);
    emit colourPicked(pixelColour ? pixelColour(PickX, PickY) : 0);
    emit taskOptionsChanged();
    emit applyButtonsEnabled(true);
}

void SelectionController::storeLocation(int x, int y) {
    const int task = currentTask ? currentTask() : 0;
    if (task == WatermarkTask) {
        WatermarkPointX = x;
        WatermarkPointY = y;
    } else if (task == TextTask) {
        TextPointX = x;
        TextPointY = y;
    }
    emit locationText(QStringLiteral("X-%1; Y-%2").arg(x).arg(y));
}

void SelectionController::reshape(int x, int y) {
    switch (HitGrip) {
    case 1: SelX1 = x; SelY1 = y; break;
    case 2: SelX2 = x; SelY1 = y; break;
    case 3: SelX1 = x; SelY2 = y; break;
    case 4: SelX2 = x; SelY2 = y; break;
    case 5: SelY1 = y; break;
    case 6: SelY2 = y; break;
    case 7: SelX1 = x; break;
    case 8: SelX2 = x; break;
    default: break;
    }
}

void SelectionController::mouseDown(int button, int x, int y) {
    if (button == RightButton) {
        setPointer(DefaultPointer);
        emit previewMenuRequested();
        return;
    }
    if (CropByMouseActive) {
        CropStartX = CropEndX = x;
        CropStartY = CropEndY = y;
        emit regionStartText(pointText(x, y));
        emit regionEndText(pointText(x, y));
    }
    switch (PreviewMouseMode) {
    case Idle:
        SelX1 = SelY1 = 0;
        if (PreviewToolMode == ColourPickTool)
            pickColour(x, y);
        break;
    case WaitingForPress:
        // The band starts as the one pixel pressed on, so the first move erases
        // what is really there and leaves no stray dot behind.
        SelX1 = SelX2 = x;
        SelY1 = SelY2 = y;
        PreviewMouseMode = Drawing;
        drawRubberBand();
        break;
    case Settled:
        subDrawGrips();
        if (HitGrip == Inside) {
            PreviewMouseMode = Moving;
            DragDX = x - SelX1;
            DragDY = y - SelY1;
            setPointer(MovePointer);
        } else {
            // Pressed away from every grip (HitGrip 0) this drag changes nothing and
            // the release shows the grips again.
            PreviewMouseMode = DraggingGrip;
        }
        break;
    default:
        break;
    }
}

void SelectionController::mouseMove(int x, int y) {
    if (CropByMouseActive) {
        CropEndX = x;
        CropEndY = y;
        emit regionEndText(pointText(x, y));
    }
    if (LocationPickMode) {
        storeLocation(x, y);
        setPointer(IBeamPointer);
    }
    switch (PreviewMouseMode) {
    case Idle:
        if (PreviewToolMode == ColourPickTool)
            pickColour(x, y);
        break;
    case WaitingForPress:
        setPointer(CrossPointer);
        break;
    case Drawing:
        setPointer(CrossPointer);
        drawRubberBand();
        SelX2 = x;
        SelY2 = y;
        drawRubberBand();
        break;
    case Settled:
        HitGrip = hitTest(x, y);
        setPointer(pointerFor(HitGrip));
        break;
    case DraggingGrip:
        drawRubberBand();
        reshape(x, y);
        drawRubberBand();
        break;
    case Moving: {
        drawRubberBand();
        const int width = SelX2 - SelX1;
        const int height = SelY2 - SelY1;
        SelX1 = x - DragDX;
        SelX2 = SelX1 + width;
        SelY1 = y - DragDY;
        SelY2 = SelY1 + height;
        drawRubberBand();
        break;
    }
    default:
        break;
    }
}

// The release of a right-button press does nothing: that press only opened the
// menu, so it neither ends a crop drag nor a pick.
void SelectionController::mouseUp(int button, int x, int y) {
    if (button == RightButton)
        return;
    if (CropByMouseActive) {
        CropEndX = x;
        CropEndY = y;
        emit regionEndText(pointText(x, y));
        emit taskOptionsChanged();
        emit applyButtonsEnabled(true);
        CropByMouseActive = false;
        emit cropByMouseFinished();
    }
    if (LocationPickMode) {
        storeLocation(x, y);
        emit taskOptionsChanged();
        emit applyButtonsEnabled(true);
        LocationPickMode = false;
        emit locationPickFinished();
    }
    if (PreviewMouseMode == Drawing || PreviewMouseMode == DraggingGrip ||
        PreviewMouseMode == Moving) {
        PreviewMouseMode = Settled;
        subCalculateGrips();
        subDrawGrips();
    }
    setPointer(DefaultPointer);
    emit pickBoxesCleared();
    emit taskOptionsChanged();
}

} // namespace picbasket
