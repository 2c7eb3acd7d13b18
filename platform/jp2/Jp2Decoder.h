#pragma once
#include <QImage>
#include <QString>

namespace picbasket::jp2 {

// Decodes a JP2 file or a bare codestream (told apart by content, whatever the
// extension) into a QImage at full resolution with every quality layer. The file's
// structure is checked against its length first, so a truncated or damaged file
// raises AppError 481 instead of giving a partial picture; a missing file raises 53.
QImage decodeFile(const QString& path);

} // namespace picbasket::jp2
