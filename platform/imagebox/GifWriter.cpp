#include "platform/imagebox/GifWriter.h"
#include "core/AppError.h"

namespace picbasket::imagebox {

namespace {

void putWord(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Bits per palette index: the smallest power of two holding the palette, at least 1.
int paletteBits(int colours) {
    int bits = 1;
    while ((1 << bits) < colours)
        ++bits;
    return bits;
}

// Packs variable-width codes least significant bit first into 255-byte sub-blocks.
class CodeWriter {
public:
    void put(int code, int width) {
        accumulator_ |= uint32_t(code) << filled_;
        filled_ += width;
        while (filled_ >= 8) {
            bytes_.append(char(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            filled_ -= 8;
        }
    }
    QByteArray blocks() {
        if (filled_ > 0)
            bytes_.append(char(accumulator_ & 0xFF));
        QByteArray out;
        for (qsizetype i = 0; i < bytes_.size(); i += 255) {
            const QByteArray block = bytes_.mid(i, 255);
            out.append(char(block.size()));
            out.append(block);
        }
        out.append('\0');
        return out;
    }

private:
    QByteArray bytes_;
    uint32_t accumulator_ = 0;
    int filled_ = 0;
};

int pixelAt(const QImage& image, const uchar* row, int x) {
    if (image.format() == QImage::Format_Mono)
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    return row[x];
}

// Literal codes only: after a clear code, 2^minimum - 2 literals keep the
// decoder's table below the next code width.
QByteArray literalStream(const QImage& image, int minimum) {
    const int clear = 1 << minimum;
    const int width = minimum + 1;
    const int run = clear - 2;
    CodeWriter writer;
    int sinceClear = run;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (sinceClear == run) {
                writer.put(clear, width);
                sinceClear = 0;
            }
            writer.put(pixelAt(image, row, x), width);
            ++sinceClear;
        }
    }
    writer.put(clear + 1, width);
    return writer.blocks();
}

void putGraphicControl(QByteArray& out, int transparent) {
    out.append("\x21\xF9\x04", 3);
    out.append(char(transparent >= 0 ? 1 : 0));
    putWord(out, 0);
    out.append(char(transparent >= 0 ? transparent : 0));
    out.append('\0');
}

} // namespace

QByteArray writeUncompressedGif(const QImage& image) {
    if (image.format() != QImage::Format_Mono && image.format() != QImage::Format_Indexed8)
        raiseError(err::Unexpected, "A GIF needs a palette image");
    if (image.width() > 65535 || image.height() > 65535)
        raiseError(err::Unexpected, "The image is too large for a GIF");
    const QList<QRgb> colours = image.colorTable();
    const int bits = paletteBits(int(colours.size()));
    QByteArray out("GIF89a");
    putWord(out, image.width());
    putWord(out, image.height());
    out.append(char(0x80 | ((bits - 1) << 4) | (bits - 1)));
    out.append("\0\0", 2);
    int transparent = -1;
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        if (transparent < 0 && i < colours.size() && qAlpha(c) == 0)
            transparent = i;
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    putGraphicControl(out, transparent);
    out.append(',');
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, image.width());
    putWord(out, image.height());
    out.append('\0');
    const int minimum = std::max(2, bits);
    out.append(char(minimum));
    out.append(literalStream(image, minimum));
    out.append(';');
    return out;
}

} // namespace picbasket::imagebox
