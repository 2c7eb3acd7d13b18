#include "platform/metafile/MetafileCanvas.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace picbasket {

namespace {

constexpr uint32_t NullPenStyle = 5;
constexpr uint32_t NullBrushStyle = 1;
constexpr uint32_t HatchedBrushStyle = 2;
constexpr uint32_t UpdateCurrentPosition = 1;
constexpr uint32_t HorizontalAlignMask = 6;
constexpr uint32_t AlignRight = 2;
constexpr uint32_t AlignCentre = 6;
constexpr uint32_t VerticalAlignMask = 24;
constexpr uint32_t AlignBottom = 8;
constexpr uint32_t AlignBaseline = 24;
constexpr uint32_t PatCopy = 0x00F00021;
constexpr uint32_t Blackness = 0x00000042;
constexpr uint32_t Whiteness = 0x00FF0062;
constexpr uint32_t SrcAnd = 0x008800C6;
constexpr uint32_t SrcPaint = 0x00EE0086;
constexpr uint32_t SrcInvert = 0x00660046;

Qt::PenStyle penStyleOf(uint32_t style) {
    switch (style & 0x0F) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case NullPenStyle:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::PenCapStyle capOf(uint32_t style) {
    switch (style & 0x0F00) {
    case 0x0100:
        return Qt::SquareCap;
    case 0x0200:
        return Qt::FlatCap;
    default:
        return Qt::RoundCap;
    }
}

Qt::PenJoinStyle joinOf(uint32_t style) {
    switch (style & 0xF000) {
    case 0x1000:
        return Qt::BevelJoin;
    case 0x2000:
        return Qt::MiterJoin;
    default:
        return Qt::RoundJoin;
    }
}

Qt::BrushStyle hatchOf(uint32_t hatch) {
    static const Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern, Qt::BDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};
    return hatch < 6 ? styles[hatch] : Qt::SolidPattern;
}

// Lengths of the two axes of a transform, the scale of x and of y units.
double xScale(const QTransform& t) {
    return std::hypot(t.m11(), t.m12());
}
double yScale(const QTransform& t) {
    return std::hypot(t.m21(), t.m22());
}

// Millimetres per logical unit of the metric mapping modes (2 to 6).
double millimetresPerUnit(int32_t mapMode) {
    switch (mapMode) {
    case 2:
        return 0.1;
    case 3:
        return 0.01;
    case 4:
        return 0.254;
    case 5:
        return 0.0254;
    default:
        return 25.4 / 1440;
    }
}

double nonZero(double v) {
    return v == 0 ? 1 : v;
}

} // namespace

QColor colourFromRef(uint32_t ref) {
    return QColor(int(ref & 0xFF), int(ref >> 8 & 0xFF), int(ref >> 16 & 0xFF));
}

QPainterPath arcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
    const QRectF r = box.normalized();
    QPainterPath path;
    if (r.width() <= 0 || r.height() <= 0)
        return path;
    const QPointF c = r.center();
    auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / r.height(), (p.x() - c.x()) / r.width()) * 180 / M_PI;
    };
    const double from = angle(start);
    double sweep = angle(end) - from;
    while (sweep <= 0)
        sweep += 360;
    if (kind == ArcKind::Pie)
        path.moveTo(c);
    else
        path.arcMoveTo(r, from);
    path.arcTo(r, from, sweep);
    if (kind != ArcKind::Arc)
        path.closeSubpath();
    return path;
}

GdiObject GdiObject::pen(uint32_t style, double width, QColor colour) {
    GdiObject o;
    o.kind = Kind::Pen;
    o.penStyle = penStyleOf(style);
    o.cap = capOf(style);
    o.join = joinOf(style);
    o.penWidth = std::max(0.0, width);
    o.colour = colour;
    return o;
}

GdiObject GdiObject::brush(uint32_t style, QColor colour, uint32_t hatch) {
    GdiObject o;
    o.kind = Kind::Brush;
    o.colour = colour;
    if (style == NullBrushStyle)
        o.brushStyle = Qt::NoBrush;
    else if (style == HatchedBrushStyle)
        o.brushStyle = hatchOf(hatch);
    return o;
}

GdiObject GdiObject::patternBrush(const QImage& pattern) {
    GdiObject o;
    o.kind = Kind::Brush;
    o.brushStyle = pattern.isNull() ? Qt::SolidPattern : Qt::TexturePattern;
    o.colour = Qt::black;
    o.pattern = pattern;
    return o;
}

