#include "platform/imagebox/FreeImageCodec.h"
#include "core/AppError.h"
#include "platform/imagebox/DecoderDamage.h"
#include "platform/imagebox/ImageFileCheck.h"
#include "platform/imagebox/MetadataBlocks.h"
#include "platform/imagebox/TiffCodec.h"
#include "platform/imagebox/TiffDecode.h"
#include "platform/imagebox/edit/RowBands.h"

#include <FreeImage.h>
#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <mutex>

namespace picbasket::imagebox {

namespace {

// FreeImage reports problems through one global callback; the message of the
// current operation is kept here and cleared before each call. Messages about
// the data also go to the decode's damage watch.
thread_local QString lastMessage;

void onFreeImageMessage(FREE_IMAGE_FORMAT fif, const char* message) {
    lastMessage = QString::fromUtf8(message ? message : "");
    if (isDamageMessage(fif, lastMessage))
        DamageWatch::report(lastMessage);
}

void initialiseFreeImage() {
    static std::once_flag once;
    std::call_once(once, [] {
        FreeImage_Initialise(FALSE);
        FreeImage_SetOutputMessage(onFreeImageMessage);
    });
    lastMessage.clear();
}

[[noreturn]] void fail(const QString& what) {
    QString text = what;
    if (!lastMessage.isEmpty())
        text += ": " + lastMessage;
    raiseError(err::Unexpected, text);
}

using Dib = FreeImageDib;

struct MemoryDeleter {
    void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
};
using Memory = std::unique_ptr<FIMEMORY, MemoryDeleter>;

Memory openMemory(const QByteArray& bytes) {
    auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.constData()));
    return Memory(FreeImage_OpenMemory(data, static_cast<DWORD>(bytes.size())));
}

QList<QRgb> paletteOf(FIBITMAP* dib) {
    QList<QRgb> colours;
    const RGBQUAD* palette = FreeImage_GetPalette(dib);
    const unsigned count = FreeImage_GetColorsUsed(dib);
    const BYTE* alpha =
        FreeImage_IsTransparent(dib) ? FreeImage_GetTransparencyTable(dib) : nullptr;
    const unsigned alphaCount = alpha ? FreeImage_GetTransparencyCount(dib) : 0;
    for (unsigned i = 0; palette && i < count; ++i) {
        const int a = i < alphaCount ? alpha[i] : 255;
        colours.append(qRgba(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue, a));
    }
    return colours;
}

bool isLinearGrey(const QList<QRgb>& colours) {
    if (colours.size() != 256)
        return false;
    for (int i = 0; i < 256; ++i) {
        if (colours[i] != qRgb(i, i, i))
            return false;
    }
    return true;
}

// FreeImage rows run bottom-up; QImage rows top-down.
const BYTE* sourceRow(FIBITMAP* dib, int y) {
    return FreeImage_GetScanLine(dib, static_cast<int>(FreeImage_GetHeight(dib)) - 1 - y);
}

