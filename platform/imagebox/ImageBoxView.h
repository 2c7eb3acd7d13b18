#pragma once
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "platform/imagebox/ImageBox.h"

namespace picbasket {

// The widget that shows an ImageBox: the image at its display size (Zoom or
// AutoZoom) from the widget's top-left corner, the box's selection, the figures
// drawn with DrawRectangle (on an overlay, never on the image), and the user's
// drag while a selection tool of the box is active. Mouse events are passed on in
// display pixels. The widget is the box's container: its size is the box's Width
// and Height.
class ImageBoxView : public QWidget {
    Q_OBJECT

public:
    // A view of a box of its own.
    explicit ImageBoxView(QWidget* parent = nullptr);
    // A view of a box owned elsewhere (it must outlive the view).
    explicit ImageBoxView(ImageBox* box, QWidget* parent = nullptr);
    ~ImageBoxView() override;

    ImageBox& box() const { return *box_; }

    // The numbered pointers: 0 default, 1 arrow, 2 cross, 3 I-beam, 4 icon, 5 and 15
    // four-way move, 6 diagonal lower-left to upper-right, 7 vertical, 8 diagonal
    // upper-left to lower-right, 9 horizontal, 10 up arrow, 11 hourglass, 12 no
    // drop, 13 arrow and hourglass, 14 arrow and question mark.
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);

    // What the widget shows, at the display size (overlay and selection included).
    QImage renderDisplay() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // Button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; x, y in
    // display pixels from the image's top-left corner.
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void attach();
    void paintContent(QPainter& painter, const QRect& exposed) const;
    void paintMarks(QPainter& painter) const;
    // The drag made while a selection tool is active becomes the box's selection.
    void finishDrag(const QPoint& end);

    QPointer<ImageBox> box_;
    int mousePointer_ = 0;
    bool dragging_ = false;
    QPoint dragStart_;
    QPoint dragEnd_;
    // The image scaled to its display size, kept while neither changes.
    mutable QImage scaled_;
    mutable qint64 scaledKey_ = 0;
};

} // namespace picbasket
