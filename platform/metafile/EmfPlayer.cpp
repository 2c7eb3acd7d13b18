#include "platform/metafile/EmfPlayer.h"
#include "platform/metafile/DibImage.h"

#include <cmath>

namespace picbasket {

namespace {

constexpr uint32_t EndOfFile = 14;
constexpr qint64 RecordHeaderLength = 8;
constexpr uint32_t StockObject = 0x80000000u;
constexpr qint64 MaxObjects = 65535;
constexpr uint32_t EtoGlyphIndex = 0x0010;
constexpr uint32_t EtoPdy = 0x2000;
// Clip regions beyond this many rectangles keep the first ones exactly and the
// rest as their bounding rectangle: every later clip combines paths, whose cost
// grows with the square of the rectangles.
constexpr qint64 MaxClipRectangles = 1024;

// A RECTL (left, top, right, bottom, 32 bits each) at the offset.
QRectF rectAt(const RecordBytes& r, qint64 at) {
    return QRectF(QPointF(r.s32(at), r.s32(at + 4)), QPointF(r.s32(at + 8), r.s32(at + 12)));
}

QPointF pointAt(const RecordBytes& r, qint64 at) {
    return QPointF(r.s32(at), r.s32(at + 4));
}

QTransform transformAt(const RecordBytes& r, qint64 at) {
    const QTransform t(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16),
                       r.f32(at + 20));
    // A transform of infinities or NaNs would poison every later coordinate.
    const double values[] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
    for (double v : values)
        if (!std::isfinite(v))
            return QTransform();
    return t;
}

MetafileFont readFont(const RecordBytes& r, qint64 at) {
    MetafileFont f;
    f.height = r.s32(at);
    f.escapement = r.s32(at + 8);
    f.weight = r.s32(at + 16);
    f.italic = r.u8(at + 20);
    f.underline = r.u8(at + 21);
    f.strikeOut = r.u8(at + 22);
    for (qint64 i = 0; i < 32 && r.has(at + 28 + 2 * i, 2); ++i) {
        const uint16_t c = r.u16(at + 28 + 2 * i);
        if (c == 0)
            break;
        f.face += QChar(c);
    }
    return f;
}

} // namespace

EmfPlayer::EmfPlayer(MetafileCanvas& canvas) : MetafilePlayer(canvas, EndOfFile) {}

// A record starts with its type and its length in bytes, a multiple of four; a
// record is read whole, its offsets count from its start.
std::optional<MetafilePlayer::RecordFrame> EmfPlayer::frameAt(const RecordBytes& file,
                                                              qint64 at) const {
    if (!file.has(at, RecordHeaderLength))
        return std::nullopt;
    const qint64 length = file.u32(at + 4);
    if (length < RecordHeaderLength || length % 4 != 0 || !file.has(at, length))
        return std::nullopt;
    return RecordFrame{file.u32(at), length, 0};
}

bool EmfPlayer::playRecord(uint32_t type, const RecordBytes& r) {
    playState(type, r) || playTransform(type, r) || playObject(type, r) || playShape(type, r) ||
        playPoly(type, r) || playPath(type, r) || playText(type, r) || playBitmap(type, r);
    return !r.damaged();
}

bool EmfPlayer::playState(uint32_t type, const RecordBytes& r) {
    DcState& dc = canvas_.dc();
    switch (type) {
    case 9:
        dc.windowExt = pointAt(r, 8);
        break;
    case 10:
        dc.windowOrg = pointAt(r, 8);
        break;
    case 11:
        dc.viewportExt = pointAt(r, 8);
        break;
    case 12:
        dc.viewportOrg = pointAt(r, 8);
        break;
    case 17:
        dc.mapMode = r.s32(8);
        break;
    case 18:
        setBackgroundMode(r.u32(8));
        break;
    case 19:
        setFillMode(r.u32(8));
        break;
    case 22:
        dc.textAlign = r.u32(8);
        break;
    case 24:
        dc.textColour = colourFromRef(r.u32(8));
        break;
    case 25:
        dc.bkColour = colourFromRef(r.u32(8));
        break;
    case 27:
        dc.position = pointAt(r, 8);
        break;
    case 29:
        canvas_.excludeClip(rectAt(r, 8));
        break;
    case 30:
        canvas_.intersectClip(rectAt(r, 8));
        break;
    case 33:
        canvas_.save();
        break;
    case 34:
        canvas_.restore(r.s32(8));
        break;
    case 75:
        if (!clipRegion(r))
            r.markDamaged();
        break;
    default:
        return false;
    }
    return true;
}

