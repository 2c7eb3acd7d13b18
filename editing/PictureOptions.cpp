#include "editing/PictureOptions.h"

#include "engine/tasks/FrameArtwork.h"
#include "engine/tasks/modFrames.h"
#include "platform/imagebox/ImageBox.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPainter>
#include <QToolButton>
#include <functional>

namespace picbasket {

PictureOptions::PictureOptions(const std::vector<QImage>& pictures, int perRow, QSize buttonSize,
                               QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    group_->setExclusive(true);
    for (size_t i = 0; i < pictures.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setFixedSize(buttonSize);
        button->setIcon(QIcon(QPixmap::fromImage(pictures[i])));
        button->setIconSize(buttonSize - QSize(6, 6));
        group_->addButton(button, int(i));
        grid->addWidget(button, int(i) / perRow, int(i) % perRow);
    }
    grid->setColumnStretch(perRow, 1);
    if (!pictures.empty())
        group_->button(0)->setChecked(true);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit Click(id);
    });
}

int PictureOptions::count() const {
    return int(group_->buttons().size());
}

int PictureOptions::selected() const {
    return std::max(0, group_->checkedId());
}

void PictureOptions::select(int index) {
    if (QAbstractButton* chosen = group_->button(index))
        chosen->setChecked(true);
}

QToolButton* PictureOptions::button(int index) const {
    return qobject_cast<QToolButton*>(group_->button(index));
}

namespace {

// A small landscape the option pictures decorate.
QImage sample(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(1, QColor(220, 235, 250));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 140, 70));
    p.drawEllipse(QRectF(-size.width() * 0.2, size.height() * 0.6, size.width() * 1.4,
                         size.height()));
    p.setBrush(QColor(250, 210, 80));
    p.drawEllipse(QPointF(size.width() * 0.75, size.height() * 0.3), size.height() * 0.12,
                  size.height() * 0.12);
    return image;
}

// The sample as an effect leaves it, scaled into the option picture.
std::vector<QImage> decorated(int count, QSize size, QSize sampleSize,
                              const std::function<void(int, ImageBox&)>& effect) {
    std::vector<QImage> pictures;
    for (int i = 0; i < count; ++i) {
        ImageBox box;
        box.setImage(sample(sampleSize));
        // The canvas a shadow falls on: a light grey that the white of the panel sets off.
        box.setBackgroundColor(0x00E8E8E8);
        try {
            effect(i, box);
        } catch (...) {
            // An option whose artwork is missing shows the plain sample.
        }
        pictures.push_back(
            box.image().scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return pictures;
}

constexpr int StylesPerKind = 8;
constexpr QSize FrameSample(144, 108);
// A shadow is only a few pixels deep: on a smaller sample it still shows in the
// option picture.
constexpr QSize ShadowSample(56, 42);

} // namespace

std::vector<QImage> fncFrameOptionPictures(QSize size) {
    return decorated(StylesPerKind, size, FrameSample, [](int style, ImageBox& box) {
        subApplyFrame(int16_t(style), box, 1, style == 4);
    });
}

std::vector<QImage> fncShadowOptionPictures(QSize size) {
    return decorated(StylesPerKind, size, ShadowSample, [](int style, ImageBox& box) {
        subApplyFrame(int16_t(style + StylesPerKind), box, 1, false);
    });
}

std::vector<QImage> fncMaskOptionPictures(QSize size) {
    return decorated(StylesPerKind, size, FrameSample, [](int style, ImageBox& box) {
        box.setMergeTransparent(true);
        box.setMergeTransparentColor(0);
        box.setMergeTransparency(0);
        subApplyMask(int16_t(style), box);
    });
}

namespace {

QImage blank(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Lines of "text" as bars: horizontal rows, or columns for vertical text.
void bars(QPainter& p, QSize size, bool vertical, int alignment) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    const int lengths[] = {size.width() * 7 / 10, size.width() * 4 / 10, size.width() * 6 / 10};
    for (int i = 0; i < 3; ++i) {
        const int along = lengths[i], across = 3, at = size.height() / 4 + i * 6;
        if (vertical) {
            p.drawRect(at, size.height() - 2 - along, across, along);
            continue;
        }
        int x = 2;
        if (alignment == 1)
            x = (size.width() - along) / 2;
        else if (alignment == 2)
            x = size.width() - 2 - along;
        p.drawRect(x, at, along, across);
    }
}

} // namespace

std::vector<QImage> fncTextOrientationPictures(QSize size) {
    std::vector<QImage> pictures;
    for (bool vertical : {false, true}) {
        QImage image = blank(size);
        QPainter p(&image);
        bars(p, size, vertical, 0);
        pictures.push_back(image);
    }
    return pictures;
}

std::vector<QImage> fncTextAlignmentPictures(QSize size) {
    std::vector<QImage> pictures;
    for (int alignment = 0; alignment < 3; ++alignment) {
        QImage image = blank(size);
        QPainter p(&image);
        bars(p, size, false, alignment);
        pictures.push_back(image);
    }
    return pictures;
}

} // namespace picbasket
