#include "platform/imagebox/ColorFormatCopy.h"
#include "platform/imagebox/FreeImageCodec.h"

#include <FreeImage.h>
#include <QHash>
#include <cstring>

namespace picbasket::imagebox {

namespace {

// The image's colours, or an empty list when there are more than 256.
QList<QRgb> exactColours(const QImage& rgb) {
    QHash<QRgb, int> seen;
    QList<QRgb> colours;
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* p = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x, p += 3) {
            const QRgb c = qRgb(p[0], p[1], p[2]);
            if (seen.contains(c))
                continue;
            if (colours.size() == 256)
                return {};
            seen.insert(c, int(colours.size()));
            colours.append(c);
        }
    }
    return colours;
}

QImage indexWithColours(const QImage& rgb, const QList<QRgb>& colours) {
    QHash<QRgb, int> index;
    for (int i = 0; i < colours.size(); ++i)
        index.insert(colours[i], i);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(colours);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* p = rgb.constScanLine(y);
        uchar* o = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x, p += 3)
            o[x] = uchar(index.value(qRgb(p[0], p[1], p[2])));
    }
    return out;
}

// Wu's quantiser of FreeImage on a 24-bit copy.
QImage quantised(const QImage& rgb) {
    FIBITMAP* dib = FreeImage_AllocateT(FIT_BITMAP, rgb.width(), rgb.height(), 24);
    if (!dib)
        return rgb.convertToFormat(QImage::Format_Indexed8);
    const int h = rgb.height();
    for (int y = 0; y < h; ++y) {
        const uchar* in = rgb.constScanLine(y);
        BYTE* out = FreeImage_GetScanLine(dib, h - 1 - y);
        for (int x = 0; x < rgb.width(); ++x, in += 3, out += 3) {
            out[FI_RGBA_RED] = in[0];
            out[FI_RGBA_GREEN] = in[1];
            out[FI_RGBA_BLUE] = in[2];
        }
    }
    FIBITMAP* q = FreeImage_ColorQuantizeEx(dib, FIQ_WUQUANT, 256);
    FreeImage_Unload(dib);
    if (!q)
        return rgb.convertToFormat(QImage::Format_Indexed8);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> colours;
    const RGBQUAD* pal = FreeImage_GetPalette(q);
    for (int i = 0; i < 256; ++i)
        colours.append(qRgb(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue));
    out.setColorTable(colours);
    for (int y = 0; y < h; ++y)
        std::memcpy(out.scanLine(y), FreeImage_GetScanLine(q, h - 1 - y), size_t(rgb.width()));
    FreeImage_Unload(q);
    return out;
}

QImage keepResolution(QImage out, const QImage& from) {
    out.setDotsPerMeterX(from.dotsPerMeterX());
    out.setDotsPerMeterY(from.dotsPerMeterY());
    return out;
}

} // namespace

QImage toColour24(const QImage& image) {
    if (image.format() == QImage::Format_RGB888)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB888);
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    flat = keepResolution(flat, image);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* out = flat.scanLine(y);
        for (int x = 0; x < argb.width(); ++x, out += 3) {
            const int a = qAlpha(in[x]);
            out[0] = uchar((qRed(in[x]) * a + 255 * (255 - a) + 127) / 255);
            out[1] = uchar((qGreen(in[x]) * a + 255 * (255 - a) + 127) / 255);
            out[2] = uchar((qBlue(in[x]) * a + 255 * (255 - a) + 127) / 255);
        }
    }
    return flat;
}

QImage toPalette8(const QImage& image) {
    if (image.format() == QImage::Format_Indexed8)
        return image;
    if (image.format() == QImage::Format_Mono)
        return image.convertToFormat(QImage::Format_Indexed8);
    if (image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_Grayscale16)
        return toGreyPalette8(image);
    const QImage rgb = toColour24(image);
    const QList<QRgb> colours = exactColours(rgb);
    return keepResolution(colours.isEmpty() ? quantised(rgb) : indexWithColours(rgb, colours),
                          image);
}

QImage toGrey8(const QImage& image) {
    if (image.format() == QImage::Format_Grayscale8)
        return image;
    return toColour24(image).convertToFormat(QImage::Format_Grayscale8);
}

QImage toGreyPalette8(const QImage& image) {
    QImage grey = toGrey8(image);
    QImage out(grey.size(), QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int i = 0; i < 256; ++i)
        colours.append(qRgb(i, i, i));
    out.setColorTable(colours);
    for (int y = 0; y < grey.height(); ++y)
        std::memcpy(out.scanLine(y), grey.constScanLine(y), size_t(grey.width()));
    return keepResolution(out, image);
}

QImage toMono(const QImage& image) {
    const QList<QRgb> blackWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    if (image.format() == QImage::Format_Mono && image.colorTable() == blackWhite)
        return image;
    const QImage grey = toGrey8(image);
    QImage out(grey.size(), QImage::Format_Mono);
    out.setColorTable(blackWhite);
    out.fill(0);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* in = grey.constScanLine(y);
        uchar* o = out.scanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            if (in[x] >= 128)
                o[x >> 3] |= uchar(0x80 >> (x & 7));
        }
    }
    return keepResolution(out, image);
}

QImage applyColorFormat(const QImage& image, int colorFormat) {
    switch (colorFormat) {
    case Palette8:
        return toPalette8(image);
    case Grey8:
        return toGrey8(image);
    case Mono1:
        return toMono(image);
    default:
        return toColour24(image);
    }
}

QImage withTransparentColour(const QImage& image, uint32_t oleColour) {
    const QRgb key =
        qRgb(int(oleColour & 0xFF), int((oleColour >> 8) & 0xFF), int((oleColour >> 16) & 0xFF));
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_Indexed8) {
        QImage out = image;
        QList<QRgb> colours = out.colorTable();
        const qsizetype i = colours.indexOf(key);
        if (i >= 0) {
            colours[i] = qRgba(qRed(key), qGreen(key), qBlue(key), 0);
            out.setColorTable(colours);
        }
        return out;
    }
    QImage out = toBoxFormat(image).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* p = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((p[x] | 0xFF000000u) == key)
                p[x] = 0;
        }
    }
    return out;
}

} // namespace picbasket::imagebox