bool EmfPlayer::playTransform(uint32_t type, const RecordBytes& r) {
    DcState& dc = canvas_.dc();
    if (type == 35) {
        dc.world = transformAt(r, 8);
        return true;
    }
    if (type != 36)
        return false;
    const QTransform t = transformAt(r, 8);
    switch (r.u32(32)) {
    case 1:
        dc.world = QTransform();
        break;
    case 2:
        dc.world = t * dc.world;
        break;
    case 3:
        dc.world = dc.world * t;
        break;
    case 4:
        dc.world = t;
        break;
    default:
        break;
    }
    return true;
}

void EmfPlayer::select(uint32_t index) {
    if (index & StockObject) {
        canvas_.selectObject(GdiObject::stock(index & ~StockObject));
        return;
    }
    const auto found = objects_.find(index);
    if (found != objects_.end())
        canvas_.selectObject(found->second);
}

bool EmfPlayer::extCreatePen(const RecordBytes& r) {
    const uint32_t style = r.u32(28);
    const uint32_t brushStyle = r.u32(36);
    // The low bits give the geometric pen's width; a cosmetic pen is one pixel.
    const double width = (style & 0x00010000) ? r.u32(32) : 0;
    GdiObject pen = GdiObject::pen(style, width, colourFromRef(r.u32(40)));
    if (brushStyle == 1)
        pen.penStyle = Qt::NoPen;
    objects_[r.u32(8)] = pen;
    return true;
}

bool EmfPlayer::dibBrush(const RecordBytes& r) {
    const qint64 offBmi = r.u32(16), cbBmi = r.u32(20), offBits = r.u32(24), cbBits = r.u32(28);
    if (!r.has(offBmi, cbBmi) || !r.has(offBits, cbBits))
        return false;
    const DibImage image = decodeDib(r.part(offBmi, cbBmi), r.part(offBits, cbBits));
    if (image.damaged)
        return false;
    objects_[r.u32(8)] = GdiObject::patternBrush(image.image);
    return true;
}

bool EmfPlayer::playObject(uint32_t type, const RecordBytes& r) {
    if ((type == 38 || type == 39 || type == 82 || type == 93 || type == 94 || type == 95) &&
        qint64(objects_.size()) >= MaxObjects && !objects_.count(r.u32(8)))
        return true;
    switch (type) {
    case 37:
        select(r.u32(8));
        break;
    case 40:
        objects_.erase(r.u32(8));
        break;
    case 38:
        objects_[r.u32(8)] = GdiObject::pen(r.u32(12), r.s32(16), colourFromRef(r.u32(24)));
        break;
    case 39:
        objects_[r.u32(8)] = GdiObject::brush(r.u32(12), colourFromRef(r.u32(16)), r.u32(20));
        break;
    case 82:
        objects_[r.u32(8)] = GdiObject::fontObject(readFont(r, 12));
        break;
    case 93:
    case 94:
        if (!dibBrush(r))
            r.markDamaged();
        break;
    case 95:
        extCreatePen(r);
        break;
    case 49:
        objects_[r.u32(8)] = GdiObject{};
        break;
    default:
        return false;
    }
    return true;
}