QImage fromIndexed(FIBITMAP* dib, int w, int h, int bpp) {
    const QList<QRgb> colours = paletteOf(dib);
    if (bpp == 8 && isLinearGrey(colours)) {
        QImage image(w, h, QImage::Format_Grayscale8);
        for (int y = 0; y < h && !image.isNull(); ++y)
            std::memcpy(image.scanLine(y), sourceRow(dib, y), size_t(w));
        return image;
    }
    QImage image(w, h, bpp == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    image.setColorTable(colours);
    for (int y = 0; y < h; ++y) {
        const BYTE* in = sourceRow(dib, y);
        uchar* out = image.scanLine(y);
        if (bpp == 1)
            std::memcpy(out, in, size_t((w + 7) / 8));
        else if (bpp == 8)
            std::memcpy(out, in, size_t(w));
        else
            for (int x = 0; x < w; ++x)
                out[x] = (x & 1) ? (in[x / 2] & 0x0F) : (in[x / 2] >> 4);
    }
    return image;
}

// FreeImage keeps 24 and 32-bit pixels in the byte order B, G, R (, A), which on
// this little-endian platform is QImage's BGR888 and ARGB32.
QImage fromBitmap24or32(FIBITMAP* dib, int w, int h, int bpp) {
    const bool alpha = bpp == 32;
    QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    for (int y = 0; y < h && !image.isNull(); ++y)
        std::memcpy(image.scanLine(y), sourceRow(dib, y), size_t(w) * size_t(bpp / 8));
    if (alpha && !image.isNull() && !FreeImage_IsTransparent(dib))
        return image.convertToFormat(QImage::Format_RGB32);
    return image;
}

// The 8-bit sample nearest a 16-bit one, v x 255 / 65535 rounded: a straight line
// from black to white, the reduction other decoders make too.
uchar eightBitsOf(uint16_t v) {
    return uchar((uint32_t(v) * 255 + 32767) / 65535);
}

uchar eightBitsOf(float v) {
    const float clamped = v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
    return uchar(clamped * 255.0f + 0.5f);
}

// 16-bit grey, RGB or RGBA kept as they are.
QImage wordsKept(FIBITMAP* dib, int w, int h, int channels) {
    const QImage::Format format = channels == 1   ? QImage::Format_Grayscale16
                                  : channels == 3 ? QImage::Format_RGBX64
                                                  : QImage::Format_RGBA64;
    QImage image(w, h, format);
    for (int y = 0; y < h && !image.isNull(); ++y) {
        const auto* in = reinterpret_cast<const uint16_t*>(sourceRow(dib, y));
        auto* out = reinterpret_cast<uint16_t*>(image.scanLine(y));
        if (channels != 3) {
            std::memcpy(out, in, size_t(w) * size_t(channels) * 2);
            continue;
        }
        for (int x = 0; x < w; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0xFFFF;
        }
    }
    return image;
}

// Samples of 16 bits or floating point brought to 8 bits, channel by channel.
template <typename Sample> QImage samplesReduced(FIBITMAP* dib, int w, int h, int channels) {
    const QImage::Format format = channels == 1   ? QImage::Format_Grayscale8
                                  : channels == 3 ? QImage::Format_RGB888
                                                  : QImage::Format_ARGB32;
    QImage image(w, h, format);
    for (int y = 0; y < h && !image.isNull(); ++y) {
        const auto* in = reinterpret_cast<const Sample*>(sourceRow(dib, y));
        uchar* out = image.scanLine(y);
        if (channels == 4) {
            auto* argb = reinterpret_cast<QRgb*>(out);
            for (int x = 0; x < w; ++x, in += 4)
                argb[x] = qRgba(eightBitsOf(in[0]), eightBitsOf(in[1]), eightBitsOf(in[2]),
                                eightBitsOf(in[3]));
            continue;
        }
        for (int i = 0; i < w * channels; ++i)
            out[i] = eightBitsOf(in[i]);
    }
    return image;
}

int channelsOf(FREE_IMAGE_TYPE type) {
    switch (type) {
    case FIT_UINT16:
    case FIT_FLOAT:
        return 1;
    case FIT_RGB16:
    case FIT_RGBF:
        return 3;
    case FIT_RGBA16:
    case FIT_RGBAF:
        return 4;
    default:
        return 0;
    }
}

bool isWordType(FREE_IMAGE_TYPE type) {
    return type == FIT_UINT16 || type == FIT_RGB16 || type == FIT_RGBA16;
}

QImage fromConverted(FIBITMAP* converted, DeepSamples deep) {
    if (!converted)
        fail("The image could not be converted");
    Dib owner(converted);
    return pictureOfDib(converted, deep);
}

QImage fromSamples(FIBITMAP* dib, int w, int h, DeepSamples deep) {
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(dib);
    const int channels = channelsOf(type);
    if (channels == 0)
        // Signed, 32-bit and complex samples have no black and white of their
        // own: they are shown stretched from their minimum to their maximum.
        return fromConverted(FreeImage_ConvertToStandardType(dib, TRUE), deep);
    if (!isWordType(type))
        return samplesReduced<float>(dib, w, h, channels);
    if (deep == DeepSamples::Keep)
        return wordsKept(dib, w, h, channels);
    return samplesReduced<uint16_t>(dib, w, h, channels);
}

int loadFlagsFor(int fif) {
    // The accurate integer DCT with smooth chroma upsampling, the decode that
    // viewers show; FreeImage's default is the fast, rougher one.
    return fif == FIF_JPEG ? JPEG_ACCURATE : 0;
}

// The TIFF signatures (classic and BigTIFF, either byte order), recognised here so
// that FreeImage's TIFF plugin is never handed a TIFF, not even to probe it.
bool isTiffSignature(const QByteArray& bytes) {
    return bytes.startsWith(QByteArrayView("II*\0", 4)) ||
           bytes.startsWith(QByteArrayView("MM\0*", 4)) ||
           bytes.startsWith(QByteArrayView("II+\0", 4)) ||
           bytes.startsWith(QByteArrayView("MM\0+", 4));
}

BYTE* targetRow(FIBITMAP* dib, int y) {
    return FreeImage_GetScanLine(dib, static_cast<int>(FreeImage_GetHeight(dib)) - 1 - y);
}

void setPalette(FIBITMAP* dib, const QList<QRgb>& colours) {
    RGBQUAD* palette = FreeImage_GetPalette(dib);
    BYTE alpha[256];
    bool transparent = false;
    const int count = std::min<int>(colours.size(), int(FreeImage_GetColorsUsed(dib)));
    for (int i = 0; i < int(FreeImage_GetColorsUsed(dib)); ++i) {
        const QRgb c = i < count ? colours[i] : qRgb(0, 0, 0);
        palette[i].rgbRed = BYTE(qRed(c));
        palette[i].rgbGreen = BYTE(qGreen(c));
        palette[i].rgbBlue = BYTE(qBlue(c));
        alpha[i] = BYTE(i < count ? qAlpha(c) : 255);
        transparent = transparent || alpha[i] != 255;
    }
    if (transparent)
        FreeImage_SetTransparencyTable(dib, alpha, count);
}

Dib allocate(FREE_IMAGE_TYPE type, int w, int h, int bpp) {
    Dib dib(FreeImage_AllocateT(type, w, h, bpp));
    if (!dib)
        raiseError(err::OutOfMemory);
    return dib;
}

Dib toIndexedDib(const QImage& image) {
    const int w = image.width(), h = image.height();
    const bool mono = image.format() == QImage::Format_Mono;
    Dib dib = allocate(FIT_BITMAP, w, h, mono ? 1 : 8);
    QList<QRgb> colours = image.colorTable();
    if (image.format() == QImage::Format_Grayscale8)
        for (int i = 0; i < 256; ++i)
            colours.append(qRgb(i, i, i));
    setPalette(dib.get(), colours);
    const size_t bytes = mono ? size_t((w + 7) / 8) : size_t(w);
    for (int y = 0; y < h; ++y)
        std::memcpy(targetRow(dib.get(), y), image.constScanLine(y), bytes);
    return dib;
}

Dib toWordDib(const QImage& image) {
    const int w = image.width(), h = image.height();
    const QImage::Format f = image.format();
    const FREE_IMAGE_TYPE type = f == QImage::Format_Grayscale16 ? FIT_UINT16
                                 : f == QImage::Format_RGBX64    ? FIT_RGB16
                                                                 : FIT_RGBA16;
    Dib dib = allocate(type, w, h, 0);
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const uint16_t*>(image.constScanLine(y));
        auto* out = reinterpret_cast<uint16_t*>(targetRow(dib.get(), y));
        if (type != FIT_RGB16) {
            std::memcpy(out, in, size_t(w) * (type == FIT_UINT16 ? 2 : 8));
            continue;
        }
        for (int x = 0; x < w; ++x, in += 4, out += 3)
            std::memcpy(out, in, 6);
    }
    return dib;
}

