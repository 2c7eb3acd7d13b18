#pragma once
#include "core/OleColor.h"

#include <QPointer>
#include <QVariantMap>
#include <QWidget>
#include <cstdint>

namespace picbasket {

// Divides its own rectangle between two panes with a bar the user drags.
//
//   Orientation 0 (vertical bar)        Orientation 1 (horizontal bar)
//   +--------+-+----------+            +----------------------+
//   |  left  |b|  right   |            |         top          |
//   |  pane  |a|  pane    |            +----------------------+  <- bar
//   |        |r|          |            |        bottom        |
//   +--------+-+----------+            +----------------------+
//
// The bar's near edge lies at SplitterPosition percent of the width (or height).
// Panes are children of the splitter; a pane may itself be a Splitter, whose own
// resize lays out its own panes, so splitters nest into a tree. Lengths are pixels.
// While the bar is dragged a grey shadow follows the mouse inside the open range
// (SplitterMin, SplitterMax); on release the bar jumps onto the shadow.
class Splitter : public QWidget {
    Q_OBJECT

public:
    explicit Splitter(QWidget* parent = nullptr);

    static constexpr int DefaultSplitterWidth = 5;
    static constexpr int DefaultSplitterPosition = 50;
    static constexpr int DefaultSplitterMax = 90;
    static constexpr int DefaultSplitterMin = 10;
    static constexpr OleColor DefaultSplitterColor = syscolor::ButtonFace;

    // Enabled state of the bar; a disabled bar takes no mouse input, so no drag starts.
    bool Enabled() const;
    void setEnabled(bool enabled);

    // Moves the bar onto the shadow and lays out both attached panes.
    void Refresh();

    // The panes; nullptr detaches (the widget then stays where it was). Attaching
    // makes the widget a child of this splitter and lays it out.
    QWidget* LeftOrTopControl() const { return leftOrTop_; }
    void setLeftOrTopControl(QWidget* pane);
    QWidget* RightOrBottomControl() const { return rightOrBottom_; }
    void setRightOrBottomControl(QWidget* pane);

    // 1 = horizontal bar between a top and a bottom pane; any other value = vertical bar.
    int32_t Orientation() const { return orientation_; }
    void setOrientation(int32_t value);

    int32_t SplitterWidth() const { return splitterWidth_; }
    void setSplitterWidth(int32_t value);
    // Whole percent of the width (or height); the setter keeps it within the limits.
    int32_t SplitterPosition() const { return splitterPosition_; }
    void setSplitterPosition(int32_t value);
    int32_t SplitterMax() const { return splitterMax_; }
    void setSplitterMax(int32_t value);
    int32_t SplitterMin() const { return splitterMin_; }
    void setSplitterMin(int32_t value);
    OleColor SplitterColor() const { return splitterColor_; }
    void setSplitterColor(OleColor value);

    // False while the host is only being shown for design: the panes are not moved.
    bool UserMode() const { return userMode_; }
    void setUserMode(bool value) { userMode_ = value; }

    // The stored properties by name ("Enabled", "Orientation", "SplitterPosition",
    // "SplitterMax", "SplitterMin", "SplitterColor", "SplitterWidth"). Writing omits
    // values equal to their defaults; reading substitutes the defaults for missing
    // names and applies them through the setters in the order that keeps the limits.
    // Pane references are not stored: the host attaches its panes in code.
    QVariantMap WriteProperties() const;
    void ReadProperties(const QVariantMap& bag);

    // The bar and the drag shadow.
    QWidget* picSplitter() const { return picSplitter_; }
    QWidget* picMover() const { return picMover_; }

signals:
    void Resize();
    void SplitComplete();
    void SplitMove();
    void SplitBegin();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeMover();
    QRect barRectAt(int32_t percent) const;
    void attach(QPointer<QWidget>& slot, QWidget* pane);
    void layOutPanes();
    void applyBarColor();
    void updateBarCursor();
    void beginDrag();
    void dragTo(const QPointF& posOnBar);
    void endDrag();

    QWidget* picSplitter_;
    QWidget* picMover_;
    int32_t splitterWidth_ = DefaultSplitterWidth;
    QPointer<QWidget> leftOrTop_;
    int32_t orientation_ = 0;
    QPointer<QWidget> rightOrBottom_;
    int32_t splitterPosition_ = DefaultSplitterPosition;
    int32_t splitterMax_ = DefaultSplitterMax;
    int32_t splitterMin_ = DefaultSplitterMin;
    OleColor splitterColor_ = DefaultSplitterColor;
    bool userMode_ = true;
    bool dragging_ = false;
};

} // namespace picbasket