bool EmfPlayer::playShape(uint32_t type, const RecordBytes& r) {
    switch (type) {
    case 54:
        canvas_.lineTo(pointAt(r, 8));
        break;
    case 42:
        canvas_.ellipse(rectAt(r, 8));
        break;
    case 43:
        canvas_.rectangle(rectAt(r, 8));
        break;
    case 44:
        canvas_.roundRect(rectAt(r, 8), r.s32(24), r.s32(28));
        break;
    case 45:
    case 46:
    case 47: {
        const ArcKind kind = type == 45 ? ArcKind::Arc : type == 46 ? ArcKind::Chord : ArcKind::Pie;
        canvas_.arc(rectAt(r, 8), pointAt(r, 24), pointAt(r, 32), kind);
        break;
    }
    case 15:
        canvas_.setPixel(pointAt(r, 8), colourFromRef(r.u32(16)));
        break;
    default:
        return false;
    }
    return true;
}

void EmfPlayer::polyPoly(const RecordBytes& r, bool small, bool closed) {
    const qint64 polys = r.u32(24), total = r.u32(28);
    if (!r.has(32, polys * 4)) {
        r.markDamaged();
        return;
    }
    const auto all = points(r, 32 + polys * 4, total, small);
    if (!all)
        return;
    QPainterPath path;
    for (qint64 i = 0, first = 0; i < polys; ++i) {
        const qint64 count = r.u32(32 + 4 * i);
        if (count > total - first) {
            r.markDamaged();
            return;
        }
        path.addPolygon(all->mid(first, count));
        if (closed)
            path.closeSubpath();
        first += count;
    }
    canvas_.drawShape(path, closed);
}

void EmfPlayer::poly(uint32_t type, const RecordBytes& r, bool small) {
    const auto polygon = points(r, 28, r.u32(24), small);
    if (!polygon || polygon->isEmpty())
        return;
    DcState& dc = canvas_.dc();
    QPainterPath path;
    const bool continues = type == 5 || type == 6;
    if (continues) {
        path.moveTo(dc.position);
        dc.position = polygon->last();
    } else {
        path.moveTo(polygon->first());
    }
    const bool bezier = type == 2 || type == 5;
    const qint64 start = continues ? 0 : 1;
    if (bezier) {
        for (qint64 i = start; i + 2 < polygon->size(); i += 3)
            path.cubicTo(polygon->at(i), polygon->at(i + 1), polygon->at(i + 2));
    } else {
        for (qint64 i = start; i < polygon->size(); ++i)
            path.lineTo(polygon->at(i));
    }
    if (type == 3)
        path.closeSubpath();
    canvas_.drawShape(path, type == 3);
}

bool EmfPlayer::playPoly(uint32_t type, const RecordBytes& r) {
    // The 32-bit records 2 to 8 have 16-bit twins at 85 to 91 in the same order.
    const bool small = type >= 85 && type <= 91;
    const uint32_t kind = small ? type - 83 : type;
    if (kind < 2 || kind > 8)
        return false;
    if (kind == 7 || kind == 8)
        polyPoly(r, small, kind == 8);
    else
        poly(kind, r, small);
    return true;
}

bool EmfPlayer::playPath(uint32_t type, const RecordBytes& r) {
    switch (type) {
    case 59:
        canvas_.beginPath();
        break;
    case 60:
        canvas_.endPath();
        break;
    case 61:
        canvas_.closeFigure();
        break;
    case 62:
        canvas_.fillPath(true, false);
        break;
    case 63:
        canvas_.fillPath(true, true);
        break;
    case 64:
        canvas_.fillPath(false, true);
        break;
    case 67:
        canvas_.selectClipPath(r.u32(8));
        break;
    case 68:
        canvas_.abortPath();
        break;
    default:
        return false;
    }
    return true;
}

