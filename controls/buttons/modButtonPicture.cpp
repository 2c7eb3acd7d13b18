#include "controls/buttons/modButtonPicture.h"

#include "core/Convert.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace picbasket {

namespace {

// Watches one button's paint events and replaces them with the off-screen path.
// It is a child of the button, so it lives exactly as long as the button or until
// the picture is removed.
class ButtonPictureHook : public QObject {
    Q_OBJECT

public:
    ButtonPictureHook(QPushButton* button, const QString& originalCaption)
        : QObject(button), button_(button), originalCaption_(originalCaption) {
        button->installEventFilter(this);
    }

    void setPicture(const QImage& picture) { picture_ = picture; }
    const QString& originalCaption() const { return originalCaption_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != button_ || event->type() != QEvent::Paint) {
            return false;
        }
        paint(static_cast<QPaintEvent*>(event)->region());
        return true;
    }

private:
    QImage renderFace();
    QImage pictureOnWhite(QSize size) const;
    void paint(const QRegion& dirty);

    QPushButton* button_;
    QString originalCaption_;
    QImage picture_;
};

// ANDs the colour channels of an opaque source onto the target at a point (device
// pixels). The target's alpha stays: the transparent corners of a rounded face are
// not filled in.
void andColours(QImage& target, const QImage& source, QPoint at) {
    const QRect area = target.rect().intersected(QRect(at, source.size()));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y - at.y()));
        for (int x = area.left(); x <= area.right(); ++x) {
            line[x] &= from[x - at.x()] | 0xFF000000u;
        }
    }
}

// Reads a push button's style option the way its own paint event does.
struct ButtonOptionReader : QPushButton {
    static QStyleOptionButton read(const QPushButton* button) {
        QStyleOptionButton option;
        (button->*(&ButtonOptionReader::initStyleOption))(&option);
        return option;
    }
};

// The button as it paints itself (face, caption, focus), drawn off screen.
QImage ButtonPictureHook::renderFace() {
    const qreal ratio = button_->devicePixelRatioF();
    QImage face(button_->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    face.setDevicePixelRatio(ratio);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    painter.setFont(button_->font());
    const QStyleOptionButton option = ButtonOptionReader::read(button_);
    button_->style()->drawControl(QStyle::CE_PushButton, &option, &painter, button_);
    return face;
}

// The picture drawn on a white ground of the given size, as the AND source.
QImage ButtonPictureHook::pictureOnWhite(QSize size) const {
    const qreal ratio = button_->devicePixelRatioF();
    QImage ground(size * ratio, QImage::Format_ARGB32_Premultiplied);
    ground.setDevicePixelRatio(ratio);
    ground.fill(Qt::white);
    QPainter painter(&ground);
    painter.drawImage(QPoint(0, 0), picture_);
    return ground;
}

//   +--------------------------------+
//   | 5 px                           |  picture at x = 5, centred vertically;
//   |<-->[pic]       padded caption  |  the AND source spans width - 7 and reaches
//   |                                |  the bottom edge, white beyond the picture
//   +--------------------------------+
// A picture taller than the button starts above its top edge; the source then
// still reaches the bottom edge, so the picture is clipped evenly at both edges.
void ButtonPictureHook::paint(const QRegion& dirty) {
    QImage face = renderFace();
    const int width = button_->width();
    const int height = button_->height();
    const qreal ratio = picture_.devicePixelRatio() > 0 ? picture_.devicePixelRatio() : 1.0;
    const double pictureHeight = roundHalfEven(picture_.height() / ratio);
    const int top = int(roundHalfEven(height / 2.0 - pictureHeight / 2.0));
    if (width > 7 && height > 0) {
        const int sourceHeight = std::max(height, height - top);
        const qreal faceRatio = face.devicePixelRatio();
        face = face.convertToFormat(QImage::Format_ARGB32);
        andColours(face, pictureOnWhite(QSize(width - 7, sourceHeight)),
                   QPoint(int(5 * faceRatio), int(top * faceRatio)));
    }
    QPainter screen(button_);
    screen.setClipRegion(dirty);
    screen.drawImage(QPoint(0, 0), face);
}

ButtonPictureHook* hookOf(const QPushButton* button) {
    return button ? button->findChild<ButtonPictureHook*>(QString(), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

} // namespace

QString fncPadButtonCaption(const QString& caption, int buttonWidth, const QFontMetrics& metrics) {
    const int margin = caption.contains(QLatin1Char('&')) ? 5 : 11;
    QString padded = caption;
    for (int i = 1; i <= buttonWidth; ++i) {
        padded.prepend(QLatin1Char(' '));
        if (metrics.horizontalAdvance(padded) >= buttonWidth - margin) {
            break;
        }
    }
    return padded;
}

void subSetButtonPicture(QPushButton* button, const QImage& picture) {
    if (!button) {
        return;
    }
    ButtonPictureHook* hook = hookOf(button);
    if (!hook) {
        hook = new ButtonPictureHook(button, button->text());
    }
    hook->setPicture(picture);
    button->setText(
        fncPadButtonCaption(hook->originalCaption(), button->width(), button->fontMetrics()));
    button->update();
}

void subRemoveButtonPicture(QPushButton* button) {
    delete hookOf(button);
    if (button) {
        button->update();
    }
}

bool fncHasButtonPicture(const QPushButton* button) {
    return hookOf(button) != nullptr;
}

} // namespace picbasket

#include "modButtonPicture.moc"