Dib toColourDib(const QImage& image) {
    const int w = image.width(), h = image.height();
    const bool alpha = image.format() == QImage::Format_ARGB32;
    Dib dib = allocate(FIT_BITMAP, w, h, alpha ? 32 : 24);
    for (int y = 0; y < h; ++y) {
        const uchar* in = image.constScanLine(y);
        BYTE* out = targetRow(dib.get(), y);
        if (alpha) {
            std::memcpy(out, in, size_t(w) * 4);
            continue;
        }
        for (int x = 0; x < w; ++x, in += 3, out += 3) {
            out[FI_RGBA_RED] = in[0];
            out[FI_RGBA_GREEN] = in[1];
            out[FI_RGBA_BLUE] = in[2];
        }
    }
    return dib;
}

Dib toFreeImage(const QImage& source) {
    const QImage image = toBoxFormat(source);
    Dib dib;
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        dib = toIndexedDib(image);
        break;
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
        dib = toWordDib(image);
        break;
    default:
        dib = toColourDib(image);
    }
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        FreeImage_SetDotsPerMeterX(dib.get(), unsigned(image.dotsPerMeterX()));
        FreeImage_SetDotsPerMeterY(dib.get(), unsigned(image.dotsPerMeterY()));
    }
    return dib;
}

// Formats whose structure check follows every byte of the pixel data (the
// run-length and LZW streams included): a file that passes it is sound, so a
// FreeImage reader that still fails on it (its RLE8 BMP reader refuses rows that
// run on into their padding, as other writers make them) is at fault, and Qt's
// reader of the format decodes the file instead.
bool isFullyChecked(int fif) {
    return fif == FIF_BMP || fif == FIF_GIF;
}

