#pragma once
#include "platform/metafile/MetafilePlayer.h"

#include <optional>
#include <set>
#include <vector>

namespace picbasket {

// Plays the records of a Windows metafile onto a canvas: the objects they make and
// select, the state they set and the shapes, text and bitmaps they draw. Records
// that draw nothing here (palettes, escapes, ...) are skipped.
class WmfPlayer : public MetafilePlayer {
public:
    explicit WmfPlayer(MetafileCanvas& canvas);

private:
    std::optional<RecordFrame> frameAt(const RecordBytes& file, qint64 at) const override;
    bool playRecord(uint32_t function, const RecordBytes& p) override;
    bool playState(uint16_t function, const RecordBytes& p);
    bool playObject(uint16_t function, const RecordBytes& p);
    bool playShape(uint16_t function, const RecordBytes& p);
    bool playText(uint16_t function, const RecordBytes& p);
    bool playBitmap(uint16_t function, const RecordBytes& p);

    void addObject(const GdiObject& object);
    bool polyPolygon(const RecordBytes& p);
    void arc(uint16_t function, const RecordBytes& p);
    bool extTextOut(const RecordBytes& p);
    bool stretchDib(const RecordBytes& p, const QRectF& dest, const QRectF& source, uint32_t rop,
                    qint64 dibOffset);

    // The object table: a new object takes the lowest free index, as indices in
    // the records count on. freeSlots_ holds the emptied indices below the end.
    std::vector<std::optional<GdiObject>> objects_;
    std::set<uint16_t> freeSlots_;
};

} // namespace picbasket
