#pragma once
#include <QByteArray>

namespace picbasket::jp2 {

// What the first bytes of a file say it is.
enum class StreamKind { Jp2, Codestream, Unknown };

StreamKind detectStreamKind(const QByteArray& bytes);

// Checks the file's structure against its real length before any decoding: every
// JP2 box fits in the file, there is exactly one codestream box (or the file is a
// bare codestream), and the codestream starts with its start marker and ends with
// its end marker. Throws AppError 481 naming what is wrong.
void checkStreamIsWhole(const QByteArray& bytes);

} // namespace picbasket::jp2
