#include "core/Convert.h"
#include "core/ImageLimits.h"
#include "engine/loading/modFreeImage.h"

#include <FreeImage.h>
#include <algorithm>
#include <vector>

// The colour-depth conversions and the rescale of the FreeImage module.
namespace picbasket {

namespace {

constexpr int32_t JudgeByColourType = 0x1000;

// Does the conversion code look at the bitmap's palette as a colour palette?
bool paletteJudged(FIBITMAP* dib, int32_t code) {
    if (code & JudgeByColourType)
        return FreeImage_GetColorType(dib) == FIC_PALETTE;
    return !fncIsGreyPalette(dib);
}

// Runs a conversion on a 24-bit copy and drops the copy.
template <class Convert> FIBITMAP* via24(FIBITMAP* dib, Convert convert) {
    FIBITMAP* wide = FreeImage_ConvertTo24Bits(dib);
    if (!wide)
        return nullptr;
    FIBITMAP* result = convert(wide);
    FreeImage_Unload(wide);
    return result;
}

template <class Convert> FIBITMAP* toOneBit(FIBITMAP* dib, unsigned bpp, Convert convert) {
    if (bpp == 4 || (bpp == 8 && FreeImage_GetColorType(dib) == FIC_PALETTE))
        return via24(dib, convert);
    return convert(dib);
}

FIBITMAP* toFourBits(FIBITMAP* dib, unsigned bpp, int32_t code) {
    if (bpp != 4)
        return FreeImage_ConvertTo4Bits(dib);
    if (!paletteJudged(dib, code))
        return dib;
    FIBITMAP* eight = FreeImage_ConvertTo8Bits(dib);
    if (!eight)
        return nullptr;
    FIBITMAP* result = FreeImage_ConvertTo4Bits(eight);
    FreeImage_Unload(eight);
    return result;
}

FIBITMAP* quantised(FIBITMAP* dib, unsigned bpp, int32_t method, int32_t paletteSize,
                    const QList<uint32_t>* reserve, int32_t reserveCount) {
    paletteSize = std::clamp(paletteSize, 2, 256);
    if (bpp == 8 && paletteSize == 256)
        return dib;
    // The reserve colours are RGBQUADs: 32-bit values, blue in the low byte.
    std::vector<RGBQUAD> colours;
    if (reserve)
        for (uint32_t c : *reserve)
            colours.push_back(RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), BYTE(c >> 24)});
    const int available = int(colours.size());
    const int count = reserveCount <= 0 ? available : std::min(reserveCount, available);
    auto quantise = [&](FIBITMAP* wide) {
        if (paletteSize == 256)
            return FreeImage_ColorQuantize(wide, FREE_IMAGE_QUANTIZE(method));
        return FreeImage_ColorQuantizeEx(wide, FREE_IMAGE_QUANTIZE(method), paletteSize, count,
                                         count > 0 ? colours.data() : nullptr);
    };
    return bpp == 24 ? quantise(dib) : via24(dib, quantise);
}

FIBITMAP* toEightBits(FIBITMAP* dib, unsigned bpp, int32_t code) {
    if ((bpp == 4 || bpp == 8) && paletteJudged(dib, code))
        return via24(dib, [](FIBITMAP* wide) { return FreeImage_ConvertTo8Bits(wide); });
    if (bpp == 8)
        return dib;
    return FreeImage_ConvertTo8Bits(dib);
}

FIBITMAP* prepareForRescale(FIBITMAP* dib, unsigned bpp) {
    if (bpp == 1)
        return FreeImage_ConvertTo24Bits(dib);
    if (bpp == 4)
        return FreeImage_ConvertTo8Bits(dib);
    return dib;
}

FIBITMAP* converted(FIBITMAP* dib, int32_t code, uint8_t threshold, int32_t dither,
                    int32_t quantize, int32_t paletteSize, const QList<uint32_t>* reserve,
                    int32_t reserveCount) {
    const unsigned bpp = FreeImage_GetBPP(dib);
    switch (code & ~JudgeByColourType) {
    case 1:
        return toOneBit(dib, bpp, [&](FIBITMAP* d) { return FreeImage_Threshold(d, threshold); });
    case 3:
        return toOneBit(
            dib, bpp, [&](FIBITMAP* d) { return FreeImage_Dither(d, FREE_IMAGE_DITHER(dither)); });
    case 4:
        return toFourBits(dib, bpp, code);
    case 8:
        return quantised(dib, bpp, quantize, paletteSize, reserve, reserveCount);
    case 9:
        return toEightBits(dib, bpp, code);
    case 15:
        return bpp == 15 ? dib : FreeImage_ConvertTo16Bits555(dib);
    case 16:
        return bpp == 16 ? dib : FreeImage_ConvertTo16Bits565(dib);
    case 24:
        return bpp == 24 ? dib : FreeImage_ConvertTo24Bits(dib);
    case 32:
        return bpp == 32 ? dib : FreeImage_ConvertTo32Bits(dib);
    case 0x100:
        return prepareForRescale(dib, bpp);
    default:
        return dib;
    }
}

// A pixel count, or a factor of the current side (percent when asked); 0 when not
// given or not a number.
int32_t sideFrom(const SizeArgument& side, unsigned current, bool inPercent) {
    if (const auto* pixels = std::get_if<int32_t>(&side))
        return *pixels;
    if (const auto* text = std::get_if<QString>(&side)) {
        bool ok = false;
        const double value = text->toDouble(&ok);
        return ok ? int32_t(std::clamp(roundHalfEven(value), -2.0e9, 2.0e9)) : 0;
    }
    if (const auto* factor = std::get_if<double>(&side)) {
        const double value = *factor * current / (inPercent ? 100.0 : 1.0);
        return int32_t(std::clamp(roundHalfEven(value), -2.0e9, 2.0e9));
    }
    return 0;
}

int32_t derivedSide(double side, double given, double givenCurrent) {
    return int32_t(std::clamp(roundHalfEven(side * given / givenCurrent), -2.0e9, 2.0e9));
}

} // namespace

FIBITMAP* fncConvertColorDepth(FIBITMAP* dib, int32_t code, bool unloadSource, uint8_t threshold,
                               int32_t ditherMethod, int32_t quantizeMethod, int32_t paletteSize,
                               const QList<uint32_t>* reservePalette, int32_t reserveCount) {
    if (!dib)
        return nullptr;
    FIBITMAP* result = converted(dib, code, threshold, ditherMethod, quantizeMethod, paletteSize,
                                 reservePalette, reserveCount);
    if (!result)
        return dib;
    if (result != dib && unloadSource)
        FreeImage_Unload(dib);
    return result;
}

FIBITMAP* fncRescaleDib(FIBITMAP* dib, const SizeArgument& width, const SizeArgument& height,
                        bool inPercent, bool unloadSource, int32_t filter) {
    if (!dib)
        return nullptr;
    const unsigned currentW = FreeImage_GetWidth(dib), currentH = FreeImage_GetHeight(dib);
    int32_t w = sideFrom(width, currentW, inPercent);
    int32_t h = sideFrom(height, currentH, inPercent);
    if (w < 1 && h < 1)
        return dib;
    if (w < 1)
        w = derivedSide(currentW, h, currentH);
    else if (h < 1)
        h = derivedSide(currentH, w, currentW);
    if (w < 1 || h < 1 || qint64(w) * h > MaxImagePixels)
        return dib;
    FIBITMAP* result = FreeImage_Rescale(dib, w, h, FREE_IMAGE_FILTER(filter));
    if (!result)
        return dib;
    if (unloadSource)
        FreeImage_Unload(dib);
    return result;
}

} // namespace picbasket