GdiObject GdiObject::fontObject(const MetafileFont& font) {
    GdiObject o;
    o.kind = Kind::Font;
    o.font = font;
    return o;
}

GdiObject GdiObject::stock(uint32_t index) {
    static const int greys[] = {255, 192, 128, 64, 0};
    if (index <= 4)
        return brush(0, QColor(greys[index], greys[index], greys[index]), 0);
    switch (index) {
    case 5:
        return brush(NullBrushStyle, Qt::black, 0);
    case 6:
        return pen(0, 0, Qt::white);
    case 7:
        return pen(0, 0, Qt::black);
    case 8:
        return pen(NullPenStyle, 0, Qt::black);
    case 18:
        return brush(0, Qt::white, 0);
    case 19:
        return pen(0, 0, Qt::black);
    default:
        break;
    }
    if (index >= 10 && index <= 17)
        return fontObject(MetafileFont{});
    return GdiObject{};
}

MetafileCanvas::MetafileCanvas(QPainter& painter, const QTransform& deviceToTarget,
                               QSizeF devicePerMm)
    : painter_(painter), deviceToTarget_(deviceToTarget), devicePerMm_(devicePerMm) {}

QTransform MetafileCanvas::pageTransform() const {
    double sx = 1, sy = 1;
    if (dc_.mapMode >= 2 && dc_.mapMode <= 6) {
        const double mm = millimetresPerUnit(dc_.mapMode);
        sx = mm * devicePerMm_.width();
        sy = -mm * devicePerMm_.height();
    } else if (dc_.mapMode == 7 || dc_.mapMode == 8) {
        sx = dc_.viewportExt.x() / nonZero(dc_.windowExt.x());
        sy = dc_.viewportExt.y() / nonZero(dc_.windowExt.y());
        if (dc_.mapMode == 7) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
    }
    return QTransform(sx, 0, 0, sy, dc_.viewportOrg.x() - dc_.windowOrg.x() * sx,
                      dc_.viewportOrg.y() - dc_.windowOrg.y() * sy);
}

QTransform MetafileCanvas::transform() const {
    return dc_.world * pageTransform() * deviceToTarget_;
}

double MetafileCanvas::scale() const {
    return std::sqrt(std::abs(transform().determinant()));
}

void MetafileCanvas::save() {
    if (saved_.size() < 4096)
        saved_.push_back(dc_);
}

void MetafileCanvas::restore(int32_t which) {
    const qint64 index = which < 0 ? qint64(saved_.size()) + which : qint64(which) - 1;
    if (index < 0 || index >= qint64(saved_.size()))
        return;
    dc_ = saved_[size_t(index)];
    saved_.resize(size_t(index));
}

void MetafileCanvas::selectObject(const GdiObject& object) {
    switch (object.kind) {
    case GdiObject::Kind::Pen:
        dc_.pen = object;
        break;
    case GdiObject::Kind::Brush:
        dc_.brush = object;
        break;
    case GdiObject::Kind::Font:
        dc_.font = object;
        break;
    case GdiObject::Kind::Other:
        break;
    }
}

QPen MetafileCanvas::pen() const {
    const GdiObject& p = dc_.pen;
    // A pen is never thinner than one pixel, however small the drawing.
    QPen pen(p.colour, std::max(1.0, p.penWidth * scale()), p.penStyle, p.cap, p.join);
    return pen;
}

QBrush MetafileCanvas::brush() const {
    const GdiObject& b = dc_.brush;
    if (b.brushStyle == Qt::TexturePattern)
        return QBrush(b.pattern);
    return QBrush(b.colour, b.brushStyle);
}

void MetafileCanvas::applyClip() {
    if (dc_.clip)
        painter_.setClipPath(*dc_.clip);
    else
        painter_.setClipping(false);
}

void MetafileCanvas::paint(const QPainterPath& target, bool fill, bool stroke) {
    painter_.save();
    painter_.resetTransform();
    applyClip();
    const QBrush b = brush();
    if (fill && b.style() != Qt::NoBrush) {
        // A hatch shows the background colour between its lines when it is opaque.
        if (dc_.opaqueBk && b.style() != Qt::SolidPattern && b.style() != Qt::TexturePattern)
            painter_.fillPath(target, dc_.bkColour);
        painter_.fillPath(target, b);
    }
    if (stroke && dc_.pen.penStyle != Qt::NoPen)
        painter_.strokePath(target, pen());
    painter_.restore();
}

