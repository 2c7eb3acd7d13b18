#include "tests/common/ManyPageTiff.h"

#include <cstdint>
#include <tiffio.h>

namespace picbasket::test {

bool writeOnePixelPages(const QString& path, int count) {
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "w");
    if (!tif)
        return false;
    bool ok = true;
    for (int p = 0; p < count && ok; ++p) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 1u);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1u);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1u);
        uint8_t grey = uint8_t(p);
        ok = TIFFWriteScanline(tif, &grey, 0, 0) >= 0 && TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return ok;
}

} // namespace picbasket::test
