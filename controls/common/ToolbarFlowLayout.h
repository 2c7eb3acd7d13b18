#pragma once
#include <QLayout>
#include <QList>

namespace picbasket {

// A tool bar's row of buttons that wraps instead of cutting them. The items
// added before addStretch() stand at the left, those after it at the right
// end; when the bar is too narrow for one row, the left items flow onto further
// rows and the right group moves to a row of its own (right-aligned) when it
// does not fit beside them. Hidden widgets take no room. The host sizes the bar
// with heightForWidth, so whatever stands below it moves down with the rows.
class ToolbarFlowLayout : public QLayout {
public:
    explicit ToolbarFlowLayout(QWidget* parent = nullptr);
    ~ToolbarFlowLayout() override;

    // Marks where the right-hand group begins (the stretch of a plain row).
    void addStretch(int stretch = 0);
    // The left items added from here on wrap as one (a pair of arrows stays a pair)
    // when they fit on a row together.
    void startGroup();

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in rect (or only measures when place is false); gives the
    // height used.
    int arrange(const QRect& rect, bool place) const;

    // Width of the visible items from..to-1, with the gaps between them.
    int widthOf(int from, int to) const;

    QList<QLayoutItem*> items_;
    QList<int> groupStarts_;
    int rightFrom_ = -1;
};

} // namespace picbasket