void MetafileCanvas::drawShape(const QPainterPath& logical, bool fill) {
    QPainterPath target = transform().map(logical);
    target.setFillRule(dc_.fillRule);
    if (!pathOpen_) {
        paint(target, fill, true);
        return;
    }
    // Lines drawn one after another inside a path continue one figure.
    if (!path_.isEmpty() && target.elementCount() > 0 &&
        QLineF(path_.currentPosition(), QPointF(target.elementAt(0))).length() < 1e-6)
        path_.connectPath(target);
    else
        path_.addPath(target);
}

void MetafileCanvas::lineTo(QPointF to) {
    QPainterPath path;
    path.moveTo(dc_.position);
    path.lineTo(to);
    drawLine(path);
    dc_.position = to;
}

void MetafileCanvas::rectangle(const QRectF& box) {
    QPainterPath path;
    path.addRect(box.normalized());
    drawShape(path);
}

void MetafileCanvas::ellipse(const QRectF& box) {
    QPainterPath path;
    path.addEllipse(box.normalized());
    drawShape(path);
}

void MetafileCanvas::roundRect(const QRectF& box, double cornerW, double cornerH) {
    QPainterPath path;
    path.addRoundedRect(box.normalized(), std::abs(cornerW) / 2, std::abs(cornerH) / 2);
    drawShape(path);
}

void MetafileCanvas::arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
    drawShape(arcPath(box, start, end, kind), kind != ArcKind::Arc);
}

void MetafileCanvas::fillRect(const QRectF& logical, const QColor& colour) {
    QPainterPath target;
    target.addPolygon(transform().map(QPolygonF(logical)));
    painter_.save();
    painter_.resetTransform();
    applyClip();
    painter_.fillPath(target, colour);
    painter_.restore();
}

void MetafileCanvas::patBlt(const QRectF& logical, uint32_t rop) {
    if (rop == Blackness || rop == Whiteness) {
        fillRect(logical, rop == Blackness ? Qt::black : Qt::white);
    } else if (rop == PatCopy) {
        QPainterPath target;
        target.addPolygon(transform().map(QPolygonF(logical)));
        paint(target, true, false);
    }
}

void MetafileCanvas::setPixel(QPointF logical, const QColor& colour) {
    const QRectF unit = transform().mapRect(QRectF(logical, QSizeF(1, 1)));
    const QRectF pixel(unit.topLeft(), unit.size().expandedTo(QSizeF(1, 1)));
    painter_.save();
    painter_.resetTransform();
    applyClip();
    painter_.fillRect(pixel, colour);
    painter_.restore();
}

QFont MetafileCanvas::font(double& pixelSize) const {
    const MetafileFont& mf = dc_.font.font;
    QFont f(mf.face.isEmpty() ? QStringLiteral("Sans Serif") : mf.face);
    f.setWeight(QFont::Weight(std::clamp(mf.weight ? mf.weight : 400, 100, 900)));
    f.setItalic(mf.italic);
    f.setUnderline(mf.underline);
    f.setStrikeOut(mf.strikeOut);
    const double ys = yScale(transform());
    double px = mf.height == 0 ? 12 * ys : std::abs(double(mf.height)) * ys;
    // A positive height is the character cell's, the em square a little less.
    if (mf.height > 0) {
        f.setPixelSize(100);
        const QFontMetricsF m(f);
        px = px * 100 / std::max(1.0, m.ascent() + m.descent());
    }
    pixelSize = std::clamp(px, 1.0, 16384.0);
    f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    return f;
}