Dib dibDecodedByQt(const QByteArray& bytes, int fif) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, fif == FIF_BMP ? "bmp" : "gif");
    reader.setAutoTransform(false);
    // The structure check has bounded the size already.
    reader.setAllocationLimit(int((MaxPixels * 4) >> 20));
    const QImage image = reader.read();
    if (image.isNull())
        raiseError(err::Unexpected, "The image could not be read: " + reader.errorString());
    return toFreeImage(image);
}

} // namespace

QImage toBoxFormat(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_RGB888:
    case QImage::Format_ARGB32:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
        return image;
    case QImage::Format_MonoLSB:
        return image.convertToFormat(QImage::Format_Mono);
    case QImage::Format_RGBA64_Premultiplied:
        return image.convertToFormat(QImage::Format_RGBA64);
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB888);
    }
}

int freeImageFormatOf(const QByteArray& bytes) {
    if (isTiffSignature(bytes))
        return FIF_TIFF;
    initialiseFreeImage();
    Memory memory = openMemory(bytes);
    return FreeImage_GetFileTypeFromMemory(memory.get(), 0);
}

void FreeImageDibDeleter::operator()(FIBITMAP* dib) const {
    FreeImage_Unload(dib);
}

FreeImageDib loadDibWithFreeImage(const QByteArray& bytes, int fif, int page, int reducedSide) {
    initialiseFreeImage();
    // A reader we cannot check the file for first would trust whatever it claims.
    if (!hasImageCheck(fif))
        raiseError(err::Unexpected, "The file is in a format the program cannot check");
    checkImageBytes(bytes, fif);
    const QByteArray pixels = withoutMetadataBlocks(bytes, fif);
    Dib dib;
    QString damage;
    {
        // libtiff and libjpeg warn about damaged data and go on with filler.
        DamageWatch watch;
        if (fif == FIF_TIFF) {
            // TIFF pixels are libtiff's to decode, never FreeImage's.
            dib = decodeTiffPage(pixels, page);
        } else {
            Memory memory = openMemory(pixels);
            const int reduce = fif == FIF_JPEG ? std::clamp(reducedSide, 0, 0xFFFF) << 16 : 0;
            dib.reset(FreeImage_LoadFromMemory(FREE_IMAGE_FORMAT(fif), memory.get(),
                                               loadFlagsFor(fif) | reduce));
        }
        damage = watch.firstReport();
    }
    if (isFullyChecked(fif) && (!dib || !damage.isEmpty()))
        return dibDecodedByQt(bytes, fif);
    if (!damage.isEmpty())
        raiseError(err::Unexpected, "The image data is damaged: " + damage);
    if (!dib)
        fail("The image could not be read");
    return dib;
}

QImage pictureOfDib(FIBITMAP* dib, DeepSamples deep) {
    const int w = static_cast<int>(FreeImage_GetWidth(dib));
    const int h = static_cast<int>(FreeImage_GetHeight(dib));
    if (w <= 0 || h <= 0 || w > MaxSide || h > MaxSide || qint64(w) * h > MaxPixels)
        fail("The image has no size the box can hold");
    const int bpp = static_cast<int>(FreeImage_GetBPP(dib));
    QImage image;
    if (FreeImage_GetImageType(dib) != FIT_BITMAP)
        image = fromSamples(dib, w, h, deep);
    else if (bpp == 1 || bpp == 4 || bpp == 8)
        image = fromIndexed(dib, w, h, bpp);
    else if (bpp == 24 || bpp == 32)
        image = fromBitmap24or32(dib, w, h, bpp);
    else
        return fromConverted(FreeImage_ConvertTo24Bits(dib), deep);
    if (image.isNull())
        raiseError(err::OutOfMemory);
    if (FreeImage_GetDotsPerMeterX(dib) > 0 && FreeImage_GetDotsPerMeterY(dib) > 0) {
        image.setDotsPerMeterX(static_cast<int>(FreeImage_GetDotsPerMeterX(dib)));
        image.setDotsPerMeterY(static_cast<int>(FreeImage_GetDotsPerMeterY(dib)));
    }
    return image;
}

