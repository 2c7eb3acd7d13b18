#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTransform>
#include <optional>
#include <vector>

namespace picbasket {

// A colour reference (0x00BBGGRR; the palette flags of the top byte are ignored).
QColor colourFromRef(uint32_t ref);

// The outline GDI draws for an arc, chord or pie: the part of the ellipse in box
// from the ray through start counter-clockwise to the ray through end (the whole
// ellipse when the rays meet), open, closed by its chord, or closed through the
// centre.
enum class ArcKind { Arc, Chord, Pie };
QPainterPath arcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind);

// A font as a metafile describes it; sizes are in logical units.
struct MetafileFont {
    int32_t height = 0;
    int32_t escapement = 0;
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
};

// A pen, a brush or a font a metafile made; Other holds the place of an object the
// player does not draw with (palettes, regions), so later indexes stay right.
struct GdiObject {
    enum class Kind { Pen, Brush, Font, Other };
    Kind kind = Kind::Other;
    // Pens: the style and colour; the width in logical units (0 is one pixel).
    Qt::PenStyle penStyle = Qt::SolidLine;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
    double penWidth = 0;
    // Pens and brushes.
    QColor colour = Qt::black;
    // Brushes: the pattern (solid, hatch or none) and a bitmap for pattern brushes.
    Qt::BrushStyle brushStyle = Qt::SolidPattern;
    QImage pattern;
    MetafileFont font;

    static GdiObject pen(uint32_t style, double width, QColor colour);
    static GdiObject brush(uint32_t style, QColor colour, uint32_t hatch);
    static GdiObject patternBrush(const QImage& pattern);
    static GdiObject fontObject(const MetafileFont& font);
    // The stock object of that index (white brush, black pen, system font, ...).
    static GdiObject stock(uint32_t index);
};

// The mapping, drawing objects and attributes of a device context, as saved and
// restored together.
struct DcState {
    GdiObject pen = GdiObject::stock(7);
    GdiObject brush = GdiObject::stock(0);
    GdiObject font = GdiObject::stock(13);
    QColor textColour = Qt::black;
    QColor bkColour = Qt::white;
    bool opaqueBk = true;
    uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int32_t mapMode = 1;
    QPointF windowOrg{0, 0}, windowExt{1, 1}, viewportOrg{0, 0}, viewportExt{1, 1};
    QTransform world;
    // The clip in target pixels; none while unset.
    std::optional<QPainterPath> clip;
    QPointF position;
};

// The device context a metafile plays into: it keeps the state the records set and
// draws their shapes, text and bitmaps onto the painter. Every shape is mapped to
// target pixels first (logical units, through the world transform and the
// window-to-viewport mapping, to device units and then onto the target rectangle),
// so pen widths, patterns and text sizes follow the drawing's scale.
class MetafileCanvas {
public:
    // deviceToTarget maps device units onto the target; devicePerMm is the
    // reference device's resolution, used by the metric mapping modes.
    MetafileCanvas(QPainter& painter, const QTransform& deviceToTarget, QSizeF devicePerMm);

    DcState& dc() { return dc_; }
    QTransform transform() const;
    void save();
    void restore(int32_t which);

    void selectObject(const GdiObject& object);
    // Fills with the brush and outlines with the pen; inside a path bracket the
    // shape joins the path instead.
    void drawShape(const QPainterPath& logical, bool fill = true);
    void drawLine(const QPainterPath& logical) { drawShape(logical, false); }
    // The shapes both kinds of metafile draw, in logical units. lineTo draws from
    // the current position and moves it.
    void lineTo(QPointF to);
    void rectangle(const QRectF& box);
    void ellipse(const QRectF& box);
    void roundRect(const QRectF& box, double cornerW, double cornerH);
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void fillRect(const QRectF& logical, const QColor& colour);
    void patBlt(const QRectF& logical, uint32_t rop);
    void setPixel(QPointF logical, const QColor& colour);
    // Text at the reference point; dx, when given, is each character's advance in
    // logical units. clipRect and opaqueRect are logical rectangles.
    void drawText(QPointF reference, const QString& text, const std::vector<double>& dx,
                  const std::optional<QRectF>& opaqueRect, const std::optional<QRectF>& clipRect);
    void drawImage(const QRectF& logical, const QImage& image, const QRectF& source, uint32_t rop);

    void intersectClip(const QRectF& logical);
    void excludeClip(const QRectF& logical);
    // Combines a region in device units with the clip (1 and, 2 or, 3 xor, 4 diff,
    // 5 copy; an empty region with copy removes the clip).
    void combineClip(const std::optional<QPainterPath>& device, uint32_t mode);

    void beginPath();
    void endPath() { pathOpen_ = false; }
    void abortPath();
    void closeFigure();
    void fillPath(bool fill, bool stroke);
    void selectClipPath(uint32_t mode);
    bool inPath() const { return pathOpen_; }

private:
    QTransform pageTransform() const;
    double scale() const;
    QPen pen() const;
    QBrush brush() const;
    void applyClip();
    void paint(const QPainterPath& target, bool fill, bool stroke);
    QFont font(double& pixelSize) const;

    QPainter& painter_;
    QTransform deviceToTarget_;
    QSizeF devicePerMm_;
    DcState dc_;
    std::vector<DcState> saved_;
    QPainterPath path_;
    bool pathOpen_ = false;
    bool hasPath_ = false;
};

} // namespace picbasket
