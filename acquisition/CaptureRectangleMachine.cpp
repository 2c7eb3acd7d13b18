#include "acquisition/CaptureRectangleMachine.h"

#include <algorithm>

namespace picbasket {

namespace {

constexpr int LeftButton = 1;
constexpr int DefaultPointer = 0;

} // namespace

CaptureRectangleMachine::CaptureRectangleMachine(QObject* parent) : QObject(parent) {
    selection_.PreviewToolMode = SelectionController::RectangleTool;
    connect(&selection_, &SelectionController::drawFigure, this,
            &CaptureRectangleMachine::drawFigure);
    connect(&selection_, &SelectionController::clearFigures, this,
            &CaptureRectangleMachine::clearFigures);
    connect(&selection_, &SelectionController::pointerChanged, this,
            &CaptureRectangleMachine::pointerChanged);
}

void CaptureRectangleMachine::cmdBar_Click(int index) {
    switch (index) {
    case NewSelection:
        if (selection_.PreviewMouseMode == SelectionController::Settled)
            selection_.subClearSelection();
        // A hover result of the last rectangle must not make a double-click accept.
        selection_.HitGrip = 0;
        selection_.PreviewMouseMode = SelectionController::WaitingForPress;
        break;
    case Accept:
        accept();
        break;
    case ToggleToolStrip:
        emit toolStripToggled();
        break;
    case Cancel:
        emit pointerChanged(DefaultPointer);
        emit cancelled();
        break;
    default:
        break;
    }
}

// Every button draws here: the preview's right-button menu has no place on a frozen
// screen, so each press reaches the controller as the left button.
void CaptureRectangleMachine::mouseDown(int x, int y) {
    selection_.mouseDown(LeftButton, x, y);
}

void CaptureRectangleMachine::mouseMove(int x, int y) {
    selection_.mouseMove(x, y);
}

void CaptureRectangleMachine::mouseUp(int x, int y) {
    selection_.mouseUp(LeftButton, x, y);
}

void CaptureRectangleMachine::doubleClick() {
    if (selection_.HitGrip == SelectionController::Inside) {
        accept();
        return;
    }
    emit toolStripToggled();
    emit pointerChanged(DefaultPointer);
}

QRect CaptureRectangleMachine::normalisedRectangle() const {
    const int left = std::min(selection_.SelX1, selection_.SelX2);
    const int right = std::max(selection_.SelX1, selection_.SelX2);
    const int top = std::min(selection_.SelY1, selection_.SelY2);
    const int bottom = std::max(selection_.SelY1, selection_.SelY2);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// An empty rectangle (none drawn yet, or a click without a drag) would crop the
// picture to nothing: such an accept is ignored and the selection goes on.
void CaptureRectangleMachine::accept() {
    const QRect rectangle = normalisedRectangle();
    if (rectangle.width() < 1 || rectangle.height() < 1)
        return;
    emit pointerChanged(DefaultPointer);
    selection_.subClearSelection();
    emit accepted(rectangle);
}

} // namespace picbasket
