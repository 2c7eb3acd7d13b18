#include "engine/tasks/FrameArtworkPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace picbasket {

namespace {

constexpr int L = FrameArtworkPainter::TileLength;
constexpr double Tau = 2 * std::numbers::pi;

enum class Side { Top, Left, Right, Bottom };

// Where a pixel of a frame piece lies: the side whose look it takes, how deep it
// sits from the frame's outer edge, and its position along that side.
struct FramePoint {
    Side side;
    int depth;
    int along;
};

using Look = std::function<QRgb(const FramePoint&, int thickness)>;

QRgb shaded(int r, int g, int b, double factor) {
    auto c = [factor](int v) { return std::clamp(int(std::lround(v * factor)), 0, 255); };
    return qRgb(c(r), c(g), c(b));
}

// Light falls from the top left: those sides are lighter.
double sideLight(Side side) {
    switch (side) {
    case Side::Top:
        return 1.12;
    case Side::Left:
        return 1.04;
    case Side::Right:
        return 0.86;
    default:
        return 0.76;
    }
}

QRgb oak(const FramePoint& p, int t) {
    const double grain = 0.5 + 0.5 * std::sin(Tau * p.along * 2 / L + p.depth * 0.9 +
                                              1.5 * std::sin(Tau * p.along / L));
    double f = (0.8 + 0.25 * grain) * sideLight(p.side);
    if (p.depth < 2)
        f *= 0.6;
    else if (p.depth >= t - 3)
        f *= 1.25;
    return shaded(139, 90, 52, f);
}

QRgb gold(const FramePoint& p, int t) {
    const double u = (p.depth + 0.5) / t;
    double f = (0.55 + 0.45 * std::cos(std::numbers::pi * (2 * u - 1))) * sideLight(p.side);
    const int bead = p.along % 12 - 6, band = p.depth - t / 2;
    if (bead * bead + band * band <= 9)
        f *= 1.3 - 0.06 * (bead * bead + band * band);
    return shaded(212, 175, 55, f + 0.1);
}

QRgb silver(const FramePoint& p, int t) {
    const double u = (p.depth + 0.5) / t;
    double f = (0.7 + 0.3 * std::sin(std::numbers::pi * u)) * sideLight(p.side);
    if (p.depth % 4 == 1)
        f *= 0.85;
    return shaded(190, 192, 200, f);
}

QRgb gallery(const FramePoint& p, int t) {
    if (p.depth == t - 4 || p.depth == t - 5)
        return qRgb(236, 236, 236);
    const double f = p.depth == 1 ? 2.2 : sideLight(p.side);
    return shaded(24, 24, 28, f);
}

QRgb royal(const FramePoint& p, int t) {
    if (p.depth < 3 || p.depth >= t - 3)
        return gold(
            FramePoint{p.side, p.depth < 3 ? p.depth * 3 : t - 1 - (t - 1 - p.depth) * 3, p.along},
            t);
    const double f = (0.9 + 0.1 * std::cos(Tau * p.along * 4 / L)) * sideLight(p.side);
    return shaded(30, 48, 110, f);
}

QRgb film(const FramePoint& p, int t) {
    const int a = p.along % 16;
    const bool hole = a >= 4 && a < 12 && p.depth >= t / 3 && p.depth < t - t / 3;
    if (hole)
        return qRgb(232, 230, 220);
    return p.depth == t - 1 ? qRgb(70, 60, 40) : qRgb(18, 16, 14);
}

QRgb mat(const FramePoint& p, int t) {
    if (p.depth == 0)
        return qRgb(60, 50, 40);
    if (p.depth >= t - 3) {
        const bool lit = p.side == Side::Right || p.side == Side::Bottom;
        return lit ? qRgb(252, 248, 236) : qRgb(200, 190, 165);
    }
    return shaded(240, 232, 210, 1.0);
}

QRgb mosaic(const FramePoint& p, int) {
    static const QRgb tiles[] = {qRgb(196, 60, 50), qRgb(230, 180, 40), qRgb(40, 120, 170),
                                 qRgb(60, 150, 80)};
    if (p.along % 8 == 7 || p.depth % 8 == 7)
        return qRgb(235, 230, 220);
    return tiles[(p.along / 8 + p.depth / 8 + (p.side == Side::Left || p.side == Side::Right)) % 4];
}

struct FrameStyle {
    int thickness;
    QRgb (*look)(const FramePoint&, int);
};

const FrameStyle frameStyles[FrameArtworkPainter::FrameStyleCount] = {
    {20, oak},   {24, gold}, {16, silver}, {18, gallery},
    {22, royal}, {24, film}, {32, mat},    {16, mosaic}};

// Which sides a piece touches, for corners the mitre decides per pixel.
//   TL  |  TM  |  TR        a corner pixel belongs to the side it is nearer
//   ----+------+----        to, the diagonal splitting the corner square
//   L   |      |  R
//   ----+------+----
//   BL  |  BM  |  BR
FramePoint framePoint(bool top, bool bottom, bool left, bool right, int x, int y, int w, int h) {
    const int dTop = y, dBottom = h - 1 - y, dLeft = x, dRight = w - 1 - x;
    const bool horizontal = top || bottom, vertical = left || right;
    const int dy = top ? dTop : dBottom, dx = left ? dLeft : dRight;
    if (horizontal && (!vertical || dy <= dx))
        return {top ? Side::Top : Side::Bottom, dy, x};
    return {left ? Side::Left : Side::Right, dx, y};
}

QImage framePiece(const FrameStyle& s, bool top, bool bottom, bool left, bool right, int w, int h) {
    QImage piece(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            piece.setPixel(x, y,
                           s.look(framePoint(top, bottom, left, right, x, y, w, h), s.thickness));
    return piece;
}

// A side piece of the blue frame with a gold rosette on it.
QImage rosettePiece(bool leftSide) {
    const FrameStyle& s = frameStyles[4];
    const int t = s.thickness, h = 32;
    QImage piece = framePiece(s, false, false, leftSide, !leftSide, t, h);
    QPainter painter(&piece);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(t / 2.0, h / 2.0);
    painter.setPen(QPen(QColor(120, 90, 20), 1));
    painter.setBrush(QColor(222, 186, 70));
    for (int i = 0; i < 4; ++i) {
        const double a = Tau * i / 4;
        painter.drawEllipse(centre + QPointF(4 * std::cos(a), 4 * std::sin(a)), 3.5, 3.5);
    }
    painter.setBrush(QColor(150, 30, 30));
    painter.drawEllipse(centre, 2.5, 2.5);
    return piece;
}

void addFrameStyle(FrameArtwork& art, const FrameStyle& s) {
    const int t = s.thickness;
    art.pTop_left.push_back(framePiece(s, true, false, true, false, t, t));
    art.pTop_middle.push_back(framePiece(s, true, false, false, false, L, t));
    art.pTop_right.push_back(framePiece(s, true, false, false, true, t, t));
    art.pleft.push_back(framePiece(s, false, false, true, false, t, L));
    art.pRight.push_back(framePiece(s, false, false, false, true, t, L));
    art.pBottom_left.push_back(framePiece(s, false, true, true, false, t, t));
    art.pBottom_middle.push_back(framePiece(s, false, true, false, false, L, t));
    art.pBottom_right.push_back(framePiece(s, false, true, false, true, t, t));
}

// A drop shadow is the image's rectangle moved away from the light and blurred:
// its pieces are black with an alpha that fades with the distance from the image
// edge on the sides it falls to, and clear elsewhere. The right and bottom pieces
// lie two pixels over the image (the canvas grows by their size less two), and
// those pixels stay clear.
struct ShadowStyle {
    bool left, top, right, bottom;
    int length;
    int darkest;
};

int thicknessOf(bool falls, int length, int overlap) {
    return (falls ? length : 1 - overlap / 2) + overlap;
}

// Distance of a pixel beyond the image edge along one axis: -1 over the image,
// 0 right next to it.
int beyond(int position, int margin, bool before) {
    if (before)
        return margin - 1 - position;
    return position < 2 ? -1 : position - 2;
}

QRgb shadowAt(const ShadowStyle& s, int ex, int ey, bool exFalls, bool eyFalls) {
    double e;
    if (ex < 0 && ey < 0)
        return qRgba(0, 0, 0, 0);
    if (ex >= 0 && ey >= 0) {
        if (!exFalls || !eyFalls)
            return qRgba(0, 0, 0, 0);
        e = std::hypot(ex + 0.5, ey + 0.5);
    } else if (ex >= 0) {
        if (!exFalls)
            return qRgba(0, 0, 0, 0);
        e = ex + 0.5;
    } else {
        if (!eyFalls)
            return qRgba(0, 0, 0, 0);
        e = ey + 0.5;
    }
    if (e >= s.length)
        return qRgba(0, 0, 0, 0);
    const double fade = 1 - e / s.length;
    return qRgba(0, 0, 0, int(std::lround(s.darkest * fade * fade)));
}

// column: -1 left pieces, 0 middle, 1 right; row likewise.
QImage shadowPiece(const ShadowStyle& s, int column, int row) {
    const int wl = thicknessOf(s.left, s.length, 0), wr = thicknessOf(s.right, s.length, 2);
    const int ht = thicknessOf(s.top, s.length, 0), hb = thicknessOf(s.bottom, s.length, 2);
    const int w = column < 0 ? wl : column > 0 ? wr : L;
    const int h = row < 0 ? ht : row > 0 ? hb : L;
    QImage piece(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int ex = column == 0 ? -1 : beyond(x, w, column < 0);
            const int ey = row == 0 ? -1 : beyond(y, h, row < 0);
            piece.setPixel(
                x, y,
                shadowAt(s, ex, ey, column < 0 ? s.left : s.right, row < 0 ? s.top : s.bottom));
        }
    return piece;
}

void addShadowStyle(FrameArtwork& art, const ShadowStyle& s) {
    art.pTop_left.push_back(shadowPiece(s, -1, -1));
    art.pTop_middle.push_back(shadowPiece(s, 0, -1));
    art.pTop_right.push_back(shadowPiece(s, 1, -1));
    art.pleft.push_back(shadowPiece(s, -1, 0));
    art.pRight.push_back(shadowPiece(s, 1, 0));
    art.pBottom_left.push_back(shadowPiece(s, -1, 1));
    art.pBottom_middle.push_back(shadowPiece(s, 0, 1));
    art.pBottom_right.push_back(shadowPiece(s, 1, 1));
}

QPainterPath maskShape(int index, double w, double h) {
    QPainterPath path;
    const QRectF inner(w * 0.1, h * 0.1, w * 0.8, h * 0.8);
    const QPointF c(w / 2, h / 2);
    switch (index) {
    case 0:
        path.addEllipse(inner);
        break;
    case 1:
        path.addRoundedRect(inner, w * 0.08, w * 0.08);
        break;
    case 2:
        path.addEllipse(c, h * 0.42, h * 0.42);
        break;
    case 3: {
        const double s = h * 0.42;
        path.moveTo(c.x(), c.y() + s);
        path.cubicTo(c.x() - 2.2 * s, c.y() - 0.2 * s, c.x() - 0.9 * s, c.y() - 1.6 * s, c.x(),
                     c.y() - 0.55 * s);
        path.cubicTo(c.x() + 0.9 * s, c.y() - 1.6 * s, c.x() + 2.2 * s, c.y() - 0.2 * s, c.x(),
                     c.y() + s);
        break;
    }
    case 4: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2 ? 0.2 : 0.46) * h, a = Tau * i / 10 - std::numbers::pi / 2;
            star << c + QPointF(r * std::cos(a), r * std::sin(a));
        }
        path.addPolygon(star);
        path.closeSubpath();
        break;
    }
    case 5:
        path.addPolygon(QPolygonF({QPointF(c.x(), h * 0.06), QPointF(w * 0.94, c.y()),
                                   QPointF(c.x(), h * 0.94), QPointF(w * 0.06, c.y())}));
        path.closeSubpath();
        break;
    case 6:
        path.moveTo(w * 0.2, h * 0.92);
        path.lineTo(w * 0.2, h * 0.45);
        path.arcTo(QRectF(w * 0.2, h * 0.08, w * 0.6, h * 0.74), 180, -180);
        path.lineTo(w * 0.8, h * 0.92);
        path.closeSubpath();
        break;
    default: {
        QPolygonF edge;
        for (int i = 0; i < 360; ++i) {
            const double a = Tau * i / 360, wave = 1 + 0.06 * std::sin(a * 16);
            edge << c + QPointF(w * 0.42 * wave * std::cos(a), h * 0.42 * wave * std::sin(a));
        }
        path.addPolygon(edge);
        path.closeSubpath();
        break;
    }
    }
    return path;
}

QImage maskPicture(int index) {
    QImage mask(FrameArtworkPainter::MaskWidth, FrameArtworkPainter::MaskHeight,
                QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(maskShape(index, mask.width(), mask.height()));
    return mask;
}

} // namespace

FrameArtwork FrameArtworkPainter::paintAll() {
    FrameArtwork art;
    for (const FrameStyle& style : frameStyles)
        addFrameStyle(art, style);
    for (int i = 0; i < ShadowStyleCount; ++i) {
        const bool soft = i >= 4, right = i % 4 == 0 || i % 4 == 2, bottom = i % 4 < 2;
        addShadowStyle(art, {!right, !bottom, right, bottom, soft ? 16 : 8, soft ? 110 : 150});
    }
    art.left_top = rosettePiece(true);
    art.right_top = rosettePiece(false);
    art.left_bottom = rosettePiece(true);
    art.right_bottom = rosettePiece(false);
    for (int i = 0; i < MaskCount; ++i)
        art.Mask.push_back(maskPicture(i));
    return art;
}

} // namespace picbasket
