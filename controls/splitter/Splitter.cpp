#include "controls/splitter/Splitter.h"

#include "core/Convert.h"

#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

namespace picbasket {

namespace {

// Int(length × percent / 100) for the non-negative lengths and percents a splitter holds.
int percentOf(int length, int32_t percent) {
    const int64_t product = int64_t(length) * percent;
    return int(product >= 0 ? product / 100 : -((-product + 99) / 100));
}

void fillWith(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

bool isPress(const QEvent* event) {
    return event->type() == QEvent::MouseButtonPress ||
           event->type() == QEvent::MouseButtonDblClick;
}

} // namespace

Splitter::Splitter(QWidget* parent)
    : QWidget(parent), picSplitter_(new QWidget(this)), picMover_(new QWidget(this)) {
    picSplitter_->setObjectName(QStringLiteral("picSplitter"));
    picMover_->setObjectName(QStringLiteral("picMover"));
    // Every mouse move over the bar is reported; the position follows only a drag.
    picSplitter_->setMouseTracking(true);
    picSplitter_->installEventFilter(this);
    fillWith(picMover_, oleToQColor(0x808080));
    picMover_->hide();
    applyBarColor();
    updateBarCursor();
    placeMover();
    picSplitter_->setGeometry(picMover_->geometry());
}

bool Splitter::Enabled() const {
    return picSplitter_->isEnabled();
}

// A bar disabled during a drag would never see the release, so the drag ends here.
void Splitter::setEnabled(bool enabled) {
    if (!enabled && dragging_) {
        endDrag();
    }
    picSplitter_->setEnabled(enabled);
}

void Splitter::Refresh() {
    picSplitter_->setGeometry(picMover_->geometry());
    if (!userMode_) {
        return;
    }
    layOutPanes();
}

void Splitter::layOutPanes() {
    const QRect bar = picSplitter_->geometry();
    const int sw = splitterWidth_;
    if (orientation_ == 1) {
        const int t = bar.top();
        if (leftOrTop_) {
            leftOrTop_->setGeometry(0, 0, width(), std::max(0, t));
        }
        if (rightOrBottom_) {
            rightOrBottom_->setGeometry(0, t + sw, width(), std::max(0, height() - t - sw));
        }
    } else {
        const int l = bar.left();
        if (leftOrTop_) {
            leftOrTop_->setGeometry(0, 0, std::max(0, l), height());
        }
        if (rightOrBottom_) {
            rightOrBottom_->setGeometry(l + sw, 0, std::max(0, width() - l - sw), height());
        }
    }
}

void Splitter::setLeftOrTopControl(QWidget* pane) {
    attach(leftOrTop_, pane);
    Refresh();
}

void Splitter::setRightOrBottomControl(QWidget* pane) {
    attach(rightOrBottom_, pane);
    Refresh();
}

// A pane lives inside the splitter so that the splitter's coordinates are its own.
// A widget that contains this splitter cannot be one of its panes.
void Splitter::attach(QPointer<QWidget>& slot, QWidget* pane) {
    if (pane && (pane == this || pane->isAncestorOf(this))) {
        qWarning("Splitter: a widget that contains the splitter cannot be its pane");
        return;
    }
    slot = pane;
    if (!pane || pane->parentWidget() == this) {
        return;
    }
    const bool keptHidden = pane->isHidden() && pane->testAttribute(Qt::WA_WState_ExplicitShowHide);
    pane->setParent(this);
    if (!keptHidden) {
        pane->show();
    }
    picSplitter_->raise();
}

void Splitter::setOrientation(int32_t value) {
    orientation_ = value;
    updateBarCursor();
    picSplitter_->setGeometry(barRectAt(splitterPosition_));
    picMover_->setGeometry(picSplitter_->geometry());
}

void Splitter::setSplitterWidth(int32_t value) {
    splitterWidth_ = value;
    placeMover();
    Refresh();
}

void Splitter::setSplitterPosition(int32_t value) {
    if (value > splitterMax_) {
        value = splitterMax_;
    }
    if (value < splitterMin_) {
        value = splitterMin_;
    }
    splitterPosition_ = value;
    placeMover();
    Refresh();
}

void Splitter::setSplitterMax(int32_t value) {
    if (value < 0) {
        value = 1;
    }
    if (value > 100) {
        value = 99;
    }
    if (value < splitterMin_) {
        value = splitterMin_ + 1;
    }
    splitterMax_ = value;
    placeMover();
    Refresh();
}

void Splitter::setSplitterMin(int32_t value) {
    if (value > 100) {
        value = 99;
    }
    if (value < 0) {
        value = 1;
    }
    if (value > splitterMax_) {
        value = splitterMax_ - 1;
    }
    splitterMin_ = value;
    placeMover();
    Refresh();
}

void Splitter::setSplitterColor(OleColor value) {
    splitterColor_ = value;
    applyBarColor();
}

QVariantMap Splitter::WriteProperties() const {
    QVariantMap bag;
    const auto put = [&bag](const char* name, const QVariant& value, const QVariant& fallback) {
        if (value != fallback) {
            bag.insert(QLatin1String(name), value);
        }
    };
    put("Enabled", Enabled(), true);
    put("Orientation", orientation_, 0);
    put("SplitterPosition", splitterPosition_, DefaultSplitterPosition);
    put("SplitterMax", splitterMax_, DefaultSplitterMax);
    put("SplitterMin", splitterMin_, DefaultSplitterMin);
    put("SplitterColor", uint(splitterColor_), uint(DefaultSplitterColor));
    put("SplitterWidth", splitterWidth_, DefaultSplitterWidth);
    return bag;
}

// The limits go in before the position so that a stored position inside stored
// limits survives; Orientation comes last because it places the bar directly.
void Splitter::ReadProperties(const QVariantMap& bag) {
    const auto get = [&bag](const char* name, const QVariant& fallback) {
        return bag.value(QLatin1String(name), fallback);
    };
    setEnabled(get("Enabled", true).toBool());
    setSplitterColor(OleColor(get("SplitterColor", uint(DefaultSplitterColor)).toUInt()));
    setSplitterWidth(get("SplitterWidth", DefaultSplitterWidth).toInt());
    setSplitterMax(get("SplitterMax", DefaultSplitterMax).toInt());
    setSplitterMin(get("SplitterMin", DefaultSplitterMin).toInt());
    setSplitterPosition(get("SplitterPosition", DefaultSplitterPosition).toInt());
    setOrientation(get("Orientation", 0).toInt());
    applyBarColor();
}

void Splitter::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resize();
    placeMover();
    Refresh();
}

bool Splitter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picSplitter_ || !picSplitter_->isEnabled()) {
        return QWidget::eventFilter(watched, event);
    }
    if (isPress(event)) {
        if (!dragging_) {
            beginDrag();
        }
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        if (dragging_) {
            dragTo(static_cast<QMouseEvent*>(event)->position());
        }
        emit SplitMove();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (dragging_ && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
            endDrag();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The shadow and the bar share one rectangle: where the bar belongs for a percent.
QRect Splitter::barRectAt(int32_t percent) const {
    if (orientation_ == 1) {
        return QRect(0, percentOf(height(), percent), width(), splitterWidth_);
    }
    return QRect(percentOf(width(), percent), 0, splitterWidth_, height());
}

void Splitter::placeMover() {
    picMover_->setGeometry(barRectAt(splitterPosition_));
}

void Splitter::applyBarColor() {
    fillWith(picSplitter_, oleToQColor(splitterColor_, palette()));
}

void Splitter::updateBarCursor() {
    picSplitter_->setCursor(orientation_ == 1 ? Qt::SizeVerCursor : Qt::SizeHorCursor);
}

void Splitter::beginDrag() {
    dragging_ = true;
    picMover_->setGeometry(picSplitter_->geometry());
    picMover_->show();
    picMover_->raise();
    emit SplitBegin();
}

// The shadow follows the mouse only strictly inside the limits; outside them it stays
// at its last place and the position keeps its last value.
void Splitter::dragTo(const QPointF& posOnBar) {
    const bool horizontal = orientation_ == 1;
    const double p =
        horizontal ? picSplitter_->y() + posOnBar.y() : picSplitter_->x() + posOnBar.x();
    const int extent = horizontal ? height() : width();
    const int r = int(roundHalfEven(p));
    if (!(percentOf(extent, splitterMax_) > r && percentOf(extent, splitterMin_) < r)) {
        return;
    }
    picMover_->setGeometry(horizontal ? QRect(0, r, width(), splitterWidth_)
                                      : QRect(r, 0, splitterWidth_, height()));
    splitterPosition_ = int32_t(int64_t(r) * 100 / extent);
}

void Splitter::endDrag() {
    dragging_ = false;
    picSplitter_->setGeometry(picMover_->geometry());
    picMover_->hide();
    Refresh();
    emit SplitComplete();
}

} // namespace picbasket
