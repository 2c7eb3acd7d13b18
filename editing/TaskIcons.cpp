#include "editing/TaskIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace picbasket {

namespace {

const QColor Ink(40, 60, 110);
const QColor Paper(255, 255, 255);
const QColor Sky(120, 170, 230);
const QColor Grass(110, 170, 90);
const QColor Warm(230, 150, 60);

// A small landscape picture, the subject most task icons change.
void picture(QPainter& p, const QRectF& r) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Sky);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(Grass);
    p.drawPolygon(QPolygonF(
        {r.bottomLeft(), QPointF(r.left() + r.width() * 0.4, r.top() + r.height() * 0.45),
         QPointF(r.left() + r.width() * 0.7, r.top() + r.height() * 0.7), r.bottomRight()}));
    p.setBrush(Warm);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28),
                  r.width() * 0.12, r.width() * 0.12);
}

void arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - d * 3 + n * 2.5);
    p.drawLine(to, to - d * 3 - n * 2.5);
}

void drawCrop(QPainter& p) {
    picture(p, {4.5, 4.5, 8, 8});
    p.setPen(QPen(Ink, 1.6));
    p.drawPolyline(QPolygonF({{3, 0.5}, {3, 13}, {15.5, 13}}));
    p.drawPolyline(QPolygonF({{0.5, 3}, {13, 3}, {13, 15.5}}));
}

void drawResize(QPainter& p) {
    picture(p, {1.5, 7.5, 7, 7});
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    arrow(p, {8.5, 7.5}, {13, 3});
}

void drawRotate(QPainter& p) {
    picture(p, {4.5, 4.5, 7, 7});
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(1.5, 1.5, 13, 13), 100 * 16, 250 * 16);
    arrow(p, {13.5, 6}, {12.8, 2.2});
}

void drawFlip(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Sky);
    p.drawPolygon(QPolygonF({{7, 2}, {7, 14}, {1.5, 14}}));
    p.setBrush(Paper);
    p.drawPolygon(QPolygonF({{9, 2}, {9, 14}, {14.5, 14}}));
    p.setPen(QPen(Ink, 1, Qt::DotLine));
    p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
}

void drawCanvas(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(235, 225, 200));
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    picture(p, {4.5, 4.5, 7, 7});
}

void drawInvert(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Paper);
    p.drawPie(QRectF(3.5, 3.5, 9, 9), 90 * 16, 180 * 16);
    p.setBrush(Qt::black);
    p.setPen(QPen(Paper, 1));
    p.drawPie(QRectF(3.5, 3.5, 9, 9), -90 * 16, 180 * 16);
}

void drawContrast(QPainter& p) {
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Paper);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::black);
    p.drawPie(QRectF(1.5, 1.5, 13, 13), -90 * 16, 180 * 16);
}

void drawSharpen(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(
        QPolygonF({{8, 0.5}, {10, 6}, {15.5, 8}, {10, 10}, {8, 15.5}, {6, 10}, {0.5, 8}, {6, 6}}));
}

void drawBlur(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int ring = 4; ring >= 1; --ring) {
        p.setBrush(QColor(60, 90, 160, 40 + (4 - ring) * 50));
        p.drawEllipse(QPointF(8, 8), ring * 1.8, ring * 1.8);
    }
}

void drawBrightness(QPainter& p) {
    p.setPen(QPen(Warm.darker(130), 1.3));
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        p.drawLine(QPointF(8 + 4.5 * std::cos(a), 8 + 4.5 * std::sin(a)),
                   QPointF(8 + 7 * std::cos(a), 8 + 7 * std::sin(a)));
    }
    p.setBrush(QColor(250, 210, 80));
    p.drawEllipse(QPointF(8, 8), 3.5, 3.5);
}

void drawText(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("A"));
}

void drawWatermark(QPainter& p) {
    picture(p, {0.5, 0.5, 11, 11});
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawRect(QRectF(6.5, 6.5, 9, 9));
}

void drawMask(QPainter& p) {
    picture(p, {0.5, 0.5, 15, 15});
    QPainterPath outside;
    outside.addRect(QRectF(0.5, 0.5, 15, 15));
    QPainterPath hole;
    hole.addEllipse(QRectF(3, 3, 10, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40, 200));
    p.drawPath(outside.subtracted(hole));
}

void drawShadow(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 90, 150));
    p.drawRect(QRectF(4, 4, 11, 11));
    picture(p, {1.5, 1.5, 10, 10});
}

void drawFrame(QPainter& p) {
    p.setPen(QPen(QColor(120, 80, 40), 1));
    p.setBrush(QColor(190, 140, 80));
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    picture(p, {3.5, 3.5, 9, 9});
}

void drawRedEye(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    QPainterPath eye;
    eye.moveTo(0.5, 8);
    eye.quadTo(8, -1, 15.5, 8);
    eye.quadTo(8, 17, 0.5, 8);
    p.drawPath(eye);
    p.setBrush(QColor(200, 30, 30));
    p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(8, 8), 1.3, 1.3);
}

using Painter = void (*)(QPainter&);

struct Icon {
    const char* key;
    Painter paint;
};

// In the order of ilEdit.
constexpr Icon Icons[] = {{"crop", drawCrop},         {"resize", drawResize},
                          {"rotate", drawRotate},     {"flip", drawFlip},
                          {"canvas", drawCanvas},     {"invert", drawInvert},
                          {"contrast", drawContrast}, {"sharpen", drawSharpen},
                          {"blur", drawBlur},         {"brightness", drawBrightness},
                          {"text", drawText},         {"watermark", drawWatermark},
                          {"mask", drawMask},         {"shadow", drawShadow},
                          {"frame", drawFrame},       {"RedEye", drawRedEye}};

QImage paintIcon(int size, Painter paint, double scale) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    paint(painter);
    return image;
}

} // namespace

const QStringList& fncTaskIconKeys() {
    static const QStringList keys = [] {
        QStringList list;
        for (const Icon& icon : Icons)
            list << QString::fromLatin1(icon.key);
        return list;
    }();
    return keys;
}

QImage fncTaskIcon(const QString& key) {
    for (const Icon& icon : Icons)
        if (key == QLatin1String(icon.key))
            return paintIcon(16, icon.paint, 1.0);
    return {};
}

QImage fncTaskChartPicture() {
    // A picture on a sheet with a pencil across its corner.
    return paintIcon(
        32,
        [](QPainter& p) {
            p.setPen(QPen(Ink, 0.6));
            p.setBrush(Paper);
            p.drawRect(QRectF(1.5, 2.5, 12, 11));
            picture(p, {3, 4, 9, 7});
            p.setPen(QPen(Ink, 0.6));
            p.setBrush(QColor(250, 200, 70));
            p.drawPolygon(QPolygonF({{9.5, 14.5}, {14.5, 6.5}, {15.8, 7.3}, {10.8, 15.3}}));
            p.setBrush(Ink);
            p.drawPolygon(QPolygonF({{9.5, 14.5}, {10.8, 15.3}, {9.2, 15.9}}));
        },
        2.0);
}

} // namespace picbasket
