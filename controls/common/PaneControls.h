#pragma once
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace picbasket {

// The parts every pane of the main window is built from.
inline constexpr int CaptionHeight = 22;
inline constexpr int ToolButtonSize = 24;

// A pane's caption: a bar with the pane's title at the left and room for a tool bar
// at the right.
QLabel* makeCaption(const QString& text, QWidget* parent);

// A tool button of a pane's tool bar, at least width wide and wide enough for its
// caption beside its picture; added to the bar's layout when it has one.
QPushButton* makeButton(QWidget* bar, const QString& caption, const QString& tip, int width);

// A row of tool buttons, laid out inside a caption bar at its right end.
QWidget* makeCaptionToolbar(QLabel* caption);

// Placing a pane's parts. Widgets refuse negative sizes; a pane too small for its
// margins leaves the control at no size instead.
void placeControl(QWidget* widget, int left, int top, int width, int height);
void setControlWidth(QWidget* widget, int width);
// A pane caption with a tool bar at its right: one row when the title and the bar
// fit side by side, else the bar takes a second row below the title.
void fitCaptionBar(QLabel* caption, QWidget* bar, int width);
// A vertical tool bar below a caption: one column of buttons, or two when the pane
// is too short for one.
void fitSideBar(QWidget* bar, int top, int room);

} // namespace picbasket
