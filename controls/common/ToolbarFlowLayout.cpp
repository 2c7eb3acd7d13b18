#include "controls/common/ToolbarFlowLayout.h"

#include <QWidget>
#include <algorithm>
#include <vector>

namespace picbasket {

ToolbarFlowLayout::ToolbarFlowLayout(QWidget* parent) : QLayout(parent) {}

ToolbarFlowLayout::~ToolbarFlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void ToolbarFlowLayout::addStretch(int) {
    rightFrom_ = int(items_.size());
}

void ToolbarFlowLayout::startGroup() {
    groupStarts_.append(int(items_.size()));
}

int ToolbarFlowLayout::widthOf(int from, int to) const {
    int width = -std::max(0, spacing());
    for (int i = from; i < to; ++i)
        if (!items_[i]->isEmpty())
            width += items_[i]->sizeHint().width() + std::max(0, spacing());
    return std::max(0, width);
}

void ToolbarFlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
    invalidate();
}

int ToolbarFlowLayout::count() const {
    return int(items_.size());
}

QLayoutItem* ToolbarFlowLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_[index] : nullptr;
}

QLayoutItem* ToolbarFlowLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size())
        return nullptr;
    if (rightFrom_ > index)
        --rightFrom_;
    for (int& start : groupStarts_)
        if (start > index)
            --start;
    invalidate();
    return items_.takeAt(index);
}

int ToolbarFlowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

QSize ToolbarFlowLayout::sizeHint() const {
    const QMargins m = contentsMargins();
    int width = 0, height = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        width += item->sizeHint().width() + (width > 0 ? spacing() : 0);
        height = std::max(height, item->sizeHint().height());
    }
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

QSize ToolbarFlowLayout::minimumSize() const {
    const QMargins m = contentsMargins();
    QSize widest;
    for (QLayoutItem* item : items_)
        if (!item->isEmpty())
            widest = widest.expandedTo(item->sizeHint());
    return widest + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void ToolbarFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

//   | [left][left][left]          |   one row when everything fits
//   | [left][left]                |
//   | [left]        [right][right]|   else the left items wrap and the right
//                                     group keeps to the right of the last row
int ToolbarFlowLayout::arrange(const QRect& rect, bool place) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = std::max(0, spacing());
    struct Placed {
        QLayoutItem* item;
        int row, x;
    };
    std::vector<Placed> placed;
    std::vector<int> rowHeights{0};
    int x = 0;
    auto put = [&](QLayoutItem* item, int at) {
        placed.push_back({item, int(rowHeights.size()) - 1, at});
        rowHeights.back() = std::max(rowHeights.back(), item->sizeHint().height());
    };
    auto newRow = [&] {
        rowHeights.push_back(0);
        x = 0;
    };
    const int split = rightFrom_ < 0 ? int(items_.size()) : rightFrom_;
    for (int i = 0; i < split; ++i) {
        QLayoutItem* item = items_[i];
        if (groupStarts_.contains(i)) {
            int end = split;
            for (const int start : groupStarts_)
                if (start > i && start < end)
                    end = start;
            const int group = widthOf(i, end);
            if (x > 0 && group > 0 && x + group > area.width() && group <= area.width())
                newRow();
        }
        if (item->isEmpty())
            continue;
        const int w = item->sizeHint().width();
        if (x > 0 && x + w > area.width())
            newRow();
        put(item, x);
        x += w + gap;
    }
    std::vector<QLayoutItem*> right;
    int rightWidth = 0;
    for (int i = split; i < items_.size(); ++i)
        if (!items_[i]->isEmpty()) {
            rightWidth += items_[i]->sizeHint().width() + (right.empty() ? 0 : gap);
            right.push_back(items_[i]);
        }
    if (!right.empty()) {
        if (x > 0 && x + rightWidth > area.width())
            newRow();
        int at = std::max(x, area.width() - rightWidth);
        for (QLayoutItem* item : right) {
            const int w = item->sizeHint().width();
            if (at > 0 && at + w > area.width()) {
                newRow();
                at = 0;
            }
            put(item, at);
            at += w + gap;
        }
    }
    if (place) {
        std::vector<int> rowTops{area.top()};
        for (size_t r = 1; r < rowHeights.size(); ++r)
            rowTops.push_back(rowTops.back() + rowHeights[r - 1] + gap);
        for (const Placed& p : placed) {
            const QSize size = p.item->sizeHint();
            const int top = rowTops[size_t(p.row)] + (rowHeights[size_t(p.row)] - size.height()) / 2;
            p.item->setGeometry(QRect(QPoint(area.left() + p.x, top), size));
        }
    }
    const QMargins m = contentsMargins();
    int height = m.top() + m.bottom();
    for (size_t r = 0; r < rowHeights.size(); ++r)
        height += rowHeights[r] + (r > 0 ? gap : 0);
    return height;
}

} // namespace picbasket
