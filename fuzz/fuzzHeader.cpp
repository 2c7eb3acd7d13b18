#include "core/AppError.h"
#include "engine/loading/clsImageHeaderInfo.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

// The header reader on arbitrary files. The first byte chooses the reader and
// the extension (the readers go by content, the name is for the record):
// 0 GIF/BMP reader as ".gif", 1 the same as ".bmp", 2 JPEG/TIFF/PNG reader as
// ".jpg", 3 as ".tif", 4 as ".png" (the byte modulo 5). The rest is the file.
// Property: no size read is ever negative.
namespace picbasket::fuzz {

int fuzzHeader(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ensureFuzzEnvironment();
    static const char* const extensions[] = {"gif", "bmp", "jpg", "tif", "png"};
    const int choice = data[0] % 5;
    const QString path = writeFuzzFile(QStringLiteral("header.") + extensions[choice],
                                       fuzzBytes(data + 1, size - 1));
    clsImageHeaderInfo info;
    try {
        if (choice < 2)
            info.ReadGIF_BMP_Header(path);
        else
            info.ReadJPEG_TIFF_PNG_Header(path);
    } catch (const AppError&) {
        // A refusal is the right answer to most of these files.
    }
    fuzzCheck(info.Width() >= 0 && info.Height() >= 0, "the header reader gave a negative size");
    return 0;
}

} // namespace picbasket::fuzz