bool EmfPlayer::clipRegion(const RecordBytes& r) {
    const qint64 length = r.u32(8);
    const uint32_t mode = r.u32(12);
    if (length == 0) {
        canvas_.combineClip(std::nullopt, mode);
        return true;
    }
    const RecordBytes data = r.part(16, length);
    const qint64 count = data.u32(8);
    if (data.damaged() || data.u32(0) < 32 || !data.has(32, count * 16))
        return false;
    QPainterPath region;
    const qint64 exact = count > MaxClipRectangles ? MaxClipRectangles - 1 : count;
    for (qint64 i = 0; i < exact; ++i)
        region.addRect(rectAt(data, 32 + 16 * i).normalized());
    QRectF rest;
    for (qint64 i = exact; i < count; ++i)
        rest |= rectAt(data, 32 + 16 * i).normalized();
    if (!rest.isEmpty())
        region.addRect(rest);
    canvas_.combineClip(region, mode);
    return true;
}

bool EmfPlayer::text(const RecordBytes& r, bool wide) {
    const QPointF reference = pointAt(r, 36);
    const qint64 count = r.u32(44), offString = r.u32(48);
    const uint32_t options = r.u32(52);
    const QRectF rect = rectAt(r, 56).normalized();
    const qint64 offDx = r.u32(72);
    const qint64 unit = wide ? 2 : 1;
    if (!r.has(offString, count * unit))
        return false;
    QString text;
    for (qint64 i = 0; i < count; ++i)
        text += wide ? QChar(r.u16(offString + 2 * i)) : QChar(r.u8(offString + i));
    const qint64 step = options & EtoPdy ? 8 : 4;
    const std::vector<double> dx =
        offDx ? advances(r, offDx, count, step, false) : std::vector<double>();
    // Glyph indexes name shapes in a font file we do not have; such text is left out.
    if (options & EtoGlyphIndex)
        text.clear();
    const bool hasRect = rect.width() > 0 && rect.height() > 0;
    drawText(reference, text, dx, options, hasRect ? std::optional(rect) : std::nullopt);
    return true;
}

bool EmfPlayer::playText(uint32_t type, const RecordBytes& r) {
    if (type != 83 && type != 84)
        return false;
    if (!text(r, type == 84))
        r.markDamaged();
    return true;
}

// The bitmap of a record whose offBmi, cbBmi, offBits and cbBits start at fields.
bool EmfPlayer::dib(const RecordBytes& r, qint64 fields, QRectF dest, QRectF source, uint32_t rop) {
    const qint64 offBmi = r.u32(fields), cbBmi = r.u32(fields + 4);
    const qint64 offBits = r.u32(fields + 8), cbBits = r.u32(fields + 12);
    if (cbBmi == 0) {
        canvas_.patBlt(dest, rop);
        return true;
    }
    if (!r.has(offBmi, cbBmi) || !r.has(offBits, cbBits))
        return false;
    return drawDib(r.part(offBmi, cbBmi), r.part(offBits, cbBits), dest, source, rop);
}

bool EmfPlayer::playBitmap(uint32_t type, const RecordBytes& r) {
    bool sound = true;
    switch (type) {
    case 81: // StretchDIBits
        sound = dib(r, 48, QRectF(r.s32(24), r.s32(28), r.s32(72), r.s32(76)),
                    QRectF(r.s32(32), r.s32(36), r.s32(40), r.s32(44)), r.u32(68));
        break;
    case 80: // SetDIBitsToDevice: the source rectangle copied at its own size
        sound = dib(r, 48, QRectF(r.s32(24), r.s32(28), r.s32(40), r.s32(44)),
                    QRectF(r.s32(32), r.s32(36), r.s32(40), r.s32(44)), 0x00CC0020);
        break;
    case 76: // BitBlt
        sound = dib(r, 84, QRectF(r.s32(24), r.s32(28), r.s32(32), r.s32(36)),
                    QRectF(r.s32(44), r.s32(48), r.s32(32), r.s32(36)), r.u32(40));
        break;
    case 77: // StretchBlt
        sound = dib(r, 84, QRectF(r.s32(24), r.s32(28), r.s32(32), r.s32(36)),
                    QRectF(r.s32(44), r.s32(48), r.s32(100), r.s32(104)), r.u32(40));
        break;
    default:
        return false;
    }
    if (!sound)
        r.markDamaged();
    return true;
}

} // namespace picbasket
