#include "engine/loading/modBitmapPro.h"
#include "fuzz/FuzzLoadPicExtensions.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

#include <iterator>

// LoadPic, the load entry every window uses, on arbitrary files. The first byte
// chooses the size mode (byte % 3) and the extension (entry (byte / 3) % count
// of fuzz/loadpic-extensions.txt: the folder pattern's extensions and the ones
// only DevIL reads); the rest is the file. Properties: a fitted picture is never
// larger than its box, a boxed one is exactly the box.
namespace picbasket::fuzz {

namespace {

constexpr int32_t boxWidth = 64;
constexpr int32_t boxHeight = 48;

void checkPictureSize(const QImage& picture, int32_t sizeMode) {
    if (picture.isNull())
        return;
    if (sizeMode == sizemode::Fit)
        fuzzCheck(picture.width() <= boxWidth && picture.height() <= boxHeight,
                  "a fitted picture is larger than its box");
    if (sizeMode == sizemode::Box)
        fuzzCheck(picture.width() == boxWidth && picture.height() == boxHeight,
                  "a boxed picture is not the size of the box");
}

} // namespace

int fuzzLoadPic(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ensureFuzzEnvironment();
    const int32_t sizeMode = data[0] % 3;
    const char* extension = loadPicExtensions[(data[0] / 3) % std::size(loadPicExtensions)];
    const QString path =
        writeFuzzFile(QStringLiteral("loadpic.") + extension, fuzzBytes(data + 1, size - 1));
    const bool original = sizeMode == sizemode::Original;
    int32_t width = 0;
    int32_t height = 0;
    const QImage picture = LoadPic(path, sizeMode, original ? -1 : boxWidth,
                                   original ? -1 : boxHeight, 0xFFFFFF, width, height);
    checkPictureSize(picture, sizeMode);
    return 0;
}

} // namespace picbasket::fuzz
