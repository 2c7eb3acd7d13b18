#pragma once
#include "platform/metafile/MetafileCanvas.h"
#include "platform/metafile/RecordBytes.h"

#include <optional>
#include <unordered_map>

namespace picbasket {

// Plays the records of an enhanced metafile onto a canvas: mapping, world
// transform, objects, shapes, paths, clipping, text and bitmaps. Records that draw
// nothing here (comments with their embedded records, palettes, ...) are skipped.
class EmfPlayer {
public:
    explicit EmfPlayer(MetafileCanvas& canvas) : canvas_(canvas) {}

    // Plays every record after the header; false when a record lies about its size
    // or contents, or the end record is missing.
    bool play(const RecordBytes& file, qint64 headerLength);

private:
    bool playRecord(uint32_t type, const RecordBytes& r);
    bool playState(uint32_t type, const RecordBytes& r);
    bool playTransform(uint32_t type, const RecordBytes& r);
    bool playObject(uint32_t type, const RecordBytes& r);
    bool playShape(uint32_t type, const RecordBytes& r);
    bool playPoly(uint32_t type, const RecordBytes& r);
    bool playPath(uint32_t type, const RecordBytes& r);
    bool playText(uint32_t type, const RecordBytes& r);
    bool playBitmap(uint32_t type, const RecordBytes& r);

    void select(uint32_t index);
    std::optional<QPolygonF> points(const RecordBytes& r, qint64 offset, qint64 count,
                                    bool small) const;
    void polyPoly(const RecordBytes& r, bool small, bool closed);
    void poly(uint32_t type, const RecordBytes& r, bool small);
    bool extCreatePen(const RecordBytes& r);
    bool dibBrush(const RecordBytes& r);
    bool clipRegion(const RecordBytes& r);
    bool text(const RecordBytes& r, bool wide);
    bool dib(const RecordBytes& r, qint64 fields, QRectF dest, QRectF source, uint32_t rop);

    MetafileCanvas& canvas_;
    std::unordered_map<uint32_t, GdiObject> objects_;
};

} // namespace picbasket
