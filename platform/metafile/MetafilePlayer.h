#pragma once
#include "platform/metafile/MetafileCanvas.h"
#include "platform/metafile/RecordBytes.h"

#include <optional>
#include <vector>

namespace picbasket {

// What the Windows and the enhanced metafile players share: the walk over the
// records, and the steps that mean the same in both formats although their fields
// are laid out differently (point lists, text advances, text with its rectangle, a
// bitmap drawn into a rectangle, the background and fill modes). A player says how
// its records are framed and plays one record at a time.
class MetafilePlayer {
public:
    virtual ~MetafilePlayer() = default;

    // Plays the records from offset (the first after the file's header) up to the
    // end record; false when a record lies about its size or contents, or the end
    // record is missing.
    bool play(const RecordBytes& file, qint64 offset);

protected:
    // Where one record lies in the file: its type, its whole length and where the
    // part a player reads begins, counted from the record's start.
    struct RecordFrame {
        uint32_t type = 0;
        qint64 length = 0;
        qint64 bodyStart = 0;
    };

    MetafilePlayer(MetafileCanvas& canvas, uint32_t endType) : canvas_(canvas), endType_(endType) {}

    // The frame of the record at offset, or nothing when its header does not fit in
    // the file or claims a length that cannot be.
    virtual std::optional<RecordFrame> frameAt(const RecordBytes& file, qint64 at) const = 0;
    // Plays one record; false when it turned out damaged.
    virtual bool playRecord(uint32_t type, const RecordBytes& body) = 0;

    // count points from offset: 16-bit pairs four bytes apart when small, else
    // 32-bit pairs eight bytes apart; x before y. Marks r damaged when they are not
    // all there.
    static std::optional<QPolygonF> points(const RecordBytes& r, qint64 offset, qint64 count,
                                           bool small);
    // count character advances from offset, step bytes apart, 16 bits wide when
    // small, else 32; none at all when they are not all there.
    static std::vector<double> advances(const RecordBytes& r, qint64 offset, qint64 count,
                                        qint64 step, bool small);
    // Draws text, filling and clipping to rect as the options' opaque and clipped
    // flags ask.
    void drawText(const QPointF& reference, const QString& text, const std::vector<double>& dx,
                  uint32_t options, const std::optional<QRectF>& rect);
    // Decodes a bitmap from its header and rows and draws its source part into dest;
    // false when the bitmap is damaged.
    bool drawDib(const RecordBytes& header, const RecordBytes& rows, const QRectF& dest,
                 const QRectF& source, uint32_t rop);
    // Mode 2 is opaque; every other mode transparent.
    void setBackgroundMode(uint32_t mode);
    // Mode 2 fills by winding; every other mode alternately.
    void setFillMode(uint32_t mode);

    MetafileCanvas& canvas_;

private:
    uint32_t endType_;
};

} // namespace picbasket
