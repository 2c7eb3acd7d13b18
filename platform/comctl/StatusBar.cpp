#include "platform/comctl/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <algorithm>
#include <cstdint>
#include <numeric>

namespace picbasket {

namespace {

constexpr int PanelSpacing = 2;
constexpr int TopMargin = 2;
constexpr int InnerMargin = 3;

// Gives the panels in `which` equal shares of `extra`, none beyond its target;
// returns what is left.
int growTowards(std::vector<int>& widths, const std::vector<int>& targets,
                std::vector<size_t> which, int extra) {
    while (extra > 0) {
        std::erase_if(which, [&](size_t i) { return widths[i] >= targets[i]; });
        if (which.empty())
            break;
        const int share = std::max(1, extra / int(which.size()));
        for (size_t i : which) {
            const int step = std::min({share, targets[i] - widths[i], extra});
            widths[i] += step;
            extra -= step;
            if (extra == 0)
                break;
        }
    }
    return extra;
}

} // namespace

StatusPanel::StatusPanel(const QString& key, QWidget* parent)
    : QFrame(parent), key_(key), icon_(new QLabel(this)), label_(new QLabel(this)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(InnerMargin, 1, InnerMargin, 1);
    row->setSpacing(InnerMargin);
    row->addWidget(icon_);
    row->addWidget(label_, 1);
    icon_->hide();
    label_->setTextFormat(Qt::PlainText);
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(0);
}

void StatusPanel::setText(const QString& text) {
    text_ = text;
    showText();
    emit contentChanged();
}

void StatusPanel::setPicture(const QImage& picture) {
    picture_ = picture;
    icon_->setPixmap(QPixmap::fromImage(picture));
    icon_->setVisible(!picture.isNull());
    emit contentChanged();
}

int StatusPanel::contentWidth() const {
    int width = 2 * frameWidth() + 2 * InnerMargin + 2;
    if (!picture_.isNull())
        width += icon_->sizeHint().width() + InnerMargin;
    return width + fontMetrics().horizontalAdvance(text_);
}

void StatusPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    showText();
}

// The whole text when it fits, else as much as fits followed by "…".
void StatusPanel::showText() {
    const int room = std::max(0, label_->width());
    const bool fits = fontMetrics().horizontalAdvance(text_) <= room;
    label_->setText(fits ? text_ : fontMetrics().elidedText(text_, Qt::ElideRight, room));
}

std::vector<int> fncStatusPanelWidths(const std::vector<StatusPanelNeed>& panels, int width,
                                      int spacing, int freeFloor) {
    const size_t n = panels.size();
    std::vector<int> widths(n), full(n), designed(n);
    std::vector<size_t> freePanels, fixedPanels;
    for (size_t i = 0; i < n; ++i) {
        const bool isFree = panels[i].design <= 0;
        (isFree ? freePanels : fixedPanels).push_back(i);
        full[i] = panels[i].content;
        designed[i] = std::max(panels[i].design, panels[i].content);
        widths[i] = isFree ? std::min(panels[i].content, freeFloor) : panels[i].content;
    }
    const int room = width - spacing * std::max(0, int(n) - 1);
    const int base = std::accumulate(widths.begin(), widths.end(), 0);
    if (n == 0 || room <= 0)
        return std::vector<int>(n, 0);
    if (base > room) {
        for (int& w : widths)
            w = int(int64_t(w) * room / base);
        return widths;
    }
    int extra = growTowards(widths, full, freePanels, room - base);
    extra = growTowards(widths, designed, fixedPanels, extra);
    if (extra > 0 && !freePanels.empty())
        extra = growTowards(widths, std::vector<int>(n, INT32_MAX / 2), freePanels, extra);
    if (extra > 0)
        widths.back() += extra;
    return widths;
}

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(24);
}

StatusPanel* StatusBar::AddPanel(const QString& key, const QString& toolTip, const QString& text,
                                 int width) {
    auto* panel = new StatusPanel(key, this);
    panel->setToolTip(toolTip);
    panel->setText(text);
    panels_.push_back(panel);
    designWidths_.push_back(std::max(0, width));
    connect(panel, &StatusPanel::contentChanged, this, &StatusBar::relayout);
    relayout();
    return panel;
}

StatusPanel* StatusBar::Panel(int index) const {
    if (index < 1 || index > Count())
        return nullptr;
    return panels_[index - 1];
}

StatusPanel* StatusBar::Panel(const QString& key) const {
    for (StatusPanel* panel : panels_)
        if (panel->Key() == key)
            return panel;
    return nullptr;
}

void StatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void StatusBar::relayout() {
    std::vector<StatusPanelNeed> needs;
    for (int i = 0; i < panels_.size(); ++i)
        needs.push_back({panels_[i]->contentWidth(), designWidths_[size_t(i)]});
    const std::vector<int> widths = fncStatusPanelWidths(needs, width(), PanelSpacing);
    int x = 0;
    for (int i = 0; i < panels_.size(); ++i) {
        panels_[i]->setGeometry(x, TopMargin, widths[size_t(i)], height() - TopMargin);
        x += widths[size_t(i)] + PanelSpacing;
    }
}

} // namespace picbasket
