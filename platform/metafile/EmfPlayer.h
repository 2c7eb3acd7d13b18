#pragma once
#include "platform/metafile/MetafilePlayer.h"

#include <optional>
#include <unordered_map>

namespace picbasket {

// Plays the records of an enhanced metafile onto a canvas: mapping, world
// transform, objects, shapes, paths, clipping, text and bitmaps. Records that draw
// nothing here (comments with their embedded records, palettes, ...) are skipped.
class EmfPlayer : public MetafilePlayer {
public:
    explicit EmfPlayer(MetafileCanvas& canvas);

private:
    std::optional<RecordFrame> frameAt(const RecordBytes& file, qint64 at) const override;
    bool playRecord(uint32_t type, const RecordBytes& r) override;
    bool playState(uint32_t type, const RecordBytes& r);
    bool playTransform(uint32_t type, const RecordBytes& r);
    bool playObject(uint32_t type, const RecordBytes& r);
    bool playShape(uint32_t type, const RecordBytes& r);
    bool playPoly(uint32_t type, const RecordBytes& r);
    bool playPath(uint32_t type, const RecordBytes& r);
    bool playText(uint32_t type, const RecordBytes& r);
    bool playBitmap(uint32_t type, const RecordBytes& r);

    void select(uint32_t index);
    void polyPoly(const RecordBytes& r, bool small, bool closed);
    void poly(uint32_t type, const RecordBytes& r, bool small);
    bool extCreatePen(const RecordBytes& r);
    bool dibBrush(const RecordBytes& r);
    bool clipRegion(const RecordBytes& r);
    bool text(const RecordBytes& r, bool wide);
    bool dib(const RecordBytes& r, qint64 fields, QRectF dest, QRectF source, uint32_t rop);

    std::unordered_map<uint32_t, GdiObject> objects_;
};

} // namespace picbasket
