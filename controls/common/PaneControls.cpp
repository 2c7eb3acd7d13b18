#include "controls/common/PaneControls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <algorithm>

namespace picbasket {

QLabel* makeCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFixedHeight(CaptionHeight);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Highlight).lighter(160));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setContentsMargins(4, 0, 0, 0);
    return label;
}

QPushButton* makeButton(QWidget* bar, const QString& caption, const QString& tip, int width) {
    auto* button = new QPushButton(caption, bar);
    button->setToolTip(tip);
    // The picture padding pushes the caption against the right edge (6 pixels off),
    // so the visible text needs the picture's 24 pixels at the left and 8 at the
    // right; the caption's own leading blanks are covered by the padding.
    if (!caption.isEmpty()) {
        const int text = button->fontMetrics().horizontalAdvance(caption.trimmed());
        width = std::max(width, text + 32);
    }
    button->setFixedSize(width, ToolButtonSize - 2);
    button->setFocusPolicy(Qt::NoFocus);
    if (bar->layout())
        bar->layout()->addWidget(button);
    return button;
}

QWidget* makeCaptionToolbar(QLabel* caption) {
    auto* bar = new QWidget(caption);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    auto* layout = new QHBoxLayout(caption);
    layout->setContentsMargins(0, 0, 1, 0);
    layout->addStretch(1);
    layout->addWidget(bar, 0, Qt::AlignBottom);
    return bar;
}

void placeControl(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void setControlWidth(QWidget* widget, int width) {
    widget->resize(std::max(0, width), widget->height());
}

void fitCaptionBar(QLabel* caption, QWidget* bar, int width) {
    const int row = bar->sizeHint().height();
    const int title = caption->contentsMargins().left() +
                      caption->fontMetrics().horizontalAdvance(caption->text()) + 8;
    const bool oneRow = title + bar->sizeHint().width() + 1 <= width;
    // On two rows the title keeps to the first, centred in it as it is on one.
    QMargins margins = caption->contentsMargins();
    margins.setTop(oneRow ? 0 : std::max(0, (row - caption->fontMetrics().height()) / 2));
    caption->setContentsMargins(margins);
    caption->setAlignment(Qt::AlignLeft | (oneRow ? Qt::AlignVCenter : Qt::AlignTop));
    caption->setFixedHeight(oneRow ? row : 2 * row);
    caption->resize(std::max(0, width), caption->height());
}

void fitSideBar(QWidget* bar, int top, int room) {
    QLayout* flow = bar->layout();
    const int oneColumn = flow->minimumSize().width();
    const int columns = flow->heightForWidth(oneColumn) <= room ? 1 : 2;
    const int width = oneColumn + (columns - 1) * (oneColumn - 2 + flow->spacing());
    bar->setGeometry(0, top, width, flow->heightForWidth(width));
}

} // namespace picbasket
