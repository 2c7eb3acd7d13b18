#include "platform/comctl/TabStrip.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace picbasket {

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    connect(bar_, &QTabBar::currentChanged, this, [this](int) { emit Click(); });
}

int TabStrip::AddTab(const QString& caption, const QString& key) {
    const int index = bar_->addTab(caption);
    bar_->setTabData(index, key);
    bar_->resize(bar_->sizeHint().width(), bar_->sizeHint().height());
    return index + 1;
}

int TabStrip::Count() const {
    return bar_->count();
}

QString TabStrip::Caption(int tab) const {
    return bar_->tabText(tab - 1);
}

QString TabStrip::Key(int tab) const {
    return bar_->tabData(tab - 1).toString();
}

int TabStrip::SelectedItem() const {
    return bar_->currentIndex() + 1;
}

void TabStrip::setSelectedItem(int tab) {
    if (tab >= 1 && tab <= Count())
        bar_->setCurrentIndex(tab - 1);
}

int TabStrip::TabFixedHeight() const {
    return bar_->sizeHint().height();
}

QRect TabStrip::ClientArea() const {
    const int top = TabFixedHeight();
    return QRect(2, top + 2, std::max(0, width() - 4), std::max(0, height() - top - 4));
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    bar_->setGeometry(0, 0, std::min(width(), bar_->sizeHint().width()), TabFixedHeight());
    QWidget::resizeEvent(event);
}

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, TabFixedHeight() - 1, width(), height() - TabFixedHeight() + 1);
    frame.tabBarSize = bar_->size();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

} // namespace picbasket
