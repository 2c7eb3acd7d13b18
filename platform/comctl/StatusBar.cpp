#include "platform/comctl/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace picbasket {

StatusPanel::StatusPanel(const QString& key, QWidget* parent)
    : QFrame(parent), key_(key), icon_(new QLabel(this)), text_(new QLabel(this)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 1, 3, 1);
    row->setSpacing(3);
    row->addWidget(icon_);
    row->addWidget(text_, 1);
    icon_->hide();
    text_->setTextFormat(Qt::PlainText);
}

QString StatusPanel::Text() const {
    return text_->text();
}

void StatusPanel::setText(const QString& text) {
    text_->setText(text);
}

void StatusPanel::setPicture(const QImage& picture) {
    picture_ = picture;
    icon_->setPixmap(QPixmap::fromImage(picture));
    icon_->setVisible(!picture.isNull());
}

// A long text (a deep folder path) is cut instead of pushing the other panels out.
void StatusPanel::setElastic() {
    text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(50);
}

StatusBar::StatusBar(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this)) {
    layout_->setContentsMargins(0, 2, 0, 0);
    layout_->setSpacing(2);
    setFixedHeight(24);
}

StatusPanel* StatusBar::AddPanel(const QString& key, const QString& toolTip, const QString& text,
                                 int width) {
    auto* panel = new StatusPanel(key, this);
    panel->setToolTip(toolTip);
    panel->setText(text);
    // Fixed panels keep at least their width and grow to show their whole text; the
    // free panels share what is left.
    if (width > 0)
        panel->setMinimumWidth(width);
    else
        panel->setElastic();
    layout_->addWidget(panel, width > 0 ? 0 : 1);
    panels_.push_back(panel);
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

} // namespace picbasket