namespace {

// 24-bit colour straight into the box's RGB888 in one copy, the rows spread over
// the edit threads (a photo's pixels would otherwise be copied twice, once into
// BGR888 and once more into RGB888).
QImage rgbOf24Bits(FIBITMAP* dib) {
    const int w = static_cast<int>(FreeImage_GetWidth(dib));
    const int h = static_cast<int>(FreeImage_GetHeight(dib));
    if (w <= 0 || h <= 0 || w > MaxSide || h > MaxSide || qint64(w) * h > MaxPixels)
        fail("The image has no size the box can hold");
    QImage image(w, h, QImage::Format_RGB888);
    if (image.isNull())
        raiseError(err::OutOfMemory);
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    pixelops::forEachRowBand(h, w, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const BYTE* from = sourceRow(dib, y);
            uchar* to = bits + y * stride;
            for (int x = 0; x < w; ++x, from += 3, to += 3) {
                to[0] = from[FI_RGBA_RED];
                to[1] = from[FI_RGBA_GREEN];
                to[2] = from[FI_RGBA_BLUE];
            }
        }
    });
    if (FreeImage_GetDotsPerMeterX(dib) > 0 && FreeImage_GetDotsPerMeterY(dib) > 0) {
        image.setDotsPerMeterX(static_cast<int>(FreeImage_GetDotsPerMeterX(dib)));
        image.setDotsPerMeterY(static_cast<int>(FreeImage_GetDotsPerMeterY(dib)));
    }
    return image;
}

} // namespace

QImage decodeWithFreeImage(const QByteArray& bytes, int fif, int page) {
    if (!hasImageCheck(fif))
        raiseError(err::Unexpected, "The file is in no format the box reads");
    const Dib dib = loadDibWithFreeImage(bytes, fif, page);
    if (FreeImage_GetImageType(dib.get()) == FIT_BITMAP && FreeImage_GetBPP(dib.get()) == 24)
        return rgbOf24Bits(dib.get());
    return toBoxFormat(pictureOfDib(dib.get(), DeepSamples::Keep));
}

QImage decodeReducedJpeg(const QByteArray& bytes, int longSide, QSize& fullSize) {
    initialiseFreeImage();
    {
        const QByteArray pixels = withoutMetadataBlocks(bytes, FIF_JPEG);
        Memory memory = openMemory(pixels);
        const Dib header(FreeImage_LoadFromMemory(FIF_JPEG, memory.get(), FIF_LOAD_NOPIXELS));
        if (!header)
            fail("The image could not be read");
        fullSize =
            QSize(int(FreeImage_GetWidth(header.get())), int(FreeImage_GetHeight(header.get())));
    }
    const Dib dib = loadDibWithFreeImage(bytes, FIF_JPEG, 0, std::max(1, longSide));
    if (FreeImage_GetImageType(dib.get()) == FIT_BITMAP && FreeImage_GetBPP(dib.get()) == 24)
        return rgbOf24Bits(dib.get());
    return toBoxFormat(pictureOfDib(dib.get(), DeepSamples::Keep));
}

int tiffPageCountWithFreeImage(const QByteArray& bytes) {
    checkImageBytes(bytes, FIF_TIFF);
    return tiffPageCount(bytes);
}

QByteArray encodeWithFreeImage(const QImage& image, int fif, int flags) {
    initialiseFreeImage();
    Dib dib = toFreeImage(image);
    Memory memory(FreeImage_OpenMemory());
    if (!FreeImage_SaveToMemory(FREE_IMAGE_FORMAT(fif), dib.get(), memory.get(), flags))
        fail("The image could not be encoded");
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!FreeImage_AcquireMemory(memory.get(), &data, &size) || size == 0)
        fail("The image could not be encoded");
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace picbasket::imagebox
