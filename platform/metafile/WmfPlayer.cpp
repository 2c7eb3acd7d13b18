#include "platform/metafile/WmfPlayer.h"
#include "platform/metafile/DibImage.h"

#include <utility>

namespace picbasket {

namespace {

constexpr uint16_t EndOfFile = 0x0000;
constexpr qint64 MaxObjects = 65535;
constexpr uint16_t EtoOpaque = 0x0002;
constexpr uint16_t EtoClipped = 0x0004;
constexpr qint64 RecordHeaderLength = 6;

// Rectangles are stored bottom, right, top, left from the given offset.
QRectF rectAt(const RecordBytes& p, qint64 at) {
    return QRectF(QPointF(p.s16(at + 6), p.s16(at + 4)), QPointF(p.s16(at + 2), p.s16(at)));
}

// Points in records of one point are stored y before x.
QPointF pointAt(const RecordBytes& p, qint64 at) {
    return QPointF(p.s16(at + 2), p.s16(at));
}

QString latin1(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

MetafileFont readFont(const RecordBytes& p) {
    MetafileFont f;
    f.height = p.s16(0);
    f.escapement = p.s16(4);
    f.weight = p.s16(8);
    f.italic = p.u8(10);
    f.underline = p.u8(11);
    f.strikeOut = p.u8(12);
    const QByteArray face = p.bytes(18, std::clamp<qint64>(p.size() - 18, 0, 32));
    f.face = latin1(face.left(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0')));
    return f;
}

// A packed bitmap's header with its colour table, and its rows; nothing when the
// header is no bitmap header or claims more than is there.
std::optional<std::pair<RecordBytes, RecordBytes>> splitPackedDib(const RecordBytes& dib) {
    const qint64 header = packedDibHeaderLength(dib);
    if (header < 0 || header > dib.size())
        return std::nullopt;
    return std::pair(dib.part(0, header), dib.part(header, dib.size() - header));
}

} // namespace

WmfPlayer::WmfPlayer(MetafileCanvas& canvas) : MetafilePlayer(canvas, EndOfFile) {}

// A record starts with its length in 16-bit words and its function; the
// parameters follow.
std::optional<MetafilePlayer::RecordFrame> WmfPlayer::frameAt(const RecordBytes& file,
                                                              qint64 at) const {
    if (!file.has(at, RecordHeaderLength))
        return std::nullopt;
    const qint64 length = qint64(file.u32(at)) * 2;
    if (length < RecordHeaderLength || !file.has(at, length))
        return std::nullopt;
    return RecordFrame{file.u16(at + 4), length, RecordHeaderLength};
}

bool WmfPlayer::playRecord(uint32_t function, const RecordBytes& p) {
    playState(function, p) || playObject(function, p) || playShape(function, p) ||
        playText(function, p) || playBitmap(function, p);
    return !p.damaged();
}

bool WmfPlayer::playState(uint16_t function, const RecordBytes& p) {
    DcState& dc = canvas_.dc();
    switch (function) {
    case 0x001E:
        canvas_.save();
        break;
    case 0x0127:
        canvas_.restore(p.s16(0));
        break;
    case 0x020B:
        dc.windowOrg = pointAt(p, 0);
        break;
    case 0x020C:
        dc.windowExt = pointAt(p, 0);
        break;
    case 0x020F:
        dc.windowOrg += pointAt(p, 0);
        break;
    case 0x0201:
        dc.bkColour = colourFromRef(p.u32(0));
        break;
    case 0x0209:
        dc.textColour = colourFromRef(p.u32(0));
        break;
    case 0x0102:
        setBackgroundMode(p.u16(0));
        break;
    case 0x0106:
        setFillMode(p.u16(0));
        break;
    case 0x012E:
        dc.textAlign = p.u16(0);
        break;
    case 0x0416:
        canvas_.intersectClip(rectAt(p, 0));
        break;
    case 0x0415:
        canvas_.excludeClip(rectAt(p, 0));
        break;
    case 0x0214:
        dc.position = pointAt(p, 0);
        break;
    default:
        return false;
    }
    return true;
}

void WmfPlayer::addObject(const GdiObject& object) {
    if (!freeSlots_.empty()) {
        objects_[*freeSlots_.begin()] = object;
        freeSlots_.erase(freeSlots_.begin());
        return;
    }
    if (qint64(objects_.size()) < MaxObjects)
        objects_.push_back(object);
}

bool WmfPlayer::playObject(uint16_t function, const RecordBytes& p) {
    switch (function) {
    case 0x02FA:
        addObject(GdiObject::pen(p.u16(0), p.s16(2), colourFromRef(p.u32(6))));
        break;
    case 0x02FC:
        addObject(GdiObject::brush(p.u16(0), colourFromRef(p.u32(2)), p.u16(6)));
        break;
    case 0x02FB:
        addObject(GdiObject::fontObject(readFont(p)));
        break;
    case 0x0142: {
        const auto dib = splitPackedDib(p.part(4, p.size() - 4));
        if (!dib) {
            p.markDamaged();
            break;
        }
        const DibImage image = decodeDib(dib->first, dib->second);
        if (image.damaged)
            p.markDamaged();
        addObject(GdiObject::patternBrush(image.image));
        break;
    }
    case 0x01F9:
    case 0x00F7:
    case 0x06FF:
        addObject(GdiObject{});
        break;
    case 0x012D: {
        const uint16_t index = p.u16(0);
        if (index < objects_.size() && objects_[index])
            canvas_.selectObject(*objects_[index]);
        break;
    }
    case 0x01F0: {
        const uint16_t index = p.u16(0);
        if (index < objects_.size() && objects_[index]) {
            objects_[index].reset();
            freeSlots_.insert(index);
        }
        break;
    }
    default:
        return false;
    }
    return true;
}

bool WmfPlayer::polyPolygon(const RecordBytes& p) {
    const qint64 polygons = p.u16(0);
    if (!p.has(2, polygons * 2))
        return false;
    QPainterPath path;
    qint64 at = 2 + polygons * 2;
    for (qint64 i = 0; i < polygons; ++i) {
        const qint64 count = p.u16(2 + 2 * i);
        const auto polygon = points(p, at, count, true);
        if (!polygon)
            return false;
        path.addPolygon(*polygon);
        path.closeSubpath();
        at += count * 4;
    }
    path.setFillRule(canvas_.dc().fillRule);
    canvas_.drawShape(path);
    return true;
}

void WmfPlayer::arc(uint16_t function, const RecordBytes& p) {
    const ArcKind kind = function == 0x0817   ? ArcKind::Arc
                         : function == 0x0830 ? ArcKind::Chord
                                              : ArcKind::Pie;
    canvas_.arc(rectAt(p, 8), pointAt(p, 4), pointAt(p, 0), kind);
}

bool WmfPlayer::playShape(uint16_t function, const RecordBytes& p) {
    QPainterPath path;
    switch (function) {
    case 0x0213:
        canvas_.lineTo(pointAt(p, 0));
        break;
    case 0x0325:
    case 0x0324: {
        const auto polygon = points(p, 2, p.s16(0), true);
        if (!polygon)
            break;
        path.addPolygon(*polygon);
        if (function == 0x0324)
            path.closeSubpath();
        canvas_.drawShape(path, function == 0x0324);
        break;
    }
    case 0x0538:
        if (!polyPolygon(p))
            p.markDamaged();
        break;
    case 0x041B:
        canvas_.rectangle(rectAt(p, 0));
        break;
    case 0x0418:
        canvas_.ellipse(rectAt(p, 0));
        break;
    case 0x061C:
        canvas_.roundRect(rectAt(p, 4), p.s16(2), p.s16(0));
        break;
    case 0x0817:
    case 0x0830:
    case 0x081A:
        arc(function, p);
        break;
    case 0x041F:
        canvas_.setPixel(pointAt(p, 4), colourFromRef(p.u32(0)));
        break;
    case 0x061D:
        canvas_.patBlt(QRectF(p.s16(10), p.s16(8), p.s16(6), p.s16(4)), p.u32(0));
        break;
    default:
        return false;
    }
    return true;
}

bool WmfPlayer::extTextOut(const RecordBytes& p) {
    const QPointF reference = pointAt(p, 0);
    const qint64 count = p.s16(4);
    const uint16_t options = p.u16(6);
    qint64 at = 8;
    std::optional<QRectF> rect;
    if (options & (EtoOpaque | EtoClipped)) {
        rect = QRectF(QPointF(p.s16(8), p.s16(10)), QPointF(p.s16(12), p.s16(14))).normalized();
        at += 8;
    }
    if (count < 0 || !p.has(at, count))
        return false;
    const QString text = latin1(p.bytes(at, count));
    at += (count + 1) / 2 * 2;
    drawText(reference, text, advances(p, at, count, 2, true), options, rect);
    return true;
}

bool WmfPlayer::playText(uint16_t function, const RecordBytes& p) {
    if (function == 0x0521) {
        const qint64 count = p.s16(0);
        if (count < 0 || !p.has(2, count)) {
            p.markDamaged();
            return true;
        }
        const qint64 after = 2 + (count + 1) / 2 * 2;
        canvas_.drawText(pointAt(p, after), latin1(p.bytes(2, count)), {}, std::nullopt,
                         std::nullopt);
        return true;
    }
    if (function == 0x0A32) {
        if (!extTextOut(p))
            p.markDamaged();
        return true;
    }
    return false;
}

bool WmfPlayer::stretchDib(const RecordBytes& p, const QRectF& dest, const QRectF& source,
                           uint32_t rop, qint64 dibOffset) {
    const auto dib = splitPackedDib(p.part(dibOffset, p.size() - dibOffset));
    return dib && drawDib(dib->first, dib->second, dest, source, rop);
}

bool WmfPlayer::playBitmap(uint16_t function, const RecordBytes& p) {
    bool sound = true;
    switch (function) {
    case 0x0B41:
        // Without a bitmap the record is a pattern fill with one reserved word more.
        if (p.size() == 22)
            canvas_.patBlt(QRectF(p.s16(20), p.s16(18), p.s16(16), p.s16(14)), p.u32(0));
        else
            sound = stretchDib(p, QRectF(p.s16(18), p.s16(16), p.s16(14), p.s16(12)),
                               QRectF(p.s16(10), p.s16(8), p.s16(6), p.s16(4)), p.u32(0), 20);
        break;
    case 0x0F43:
        sound = stretchDib(p, QRectF(p.s16(20), p.s16(18), p.s16(16), p.s16(14)),
                           QRectF(p.s16(12), p.s16(10), p.s16(8), p.s16(6)), p.u32(0), 22);
        break;
    case 0x0940:
        if (p.size() == 18)
            canvas_.patBlt(QRectF(p.s16(16), p.s16(14), p.s16(12), p.s16(10)), p.u32(0));
        else
            sound = stretchDib(p, QRectF(p.s16(14), p.s16(12), p.s16(10), p.s16(8)),
                               QRectF(p.s16(6), p.s16(4), p.s16(10), p.s16(8)), p.u32(0), 16);
        break;
    default:
        return false;
    }
    if (!sound)
        p.markDamaged();
    return true;
}

} // namespace picbasket
