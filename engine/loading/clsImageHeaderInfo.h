#pragma once
#include <QString>
#include <cstdint>

class QFile;

namespace picbasket {

// Reads width, height, bits per pixel, resolution and the grey flag of GIF, BMP,
// JPEG (baseline frames), little-endian TIFF and PNG files from their headers,
// without decoding pixels. One instance serves one file; the values stay as the
// last read left them. Widths and heights are kept in 32 bits, so large images and
// top-down BMPs give their true size.
class clsImageHeaderInfo {
public:
    // Width, height and bits per pixel of a GIF or BMP (zeros for anything else);
    // dpi and the grey flag are left as they were. A file that cannot be opened
    // raises AppError (53 missing, 70 not readable).
    void ReadGIF_BMP_Header(const QString& fileName);
    // All five values of a little-endian TIFF, a JPEG or a PNG. False when the file
    // is missing, empty or of another kind, or when its header is damaged (the
    // values read up to the damage stay); never raises.
    bool ReadJPEG_TIFF_PNG_Header(const QString& fileName);

    int16_t dpi() const { return dpi_; }
    bool IsGray() const { return gray_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint8_t BitsPerPixel() const { return bitsPerPixel_; }

private:
    bool readTiff(QFile& file);
    bool readJpeg(QFile& file);
    bool readPng(QFile& file);
    bool readTiffEntry(QFile& file, const QByteArray& entry, double& xResolution, int& unit);
    bool readJpegFrame(const QByteArray& data);
    bool readJpegDensity(const QByteArray& data);
    bool readPngHeader(const QByteArray& data);
    bool readPngDensity(const QByteArray& data);

    int32_t height_ = 0;
    int32_t width_ = 0;
    int16_t dpi_ = 0;
    uint8_t bitsPerPixel_ = 0;
    bool gray_ = false;
};

} // namespace picbasket
