#include "platform/metafile/MetafilePlayer.h"
#include "platform/metafile/DibImage.h"

namespace picbasket {

namespace {

constexpr uint32_t EtoOpaque = 0x0002;
constexpr uint32_t EtoClipped = 0x0004;

} // namespace

bool MetafilePlayer::play(const RecordBytes& file, qint64 offset) {
    for (qint64 at = offset;;) {
        const std::optional<RecordFrame> frame = frameAt(file, at);
        if (!frame)
            return false;
        if (frame->type == endType_)
            return true;
        const RecordBytes body = file.part(at + frame->bodyStart, frame->length - frame->bodyStart);
        if (!playRecord(frame->type, body))
            return false;
        at += frame->length;
    }
}

std::optional<QPolygonF> MetafilePlayer::points(const RecordBytes& r, qint64 offset, qint64 count,
                                                bool small) {
    const qint64 size = small ? 4 : 8;
    if (count < 0 || !r.has(offset, count * size)) {
        r.markDamaged();
        return std::nullopt;
    }
    QPolygonF polygon;
    polygon.reserve(count);
    for (qint64 i = 0, at = offset; i < count; ++i, at += size)
        polygon << (small ? QPointF(r.s16(at), r.s16(at + 2)) : QPointF(r.s32(at), r.s32(at + 4)));
    return polygon;
}

std::vector<double> MetafilePlayer::advances(const RecordBytes& r, qint64 offset, qint64 count,
                                             qint64 step, bool small) {
    std::vector<double> dx;
    if (!r.has(offset, count * step))
        return dx;
    for (qint64 i = 0; i < count; ++i)
        dx.push_back(small ? r.s16(offset + step * i) : r.s32(offset + step * i));
    return dx;
}

void MetafilePlayer::drawText(const QPointF& reference, const QString& text,
                              const std::vector<double>& dx, uint32_t options,
                              const std::optional<QRectF>& rect) {
    canvas_.drawText(reference, text, dx, options & EtoOpaque ? rect : std::nullopt,
                     options & EtoClipped ? rect : std::nullopt);
}

bool MetafilePlayer::drawDib(const RecordBytes& header, const RecordBytes& rows, const QRectF& dest,
                             const QRectF& source, uint32_t rop) {
    const DibImage image = decodeDib(header, rows);
    if (image.damaged)
        return false;
    canvas_.drawImage(dest, image.image,
                      image.sourceRect(source.x(), source.y(), source.width(), source.height()),
                      rop);
    return true;
}

void MetafilePlayer::setBackgroundMode(uint32_t mode) {
    canvas_.dc().opaqueBk = mode == 2;
}

void MetafilePlayer::setFillMode(uint32_t mode) {
    canvas_.dc().fillRule = mode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
}

} // namespace picbasket
