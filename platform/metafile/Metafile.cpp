#include "platform/metafile/Metafile.h"
#include "core/Convert.h"
#include "core/RegularFile.h"
#include "platform/metafile/EmfPlayer.h"
#include "platform/metafile/MetafileCanvas.h"
#include "platform/metafile/RecordBytes.h"
#include "platform/metafile/WmfPlayer.h"

#include <QFile>
#include <cstdlib>

namespace picbasket {

namespace {

constexpr uint32_t PlaceableKey = 0x9AC6CDD7u;
constexpr qint64 PlaceableLength = 22;
constexpr qint64 WmfHeaderLength = 18;
constexpr uint16_t SetWindowExt = 0x020C;
constexpr uint32_t EmfHeaderType = 1;
constexpr uint32_t EmfSignature = 0x464D4520u;
constexpr qint64 EmfHeaderMinimum = 88;
constexpr qint64 MaxMetafileBytes = qint64(256) << 20;
constexpr double PixelsPerInch = 96;
constexpr double HundredthsMmPerInch = 2540;

bool isWmfHeader(const RecordBytes& b, qint64 at) {
    if (!b.has(at, WmfHeaderLength))
        return false;
    const uint16_t type = b.u16(at), words = b.u16(at + 2), version = b.u16(at + 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

bool isEmfHeader(const RecordBytes& b) {
    return b.has(0, 44) && b.u32(0) == EmfHeaderType && b.u32(40) == EmfSignature;
}

// The extent of the first window-extent record, the size of a Windows metafile
// that has no placeable header.
std::optional<QSize> windowExtent(const RecordBytes& b, qint64 at) {
    while (b.has(at, 6)) {
        const qint64 length = qint64(b.u32(at)) * 2;
        const uint16_t function = b.u16(at + 4);
        if (length < 6 || !b.has(at, length) || function == 0)
            return std::nullopt;
        if (function == SetWindowExt && length >= 10) {
            const QSize extent(std::abs(b.s16(at + 8)), std::abs(b.s16(at + 6)));
            return extent.isEmpty() ? std::nullopt : std::optional(extent);
        }
        at += length;
    }
    return std::nullopt;
}

int pixels(double units, double unitsPerInch) {
    const double value = roundHalfEven(std::abs(units) * PixelsPerInch / unitsPerInch);
    return value < 1 ? 1 : value > 1e6 ? 1000000 : int(value);
}

void putU16(QByteArray& out, uint16_t v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

} // namespace

QByteArray subMakeWmfHeader(int32_t width, int32_t height) {
    QByteArray header;
    putU16(header, uint16_t(PlaceableKey & 0xFFFF));
    putU16(header, uint16_t(PlaceableKey >> 16));
    const uint16_t fields[] = {0, 0, 0, uint16_t(int16_t(width)), uint16_t(int16_t(height)), 1440,
                               0, 0, 0};
    for (uint16_t v : fields)
        putU16(header, v);
    return header;
}

bool Metafile::startsMetafile(const QByteArray& head) {
    const RecordBytes b(head);
    return (b.has(0, 4) && b.u32(0) == PlaceableKey) || isEmfHeader(b) || isWmfHeader(b, 0);
}

std::optional<Metafile> Metafile::fromBytes(const QByteArray& bytes) {
    if (isEmfHeader(RecordBytes(bytes)))
        return fromEnhanced(bytes);
    return fromWindows(bytes);
}

std::optional<Metafile> Metafile::fromFile(const QString& path) {
    QFile file(path);
    if (!openRegularFile(file) || file.size() > MaxMetafileBytes ||
        !startsMetafile(file.peek(EmfHeaderMinimum)))
        return std::nullopt;
    return fromBytes(file.readAll());
}

std::optional<Metafile> Metafile::fromWindows(const QByteArray& bytes) {
    const RecordBytes b(bytes);
    Metafile m;
    m.kind_ = Kind::Windows;
    double unitsPerInch = 1440;
    if (b.has(0, PlaceableLength) && b.u32(0) == PlaceableKey) {
        m.extent_ = QRectF(QPointF(b.s16(6), b.s16(8)), QPointF(b.s16(10), b.s16(12)));
        unitsPerInch = b.u16(14) ? b.u16(14) : 1440;
        m.bytes_ = bytes;
    } else if (isWmfHeader(b, 0)) {
        const auto extent = windowExtent(b, WmfHeaderLength);
        if (!extent)
            return std::nullopt;
        m.bytes_ = subMakeWmfHeader(extent->width(), extent->height()) + bytes;
        m.extent_ = QRectF(0, 0, extent->width(), extent->height());
    } else {
        return std::nullopt;
    }
    if (!isWmfHeader(RecordBytes(m.bytes_), PlaceableLength) || m.extent_.width() == 0 ||
        m.extent_.height() == 0)
        return std::nullopt;
    m.size_ =
        QSize(pixels(m.extent_.width(), unitsPerInch), pixels(m.extent_.height(), unitsPerInch));
    return m;
}

std::optional<Metafile> Metafile::fromEnhanced(const QByteArray& bytes) {
    const RecordBytes b(bytes);
    const qint64 headerLength = b.u32(4);
    if (headerLength < EmfHeaderMinimum || !b.has(0, headerLength))
        return std::nullopt;
    Metafile m;
    m.kind_ = Kind::Enhanced;
    m.bytes_ = bytes;
    const QSizeF device(b.s32(72), b.s32(76)), mm(b.s32(80), b.s32(84));
    m.devicePerMm_ = device.width() > 0 && device.height() > 0 && mm.width() > 0 && mm.height() > 0
                         ? QSizeF(device.width() / mm.width(), device.height() / mm.height())
                         : QSizeF(PixelsPerInch / 25.4, PixelsPerInch / 25.4);
    m.extent_ = QRectF(QPointF(b.s32(24), b.s32(28)), QPointF(b.s32(32), b.s32(36))).normalized();
    // Without a frame the bounds, in device pixels, give the extent.
    if (m.extent_.width() <= 0 || m.extent_.height() <= 0) {
        const QRectF bounds = QRectF(QPointF(b.s32(8), b.s32(12)), QPointF(b.s32(16), b.s32(20)));
        m.extent_ = QRectF(bounds.x() * 100 / m.devicePerMm_.width(),
                           bounds.y() * 100 / m.devicePerMm_.height(),
                           bounds.width() * 100 / m.devicePerMm_.width(),
                           bounds.height() * 100 / m.devicePerMm_.height())
                        .normalized();
    }
    if (m.extent_.width() <= 0 || m.extent_.height() <= 0)
        return std::nullopt;
    m.size_ = QSize(pixels(m.extent_.width(), HundredthsMmPerInch),
                    pixels(m.extent_.height(), HundredthsMmPerInch));
    return m;
}

bool Metafile::play(QPainter& painter, const QRectF& target) const {
    if (target.isEmpty())
        return false;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(target);
    const bool sound =
        kind_ == Kind::Windows ? playWindows(painter, target) : playEnhanced(painter, target);
    painter.restore();
    return sound;
}

bool Metafile::playWindows(QPainter& painter, const QRectF& target) const {
    MetafileCanvas canvas(painter, QTransform(),
                          QSizeF(PixelsPerInch / 25.4, PixelsPerInch / 25.4));
    // The placeable header's box is the window the drawing is seen through; the
    // target is the viewport. Window records of the metafile change the window.
    DcState& dc = canvas.dc();
    dc.mapMode = 8;
    dc.windowOrg = extent_.topLeft();
    dc.windowExt = QPointF(extent_.width(), extent_.height());
    dc.viewportOrg = target.topLeft();
    dc.viewportExt = QPointF(target.width(), target.height());
    WmfPlayer player(canvas);
    return player.play(RecordBytes(bytes_), PlaceableLength + WmfHeaderLength);
}

bool Metafile::playEnhanced(QPainter& painter, const QRectF& target) const {
    // Device pixels to 0.01 mm, then the frame onto the target.
    const QTransform deviceToTarget =
        QTransform::fromScale(100 / devicePerMm_.width(), 100 / devicePerMm_.height()) *
        QTransform::fromTranslate(-extent_.x(), -extent_.y()) *
        QTransform::fromScale(target.width() / extent_.width(),
                              target.height() / extent_.height()) *
        QTransform::fromTranslate(target.x(), target.y());
    MetafileCanvas canvas(painter, deviceToTarget, devicePerMm_);
    EmfPlayer player(canvas);
    const RecordBytes b(bytes_);
    return player.play(b, b.u32(4));
}

} // namespace picbasket
