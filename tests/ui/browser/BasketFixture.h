#pragma once
#include <QImage>
#include <QString>
#include <tiffio.h>
#include <vector>

namespace picbasket::test {

// The pages of scan.tif: 24-bit colour, 1-bit black and white, colour with alpha.
inline std::vector<QImage> scanPages() {
    QImage rgb(23, 17, QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            rgb.setPixel(x, y, qRgb(x * 11, y * 15, (x * y * 7) & 0xFF));
    QImage mono(29, 9, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x)
            mono.setPixel(x, y, uint(((x / 2) ^ y) & 1));
    QImage alpha(19, 13, QImage::Format_ARGB32);
    for (int y = 0; y < alpha.height(); ++y)
        for (int x = 0; x < alpha.width(); ++x)
            alpha.setPixel(x, y, qRgba(x * 13, y * 19, 90, (x + y) * 12 % 256));
    return {rgb, mono, alpha};
}

// Writes scanPages() with libtiff, each page in its own layout (RGB, min-is-black
// bilevel, RGB with unassociated alpha), uncompressed.
inline bool writeScanTiff(const QString& path) {
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "w");
    if (!tif)
        return false;
    for (const QImage& page : scanPages()) {
        const bool mono = page.format() == QImage::Format_Mono;
        const bool alpha = page.hasAlphaChannel();
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(page.width()));
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(page.height()));
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(mono ? 1 : 8));
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(mono ? 1 : alpha ? 4 : 3));
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, mono ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(page.height()));
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        if (alpha) {
            const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
        }
        std::vector<uint8_t> line(size_t(page.width()) * 4 + 8);
        for (int y = 0; y < page.height(); ++y) {
            std::fill(line.begin(), line.end(), 0);
            for (int x = 0; x < page.width(); ++x) {
                const QRgb c = page.pixel(x, y);
                if (mono) {
                    if (qRed(c) > 127)
                        line[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
                } else {
                    uint8_t* px = &line[size_t(x) * (alpha ? 4 : 3)];
                    px[0] = uint8_t(qRed(c));
                    px[1] = uint8_t(qGreen(c));
                    px[2] = uint8_t(qBlue(c));
                    if (alpha)
                        px[3] = uint8_t(qAlpha(c));
                }
            }
            if (TIFFWriteScanline(tif, line.data(), uint32_t(y), 0) < 0) {
                TIFFClose(tif);
                return false;
            }
        }
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return true;
}

} // namespace picbasket::test