void MetafileCanvas::drawText(QPointF reference, const QString& text, const std::vector<double>& dx,
                              const std::optional<QRectF>& opaqueRect,
                              const std::optional<QRectF>& clipRect) {
    const QTransform t = transform();
    if (opaqueRect)
        fillRect(*opaqueRect, dc_.bkColour);
    if (text.isEmpty())
        return;
    double px = 0;
    const QFont f = font(px);
    const QFontMetricsF metrics(f);
    const bool updateCp = dc_.textAlign & UpdateCurrentPosition;
    const QPointF origin = t.map(updateCp ? dc_.position : reference);
    std::vector<double> advances;
    for (qsizetype i = 0; i < text.size(); ++i)
        advances.push_back(size_t(i) < dx.size() ? dx[size_t(i)] * xScale(t)
                                                 : metrics.horizontalAdvance(text.at(i)));
    double width = 0;
    for (double a : advances)
        width += a;
    double x = 0, baseline = 0;
    const uint32_t h = dc_.textAlign & HorizontalAlignMask, v = dc_.textAlign & VerticalAlignMask;
    if (h == AlignRight)
        x = -width;
    else if (h == AlignCentre)
        x = -width / 2;
    if (v == AlignBottom)
        baseline = -metrics.descent();
    else if (v != AlignBaseline)
        baseline = metrics.ascent();
    painter_.save();
    painter_.resetTransform();
    applyClip();
    if (clipRect)
        painter_.setClipPath(
            [&] {
                QPainterPath p;
                p.addPolygon(t.map(QPolygonF(*clipRect)));
                return p;
            }(),
            dc_.clip ? Qt::IntersectClip : Qt::ReplaceClip);
    painter_.translate(origin);
    painter_.rotate(-dc_.font.font.escapement / 10.0);
    if (dc_.opaqueBk)
        painter_.fillRect(QRectF(x, baseline - metrics.ascent(), width, metrics.height()),
                          dc_.bkColour);
    painter_.setFont(f);
    painter_.setPen(dc_.textColour);
    for (qsizetype i = 0; i < text.size(); ++i) {
        painter_.drawText(QPointF(x, baseline), QString(text.at(i)));
        x += advances[size_t(i)];
    }
    painter_.restore();
    if (updateCp)
        dc_.position += QPointF(width / std::max(1e-9, xScale(t)), 0);
}

void MetafileCanvas::drawImage(const QRectF& logical, const QImage& image, const QRectF& source,
                               uint32_t rop) {
    if (image.isNull())
        return;
    const QRectF target = transform().mapRect(logical.normalized());
    painter_.save();
    painter_.resetTransform();
    applyClip();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    if (rop == SrcAnd)
        painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    else if (rop == SrcPaint)
        painter_.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    else if (rop == SrcInvert)
        painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_.drawImage(target, image, source);
    painter_.restore();
}

void MetafileCanvas::intersectClip(const QRectF& logical) {
    QPainterPath region;
    region.addPolygon(transform().map(QPolygonF(logical.normalized())));
    combineClip(deviceToTarget_.inverted().map(region), 1);
}

void MetafileCanvas::excludeClip(const QRectF& logical) {
    QPainterPath region;
    region.addPolygon(transform().map(QPolygonF(logical.normalized())));
    combineClip(deviceToTarget_.inverted().map(region), 4);
}

void MetafileCanvas::combineClip(const std::optional<QPainterPath>& device, uint32_t mode) {
    if (!device) {
        if (mode == 5)
            dc_.clip.reset();
        return;
    }
    const QPainterPath region = deviceToTarget_.map(*device);
    QPainterPath all;
    all.addRect(QRectF(0, 0, painter_.device()->width(), painter_.device()->height()));
    const QPainterPath current = dc_.clip.value_or(all);
    switch (mode) {
    case 1:
        dc_.clip = current.intersected(region);
        break;
    case 2:
        dc_.clip = current.united(region);
        break;
    case 3:
        dc_.clip = current.united(region).subtracted(current.intersected(region));
        break;
    case 4:
        dc_.clip = current.subtracted(region);
        break;
    case 5:
        dc_.clip = region;
        break;
    default:
        break;
    }
}

void MetafileCanvas::beginPath() {
    path_ = QPainterPath();
    pathOpen_ = true;
    hasPath_ = true;
}

void MetafileCanvas::abortPath() {
    path_ = QPainterPath();
    pathOpen_ = false;
    hasPath_ = false;
}

void MetafileCanvas::closeFigure() {
    if (pathOpen_)
        path_.closeSubpath();
}

void MetafileCanvas::fillPath(bool fill, bool stroke) {
    if (!hasPath_)
        return;
    path_.setFillRule(dc_.fillRule);
    paint(path_, fill, stroke);
    abortPath();
}

void MetafileCanvas::selectClipPath(uint32_t mode) {
    if (!hasPath_)
        return;
    combineClip(deviceToTarget_.inverted().map(path_), mode);
    abortPath();
}

} // namespace picbasket
