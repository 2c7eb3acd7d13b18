#pragma once
#include <QByteArray>

namespace picbasket::jp2 {

// What the first bytes of a file say it is.
enum class StreamKind { Jp2, Codestream, Unknown };

StreamKind detectStreamKind(const QByteArray& bytes);

// The most tiles a codestream may announce: a picture of the largest size
// decoded (16384 x 16384) in tiles of 128 x 128. Each announced tile costs the
// decoder memory and time before a single one is read.
inline constexpr int maxTiles = 16384;
// And the most tile components (tiles times components).
inline constexpr int maxTileComponents = 4 * maxTiles;

// Checks the file's structure against its real length before any decoding: every
// JP2 box fits in the file, there is exactly one codestream box (or the file is a
// bare codestream), the codestream starts with its start marker, its image size
// segment fits, announces an image within the program's one limit
// (isWithinImageLimits) and at most maxTiles tiles (maxTileComponents tile
// components), its header segments and tile-parts follow each other to its end
// marker, and every tile it announces has a tile-part. Throws AppError 481 naming
// what is wrong.
void checkStreamIsWhole(const QByteArray& bytes);

} // namespace picbasket::jp2
