#pragma once
#include <QByteArray>
#include <tiffio.h>

namespace picbasket::imagebox {

// A TIFF "file" in a byte array, for libtiff's client procedures: reads come out of
// the array, writes grow it (doubling its room, so a page written strip by strip is
// not copied again at every strip).
struct TiffMemoryFile {
    QByteArray data;
    qint64 pos = 0;
};

// libtiff handle on a TiffMemoryFile. With `mapped`, libtiff reads strips straight
// out of the array instead of copying them; the array must then not change while
// the handle is open. Null when libtiff refuses the data; its messages go to the
// handlers given.
TIFF* openTiffMemoryFile(TiffMemoryFile& file, const char* mode, bool mapped,
                         TIFFOpenOptions* options);

} // namespace picbasket::imagebox
