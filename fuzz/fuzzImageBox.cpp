#include "core/AppError.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/imagebox/ImageBox.h"

#include <QFile>

// The image box's structure checks and loads on arbitrary bytes. The first byte
// chooses: the format code (byte % 8, BMP to TIFF of ImageBox::FormatCode), the
// route ((byte / 8) % 2: 0 LoadFromFile with that format's extension, 1
// LoadFromMemory) and the TIFF page read from a file ((byte / 16) % 3 + 1). The
// rest is the file. What loads then goes through a memory copy and two appended
// TIFF pages and one PDF page. Properties: the copy is the same picture, the TIFF
// then has two pages.
namespace picbasket::fuzz {

namespace {

void loadInput(ImageBox& box, uint8_t choice, const QByteArray& bytes) {
    static const char* const extensions[] = {"bmp", "gif",  "jpg", "pcx",
                                             "png", "wbmp", "psd", "tif"};
    const int format = choice % 8;
    if ((choice / 8) % 2 == 1) {
        box.LoadFromMemory(format, bytes);
        return;
    }
    box.setPageIndex((choice / 16) % 3 + 1);
    box.LoadFromFile(writeFuzzFile(QStringLiteral("box.") + extensions[format], bytes));
}

QImage comparable(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

void checkMemoryCopy(const ImageBox& box) {
    ImageBox copy;
    copy.LoadFromMemory(ImageBox::FormatTiff, box.SaveToMemory(ImageBox::FormatTiff));
    fuzzCheck(comparable(copy.image()) == comparable(box.image()),
              "the memory copy of a loaded image is another picture");
}

void checkAppendedPages(ImageBox& box) {
    const QString tiff = fuzzFolder() + QStringLiteral("/pages.tif");
    const QString pdf = fuzzFolder() + QStringLiteral("/pages.pdf");
    QFile::remove(tiff);
    QFile::remove(pdf);
    box.AppendPageTiff(tiff);
    box.AppendPageTiff(tiff);
    box.AppendPagePdf(pdf);
    fuzzCheck(box.PageCountOfFile(tiff) == 2, "two appended pages do not make a two-page TIFF");
}

} // namespace

int fuzzImageBox(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ensureFuzzEnvironment();
    ImageBox box;
    try {
        loadInput(box, data[0], fuzzBytes(data + 1, size - 1));
    } catch (const AppError&) {
        return 0;
    }
    if (!box.HasImage() || qint64(box.ImageWidth()) * box.ImageHeight() > 1 << 20)
        return 0;
    try {
        checkMemoryCopy(box);
        checkAppendedPages(box);
    } catch (const AppError&) {
        // A picture the box cannot copy or write is refused with its error;
        // only a wrong copy or page count is a fault here.
    }
    return 0;
}

} // namespace picbasket::fuzz
