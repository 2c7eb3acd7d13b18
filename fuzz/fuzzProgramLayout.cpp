#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "players/ProgramLayout.h"

// The layout reader of the generated programs on an arbitrary file. Properties:
// every image and the options record the reader accepts lie inside the file,
// before the list, and the list before the trailer.
namespace picbasket::fuzz {

int fuzzProgramLayout(const uint8_t* data, size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), qsizetype(size));
    layout::ProgramContent content;
    QString error;
    if (!layout::fncReadProgramContent(file, content, error))
        return 0;
    fuzzCheck(content.listOffset + layout::TrailerSize < int64_t(size),
              "the list lies before the trailer");
    for (const layout::ImageEntry& image : content.images)
        fuzzCheck(image.offset > 0 && image.length > 0 &&
                      image.offset + image.length < content.listOffset,
                  "an image lies before the list");
    return 0;
}

} // namespace picbasket::fuzz
