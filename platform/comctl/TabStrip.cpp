#include "platform/comctl/TabStrip.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <algorithm>
#include <QTabBar>

namespace picbasket {

namespace {

// Tabs with the style's own padding while the strip is wide enough, and with less
// (down to MinimumPadding) when it is not, so that every caption stays whole
// instead of being cut or scrolled away. The captions are drawn here, centred,
// since the style's label would cut them at its own padding.
class CompactTabBar : public QTabBar {
public:
    static constexpr int MinimumPadding = 6;

    explicit CompactTabBar(QWidget* parent) : QTabBar(parent) {
        setElideMode(Qt::ElideNone);
        setUsesScrollButtons(false);
    }

    void setAvailableWidth(int width) {
        if (width == available_)
            return;
        available_ = width;
        setElideMode(Qt::ElideNone); // lays the tabs out again
    }

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        int styled = 0, text = 0;
        for (int i = 0; i < count(); ++i) {
            styled += QTabBar::tabSizeHint(i).width();
            text += fontMetrics().horizontalAdvance(tabText(i));
        }
        if (available_ <= 0 || styled <= available_)
            return size;
        const int padding = std::max(MinimumPadding, (available_ - text) / std::max(1, count()));
        size.setWidth(std::min(size.width(), fontMetrics().horizontalAdvance(tabText(index)) + padding));
        return size;
    }

    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        for (int i = 0; i < count(); ++i) {
            QStyleOptionTab tab;
            initStyleOption(&tab, i);
            painter.drawControl(QStyle::CE_TabBarTabShape, tab);
            painter.setPen(tab.palette.color(QPalette::WindowText));
            painter.drawText(tab.rect, Qt::AlignCenter | Qt::TextShowMnemonic, tabText(i));
        }
    }

private:
    int available_ = 0;
};

} // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), bar_(new CompactTabBar(this)) {
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

bool TabStrip::TabEnabled(int tab) const {
    return tab >= 1 && tab <= Count() && bar_->isTabEnabled(tab - 1);
}

void TabStrip::setTabEnabled(int tab, bool enabled) {
    if (tab >= 1 && tab <= Count())
        bar_->setTabEnabled(tab - 1, enabled);
}

int TabStrip::TabFixedHeight() const {
    return bar_->sizeHint().height();
}

QRect TabStrip::ClientArea() const {
    const int top = TabFixedHeight();
    return QRect(2, top + 2, std::max(0, width() - 4), std::max(0, height() - top - 4));
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    static_cast<CompactTabBar*>(bar_)->setAvailableWidth(width());
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
