#pragma once
#include <QImage>
#include <QList>
#include <QString>
#include <cstdint>
#include <variant>

struct FIBITMAP;

// The bridge between pictures and FreeImage: loading a file FreeImage reads into
// a picture, saving a picture in a format FreeImage writes (with an extension check
// and an optional depth conversion and rescale), converting between pictures and
// FreeImage bitmaps, and the depth conversions and rescale with their palette
// helpers. The load and save trap no errors: failures reach the caller as AppError.
namespace picbasket {

// An optional width or height: nothing, a pixel count (a whole number or its
// text), or a factor of the current size (a percentage with the in-percent flag).
using SizeArgument = std::variant<std::monostate, int32_t, double, QString>;

// FreeImage's code for a format it does not know.
inline constexpr int32_t FreeImageUnknown = -1;

// Loads the file in the format its name gives (written to `format`); error 481 when
// the name gives no format FreeImage reads, the file is damaged or cannot be read.
// With a width or height the bitmap is prepared (code 0x100) and rescaled first.
QImage fncLoadPicture(const QString& fileName, const SizeArgument& width,
                      const SizeArgument& height, bool inPercent, int32_t filter, int32_t& format);
QImage fncLoadPicture(const QString& fileName);
// Loads the file as `format`, the format its content holds, whatever its name
// says; error 481 as above.
QImage fncLoadPictureAs(const QString& fileName, int32_t format);

// Saves the picture in `format` (-1: the one the file name gives, written back).
// A name whose extension the format does not list gets the format's primary
// extension appended. Returns FreeImage's result, non-zero on success; 0 with
// nothing written for an unknown format. Error 91 for an empty picture, 481 when
// no bitmap can be made of it.
int32_t fncSavePicture(const QImage& picture, const QString& fileName, int32_t& format,
                       int32_t options, const SizeArgument& width = {},
                       const SizeArgument& height = {}, bool inPercent = false, int32_t filter = 1);

// A new FreeImage bitmap of the picture (palettes, grey and alpha kept), or null.
FIBITMAP* fncPictureToDib(const QImage& picture);
// The picture of a FreeImage bitmap, or an empty one; unloads the bitmap when asked.
QImage fncDibToPicture(FIBITMAP* dib, bool unload);

// The depth conversion of `code` (1, 3, 4, 8, 9, 15, 16, 24, 32, 0x100; | 0x1000
// judges the palette by colour type). Returns the converted bitmap, or the source
// when nothing was done or the conversion failed; the source is unloaded only when
// a new bitmap replaces it and unloadSource is set.
FIBITMAP* fncConvertColorDepth(FIBITMAP* dib, int32_t code, bool unloadSource,
                               uint8_t threshold = 128, int32_t ditherMethod = 0,
                               int32_t quantizeMethod = 0, int32_t paletteSize = 256,
                               const QList<uint32_t>* reservePalette = nullptr,
                               int32_t reserveCount = 0);

// Rescales to width x height with the filter (see SizeArgument); a side below 1 is
// derived from the other with the aspect kept; both below 1 return the source.
FIBITMAP* fncRescaleDib(FIBITMAP* dib, const SizeArgument& width, const SizeArgument& height,
                        bool inPercent, bool unloadSource, int32_t filter);

// The format's extension list ("tif,tiff") and its first entry.
QString fncGetExtensionList(int32_t format);
QString fncGetPrimaryExtension(int32_t format);
// True when the text after the file name's last "." appears in the format's list
// with a "," appended (a substring search, so "ti" passes for TIFF).
bool fncIsExtensionValid(int32_t format, const QString& fileName, Qt::CaseSensitivity compareMode);
// True for a 1, 4 or 8-bit bitmap whose palette entries are all grey.
bool fncIsGreyPalette(FIBITMAP* dib);

} // namespace picbasket
