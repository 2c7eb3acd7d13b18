#pragma once
#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

namespace picbasket {

// The placeable header a Windows metafile needs to be drawn at a known size: the
// key 0x9AC6CDD7, a bounding box from 0, 0 to width, height (each narrowed to 16
// bits), 1440 units per inch and zeros elsewhere; 22 bytes.
QByteArray subMakeWmfHeader(int32_t width, int32_t height);

// A Windows metafile (with or without its placeable header) or an enhanced
// metafile, checked and ready to draw at any size. Its size in pixels is its
// extent at 96 pixels per inch: the placeable header's bounding box and units per
// inch, or for a Windows metafile without one the extent its window records give
// in units of 1/1440 inch; the header's frame for an enhanced metafile.
class Metafile {
public:
    enum class Kind { Windows, Enhanced };

    // The metafile in the bytes, or none when they hold none or its header is damaged.
    static std::optional<Metafile> fromBytes(const QByteArray& bytes);
    // The same for a file; none as well for a file that cannot be read.
    static std::optional<Metafile> fromFile(const QString& path);
    // Whether the first bytes of a file start a metafile.
    static bool startsMetafile(const QByteArray& head);

    Kind kind() const { return kind_; }
    QSize size() const { return size_; }
    const QByteArray& bytes() const { return bytes_; }

    // Draws the metafile over target (in the painter's pixels). False when a record
    // turns out to be damaged; what was drawn until then is then of no use.
    bool play(QPainter& painter, const QRectF& target) const;

private:
    static std::optional<Metafile> fromWindows(const QByteArray& bytes);
    static std::optional<Metafile> fromEnhanced(const QByteArray& bytes);
    bool playWindows(QPainter& painter, const QRectF& target) const;
    bool playEnhanced(QPainter& painter, const QRectF& target) const;

    Kind kind_ = Kind::Windows;
    // Windows metafiles always carry a placeable header here.
    QByteArray bytes_;
    QSize size_;
    // The bounding box (Windows, logical units) or the frame (enhanced, 0.01 mm).
    QRectF extent_;
    // Device pixels per millimetre of the enhanced metafile's reference device.
    QSizeF devicePerMm_;
};

} // namespace picbasket
